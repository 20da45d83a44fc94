#include "foundation/BcString.h"

#include <charconv>
#include <cstring>
#include <string>

static const char16_t replacementCharacter = 0xFFFD;

static int utf16Length(const char16_t* text)
{
    int n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

// Appends one code point as UTF-16; anything that is not a Unicode scalar
// value becomes U+FFFD.
static void appendCodePoint(char16_t* out, int& n, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        out[n++] = replacementCharacter;
    } else if (cp >= 0x10000) {
        cp -= 0x10000;
        out[n++] = char16_t(0xD800 + (cp >> 10));
        out[n++] = char16_t(0xDC00 + (cp & 0x3FF));
    } else {
        out[n++] = char16_t(cp);
    }
}

// Decodes UTF-8 into out (room for byteCount units is enough: no sequence
// gives more units than it has bytes). Each maximal ill-formed subsequence
// becomes one U+FFFD. Answers the number of units written.
static int decodeUtf8(const unsigned char* in, int byteCount, char16_t* out)
{
    int n = 0;
    int i = 0;
    while (i < byteCount) {
        unsigned char b = in[i];
        if (b < 0x80) {
            out[n++] = b;
            ++i;
            continue;
        }
        int need = 0;
        char32_t cp = 0;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            need = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need = 2;
            cp = b & 0x0F;
            if (b == 0xE0)
                lo = 0xA0; // overlong
            if (b == 0xED)
                hi = 0x9F; // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            need = 3;
            cp = b & 0x07;
            if (b == 0xF0)
                lo = 0x90; // overlong
            if (b == 0xF4)
                hi = 0x8F; // beyond U+10FFFF
        } else {
            out[n++] = replacementCharacter;
            ++i;
            continue;
        }
        int j = 1;
        for (; j <= need; ++j) {
            if (i + j >= byteCount)
                break;
            unsigned char c = in[i + j];
            unsigned char first = j == 1 ? lo : 0x80;
            unsigned char last = j == 1 ? hi : 0xBF;
            if (c < first || c > last)
                break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (j <= need) {
            out[n++] = replacementCharacter;
            i += j;
            continue;
        }
        appendCodePoint(out, n, cp);
        i += need + 1;
    }
    return n;
}

// Encodes UTF-16 as UTF-8; unpaired surrogates become U+FFFD.
static std::string encodeUtf8(const char16_t* units, int count)
{
    std::string out;
    out.reserve(size_t(count) * 3);
    for (int i = 0; i < count; ++i) {
        char32_t cp = units[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = replacementCharacter;
        }
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

// Windows-1252: Latin-1 except 0x80-0x9F; characters it cannot hold become '?'.
static std::string encodeWestern(const char16_t* units, int count)
{
    static const char16_t high[32] = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
        0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    std::string out;
    out.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        char16_t u = units[i];
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += char(u);
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            if (high[k] != 0 && high[k] == u) {
                mapped = char(0x80 + k);
                break;
            }
        }
        // A surrogate pair is one character and gets one '?'.
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
            ++i;
        out += mapped;
    }
    return out;
}


BcString::BcString() = default;

BcString::BcString(const char* utf8)
{
    if (!utf8 || !utf8[0])
        return;
    int byteCount = int(std::strlen(utf8));
    bufferCapacity = byteCount + 1;
    buffer = new char16_t[bufferCapacity]();
    textLength = decodeUtf8(reinterpret_cast<const unsigned char*>(utf8), byteCount, buffer);
}

BcString::BcString(const char16_t* utf16)
{
    if (!utf16 || !utf16[0])
        return;
    setUnits(utf16, utf16Length(utf16));
}

BcString::BcString(const wchar_t* wide)
{
    if (!wide || !wide[0])
        return;
    int count = 0;
    while (wide[count] != 0)
        ++count;
    // wchar_t holds whole code points here; each may need two units.
    char16_t* units = new char16_t[size_t(count) * 2 + 1]();
    int n = 0;
    for (int i = 0; i < count; ++i)
        appendCodePoint(units, n, char32_t(wide[i]));
    setUnits(units, n);
    delete[] units;
}

BcString::BcString(const BcString& other)
{
    bufferCapacity = other.textLength + 1;
    buffer = new char16_t[bufferCapacity]();
    textLength = other.textLength;
    if (textLength > 0)
        std::memcpy(buffer, other.buffer, sizeof(char16_t) * size_t(textLength));
}

BcString::BcString(BcString&& other) noexcept
    : buffer(other.buffer), bufferCapacity(other.bufferCapacity), textLength(other.textLength), narrow(other.narrow)
{
    other.buffer = nullptr;
    other.bufferCapacity = 0;
    other.textLength = 0;
    other.narrow = nullptr;
}

BcString::BcString(int value)
{
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    *result.ptr = 0;
    *this = BcString(digits);
}

BcString::BcString(int value, int width)
{
    // Like "%0*d": the sign counts towards the width.
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    std::string text(digits, result.ptr);
    if (width > int(text.size())) {
        size_t pad = size_t(width) - text.size();
        text.insert(value < 0 ? 1 : 0, pad, '0');
    }
    *this = BcString(text.c_str());
}

BcString::BcString(double value)
{
    // to_chars never consults the locale, so a file never gets a decimal comma.
    char digits[400];
    auto result = std::to_chars(digits, digits + sizeof digits - 1, value, std::chars_format::fixed, 6);
    *result.ptr = 0;
    *this = BcString(digits);
}

BcString::~BcString()
{
    freeAll();
}

