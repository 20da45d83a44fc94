#include "foundation/BcXmlFiler.h"

#include "foundation/BcInputFile.h"
#include "foundation/BcXmlStream.h"

#include <tinyxml.h>

#include <atomic>
#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

struct BcXmlReference
{
    const char16_t* reference;
    char16_t replacement;
};

// Order matters: "&#38;" comes before the references that its "&" may
// complete, so "&#38;#233;" ends as "é".
static const BcXmlReference referenceTable[] = {
    {u"&#09;", 0x20},
    {u"&#10;", 0x20},
    {u"&#13;", 0x20},
    {u"&#32;", 0x20},
    {u"&#33;", 0x21},
    {u"&#34;", 0x22},
    {u"&#35;", 0x23},
    {u"&#36;", 0x24},
    {u"&#37;", 0x25},
    {u"&#38;", 0x26},
    {u"&#39;", 0x27},
    {u"&#40;", 0x28},
    {u"&#41;", 0x29},
    {u"&#42;", 0x2A},
    {u"&#43;", 0x2B},
    {u"&#44;", 0x2C},
    {u"&#45;", 0x2D},
    {u"&#46;", 0x2E},
    {u"&#47;", 0x2F},
    {u"&#48;", 0x30},
    {u"&#49;", 0x31},
    {u"&#50;", 0x32},
    {u"&#51;", 0x33},
    {u"&#52;", 0x34},
    {u"&#53;", 0x35},
    {u"&#54;", 0x36},
    {u"&#55;", 0x37},
    {u"&#56;", 0x38},
    {u"&#57;", 0x39},
    {u"&#58;", 0x3A},
    {u"&#59;", 0x3B},
    {u"&#60;", 0x3C},
    {u"&#61;", 0x3D},
    {u"&#62;", 0x3E},
    {u"&#63;", 0x3F},
    {u"&#64;", 0x40},
    {u"&#65;", 0x41},
    {u"&#91;", 0x5B},
    {u"&#92;", 0x5C},
    {u"&#93;", 0x5D},
    {u"&#94;", 0x5E},
    {u"&#95;", 0x5F},
    {u"&#96;", 0x60},
    {u"&#97;", 0x61},
    {u"&#123;", 0x7B},
    {u"&#124;", 0x7C},
    {u"&#125;", 0x7D},
    {u"&#126;", 0x7E},
    {u"&#127;", 0x2D},
    {u"&#160;", 0x20},
    {u"&#192;", 0xC0},
    {u"&#224;", 0xE0},
    {u"&#193;", 0xC1},
    {u"&#225;", 0xE1},
    {u"&#194;", 0xC2},
    {u"&#226;", 0xE2},
    {u"&#195;", 0xC3},
    {u"&#227;", 0xE3},
    {u"&#196;", 0xC4},
    {u"&#228;", 0xE4},
    {u"&#197;", 0xC5},
    {u"&#229;", 0xE5},
    {u"&#198;", 0xC6},
    {u"&#230;", 0xE6},
    {u"&#199;", 0xC7},
    {u"&#231;", 0xE7},
    {u"&#208;", 0x20},
    {u"&#240;", 0x20},
    {u"&#200;", 0xC8},
    {u"&#232;", 0xE8},
    {u"&#201;", 0xC9},
    {u"&#233;", 0xE9},
    {u"&#202;", 0xCA},
    {u"&#234;", 0xEA},
    {u"&#203;", 0xCB},
    {u"&#235;", 0xEB},
    {u"&#204;", 0xCC},
    {u"&#236;", 0xEC},
    {u"&#205;", 0xCD},
    {u"&#237;", 0xED},
    {u"&#206;", 0xCE},
    {u"&#238;", 0xEE},
    {u"&#207;", 0xCF},
    {u"&#239;", 0xEF},
    {u"&#181;", 0xB5},
    {u"&#209;", 0xD1},
    {u"&#241;", 0xF1},
    {u"&#210;", 0xD2},
    {u"&#242;", 0xF2},
    {u"&#211;", 0xD3},
    {u"&#243;", 0xF3},
    {u"&#212;", 0xD4},
    {u"&#244;", 0xF4},
    {u"&#213;", 0xD5},
    {u"&#245;", 0xF5},
    {u"&#214;", 0xD6},
    {u"&#246;", 0xF6},
    {u"&#216;", 0xD8},
    {u"&#248;", 0xF8},
    {u"&#223;", 0xDF},
    {u"&#222;", 0x20},
    {u"&#254;", 0x20},
    {u"&#217;", 0xD9},
    {u"&#249;", 0xF9},
    {u"&#218;", 0xDA},
    {u"&#250;", 0xFA},
    {u"&#219;", 0xDB},
    {u"&#251;", 0xFB},
    {u"&#220;", 0xDC},
    {u"&#252;", 0xFC},
    {u"&#221;", 0x20},
    {u"&#253;", 0x20},
    {u"&#255;", 0xFF},
    {u"&#168;", 0xA8},
    {u"&#175;", 0xAF},
    {u"&#180;", 0xB4},
    {u"&#184;", 0xB8},
    {u"&#161;", 0xA1},
    {u"&#191;", 0xBF},
    {u"&#183;", 0xB7},
    {u"&#166;", 0x20},
    {u"&#171;", 0xAB},
    {u"&#187;", 0xBB},
    {u"&#182;", 0xB6},
    {u"&#167;", 0xA7},
    {u"&#169;", 0xA9},
    {u"&#174;", 0xAE},
    {u"&#185;", 0x20},
    {u"&#178;", 0x20},
    {u"&#179;", 0x20},
    {u"&#173;", 0xAD},
    {u"&#215;", 0x20},
    {u"&#247;", 0xF7},
    {u"&#188;", 0x20},
    {u"&#189;", 0x20},
    {u"&#190;", 0x20},
    {u"&#170;", 0xAA},
    {u"&#186;", 0xBA},
    {u"&#172;", 0xAC},
    {u"&#176;", 0xB0},
    {u"&#177;", 0xB1},
    {u"&#164;", 0xA4},
    {u"&#162;", 0xA2},
    {u"&#163;", 0xA3},
    {u"&#165;", 0xA5},
};

