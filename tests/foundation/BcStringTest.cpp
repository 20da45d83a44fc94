#include "foundation/BcString.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <locale>
#include <string>

static std::string utf8(const BcString& s)
{
    return s.toNarrow(BcString::utf8CodePage);
}

TEST(BcString, Utf8Conversion)
{
    BcString e("\xC3\xA9"); // é
    EXPECT_EQ(e.length(), 1);
    EXPECT_EQ(e.capacity(), 3);
    EXPECT_EQ(e[0], 0xE9);
    EXPECT_EQ(utf8(e), "\xC3\xA9");

    BcString note("\xF0\x9F\x8E\xB5"); // U+1F3B5, outside the basic plane
    ASSERT_EQ(note.length(), 2);
    EXPECT_EQ(note[0], 0xD83C);
    EXPECT_EQ(note[1], 0xDFB5);
    EXPECT_EQ(utf8(note), "\xF0\x9F\x8E\xB5");

    BcString wide(L"\U0001F3B5x");
    EXPECT_EQ(wide.length(), 3);
    EXPECT_EQ(wide, note + BcString("x"));
    EXPECT_EQ(BcString(u"ab\u00E9"), BcString("ab\xC3\xA9"));
}

TEST(BcString, InvalidInputBecomesReplacementCharacters)
{
    struct Case {
        const char* name;
        const char* input;
        std::u16string expected;
    };
    const Case cases[] = {
        {"stray continuation byte", "a\x80" "b", u"a\uFFFDb"},
        {"truncated two-byte sequence at the end", "a\xC3", u"a\uFFFD"},
        {"truncated three-byte sequence", "\xE2\x82" "x", u"\uFFFDx"},
        {"overlong encoding of slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"invalid lead bytes", "\xFE\xFF", u"\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        BcString s(c.input);
        EXPECT_EQ(std::u16string(s.chars(), size_t(s.length())), c.expected) << c.name;
        EXPECT_LE(s.length(), int(std::strlen(c.input))) << c.name;
        EXPECT_LT(s.length(), s.capacity()) << c.name;
    }

    // An unpaired surrogate in the text cannot go into UTF-8 as it is.
    char16_t lone[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(utf8(BcString(lone)), "a\xEF\xBF\xBD" "b");
}

TEST(BcString, EmptyStrings)
{
    BcString none;
    EXPECT_EQ(none.capacity(), 0);
    EXPECT_NE(none.chars(), nullptr);
    EXPECT_EQ(none.chars()[0], 0);
    EXPECT_STREQ(none.toNarrow(0), "");

    BcString copy(none);
    EXPECT_EQ(copy.capacity(), 1);
    EXPECT_EQ(copy.length(), 0);
    EXPECT_EQ(copy, none);
    EXPECT_EQ(BcString(""), none);
    EXPECT_TRUE(none == u"");

    BcString text("abc");
    text.assign(none);
    EXPECT_EQ(text.capacity(), 0);
    EXPECT_EQ(text.length(), 0);
}

TEST(BcString, NumbersAreFormattedAsSpecified)
{
    struct Case {
        const char* name;
        BcString actual;
        const char* expected;
    };
    const Case cases[] = {
        {"int", BcString(42), "42"},
        {"negative int", BcString(-7), "-7"},
        {"padded", BcString(7, 3), "007"},
        {"wider than the width", BcString(1234, 2), "1234"},
        {"padded negative", BcString(-42, 5), "-0042"},
        {"year", BcString(2024, 4), "2024"},
        {"double", BcString(0.25), "0.250000"},
        {"one and a half", BcString(1.5), "1.500000"},
        {"negative double", BcString(-2.0), "-2.000000"},
        {"rounded double", BcString(1.0 / 3.0), "0.333333"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8(c.actual), c.expected) << c.name;
}

// A locale whose decimal separator is a comma, as in French.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(BcString, NumbersIgnoreTheLocale)
{
    std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    std::string previousC = std::setlocale(LC_ALL, nullptr);
    // Use a real French locale too where the machine has one.
    const char* french = std::setlocale(LC_ALL, "fr_FR.UTF-8");
    EXPECT_EQ(utf8(BcString(1.5)), "1.500000");
    EXPECT_EQ(utf8(BcString(-1234.0625)), "-1234.062500");
    EXPECT_EQ(utf8(BcString(1000000)), "1000000");
    if (french)
        std::setlocale(LC_ALL, previousC.c_str());
    std::locale::global(previous);
}

TEST(BcString, ReserveAssignAppend)
{
    BcString hello("hello");
    BcString cut(hello);
    cut.reserve(3);
    EXPECT_EQ(cut, BcString("he"));
    EXPECT_EQ(cut.capacity(), 3);
    BcString kept(hello);
    kept.reserve(10);
    EXPECT_EQ(kept, hello);
    EXPECT_EQ(kept.capacity(), 10);

    BcString target("a long text");
    int capacity = target.capacity();
    target.assign(BcString("ab"));
    EXPECT_EQ(target, BcString("ab"));
    EXPECT_EQ(target.capacity(), capacity); // assigning never shrinks
    EXPECT_EQ(target.chars()[2], 0);

    BcString twice("ab");
    twice.append(twice);
    EXPECT_EQ(twice, BcString("abab"));
    EXPECT_EQ(BcString("x") + BcString("yz"), BcString("xyz"));
}

TEST(BcString, EditingTable)
{
    struct Case {
        const char* name;
        BcString actual;
        const char* expected;
    };
    const Case cases[] = {
        {"appendPath adds a separator", BcString("a").appendPath("b"), "a\\b"},
        {"appendPath after a backslash", BcString("a\\").appendPath("b"), "a\\b"},
        {"appendPath after a slash", BcString("a/").appendPath("b"), "a/b"},
        {"appendPath to the empty string", BcString().appendPath("b"), "\\b"},
        {"mid", BcString("hello").mid(2), "llo"},
        {"mid at the length", BcString("hello").mid(5), ""},
        {"mid before the start", BcString("hello").mid(-1), ""},
        {"midRange clamps the end", BcString("hello").midRange(1, 99), "ello"},
        {"midRange reversed", BcString("hello").midRange(3, 1), ""},
        {"midRange of one unit", BcString("hello").midRange(4, 4), "o"},
        {"replaceAll without overlap", BcString("aaa").replaceAll("aa", "b"), "ba"},
        {"replaceAll does not search inserted text", BcString("aa").replaceAll("a", "aa"), "aaaa"},
        {"replaceAll with nothing", BcString("xax").replaceAll("x", ""), "a"},
        {"replaceAll to empty", BcString("xx").replaceAll("x", ""), ""},
        {"replaceAll without match", BcString("abc").replaceAll("d", "e"), "abc"},
        {"replaceAll of an empty find", BcString("abc").replaceAll("", "e"), "abc"},
        {"replaceAll of a longer find", BcString("ab").replaceAll("abc", "e"), "ab"},
        {"replaceAll of non-ASCII", BcString("Caf&#233;").replaceAll("&#233;", "\xC3\xA9"), "Caf\xC3\xA9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8(c.actual), c.expected) << c.name;

    EXPECT_TRUE(BcString("abc").endsWith(BcString()));
    EXPECT_TRUE(BcString().endsWith(BcString()));
    EXPECT_TRUE(BcString("abc").endsWith("bc"));
    EXPECT_FALSE(BcString("bc").endsWith("abc"));
    EXPECT_FALSE(BcString("abc").endsWith("ab"));
}

TEST(BcString, Comparison)
{
    EXPECT_EQ(BcString("Note"), BcString("Note"));
    EXPECT_NE(BcString("Note"), BcString("note"));
    EXPECT_NE(BcString("Note"), BcString("Notes"));
    EXPECT_TRUE(BcString("Note") == u"Note");
    EXPECT_FALSE(BcString("Note") == u"Not");
    BcString assigned;
    assigned = u"wide";
    EXPECT_EQ(assigned, BcString("wide"));
}

TEST(BcString, WesternCodePage)
{
    BcString text("\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD"); // é, €, a CJK character
    EXPECT_STREQ(text.toNarrow(BcString::westernCodePage), "\xE9\x80?");
    // The narrow copy of the last call stays valid while the string lives.
    const char* narrow = text.toNarrow(BcString::systemCodePage);
    EXPECT_STREQ(narrow, "\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD");
}
