#include "editing/EdCursor.h"
#include "playback/MpPerformer.h"
#include "playback/MpPerformerListener.h"
#include "playback/MpRandomScore.h"
#include "playback/TestAllocations.h"

#include <gtest/gtest.h>

// perform runs on the audio thread, which must not wait on the allocator:
// after start, a whole performance allocates and frees nothing.

namespace {

// Counts notes without storing them.
class CountingListener : public MpPerformerListener
{
public:
    void noteOn(int, int, double) override { ++ons; }
    void noteOnTimed(int, int, double, unsigned) override { ++ons; }
    void noteOff(int, int) override { ++offs; }
    long ons = 0;
    long offs = 0;
};

// Two staves in play order 1 2 1 2 3 4 3 5 6 3 5 6: repeats, endings and a
// D.S.; with ties, an arpeggio, grace notes before the first bar
// line and at another, staccato, a hairpin to a mark and a pedal.
std::unique_ptr<MnScore> jumpingMusic()
{
    std::unique_ptr<MnScore> score = restScore(6, 2);
    applyMarks(*score, {{.measure = 2, .barline = MnBarlineEndStartRepeat},
                        {.measure = 3, .marker = MnRepeatMarkerSegno},
                        {.measure = 4, .barline = MnBarlineEndRepeat, .voltas = 0x1, .jump = MnRepeatJumpFine},
                        {.measure = 5, .voltas = 0x2},
                        {.measure = 6, .jump = MnRepeatJumpDalSegnoAlFine}});
    score->part(1)->setInstrument(MnInstrumentCello);
    for (int s = 0; s < 2; ++s) {
        MnStaff* staff = score->staff(s);
        for (int m = 0; m < 6; ++m) {
            MpVoiceWriter voice(staff->measure(m), 0);
            voice.chord(quarter, {keyC4 + s, keyE4 + s, keyG4 + s});
            voice.tied(quarter, {keyC4 + s})->setArticulation(MnArticulationStaccato, true);
            voice.chord(MnTicksEighth, {keyD4 + m});
            voice.chord(MnTicksEighth, {keyF4});
            voice.tied(quarter, {keyF4});
            MpVoiceWriter(staff->measure(m), 1).chord(whole, {keyC4 - 12});
        }
        MnChord* rolled = staff->measure(1)->voiceChords(0)[0];
        for (int n = 0; n < 2; ++n)
            rolled->note(n)->setArpeggio(true);
        staff->measure(0)->addGraceNoteByKey(staff->measure(0)->voiceChords(0)[0], keyC5, MnTicksSixteenth);
        staff->measure(0)->addGraceNoteByKey(staff->measure(0)->voiceChords(0)[0], keyC5, MnTicksSixteenth);
        staff->measure(1)->addGraceNoteByKey(staff->measure(2)->voiceChords(0)[0], keyG4, MnTicksSixteenth);
    }
    addDynamic(score->staff(0), 0, whole, MnDynamicCrescendoHairpin);
    addDynamic(score->staff(0), whole, quarter, MnDynamicFF);
    addDynamic(score->staff(1), 2 * whole, whole, MnDynamicDiminuendoHairpin);
    addPedal(score->staff(0), 0, 3 * whole + quarter);
    return score;
}

// Starts the performance, then counts the heap calls of every perform and
// of a seek per step to its end.
long heapCallsOfPerformance(MnScore& score, long& notes)
{
    EdCursor cursor;
    cursor.setAtStaffStart(score.staff(0), -1);
    cursor.setPosition(MpPerformer::firstGridTime(&score), 0, false);
    CountingListener listener;
    MpPerformer performer;
    performer.start(&listener, &cursor, true);
    long long heapCalls = 0;
    int seeks = 0;
    {
        TestAllocations counted;
        for (int step = 0; step < 1000000 && !performer.isFinished(); ++step) {
            performer.perform();
            seeks += performer.seek(MnTicksQuarter) > 0;
        }
        heapCalls = counted.allocations() + counted.frees();
    }
    notes = listener.ons + listener.offs;
    const bool finished = performer.isFinished();
    performer.reset();
    return finished && seeks > 0 ? long(heapCalls) : -1;
}

TEST(MpPerformerAllocation, PerformAllocatesNothingAfterStart)
{
    std::unique_ptr<MnScore> score = jumpingMusic();
    long notes = 0;
    EXPECT_EQ(heapCallsOfPerformance(*score, notes), 0);
    EXPECT_GT(notes, 200);
}

TEST(MpPerformerAllocation, NorInRandomMusic)
{
    for (unsigned seed = 100; seed < 110; ++seed) {
        std::unique_ptr<MnScore> score = RandomScore(seed).make();
        long notes = 0;
        EXPECT_EQ(heapCallsOfPerformance(*score, notes), 0) << "seed " << seed;
    }
}

} // namespace