BcXmlFiler::BcXmlFiler(int codePage) : codePage(codePage) {}

BcXmlFiler::~BcXmlFiler()
{
    endStream();
    delete document;
}

TiXmlDocument* BcXmlFiler::ensureDocument()
{
    if (!document)
        document = new TiXmlDocument();
    return document;
}

// Whether no element of the text lies deeper than the limit. TinyXML parses,
// prints and deletes elements recursively, so a file of a few hundred
// kilobytes of nested elements would overflow the stack. The scan follows
// TinyXML's reading of markup: comments end at "-->", CDATA at "]]>", other
// "<!" and "<?" markup at the first ">", and a start tag at the first ">"
// outside quotes, closing itself when "/" precedes it.
static bool nestsWithin(const char* text, int length, int limit)
{
    auto startsWith = [&](int at, const char* prefix) {
        int n = static_cast<int>(std::strlen(prefix));
        return at + n <= length && std::memcmp(text + at, prefix, static_cast<size_t>(n)) == 0;
    };
    auto skipPast = [&](int at, const char* end) {
        const char* found = nullptr;
        int n = static_cast<int>(std::strlen(end));
        for (int i = at; i + n <= length && !found; ++i) {
            if (std::memcmp(text + i, end, static_cast<size_t>(n)) == 0)
                found = text + i;
        }
        return found ? static_cast<int>(found - text) + n : length;
    };
    int depth = 0;
    int i = 0;
    while (i < length) {
        if (text[i] != '<') {
            ++i;
            continue;
        }
        if (startsWith(i, "<!--")) {
            i = skipPast(i + 4, "-->");
        } else if (startsWith(i, "<![CDATA[")) {
            i = skipPast(i + 9, "]]>");
        } else if (startsWith(i, "</")) {
            if (depth > 0)
                --depth;
            i = skipPast(i + 2, ">");
        } else if (startsWith(i, "<!") || startsWith(i, "<?")) {
            i = skipPast(i + 2, ">");
        } else {
            char quote = 0;
            int j = i + 1;
            for (; j < length && (quote || text[j] != '>'); ++j) {
                if (quote && text[j] == quote)
                    quote = 0;
                else if (!quote && (text[j] == '"' || text[j] == '\''))
                    quote = text[j];
            }
            if (depth + 1 > limit)
                return false;
            if (j >= length || text[j - 1] != '/')
                ++depth;
            i = j + 1;
        }
    }
    return true;
}

