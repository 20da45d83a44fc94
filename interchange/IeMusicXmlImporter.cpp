// The importer's frame: the file, the root, the new sheet and the order of
// the reading steps; the header, page layout and credits; the part list.

#include "interchange/IeMusicXmlImporter.h"

#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcInputFile.h"
#include "foundation/BcStringResources.h"
#include "foundation/BcXmlFiler.h"
#include "foundation/GePoint2d.h"
#include "interchange/IeMusicXmlImporterElements.h"
#include "interchange/IeOpenSlur.h"
#include "interchange/IePartGroup.h"
#include "interchange/IeScorePart.h"
#include "model/MnCredit.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

BC_IMPLEMENT_CREATABLE_CLASS(IeMusicXmlImporter)

namespace
{
constexpr unsigned unreadableXml = 10063;    // "Unable to read the XML code"
constexpr unsigned notPartwise = 10064;      // "Not a partwise MusicXML file"
constexpr unsigned invalidData = 10115;      // "Invalid MusicXML data: %ls"

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

const char* skipSpace(const char* text)
{
    while (isXmlSpace(*text))
        ++text;
    return text;
}

// Whether the bytes are a start of an XML document that ends before its
// root element's name: declarations, comments, a document type and space
// only, the last of them perhaps cut off. Such a file is XML that simply
// holds no score, not damage within one.
bool endsBeforeRoot(const BcArray<unsigned char>& bytes)
{
    const char* text = reinterpret_cast<const char*>(bytes.data());
    const int length = bytes.count();
    int i = 0;
    if (length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0)
        i = 3;
    bool sawMarkup = false;
    auto startsWith = [&](int at, const char* prefix) {
        const int n = static_cast<int>(std::strlen(prefix));
        return at + n <= length && std::memcmp(text + at, prefix, static_cast<size_t>(n)) == 0;
    };
    auto skipPast = [&](int at, const char* end) {
        const int n = static_cast<int>(std::strlen(end));
        for (int j = at; j + n <= length; ++j) {
            if (std::memcmp(text + j, end, static_cast<size_t>(n)) == 0)
                return j + n;
        }
        return length;
    };
    while (i < length) {
        if (isXmlSpace(text[i])) {
            ++i;
            continue;
        }
        if (text[i] != '<')
            return false;
        sawMarkup = true;
        if (i + 1 == length)
            return true;
        if (startsWith(i, "<?")) {
            i = skipPast(i + 2, "?>");
        } else if (startsWith(i, "<!--")) {
            i = skipPast(i + 4, "-->");
        } else if (text[i + 1] == '!') {
            // A document type, with its internal subset in brackets.
            int depth = 0;
            char quote = 0;
            int j = i + 2;
            for (; j < length; ++j) {
                const char c = text[j];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '[') {
                    ++depth;
                } else if (c == ']') {
                    --depth;
                } else if (c == '>' && depth <= 0) {
                    break;
                }
            }
            i = j + 1;
        } else {
            return false;
        }
    }
    return sawMarkup;
}

// Names of the alignment rows and columns of a credit, by code.
int alignmentRow(const BcString& valign)
{
    static const char16_t* const rows[] = {u"top", u"middle", u"bottom", u"baseline"};
    for (int i = 0; i < 4; ++i) {
        if (valign == rows[i])
            return i;
    }
    return -1;
}

int alignmentColumn(const BcString& halign)
{
    static const char16_t* const columns[] = {u"left", u"center", u"right"};
    for (int i = 0; i < 3; ++i) {
        if (halign == columns[i])
            return i;
    }
    return -1;
}

bool elementText(const BcXmlFiler& filer, const char* name, BcString& out)
{
    return filer.getElementText(BcString(name), out);
}

bool attribute(const BcXmlFiler& filer, const char* name, BcString& out)
{
    return filer.getAttribute(BcString(name), out);
}
} // namespace

IeMusicXmlImporter::IeMusicXmlImporter() = default;

IeMusicXmlImporter::~IeMusicXmlImporter()
{
    freeRecords();
}

int IeMusicXmlImporter::leadingInteger(const BcString& text, bool* overflowed)
{
    const char* p = skipSpace(text.toNarrow(BcString::utf8CodePage));
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    long long value = 0;
    bool saturated = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT_MAX) {
            value = INT_MAX;
            saturated = true;
        }
    }
    if (overflowed)
        *overflowed = saturated;
    return static_cast<int>(negative ? -value : value);
}

