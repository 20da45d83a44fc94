#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

namespace {

const int whole = 241920;
const int half = 120960;
const int eighth = 30240;

} // namespace

// Three notes on two staves sounding together; the lower two are flagged.
class ArpeggioChain : public ::testing::Test
{
protected:
    ArpeggioChain()
    {
        score.insertStaff(-1);
        VoiceBuilder upper(score.staff(0)->measure(0), 0);
        top = upper.note(half, 4, 4)->note(0);
        upper.note(half, 4, 4);
        VoiceBuilder lower(score.staff(1)->measure(0), 0);
        MnChord* chord = lower.chord(half);
        low = chord->addNote(0, 3, 3, false);
        middle = chord->addNote(4, 3, 3, false);
        lower.note(half, 0, 3);
        low->setArpeggio(true);
        middle->setArpeggio(true);
    }

    MnScore score;
    MnNote* low;
    MnNote* middle;
    MnNote* top;
};

TEST_F(ArpeggioChain, RunsFromTheLowestStaffUpward)
{
    const MnNote* notes[] = {low, middle, top};
    for (int i = 0; i < 3; ++i) {
        MnNote* note = const_cast<MnNote*>(notes[i]);
        ASSERT_TRUE(note->computeArpeggioChain()) << i;
        EXPECT_EQ(note->arpeggioChainFirst(), low);
        EXPECT_EQ(note->arpeggioChainLast(), top);
        EXPECT_EQ(note->arpeggioChainIndex(), i);
    }

    // A downward arrow on the lowest note reverses the order.
    EXPECT_TRUE(low->setArpeggioType(2));
    EXPECT_EQ(top->arpeggioType(), 2);
    EXPECT_EQ(middle->arpeggioType(), 2);
    for (int i = 0; i < 3; ++i) {
        MnNote* note = const_cast<MnNote*>(notes[i]);
        ASSERT_TRUE(note->computeArpeggioChain());
        EXPECT_EQ(note->arpeggioChainIndex(), 2 - i);
    }

    // The flag of the top note alone makes no chain of its own.
    middle->setArpeggio(false);
    EXPECT_TRUE(low->computeArpeggioChain());
    EXPECT_EQ(low->arpeggioChainLast(), middle);
    EXPECT_FALSE(top->computeArpeggioChain());
    top->setArpeggio(true);
    EXPECT_FALSE(top->computeArpeggioChain());
    EXPECT_EQ(top->arpeggioChainFirst(), nullptr);
}

TEST_F(ArpeggioChain, CachedWithinAScope)
{
    MnCache scope;
    ASSERT_TRUE(top->computeArpeggioChain());
    low->setArpeggio(false);
    EXPECT_TRUE(top->computeArpeggioChain());
    EXPECT_EQ(top->arpeggioChainFirst(), low);
}

TEST_F(ArpeggioChain, GraceNotesStayOut)
{
    VoiceBuilder voice(score.staff(0)->measure(0), 1);
    MnChord* grace = voice.grace(eighth);
    MnNote* graceNote = grace->addNote(0, 5, 3, false);
    graceNote->setArpeggio(true);
    voice.note(whole, 0, 5);

    EXPECT_FALSE(graceNote->setArpeggioType(1));
    EXPECT_EQ(graceNote->arpeggioType(), 0);
    EXPECT_FALSE(graceNote->computeArpeggioChain());
    // The grace chord's time is the main chord's: the chain still ends at
    // the top note of the upper staff's main chords.
    EXPECT_TRUE(low->computeArpeggioChain());
    EXPECT_EQ(low->arpeggioChainLast(), top);
    EXPECT_FALSE(low->setArpeggioType(8));
}
