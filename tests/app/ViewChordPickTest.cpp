#include "app/UiQuorvaneViewCore.h"

#include "editing/EdTestScores.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "render/ReScorePass.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class StillWindow : public UiViewWindow
{
public:
    unsigned long long tickCount() override { return 1; }
    void clientSize(int& w, int& h) override
    {
        w = 800;
        h = 600;
    }
    void pointer(int& x, int& y) override { x = y = -1; }
    void present(const UiViewFrame&) override {}
};

// One staff of three measures on the desk: voice 0 in quarters, voice 1 in
// halves (or quarters, for ties).
class ViewChordPickTest : public ::testing::Test
{
protected:
    void make(bool quartersInBoth)
    {
        ASSERT_TRUE(document.OnNewDocument());
        score = makeScore(1, 3);
        if (quartersInBoth) {
            for (int m = 0; m < 3; ++m) {
                fillVoice(score->staff(0)->measure(m), 1, 1, 60480);
            }
        }
        ASSERT_TRUE(document.addWork(score));
        MnCache cache;
        ReScorePass pass(nullptr, score, 0, 3, score->position(), 2.0, 0);
        left = score->position().x + pass.headerWidth * score->scale();
        right = score->position().x + pass.systemEnd * score->scale();
        top = score->position().y;
    }

    // The chords met walking right along a line, each once in a row.
    std::vector<MnChord*> walk(double y, bool betweenChords)
    {
        std::vector<MnChord*> met;
        for (double x = left; x <= right; x += 0.1) {
            MnChord* chord = core.chordAtPoint(GePoint2d(x, y), nullptr, 0, betweenChords);
            if (chord && (met.empty() || met.back() != chord))
                met.push_back(chord);
        }
        return met;
    }
    MnChord* chord(int measure, int voice, int index)
    {
        return score->staff(0)->measure(measure)->chordAt(index, voice, true);
    }

    QuorvaneDocument document;
    MnScore* score = nullptr;
    StillWindow window;
    UiViewCore core{window, &document};
    double left = 0;
    double right = 0;
    double top = 0;
};

TEST_F(ViewChordPickTest, TheNarrowerSpanWinsAndBetweenChordsCutsHalfway)
{
    make(false);
    const double y = top - 4 * score->scale();
    std::vector<MnChord*> want;
    for (int m = 0; m < 3; ++m)
        for (int i = 0; i < 4; ++i)
            want.push_back(chord(m, 0, i));
    EXPECT_EQ(want, walk(y, true));
    // The gap before each chord; past a measure's last chord, the next
    // measure's first.
    std::vector<MnChord*> gaps = walk(y, false);
    ASSERT_GE(gaps.size(), 5u);
    EXPECT_EQ(chord(0, 0, 0), gaps[0]);
    EXPECT_EQ(chord(0, 0, 3), gaps[3]);
    EXPECT_EQ(chord(1, 0, 0), gaps[4]);

    GePoint2d where;
    ASSERT_NE(core.chordAtPoint(GePoint2d(left + 1, y), &where, 0, true), nullptr);
    EXPECT_NEAR(-4.0, where.y, 1e-9);
}

TEST_F(ViewChordPickTest, TiesGoToVoiceZero)
{
    make(true);
    const std::vector<MnChord*> met = walk(top - 4 * score->scale(), true);
    ASSERT_EQ(12u, met.size());
    for (MnChord* c : met)
        EXPECT_EQ(0, c->voice());
}

TEST_F(ViewChordPickTest, BandZeroCatchesTenUnitsOffTheStaffNotEleven)
{
    make(false);
    const double x = left + 1;
    const double s = score->scale();
    const double bottom = top - score->staff(0)->height() * s;
    struct Case { double y; bool caught; };
    for (const Case& c : {Case{top + 10 * s - 1e-6, true}, Case{top + 11 * s, false},
                          Case{bottom - 10 * s + 1e-6, true}, Case{bottom - 11 * s, false}}) {
        SCOPED_TRACE(c.y);
        EXPECT_EQ(c.caught, core.chordAtPoint(GePoint2d(x, c.y), nullptr, 0, true) != nullptr);
    }
}

}  // namespace