double IeMusicXmlImporter::leadingDecimal(const BcString& text)
{
    const char* start = skipSpace(text.toNarrow(BcString::utf8CodePage));
    // Only plain decimal notation: no hexadecimal, infinity or NaN words.
    const char* p = start;
    if (*p == '+' || *p == '-')
        ++p;
    const char* digits = p;
    while (*p >= '0' && *p <= '9')
        ++p;
    bool anyDigit = p > digits;
    if (*p == '.') {
        ++p;
        const char* fraction = p;
        while (*p >= '0' && *p <= '9')
            ++p;
        anyDigit = anyDigit || p > fraction;
    }
    if (!anyDigit)
        return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-')
            ++exponent;
        if (*exponent >= '0' && *exponent <= '9') {
            p = exponent;
            while (*p >= '0' && *p <= '9')
                ++p;
        }
    }
    // from_chars takes no leading plus.
    const char* from = *start == '+' ? start + 1 : start;
    double value = 0.0;
    std::from_chars_result result = std::from_chars(from, p, value);
    if (result.ec == std::errc::result_out_of_range)
        return *start == '-' ? -HUGE_VAL : HUGE_VAL;
    return result.ec == std::errc() ? value : 0.0;
}

int IeMusicXmlImporter::wholeMillimetres(double length)
{
    if (std::isnan(length))
        return 0;
    constexpr double limit = 1e9;
    if (length >= limit)
        return static_cast<int>(limit);
    if (length <= -limit)
        return -static_cast<int>(limit);
    double whole = std::trunc(length);
    if (length >= 0.0 && whole + 1.0 - length < 0.001)
        whole += 1.0;
    return static_cast<int>(whole);
}

void IeMusicXmlImporter::refuse(const BcString& detail)
{
    if (!errorText.isEmpty())
        return;
    BcString text = BcStringResources::current().loadString(invalidData);
    text.replaceAll(BcString(u"%ls"), detail);
    errorText = text;
}

BcString IeMusicXmlImporter::inPart(int partIndex) const
{
    BcString text(" in part ");
    if (partIndex >= 0 && partIndex < scoreParts.count())
        text.append(scoreParts[partIndex]->id);
    return text;
}

bool IeMusicXmlImporter::importFile(const BcString& path)
{
    QuorvaneDocument* document = EdContext::current().activeDocument();
    if (!document)
        return false;
    errorText = BcString();
    workTexts = WorkTexts();
    scale = 1.0;
    reachedTimes.removeAll();
    highestMeasure = -1;

    BcXmlFiler filer;
    if (!filer.open(path)) {
        BcArray<unsigned char> bytes;
        const bool xmlWithoutRoot = BcInputFile::readAll(path, BcXmlFiler::maxFileSize, bytes) && endsBeforeRoot(bytes);
        errorText = BcStringResources::current().loadString(xmlWithoutRoot ? notPartwise : unreadableXml);
        return false;
    }
    if (!filer.findElement(BcString("score-partwise"), 0)) {
        errorText = BcStringResources::current().loadString(notPartwise);
        return false;
    }
    const BcArray<MnElement*>& order = document->displayOrder();
    if (order.isEmpty() || !order[0] || !order[0]->isKindOf(MnWork::staticClass()))
        return true;
    MnWork* work = static_cast<MnWork*>(order[0]);

    MnSheetMusic* sheet = new MnSheetMusic();
    readScore(filer, work, sheet);
    if (errorText.isEmpty() && !document->addWork(sheet))
        refuse(BcString("a work more than the document can hold"));
    if (!errorText.isEmpty()) {
        delete sheet;
        return false;
    }
    if (workTexts.hasTitle)
        work->title = workTexts.title;
    if (workTexts.hasComposer)
        work->composer = workTexts.composer;
    if (workTexts.hasLyricist)
        work->lyricist = workTexts.lyricist;
    if (workTexts.hasArranger)
        work->arranger = workTexts.arranger;
    if (workTexts.hasRights)
        work->copyright = workTexts.rights;
    return true;
}

void IeMusicXmlImporter::readScore(BcXmlFiler& filer, MnWork* work, MnSheetMusic* sheet)
{
    (void)work; // its texts are written by importFile once the whole file is read
    for (int i = sheet->creditCount() - 1; i >= 0; --i)
        sheet->removeChild(sheet->credit(i));

    ieForEachChild(filer, [&](TiXmlElement* child) {
        if (ieIsNamed(child, "work"))
            readWork(filer);
        else if (ieIsNamed(child, "identification"))
            readIdentification(filer);
        else if (ieIsNamed(child, "defaults"))
            readDefaults(filer, sheet);
        else if (ieIsNamed(child, "credit"))
            readCredit(filer, sheet);
        else if (ieIsNamed(child, "part-list"))
            readPartList(filer);
        else if (ieIsNamed(child, "part"))
            readPart(filer, sheet);
        return errorText.isEmpty();
    });
    if (errorText.isEmpty())
        finishMeasures(sheet);
    applyPartGroups(sheet);
    freeRecords();
}

