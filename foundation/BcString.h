#pragma once

// The system's string: UTF-16 code units with an explicit length and
// capacity, built from UTF-8, wide text and numbers, and converted to narrow
// text on demand. Comparison is exact, code unit by code unit.
//
// With a buffer, capacity > length and every unit from length to capacity-1
// is 0, so the text is always terminated.
class BcString
{
public:
    // Code pages understood by toNarrow. Code page 0 (the system's narrow
    // encoding, used for file names) is UTF-8 on this platform.
    static constexpr int systemCodePage = 0;
    static constexpr int westernCodePage = 1252;
    static constexpr int utf8CodePage = 65001;

    BcString();
    BcString(const char* utf8);
    BcString(const char16_t* utf16);
    BcString(const wchar_t* wide);
    BcString(const BcString& other);
    BcString(BcString&& other) noexcept;
    // "%d"
    explicit BcString(int value);
    // The value in decimal, zero-padded on the left to at least width digits.
    BcString(int value, int width);
    // Fixed notation with six decimals and a full stop, whatever the locale.
    explicit BcString(double value);
    virtual ~BcString();

    BcString& operator=(const BcString& other) { return assign(other); }
    BcString& operator=(BcString&& other) noexcept;
    BcString& operator=(const char16_t* utf16) { return assign(BcString(utf16)); }

    int length() const { return textLength; }
    int capacity() const { return bufferCapacity; }
    bool isEmpty() const { return textLength == 0; }
    // No bounds check: callers keep indices below length().
    char16_t operator[](int index) const { return buffer[index]; }

    void reserve(int n);
    BcString& assign(const BcString& source);
    BcString& append(const BcString& other);
    BcString operator+(const BcString& other) const;
    // Appends after a "\" unless the string already ends with "\" or "/".
    BcString& appendPath(const BcString& part);
    bool endsWith(const BcString& suffix) const;
    BcString mid(int from) const;
    // Both ends included; to is clamped to the last unit.
    BcString midRange(int from, int to) const;
    // Left to right without overlap; inserted text is never searched again.
    BcString& replaceAll(const BcString& find, const BcString& with);

    // The text in the given code page, valid until the next call, an
    // assignment from an empty string or the destruction.
    const char* toNarrow(int codePage) const;
    // Never null: a string without buffer answers an empty text.
    const char16_t* chars() const;

    bool operator==(const BcString& other) const;
    bool operator!=(const BcString& other) const { return !(*this == other); }
    bool operator==(const char16_t* utf16) const;
    bool operator!=(const char16_t* utf16) const { return !(*this == utf16); }

private:
    void setUnits(const char16_t* units, int count);
    void freeAll();

    char16_t* buffer = nullptr;
    int bufferCapacity = 0;
    int textLength = 0;
    mutable char* narrow = nullptr;
};
