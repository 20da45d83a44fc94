#include "common/MpTestPerformance.h"
#include "playback/MpRandomScore.h"

#include <gtest/gtest.h>

#include <vector>

// The performer finds the chords to sound through lists of played chords
// that it keeps per voice; asking every voice at every grid time, as a plain
// rescan does, must give the same performance, note for note.

namespace {

class RescanningPerformer : public MpPerformer
{
public:
    RescanningPerformer() { setRescanning(true); }
};

TEST(MpPerformerScan, KeptListsSoundWhatARescanSounds)
{
    int notesCompared = 0;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::unique_ptr<MnScore> score = RandomScore(seed).make();
        const int start = MpPerformer::firstGridTime(score.get());
        MpTestPerformance kept(*score, start);
        MpTestPerformanceOf<RescanningPerformer> rescanned(*score, start);
        for (int step = 0; !kept.performer.isFinished() && step < 100000; ++step) {
            ASSERT_EQ(kept.step(), rescanned.step()) << "step " << step;
            ASSERT_EQ(kept.cursor.time(), rescanned.cursor.time()) << "step " << step;
            ASSERT_EQ(kept.performer.lastOnsetTime(), rescanned.performer.lastOnsetTime()) << "step " << step;
            ASSERT_EQ(kept.listener.notes.size(), rescanned.listener.notes.size()) << "step " << step;
        }
        EXPECT_TRUE(rescanned.performer.isFinished());
        EXPECT_EQ(kept.listener.notes, rescanned.listener.notes);
        EXPECT_EQ(kept.entered, rescanned.entered);
        notesCompared += int(kept.listener.notes.size());
    }
    // The scores are not silent.
    EXPECT_GT(notesCompared, 5000);
}

} // namespace
