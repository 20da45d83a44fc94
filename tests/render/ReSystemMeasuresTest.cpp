#include "tests/model/VoiceBuilder.h"
#include "tests/render/ComposeFixtures.h"
#include "tests/render/ScorePass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// The measure pass: culling, barlines at the system's ends and between
// staves, and a clef change at a measure's end.

TEST(ReSystemMeasures, aMeasureOutOfViewIsSkippedUnlessASlurCrossesIt)
{
    LoneScore fixture(1, 10);
    for (int m = 0; m < 10; ++m) {
        fixture.note(m, 0, 0, 5, MnTicksHalf);
        fixture.note(m, MnTicksHalf, 2, 5, MnTicksHalf);
    }
    // The view shows the first two measures only.
    OneSystem pass(20, -4, 60);
    pass.compose(fixture.score, 0, 10);
    EXPECT_EQ(marksOf(pass.renderer, fixture.measure(0)).size(), 1u);
    EXPECT_TRUE(marksOf(pass.renderer, fixture.measure(6)).empty());

    // A slur from the last chord of measure 6 into measure 7 keeps both in.
    fixture.measure(6)->voiceChords(0)[1]->setArticulation(MnArticulationSlur, true);
    pass.compose(fixture.score, 0, 10);
    EXPECT_EQ(marksOf(pass.renderer, fixture.measure(6)).size(), 1u);
    EXPECT_EQ(marksOf(pass.renderer, fixture.measure(7)).size(), 1u);
    EXPECT_TRUE(marksOf(pass.renderer, fixture.measure(8)).empty());
    EXPECT_EQ(pass.renderer.countOf("strokeCurve"), 1);
}

// The boxes of the barline strokes (quads taller than a staff line) that
// start at the staff's top line.
static std::vector<std::vector<double>> barlineStrokes(const RecordingRenderer& renderer, double top = 0.0)
{
    std::vector<std::vector<double>> strokes;
    for (const std::vector<double>& box : quadBoxes(renderer)) {
        if (box[3] - box[1] > 4.0 && std::fabs(box[3] - (top + 0.1)) < 1e-9)
            strokes.push_back(box);
    }
    std::sort(strokes.begin(), strokes.end());
    return strokes;
}

TEST(ReSystemMeasures, aStartRepeatEndingASystemIsASingleLineAndOpensTheNext)
{
    LoneScore fixture(1, 4);
    fixture.measure(1)->setBarline(4);
    OneSystem pass;
    pass.compose(fixture.score, 0, 2);
    // The end of the first system: one thin line, pulled left by the start
    // repeat's end offset against a single barline's.
    const std::vector<std::vector<double>> first = barlineStrokes(pass.renderer);
    ASSERT_FALSE(first.empty());
    const std::vector<double>& last = first.back();
    EXPECT_NEAR(last[2] - last[0], 0.2, 1e-9);
    EXPECT_EQ(pass.renderer.countOf("fillEllipse"), 0);  // no repeat dots

    pass.compose(fixture.score, 2, 2);
    // The next system opens with the thick line and the dots of the repeat.
    const std::vector<std::vector<double>> second = barlineStrokes(pass.renderer);
    bool thick = false;
    for (const std::vector<double>& box : second)
        thick = thick || box[2] - box[0] > 0.5;
    EXPECT_TRUE(thick);
    EXPECT_EQ(pass.renderer.countOf("fillEllipse"), 2);
}

TEST(ReSystemMeasures, barlinesReachTheNextStaffOnlyWhenThroughAndNeverFromTheLastStaff)
{
    struct Row {
        const char* name;
        bool through;
        double staffZeroHeight;  // of its end barlines, without the stroke ends
    };
    for (const Row& row : {Row{"through", true, 0.0}, Row{"not through", false, 8.0}}) {
        LoneScore fixture(2, 2);
        for (int m = 0; m < 2; ++m) {
            for (int s = 0; s < 2; ++s)
                fixture.measure(m, s)->setToNextStaff(row.through);
        }
        const double next = fixture.score->staff(0)->position().y - fixture.score->staff(1)->position().y;
        OneSystem pass;
        pass.compose(fixture.score, 0, 2);
        const std::vector<std::vector<double>> top = barlineStrokes(pass.renderer, 0.0);
        const double expected = row.through ? next : row.staffZeroHeight;
        int matching = 0;
        for (const std::vector<double>& box : top) {
            if (std::fabs(box[3] - box[1] - 0.2 - expected) < 1e-9)
                ++matching;
        }
        EXPECT_EQ(matching, 2) << row.name;  // the end barlines of both measures
        const std::vector<std::vector<double>> bottom = barlineStrokes(pass.renderer, -next);
        ASSERT_EQ(bottom.size(), 2u) << row.name;
        for (const std::vector<double>& box : bottom)
            EXPECT_NEAR(box[3] - box[1], 8.2, 1e-9) << row.name;
    }
}

TEST(ReSystemMeasures, aClefChangeAtAMeasureEndStandsBeforeTheBarlineAndMovesEndChords)
{
    // A whole note and a grace note at the measure's end, before the next
    // measure's clef.
    auto graceX = [](bool clefChange, double* clefX, double* barlineX) {
        LoneScore fixture(1, 2);
        MnMeasure* measure = fixture.measure(0);
        VoiceBuilder voice(measure, 0);
        voice.note(MnTicksPerWhole, 0, 5);
        voice.grace(MnTicksEighth)->addNote(2, 5, MnAccidentalNone, false);
        if (clefChange) {
            MnStaff* staff = fixture.staff();
            staff->insertStaffChange(staff->measure(1)->startTime());
            staff->change(0)->setClef(1);
        }
        OneSystem pass;
        pass.compose(fixture.score, 0, 2);
        std::vector<const RecordingRenderer::Call*> ellipses = pass.renderer.callsNamed("fillEllipse");
        EXPECT_EQ(ellipses.size(), 1u);
        const std::vector<PlacedGlyph> bass = glyphsNamed(pass.renderer, "fClef");
        *clefX = bass.empty() ? NAN : bass[0].x;
        const std::vector<std::vector<double>> bars = barlineStrokes(pass.renderer);
        *barlineX = bars.size() >= 2 ? bars[bars.size() - 2][0] : NAN;
        return ellipses.empty() ? NAN : ellipses[0]->transform.transform(GePoint2d(ellipses[0]->args[0], 0)).x;
    };
    // Measured back from the barline, the chord at the measure's end stands
    // 6 further left.
    double clefX = 0, barlineX = 0, plainBarlineX = 0, unused = 0;
    const double plain = graceX(false, &unused, &plainBarlineX);
    const double moved = graceX(true, &clefX, &barlineX);
    EXPECT_NEAR((barlineX - moved) - (plainBarlineX - plain), 6.0, 1e-9);
    EXPECT_LT(clefX, barlineX);
    EXPECT_GT(clefX, moved);
}
