#include "model/MnLyric.h"

#include "common/TestPrinters.h"
#include "foundation/BcClass.h"
#include "model/RecordBytes.h"
#include "model/TextRecord.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MnLyric, NewLyricLine)
{
    MnLyric lyric;
    EXPECT_TRUE(lyric.isKindOf(MnText::staticClass()));
    EXPECT_EQ(lyric.position().x, 0.0);
    EXPECT_EQ(lyric.position().y, -12.0);
    EXPECT_EQ(lyric.size(), 10.0);
    EXPECT_EQ(lyric.passThrough(), 1);
    EXPECT_EQ(lyric.voice(), 0);
    EXPECT_EQ(lyric.start(), 0);
    EXPECT_EQ(lyric.syllableCount(), 0);
    EXPECT_EQ(lyric.width(), 0.0);
}

TEST(MnLyric, TextSplitsIntoSyllables)
{
    struct Row
    {
        const char* what;
        const char* text;
        std::vector<const char*> syllables;
        std::vector<int> starts;
        std::u16string separators;
    };
    const Row rows[] = {
        {"hyphen between blanks", "Glo - ri - a", {"Glo", "ri", "a"}, {0, 6, 11}, u"-- "},
        {"hyphen between syllables", "Glo-ri-a", {"Glo", "ri", "a"}, {0, 4, 7}, u"-- "},
        {"line feed is a blank", "one\ntwo", {"one", "two"}, {0, 4}, u"  "},
        {"carriage return and line feed", "one\r\ntwo", {"one", "two"}, {0, 5}, u"  "},
        {"middle dot joins", "a \u00B7 b", {"a", "b"}, {0, 4}, u"\u00B7 "},
        {"blank after hyphen is ignored", "a- b", {"a", "b"}, {0, 3}, u"- "},
        {"second hyphen is ignored", "a--b", {"a", "b"}, {0, 3}, u"- "},
        {"leading separators", "  -x", {"x"}, {3}, u" "},
        {"trailing hyphen", "x -", {"x"}, {0}, u"-"},
        {"separators only", " - ", {}, {}, u""},
    };
    for (const Row& row : rows) {
        MnLyric lyric;
        EXPECT_TRUE(lyric.setText(BcString(row.text))) << row.what;
        ASSERT_EQ(lyric.syllableCount(), int(row.syllables.size())) << row.what;
        for (int i = 0; i < lyric.syllableCount(); ++i) {
            EXPECT_EQ(lyric.syllable(i), BcString(row.syllables[i])) << row.what << " " << i;
            EXPECT_EQ(lyric.syllableStart(i), row.starts[i]) << row.what << " " << i;
            EXPECT_EQ(lyric.separator(i), row.separators[i]) << row.what << " " << i;
        }
    }
}

TEST(MnLyric, EmptyTextIsRefusedAndKeepsTheSplit)
{
    MnLyric lyric;
    ASSERT_TRUE(lyric.setText(BcString("La la")));
    EXPECT_FALSE(lyric.setText(BcString()));
    EXPECT_EQ(lyric.text(), BcString("La la"));
    EXPECT_EQ(lyric.syllableCount(), 2);
}

TEST(MnLyric, VoiceAndPassThroughShareOneByte)
{
    MnLyric lyric;
    ASSERT_TRUE(lyric.setText(BcString("Ky - ri - e")));
    lyric.setStart(60480);
    ASSERT_TRUE(lyric.setVoice(1));
    ASSERT_TRUE(lyric.setPassThrough(2));
    EXPECT_FALSE(lyric.setVoice(2));
    EXPECT_FALSE(lyric.setPassThrough(16));
    Bytes record = recordOf(lyric);
    EXPECT_EQ(record.back(), 0x21);

    MnLyric copy;
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.voice(), 1);
    EXPECT_EQ(copy.passThrough(), 2);
    EXPECT_EQ(copy.start(), 60480);
    // The text read is split at once.
    ASSERT_EQ(copy.syllableCount(), 3);
    EXPECT_EQ(copy.syllable(2), BcString("e"));
    EXPECT_EQ(recordOf(copy), record);
}

TEST(MnLyric, ReadingRefusesAVoiceTheMeasuresDoNotHave)
{
    Bytes text = defaultTextRecord(5);
    for (unsigned char byte : {0x02, 0x1F}) {
        MnLyric bad;
        EXPECT_FALSE(readRecord(bad, RecordBuilder().bytes(text).integer(0).byte(byte).done())) << int(byte);
        EXPECT_EQ(bad.voice(), 0);
        EXPECT_EQ(bad.passThrough(), 1);
    }
    MnLyric negative;
    EXPECT_FALSE(readRecord(negative, RecordBuilder().bytes(text).integer(-60480).byte(0x10).done()));
    EXPECT_EQ(negative.start(), 0);
    // Pass-through 0 and 15 are both kept.
    MnLyric edge;
    ASSERT_TRUE(readRecord(edge, RecordBuilder().bytes(text).integer(0).byte(0xF1).done()));
    EXPECT_EQ(edge.passThrough(), 15);
    EXPECT_EQ(edge.voice(), 1);
}

TEST(MnLyric, EveryPrefixFails)
{
    MnLyric lyric;
    lyric.setText(BcString("Glo - ri - a"));
    Bytes record = recordOf(lyric);
    for (size_t length = 0; length < record.size(); ++length) {
        MnLyric partial;
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}

TEST(MnLyric, VerticalDragOnly)
{
    MnLyric lyric;
    EXPECT_TRUE(lyric.moveTo(GePoint2d(40.0, -30.0)));
    EXPECT_EQ(lyric.position().x, 0.0);
    EXPECT_EQ(lyric.position().y, -28.0);
    EXPECT_FALSE(lyric.moveTo(GePoint2d(5.0, -28.0)));
    EXPECT_TRUE(lyric.moveTo(GePoint2d(0.0, 1.0)));
    EXPECT_EQ(lyric.position().y, 2.0);
}
