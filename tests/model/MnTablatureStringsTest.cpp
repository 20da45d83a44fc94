#include "model/MnTablature.h"

#include "common/TestPrinters.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/ModelBuilders.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MnTablatureStrings, StringAndFretOfANote)
{
    struct Row
    {
        const char* what;
        int step;
        int octave;
        int accidental;
        int capo; // 0: no capo
        bool fromCapo;
        std::vector<int> used;
        bool playable;
        int string;
        int fret;
    };
    const Row rows[] = {
        {"E3 on the open lowest string", 2, 3, MnAccidentalNone, 0, false, {}, true, 5, 0},
        {"E3 below a capo at 2", 2, 3, MnAccidentalNone, 2, false, {}, false, -1, -1},
        {"A3 with a capo at 2, from the nut", 5, 3, MnAccidentalNone, 2, false, {}, true, 5, 5},
        {"A3 with a capo at 2, from the capo", 5, 3, MnAccidentalNone, 2, true, {}, true, 5, 3},
        {"E5 on the open highest string", 2, 5, MnAccidentalNone, 0, false, {}, true, 0, 0},
        {"E5 with string 1 in use", 2, 5, MnAccidentalNone, 0, false, {0}, true, 1, 5},
        {"F sharp 4 on the first string that reaches it", 3, 4, MnAccidentalSharp, 0, false, {}, true, 3, 4},
        {"F sharp 4 with that string in use", 3, 4, MnAccidentalSharp, 0, false, {3}, true, 4, 9},
        {"B6 at the highest fret", 6, 6, MnAccidentalNone, 0, false, {}, true, 0, 19},
        {"C7 past the highest fret", 0, 7, MnAccidentalNone, 0, false, {}, false, -1, -1},
        {"D3 below the lowest string", 1, 3, MnAccidentalNone, 0, false, {}, false, -1, -1},
        {"every string that could play it in use", 2, 3, MnAccidentalNone, 0, false, {5, 4}, false, -1, -1},
    };
    for (const Row& row : rows) {
        MnScore score;
        MnStaff* staff = score.staff(0);
        MnTablature* tablature = new MnTablature(staff);
        staff->setTablature(tablature);
        tablature->setCapoOn(row.capo > 0);
        if (row.capo > 0)
            tablature->setCapoFret(row.capo);
        tablature->setFretsFromCapo(row.fromCapo);
        MnChord* chord = setVoice(staff->measure(0), 0, {MnTicksPerWhole});
        MnNote* note = chord->addNote(row.step, row.octave, row.accidental, false);
        BcArray<int> used;
        for (int string : row.used)
            used.add(string);
        int string = -1;
        int fret = -1;
        EXPECT_EQ(tablature->findStringAndFret(note, string, fret, used), row.playable) << row.what;
        EXPECT_EQ(string, row.string) << row.what;
        EXPECT_EQ(fret, row.fret) << row.what;
    }
}

TEST(MnTablatureStrings, TuningWithAnAccidental)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    MnTablature* tablature = new MnTablature(staff);
    staff->setTablature(tablature);
    // Drop the lowest string to E flat 3.
    ASSERT_TRUE(tablature->setTuning(5, 2, 3, -1));
    MnChord* chord = setVoice(staff->measure(0), 0, {MnTicksPerWhole});
    MnNote* note = chord->addNote(1, 3, MnAccidentalSharp, false);
    int string = -1;
    int fret = -1;
    EXPECT_TRUE(tablature->findStringAndFret(note, string, fret, BcArray<int>()));
    EXPECT_EQ(string, 5);
    EXPECT_EQ(fret, 0);
}

TEST(MnTablatureStrings, LabelInTheStyleOfTheTablatureAtThePartsScale)
{
    MnScore score;
    score.insertStaff(-1);
    score.part(1)->setScale(1.5);
    score.part(0)->setScale(0.8);
    MnStaff* staff = score.staff(0);
    MnTablature* tablature = new MnTablature(staff);
    staff->setTablature(tablature);
    tablature->setName(BcString("Guitar"));
    tablature->setAbbreviation(BcString("Gtr."));
    tablature->setFont(5);
    tablature->setSize(10.0);
    tablature->setUnderline(true);

    MnText* label = tablature->labelText(false);
    ASSERT_EQ(label, tablature->label());
    EXPECT_EQ(label->text(), BcString("Guitar"));
    EXPECT_DOUBLE_EQ(label->position().x, -4.5);
    EXPECT_EQ(label->position().y, 0.0);
    EXPECT_EQ(label->alignment(), 5);
    EXPECT_EQ(label->font(), 5);
    EXPECT_DOUBLE_EQ(label->size(), 8.0);
    EXPECT_TRUE(label->isUnderlined());
    EXPECT_EQ(tablature->labelText(true)->text(), BcString("Gtr."));
}