void IeMusicXmlImporter::freeRecords()
{
    for (int i = 0; i < scoreParts.count(); ++i)
        delete scoreParts[i];
    scoreParts.removeAll();
    for (int i = 0; i < partGroups.count(); ++i)
        delete partGroups[i];
    partGroups.removeAll();
    for (int i = 0; i < openSlurs.count(); ++i)
        delete openSlurs[i];
    octaveSpans.clear();
    lastLyrics.clear();
    openSlurs.removeAll();
}

void IeMusicXmlImporter::readWork(BcXmlFiler& filer)
{
    BcString title;
    if (elementText(filer, "work-title", title)) {
        workTexts.title = title;
        workTexts.hasTitle = true;
    }
}

void IeMusicXmlImporter::readIdentification(BcXmlFiler& filer)
{
    ieForEachChild(filer, [&](TiXmlElement* child) {
        BcString text;
        if (ieIsNamed(child, "creator") && ieFirstText(child, text)) {
            if (ieAttributeIs(filer, "type", "composer")) {
                workTexts.composer = text;
                workTexts.hasComposer = true;
            } else if (ieAttributeIs(filer, "type", "lyricist")) {
                workTexts.lyricist = text;
                workTexts.hasLyricist = true;
            } else if (ieAttributeIs(filer, "type", "arranger")) {
                workTexts.arranger = text;
                workTexts.hasArranger = true;
            }
        } else if (ieIsNamed(child, "rights") && ieFirstText(child, text)) {
            workTexts.rights = text;
            workTexts.hasRights = true;
        }
        return true;
    });
}

void IeMusicXmlImporter::readDefaults(BcXmlFiler& filer, MnSheetMusic* sheet)
{
    ieForEachChild(filer, [&](TiXmlElement* child) {
        if (ieIsNamed(child, "scaling")) {
            BcString millimetres;
            BcString tenths;
            if (elementText(filer, "millimeters", millimetres) && elementText(filer, "tenths", tenths)) {
                const double mm = leadingDecimal(millimetres);
                const double t = leadingDecimal(tenths);
                // Anything else would make every length infinite, negative or 0.
                if (mm > 0.0 && t > 0.0 && std::isfinite(mm / t) && mm / t > 0.0)
                    scale = mm / t;
            }
        } else if (ieIsNamed(child, "page-layout")) {
            readPageLayout(filer, sheet);
        }
        return true;
    });
}

void IeMusicXmlImporter::readPageLayout(BcXmlFiler& filer, MnSheetMusic* sheet)
{
    BcString width;
    BcString height;
    if (elementText(filer, "page-width", width) && elementText(filer, "page-height", height))
        sheet->setPaperSize(wholeMillimetres(leadingDecimal(width) * scale),
                            wholeMillimetres(leadingDecimal(height) * scale));

    // Odd pages carry the margins of the first page; "both" serves all
    // pages, and a block without type is taken as that too. Even pages'
    // margins are mirrored from the odd ones by the sheet itself.
    auto rank = [&](const TiXmlElement* margins) {
        const char* type = margins->Attribute("type");
        if (!type)
            return 1;
        if (std::strcmp(type, "odd") == 0)
            return 3;
        if (std::strcmp(type, "both") == 0)
            return 2;
        return 0;
    };
    int best = 0;
    ieForEachChild(filer, [&](TiXmlElement* child) {
        if (ieIsNamed(child, "page-margins"))
            best = std::max(best, rank(child));
        return true;
    });
    if (best == 0)
        return;
    ieForEachChild(filer, [&](TiXmlElement* child) {
        if (!ieIsNamed(child, "page-margins") || rank(child) != best)
            return true;
        int margins[4] = {sheet->storedLeftMargin(), sheet->storedRightMargin(), sheet->storedTopMargin(),
                          sheet->storedBottomMargin()};
        static const char* const names[4] = {"left-margin", "right-margin", "top-margin", "bottom-margin"};
        for (int i = 0; i < 4; ++i) {
            BcString value;
            if (elementText(filer, names[i], value))
                margins[i] = wholeMillimetres(leadingDecimal(value) * scale);
        }
        sheet->setMargins(margins[0], margins[1], margins[2], margins[3]);
        return true;
    });
}

