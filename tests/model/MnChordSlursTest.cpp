#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

namespace {

const int quarter = 60480;
const int eighth = 30240;

// Four quarters over a bar line into a second bar, a grace chord before the
// third quarter of bar 1.
class Slurs : public ::testing::Test
{
protected:
    Slurs()
    {
        score.insertMeasure(-1);
        VoiceBuilder one(score.staff(0)->measure(0), 0);
        chords[0] = one.note(quarter, 0, 5);
        chords[1] = one.note(quarter, 1, 5);
        grace = one.grace(eighth);
        grace->addNote(2, 5, 3, false);
        chords[2] = one.note(quarter, 3, 5);
        chords[3] = one.note(quarter, 4, 5);
        VoiceBuilder two(score.staff(0)->measure(1), 0);
        chords[4] = two.note(quarter, 5, 5);
        chords[5] = two.note(3 * quarter, 6, 5);
    }
    void slur(int index) { chords[index]->setArticulation(MnArticulationSlur, true); }

    MnScore score;
    MnChord* chords[6];
    MnChord* grace;
};

} // namespace

TEST_F(Slurs, PlacementSpreadsOverTheWholeSlurPastGraceChords)
{
    for (int i = 1; i <= 4; ++i)
        slur(i);
    grace->setArticulation(MnArticulationSlur, true);
    EXPECT_TRUE(chords[3]->setSlurPlacement(-1));
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(chords[i]->slurPlacement(), -1) << i;
    EXPECT_EQ(chords[0]->slurPlacement(), 0); // not slurred
    EXPECT_EQ(grace->slurPlacement(), 0);     // grace chords slur only with grace chords

    // A slur start breaks the slur: the placement stops there going back...
    chords[3]->setSlurStart(true);
    EXPECT_TRUE(chords[4]->setSlurPlacement(1));
    EXPECT_EQ(chords[3]->slurPlacement(), 1);
    EXPECT_EQ(chords[2]->slurPlacement(), -1);
    // ...and going forward.
    EXPECT_TRUE(chords[1]->setSlurPlacement(0));
    EXPECT_EQ(chords[2]->slurPlacement(), 0);
    EXPECT_EQ(chords[3]->slurPlacement(), 1);
}

TEST_F(Slurs, ANewlySlurredChordJoinsItsNeighboursPlacement)
{
    slur(1);
    chords[1]->setSlurPlacement(1);
    slur(2);
    EXPECT_EQ(chords[2]->slurPlacement(), 1);

    slur(4);
    chords[4]->setSlurPlacement(-1);
    chords[3]->setSlurStart(true);
    slur(3); // starts a new slur: takes the placement of the one after it
    EXPECT_EQ(chords[3]->slurPlacement(), -1);

    // Other articulations leave the placement alone.
    chords[0]->setArticulation(MnArticulationStaccato, true);
    EXPECT_EQ(chords[0]->slurPlacement(), 0);
    EXPECT_TRUE(chords[0]->hasArticulation(MnArticulationStaccato));
    chords[0]->setArticulation(MnArticulationStaccato, false);
    EXPECT_EQ(chords[0]->articulations(), 0);
}