bool BcXmlFiler::startStreaming()
{
    if (document)
        return false;
    if (!stream)
        stream = std::make_unique<BcXmlStream>();
    return true;
}

bool BcXmlFiler::open(const BcString& path)
{
    endStream();
    delete document;
    current = nullptr;
    fileName = path;
    document = new TiXmlDocument(path.toNarrow(BcString::systemCodePage));
    // Read here rather than by TinyXML, which would wait on a FIFO and take
    // a folder's size for the length of the text it allocates.
    std::string text;
    {
        BcArray<unsigned char> bytes;
        if (!BcInputFile::readAll(path, maxFileSize, bytes)) {
            document->SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
            return false;
        }
        // As TinyXML's own loading: the text ends at its first zero byte.
        const char* start = reinterpret_cast<const char*>(bytes.data());
        const void* zero = bytes.count() > 0 ? std::memchr(start, 0, static_cast<size_t>(bytes.count())) : nullptr;
        size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - start)
                             : static_cast<size_t>(bytes.count());
        text.assign(start ? start : "", length);
    }
    // Line ends become single line feeds, as TinyXML's own loading makes them.
    size_t kept = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            text[kept++] = '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            text[kept++] = text[i];
        }
    }
    text.resize(kept);
    if (!nestsWithin(text.data(), static_cast<int>(text.size()), maxNesting)) {
        document->SetError(TiXmlBase::TIXML_ERROR, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    // TinyXML steps over a whole UTF-8 sequence, as long as its first byte
    // claims (up to four bytes), even past the end of the text: zero bytes
    // behind the end stop it there instead of in memory that is not the text.
    text.append(8, '\0');
    // Explicit UTF-8, so that numeric references decode to UTF-8 also in a
    // file without a declaration (TinyXML would otherwise store their raw byte).
    document->Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    return !document->Error();
}

// A new file beside the target for the text to go to before it is renamed
// into place; -1 when the folder takes none.
static int createTemporary(const std::string& target, std::string& temporary)
{
    static std::atomic<int> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + ".~" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

static bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Flushed, synced and renamed over the target, or removed.
static bool replaceTarget(int fd, bool written, const std::string& temporary, const std::string& target)
{
    written = written && fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void BcXmlFiler::endStream()
{
    if (streamFile >= 0) {
        ::close(streamFile);
        ::unlink(streamTemporary.c_str());
    }
    streamFile = -1;
    streamFailed = false;
    stream.reset();
}

void BcXmlFiler::spillStream()
{
    if (!stream || stream->content().size() < streamSpillSize || fileName.isEmpty() || !stream->isSettled())
        return;
    if (streamFile < 0 && !streamFailed) {
        streamTarget = fileName.toNarrow(BcString::systemCodePage);
        streamFile = createTemporary(streamTarget, streamTemporary);
        streamFailed = streamFile < 0;
    }
    // After a failure the text is dropped all the same: the save fails, and
    // the memory stays bounded until then.
    if (!streamFailed && !writeAll(streamFile, stream->content().data(), stream->content().size()))
        streamFailed = true;
    stream->clearWritten();
}

bool BcXmlFiler::save()
{
    if (stream)
        return saveStream();
    if (!document || fileName.isEmpty())
        return false;
    std::string target = fileName.toNarrow(BcString::systemCodePage);
    std::string temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return false;
    FILE* file = fdopen(fd, "w");
    if (!file) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return false;
    }
    bool written = document->SaveFile(file);
    written = written && std::fflush(file) == 0 && !std::ferror(file) && fsync(fileno(file)) == 0;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool BcXmlFiler::saveStream()
{
    stream->closeAll();
    const bool anything = streamFile >= 0 || !stream->isEmpty();
    const std::string target = fileName.toNarrow(BcString::systemCodePage);
    // The text already written went to a file beside the name it had then.
    bool usable = anything && !stream->misused() && !streamFailed && !fileName.isEmpty() &&
                  (streamFile < 0 || target == streamTarget);
    if (usable && streamFile < 0) {
        streamFile = createTemporary(target, streamTemporary);
        usable = streamFile >= 0;
    }
    if (!usable) {
        endStream();
        stream = std::make_unique<BcXmlStream>();
        return false;
    }
    const bool written = writeAll(streamFile, stream->content().data(), stream->content().size());
    const bool saved = replaceTarget(streamFile, written, streamTemporary, target);
    streamFile = -1;
    stream = std::make_unique<BcXmlStream>();
    return saved;
}

bool BcXmlFiler::addDeclaration(const BcString& version, const BcString& encoding)
{
    if (stream)
        return stream->addDeclaration(version.toNarrow(codePage), encoding.toNarrow(codePage));
    TiXmlDeclaration* declaration = new TiXmlDeclaration(version.toNarrow(codePage), encoding.toNarrow(codePage), "");
    TiXmlNode* parent = current ? static_cast<TiXmlNode*>(current) : ensureDocument();
    return parent->LinkEndChild(declaration) != nullptr;
}

bool BcXmlFiler::addElement(const BcString& name)
{
    return addElement(name.toNarrow(codePage));
}

bool BcXmlFiler::goToParent()
{
    // As in a document, leaving the top element answers false.
    if (stream) {
        if (!stream->closeElement())
            return false;
        spillStream();
        return !stream->isAtTopLevel();
    }
    if (!current)
        return false;
    TiXmlNode* parent = current->Parent();
    if (!parent)
        return false;
    current = parent->ToElement();
    return current != nullptr;
}

bool BcXmlFiler::findElement(const BcString& name, int index)
{
    const char* narrowName = name.toNarrow(codePage);
    if (!current) {
        if (!document || index != 0)
            return false;
        TiXmlElement* found = document->FirstChildElement(narrowName);
        if (!found)
            return false;
        current = found;
        return true;
    }
    TiXmlElement* found = current->FirstChildElement(narrowName);
    for (int i = 0; i < index && found; ++i)
        found = found->NextSiblingElement(narrowName);
    if (!found)
        return false;
    current = found;
    return true;
}

bool BcXmlFiler::setElementText(const BcString& text)
{
    if (stream)
        return stream->setText(text.toNarrow(codePage));
    if (!current)
        return false;
    current->Clear();
    current->LinkEndChild(new TiXmlText(text.toNarrow(codePage)));
    return true;
}

bool BcXmlFiler::addTextElement(const BcString& name, const char* text)
{
    return addTextElement(name.toNarrow(codePage), text);
}

bool BcXmlFiler::addTextElementInt(const BcString& name, int value)
{
    return addTextElementInt(name.toNarrow(codePage), value);
}

bool BcXmlFiler::addTextElementDouble(const BcString& name, double value)
{
    return addTextElementDouble(name.toNarrow(codePage), value);
}

bool BcXmlFiler::addTextElementString(const BcString& name, const BcString& text)
{
    return addTextElement(name.toNarrow(codePage), text.toNarrow(codePage));
}

bool BcXmlFiler::addElement(const char* name)
{
    if (stream)
        return stream->openElement(name);
    if (!name || !name[0])
        return false;
    TiXmlElement* element = new TiXmlElement(name);
    TiXmlNode* parent = current ? static_cast<TiXmlNode*>(current) : ensureDocument();
    if (!parent->LinkEndChild(element))
        return false;
    current = element;
    return true;
}

bool BcXmlFiler::addTextElement(const char* name, const char* text)
{
    if (stream) {
        if (!stream->addTextElement(name, text ? text : ""))
            return false;
        spillStream();
        return true;
    }
    if (!current || !name || !name[0])
        return false;
    TiXmlElement* element = new TiXmlElement(name);
    element->LinkEndChild(new TiXmlText(text ? text : ""));
    current->LinkEndChild(element);
    return true;
}

namespace {

// "%d" and "%f" (six decimals), with a full stop whatever the locale, as
// BcString writes them.
struct BcNumberText
{
    explicit BcNumberText(int value)
    {
        *std::to_chars(digits, digits + sizeof digits - 1, value).ptr = 0;
    }
    explicit BcNumberText(double value)
    {
        *std::to_chars(digits, digits + sizeof digits - 1, value, std::chars_format::fixed, 6).ptr = 0;
    }
    char digits[400];
};

} // namespace

bool BcXmlFiler::addTextElementInt(const char* name, int value)
{
    return addTextElement(name, BcNumberText(value).digits);
}

bool BcXmlFiler::addTextElementDouble(const char* name, double value)
{
    return addTextElement(name, BcNumberText(value).digits);
}

bool BcXmlFiler::addTextElementString(const char* name, const BcString& text)
{
    return addTextElement(name, text.toNarrow(codePage));
}

bool BcXmlFiler::setAttribute(const char* name, const char* value)
{
    if (stream)
        return stream->setAttribute(name, value ? value : "");
    if (!current || !name || !name[0])
        return false;
    current->SetAttribute(name, value ? value : "");
    return true;
}

bool BcXmlFiler::setAttribute(const char* name, int value)
{
    return setAttribute(name, BcNumberText(value).digits);
}

bool BcXmlFiler::setAttribute(const char* name, double value)
{
    return setAttribute(name, BcNumberText(value).digits);
}

bool BcXmlFiler::getElementText(const BcString& name, BcString& out) const
{
    if (!current)
        return false;
    const TiXmlElement* element = current->FirstChildElement(name.toNarrow(codePage));
    if (!element)
        return false;
    const TiXmlNode* first = element->FirstChild();
    if (!first || !first->ToText())
        return false;
    BcString text(first->Value());
    decodeReferences(text);
    out = text;
    return true;
}

bool BcXmlFiler::getAttribute(const BcString& name, BcString& out) const
{
    if (!current)
        return false;
    const char* value = current->Attribute(name.toNarrow(codePage));
    if (!value)
        return false;
    out = BcString(value);
    return true;
}

bool BcXmlFiler::setAttribute(const BcString& name, const BcString& value)
{
    return setAttribute(name.toNarrow(codePage), value.toNarrow(codePage));
}

void BcXmlFiler::decodeReferences(BcString& text)
{
    // Every reference starts with "&#", and no row can make one appear where
    // there was none, so text without it is left as it is.
    bool hasReference = false;
    for (int i = 0; i + 1 < text.length() && !hasReference; ++i)
        hasReference = text[i] == u'&' && text[i + 1] == u'#';
    if (!hasReference)
        return;
    for (const BcXmlReference& row : referenceTable) {
        const char16_t replacement[2] = {row.replacement, 0};
        text.replaceAll(BcString(row.reference), BcString(replacement));
    }
}