void IeMusicXmlImporter::readCredit(BcXmlFiler& filer, MnSheetMusic* sheet)
{
    BcString pageText;
    // A credit without a page is on the first page.
    const int page = attribute(filer, "page", pageText) ? leadingInteger(pageText) : 1;
    const int pageIndex = page > INT_MIN ? page - 1 : page;
    double defaultX = 0.0;
    double defaultY = 0.0;
    int fontSize = -1;
    BcString justify;

    ieForEachChild(filer, [&](TiXmlElement* child) {
        BcString words;
        if (!ieIsNamed(child, "credit-words") || !ieFirstText(child, words) || words.isEmpty())
            return true;
        MnCredit* credit = sheet->addCredit(pageIndex);
        if (!credit) {
            refuse(BcString("more credits than a sheet can hold"));
            return false;
        }
        credit->setText(words);
        BcString value;
        if (attribute(filer, "default-x", value))
            defaultX = leadingDecimal(value);
        if (attribute(filer, "default-y", value))
            defaultY = leadingDecimal(value);
        // MusicXML measures default-y up from the page's bottom; a credit's y
        // runs down from the top margin, negative.
        credit->moveTo(GePoint2d(defaultX * scale, -(sheet->pageHeight() - sheet->topMargin() - defaultY * scale)));

        if (attribute(filer, "font-size", value))
            fontSize = leadingInteger(value);
        if (fontSize > 0) {
            const int size = std::clamp(fontSize, 1, 99);
            if (size != credit->size())
                credit->setSize(size);
        }

        BcString halign("left");
        BcString valign("top");
        const bool hasHalign = attribute(filer, "halign", halign);
        attribute(filer, "valign", valign);
        const int row = alignmentRow(valign);
        const int column = alignmentColumn(halign);
        if (row >= 0 && column >= 0 && credit->alignment() != 3 * row + column)
            credit->setAlignment(3 * row + column);

        if (hasHalign) {
            if (credit->creditAlignment() != -1) {
                credit->setCreditAlignment(-1);
                credit->relayout();
            }
            return true;
        }
        if (attribute(filer, "justify", value))
            justify = value;
        const int justification = justify == u"left" ? 0 : justify == u"center" ? 1 : justify == u"right" ? 2 : -1;
        if (credit->creditAlignment() != justification) {
            credit->setCreditAlignment(justification);
            if (justification >= 0)
                credit->setAlignment(justification);
            credit->relayout();
        }
        return true;
    });
}

void IeMusicXmlImporter::readPartList(BcXmlFiler& filer)
{
    ieForEachChild(filer, [&](TiXmlElement* child) {
        if (ieIsNamed(child, "part-group"))
            readPartGroup(filer);
        else if (ieIsNamed(child, "score-part"))
            readScorePart(filer);
        return errorText.isEmpty();
    });
}

void IeMusicXmlImporter::readPartGroup(BcXmlFiler& filer)
{
    BcString value;
    // Only the outermost level of grouping is kept.
    if (attribute(filer, "number", value) && leadingInteger(value) != 1)
        return;
    BcString type;
    if (!attribute(filer, "type", type))
        return;
    if (type != u"start") {
        if (!partGroups.isEmpty() && partGroups[partGroups.count() - 1]->open)
            partGroups[partGroups.count() - 1]->open = false;
        return;
    }
    IePartGroup* group = new IePartGroup();
    if (elementText(filer, "group-symbol", value))
        group->symbol = value == u"brace" ? 0 : value == u"square" ? 2 : value == u"line" ? 3 : 1;
    elementText(filer, "group-name", group->name);
    elementText(filer, "group-abbreviation", group->abbreviation);
    partGroups.add(group);
}

void IeMusicXmlImporter::readScorePart(BcXmlFiler& filer)
{
    BcString id;
    if (!attribute(filer, "id", id)) {
        refuse(BcString("score-part without id"));
        return;
    }
    IeScorePart* part = new IeScorePart();
    part->id = id;
    elementText(filer, "part-name", part->name);
    elementText(filer, "part-abbreviation", part->abbreviation);
    scoreParts.add(part);
    if (!partGroups.isEmpty() && partGroups[partGroups.count() - 1]->open) {
        IePartGroup* group = partGroups[partGroups.count() - 1];
        if (group->firstPart == -1)
            group->firstPart = scoreParts.count() - 1;
        ++group->partCount;
    }
}
