#include "model/MnTempo.h"

#include "common/TestPrinters.h"
#include "foundation/BcClass.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/RecordBytes.h"
#include "model/TextRecord.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(MnTempo, NewMark)
{
    MnScore score;
    MnTempo tempo(&score);
    EXPECT_EQ(tempo.parent(), &score);
    EXPECT_EQ(tempo.text(), BcString(" = 96"));
    EXPECT_EQ(tempo.position().x, 25.0);
    EXPECT_EQ(tempo.position().y, 20.0);
    EXPECT_EQ(tempo.alignment(), 9);
    EXPECT_EQ(tempo.size(), 12.0);
    EXPECT_EQ(tempo.beatUnit(), 60480);
    EXPECT_EQ(tempo.beatsPerMinute(), 96);
    EXPECT_EQ(tempo.term(), -1);
    EXPECT_TRUE(tempo.showsMetronome());
}

TEST(MnTempo, TextFromTheValues)
{
    struct Row
    {
        const char* what;
        int term;
        bool molto;
        bool maNonTroppo;
        const char* custom;
        int beatsPerMinute;
        const char* text;
    };
    const Row rows[] = {
        {"term with both qualifiers", 14, true, true, "", 96, "Molto Allegro, ma non troppo"},
        {"term alone", 0, false, false, "", 96, "Larghissimo"},
        {"last term, ma non troppo", 19, false, true, "", 96, "Prestissimo, ma non troppo"},
        {"custom text ignores the qualifiers", -1, true, true, "Swing", 96, "Swing"},
        {"no term, no text: the metronome number", -1, false, false, "", 120, " = 120"},
    };
    for (const Row& row : rows) {
        MnTempo tempo;
        tempo.setTerm(row.term);
        tempo.setMolto(row.molto);
        tempo.setMaNonTroppo(row.maNonTroppo);
        tempo.setCustomText(BcString(row.custom));
        tempo.setBeatsPerMinute(row.beatsPerMinute);
        tempo.buildTempoText();
        EXPECT_EQ(tempo.text(), BcString(row.text)) << row.what;
    }
    EXPECT_EQ(MnTempo::termText(10), BcString("Andante moderato"));
    EXPECT_EQ(MnTempo::termText(20), BcString(""));
}

TEST(MnTempo, Record)
{
    MnTempo tempo;
    tempo.setBeatUnit(90720);
    tempo.setBeatsPerMinute(72);
    tempo.setTerm(-1);
    tempo.setMaNonTroppo(true);
    tempo.setCustomText(BcString("Lively"));
    tempo.setShowMetronome(false);
    tempo.buildTempoText();
    Bytes record = recordOf(tempo);
    Bytes text = textRecordOf(tempo);
    EXPECT_EQ(record, RecordBuilder().bytes(text).integer(90720).integer(72).character(-1).boolean(false)
                          .boolean(true).string("Lively").boolean(false).done());

    MnTempo copy;
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.term(), -1);
    EXPECT_EQ(copy.beatUnit(), 90720);
    EXPECT_EQ(copy.text(), BcString("Lively"));
    EXPECT_EQ(recordOf(copy), record);

    for (size_t length = 0; length < record.size(); ++length) {
        MnTempo partial;
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}

TEST(MnTempo, ReadingChecksTheValues)
{
    struct Row
    {
        const char* what;
        int version;
        int beatUnit;
        int beatsPerMinute;
        int term;
        bool ok;
        int readBeatUnit;
        int readTerm;
    };
    const Row rows[] = {
        {"version 1 counted 384 ticks a whole", 1, 96, 60, 3, true, 60480, 3},
        {"version 2 as stored", 2, 96, 60, 3, true, 96, 3},
        {"zero beat unit divides", 5, 0, 60, 3, false, 60480, -1},
        {"negative beat unit", 5, -60480, 60, 3, false, 60480, -1},
        {"beat unit beyond four wholes", 5, 4 * 241920 + 1, 60, 3, false, 60480, -1},
        {"old beat unit that overflows when scaled", 1, 0x7FFFFFF, 60, 3, false, 60480, -1},
        {"zero beats per minute divides", 5, 60480, 0, 3, false, 60480, -1},
        {"unknown term becomes none", 5, 60480, 60, 20, true, 60480, -1},
        {"negative term becomes none", 5, 60480, 60, -7, true, 60480, -1},
    };
    for (const Row& row : rows) {
        MnTempo tempo;
        Bytes record = RecordBuilder(row.version)
                           .bytes(defaultTextRecord(row.version))
                           .integer(row.beatUnit)
                           .integer(row.beatsPerMinute)
                           .character(row.term)
                           .boolean(false)
                           .boolean(false)
                           .string("")
                           .boolean(true)
                           .done();
        EXPECT_EQ(readRecord(tempo, record, row.version), row.ok) << row.what;
        EXPECT_EQ(tempo.beatUnit(), row.readBeatUnit) << row.what;
        EXPECT_EQ(tempo.term(), row.readTerm) << row.what;
    }
}

TEST(MnTempo, DragStaysOnTheFirstPage)
{
    // A mark of a score on sheet music keeps its measured box inside the
    // first page's printable area, measured from the score's position.
    MnSheetMusic sheet;
    MnScore* score = sheet.score();
    MnTempo* tempo = score->tempo(0);
    GePoint2d origin = score->position();
    double usableWidth = 190.0;
    EXPECT_TRUE(tempo->moveTo(GePoint2d(1000.0, -20.0)));
    GeBox2d box = tempo->extents();
    EXPECT_NEAR(origin.x + std::max(box.a.x, box.b.x), usableWidth, 1e-9);
    EXPECT_DOUBLE_EQ(tempo->position().y, -20.0);
    EXPECT_FALSE(tempo->moveTo(GePoint2d(1000.0, -20.0)));
    EXPECT_TRUE(tempo->moveTo(GePoint2d(-1000.0, 500.0)));
    box = tempo->extents();
    EXPECT_NEAR(origin.x + std::min(box.a.x, box.b.x), 0.0, 1e-9);
    EXPECT_NEAR(origin.y + std::max(box.a.y, box.b.y), 0.0, 1e-9);

    // A score of its own moves its marks freely.
    MnScore free;
    EXPECT_TRUE(free.tempo(0)->moveTo(GePoint2d(1000.0, 500.0)));
    EXPECT_EQ(free.tempo(0)->position().x, 1000.0);
}