BcString& BcString::operator=(BcString&& other) noexcept
{
    if (this != &other) {
        freeAll();
        buffer = other.buffer;
        bufferCapacity = other.bufferCapacity;
        textLength = other.textLength;
        narrow = other.narrow;
        other.buffer = nullptr;
        other.bufferCapacity = 0;
        other.textLength = 0;
        other.narrow = nullptr;
    }
    return *this;
}

void BcString::freeAll()
{
    delete[] buffer;
    delete[] narrow;
    buffer = nullptr;
    narrow = nullptr;
    bufferCapacity = 0;
    textLength = 0;
}

void BcString::setUnits(const char16_t* units, int count)
{
    bufferCapacity = count + 1;
    buffer = new char16_t[bufferCapacity]();
    std::memcpy(buffer, units, sizeof(char16_t) * size_t(count));
    textLength = count;
}

void BcString::reserve(int n)
{
    if (n < 1)
        return;
    if (!buffer) {
        buffer = new char16_t[n]();
        bufferCapacity = n;
        return;
    }
    if (n == bufferCapacity)
        return;
    char16_t* fresh = new char16_t[n]();
    int kept = textLength < n ? textLength : n - 1;
    std::memcpy(fresh, buffer, sizeof(char16_t) * size_t(kept));
    delete[] buffer;
    buffer = fresh;
    bufferCapacity = n;
    textLength = kept;
}

BcString& BcString::assign(const BcString& source)
{
    if (this == &source)
        return *this;
    if (source.textLength == 0) {
        freeAll();
        return *this;
    }
    if (bufferCapacity < source.textLength + 1)
        reserve(source.textLength + 1);
    std::memcpy(buffer, source.buffer, sizeof(char16_t) * size_t(source.textLength));
    std::memset(buffer + source.textLength, 0, sizeof(char16_t) * size_t(bufferCapacity - source.textLength));
    textLength = source.textLength;
    return *this;
}

BcString& BcString::append(const BcString& other)
{
    int added = other.textLength;
    if (added == 0)
        return *this;
    // Appending a string to itself: reserve may replace the source's buffer.
    const BcString* source = &other;
    BcString selfCopy;
    if (source == this) {
        selfCopy = BcString(*this);
        source = &selfCopy;
    }
    int total = textLength + added;
    if (bufferCapacity < total + 1)
        reserve(total + 1);
    std::memcpy(buffer + textLength, source->buffer, sizeof(char16_t) * size_t(added));
    textLength = total;
    return *this;
}

BcString BcString::operator+(const BcString& other) const
{
    BcString result(*this);
    result.append(other);
    return result;
}

BcString& BcString::appendPath(const BcString& part)
{
    if (!endsWith(BcString("\\")) && !endsWith(BcString("/")))
        append(BcString("\\"));
    return append(part);
}

bool BcString::endsWith(const BcString& suffix) const
{
    if (suffix.textLength > textLength)
        return false;
    if (suffix.textLength == 0)
        return true;
    return std::memcmp(buffer + textLength - suffix.textLength, suffix.buffer,
                       sizeof(char16_t) * size_t(suffix.textLength)) == 0;
}

BcString BcString::mid(int from) const
{
    if (from < 0 || from >= textLength)
        return BcString();
    return midRange(from, textLength - 1);
}

BcString BcString::midRange(int from, int to) const
{
    if (to > textLength - 1)
        to = textLength - 1;
    if (from < 0 || to < from)
        return BcString();
    BcString result;
    result.setUnits(buffer + from, to - from + 1);
    return result;
}

BcString& BcString::replaceAll(const BcString& find, const BcString& with)
{
    int findLength = find.textLength;
    if (findLength == 0 || textLength < findLength)
        return *this;
    // Searching the original behind each occurrence is the same as searching
    // the changed text behind the inserted part.
    std::u16string result;
    int start = 0;
    bool replaced = false;
    int p = 0;
    while (p + findLength <= textLength) {
        if (std::memcmp(buffer + p, find.buffer, sizeof(char16_t) * size_t(findLength)) == 0) {
            result.append(buffer + start, buffer + p);
            result.append(with.chars(), size_t(with.textLength));
            p += findLength;
            start = p;
            replaced = true;
        } else {
            ++p;
        }
    }
    if (!replaced)
        return *this;
    result.append(buffer + start, buffer + textLength);
    int newLength = int(result.size());
    if (newLength == 0) {
        freeAll();
        return *this;
    }
    if (bufferCapacity < newLength + 1)
        reserve(newLength + 1);
    std::memcpy(buffer, result.data(), sizeof(char16_t) * size_t(newLength));
    std::memset(buffer + newLength, 0, sizeof(char16_t) * size_t(bufferCapacity - newLength));
    textLength = newLength;
    return *this;
}

const char* BcString::toNarrow(int codePage) const
{
    delete[] narrow;
    narrow = nullptr;
    std::string text = codePage == westernCodePage ? encodeWestern(chars(), textLength)
                                                   : encodeUtf8(chars(), textLength);
    narrow = new char[text.size() + 1];
    std::memcpy(narrow, text.c_str(), text.size() + 1);
    return narrow;
}

const char16_t* BcString::chars() const
{
    static const char16_t emptyText[1] = {0};
    return buffer ? buffer : emptyText;
}

bool BcString::operator==(const BcString& other) const
{
    if (textLength != other.textLength)
        return false;
    if (textLength == 0)
        return true;
    return std::memcmp(buffer, other.buffer, sizeof(char16_t) * size_t(textLength)) == 0;
}

bool BcString::operator==(const char16_t* utf16) const
{
    const char16_t* text = utf16 ? utf16 : u"";
    int n = utf16Length(text);
    if (n != textLength)
        return false;
    return n == 0 || std::memcmp(buffer, text, sizeof(char16_t) * size_t(n)) == 0;
}
