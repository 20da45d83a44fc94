#include "tests/common/TestServices.h"
#include "tests/model/VoiceBuilder.h"
#include "tests/render/ComposeFixtures.h"
#include "tests/render/ScorePass.h"

#include <gtest/gtest.h>

#include <cmath>

// The chords, rests and ties of a measure as the score composer draws them.

// The x of every notehead drawn (filled heads and the open heads' glyphs),
// in drawing order, in the system's coordinates.
static std::vector<double> headXs(const RecordingRenderer& renderer)
{
    std::vector<double> xs;
    for (const RecordingRenderer::Call& call : renderer.calls) {
        const bool filled = call.name == "fillEllipse";
        const bool open = call.name == "fillMesh" &&
                          (glyphName(call) == "halfNotehead" || glyphName(call) == "wholeNotehead");
        if (filled || open)
            xs.push_back(call.transform.transform(GePoint2d(call.args[filled ? 0 : 2], 0)).x);
    }
    return xs;
}

TEST(ReSystemChords, theSecondOfASecondStandsOneHeadColumnRight)
{
    struct Row {
        const char* name;
        int duration;
        double column;
    };
    const Row rows[] = {{"half note", MnTicksHalf, 2.75}, {"quarter", MnTicksQuarter, 2.583785}};
    for (const Row& row : rows) {
        LoneScore fixture(1, 1);
        // C5 and D5, low on the staff: the stem goes up, D5 moves right.
        MnMeasure* measure = fixture.measure(0);
        measure->setNote(0, 0, 0, 5, MnAccidentalNone, row.duration, false);
        measure->addNote(0, 0, 1, 5, MnAccidentalNone, row.duration, false);
        OneSystem pass;
        pass.compose(fixture.score, 0, 1);
        const std::vector<double> xs = headXs(pass.renderer);
        ASSERT_EQ(xs.size(), 2u) << row.name;
        EXPECT_NEAR(xs[1] - xs[0], row.column, 1e-6) << row.name;
    }
}

TEST(ReSystemChords, graceChordsAreDrawnAtSixTenthsAndSlashedWhenAsked)
{
    auto compose = [](bool slash, int* slashQuads) {
        LoneScore fixture(1, 1);
        MnMeasure* measure = fixture.measure(0);
        VoiceBuilder voice(measure, 0);
        voice.grace(MnTicksEighth, slash)->addNote(4, 5, MnAccidentalNone, false);
        voice.note(MnTicksPerWhole, 2, 5);
        OneSystem pass;
        pass.compose(fixture.score, 0, 1);
        // Quads drawn inside a 0.6 scale: the grace stem, and its slash.
        int quads = 0;
        int graceScales = 0;
        for (const RecordingRenderer::Call& call : pass.renderer.calls) {
            if (call.name == "pushScale" && call.args[2] == 0.6)
                ++graceScales;
            const double scale = call.transform.transform(GePoint2d(1, 0)).x - call.transform.transform(GePoint2d(0, 0)).x;
            if (call.name == "fillQuad" && std::fabs(scale - 0.6) < 1e-9)
                ++quads;
        }
        *slashQuads = quads;
        return graceScales;
    };
    int plainQuads = 0, slashedQuads = 0;
    EXPECT_EQ(compose(false, &plainQuads), 2);  // the stem and flag, then the head
    EXPECT_EQ(compose(true, &slashedQuads), 2);
    EXPECT_EQ(slashedQuads, plainQuads + 1);
}

TEST(ReSystemChords, coloursOfPlayingSelectedAndSecondVoiceNotesAndRests)
{
    TestSettings settings;
    settings.set(BcSettings::selectionColor, 0x0000FF);
    settings.set(BcSettings::selectionVoice2Color, 0x00FF00);
    settings.set(BcSettings::playingColor, 0xFF0000);
    TestServices player;

    LoneScore fixture(1, 1);
    MnMeasure* measure = fixture.measure(0);
    MnChord* upper = fixture.note(0, 0, 2, 5, MnTicksHalf);
    MnChord* lower = fixture.note(0, 0, 0, 4, MnTicksHalf, 1);
    ASSERT_TRUE(upper && lower);
    MnChord* rest2 = measure->voiceChords(1)[1];
    ASSERT_TRUE(rest2->isRest());

    struct Row {
        const char* name;
        bool selectUpper, playUpper, selectLower, selectRest;
        std::vector<int> upperColour, lowerColour, restColour;
    };
    const std::vector<int> black{0, 0, 0}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
    const Row rows[] = {
        {"nothing", false, false, false, false, black, black, black},
        {"selected in both voices", true, false, true, true, red, green, green},
        {"playing beats selection", true, true, false, false, blue, black, black},
    };
    for (const Row& row : rows) {
        OneSystem pass;
        if (row.selectUpper)
            pass.renderer.add(upper->note(0));
        if (row.selectLower)
            pass.renderer.add(lower->note(0));
        if (row.selectRest)
            pass.renderer.add(rest2);
        TestServices services;
        if (row.playUpper)
            services.setPlaying(upper);
        pass.compose(fixture.score, 0, 1);
        auto colourOfMark = [&](MnElement* element, const char* name) {
            std::vector<int> colour;
            const RecordingRenderer::Call* drawn = nullptr;
            for (const RecordingRenderer::Call& call : pass.renderer.calls) {
                if (call.name == name)
                    drawn = &call;
                if (call.name == "markRect" && call.element == element && drawn)
                    return std::vector<int>{drawn->color[0], drawn->color[1], drawn->color[2]};
            }
            return colour;
        };
        EXPECT_EQ(colourOfMark(upper->note(0), "fillMesh"), row.upperColour) << row.name;
        EXPECT_EQ(colourOfMark(lower->note(0), "fillMesh"), row.lowerColour) << row.name;
        EXPECT_EQ(colourOfMark(rest2, "fillMesh"), row.restColour) << row.name;
    }
}

TEST(ReSystemChords, wholeMeasureRests)
{
    struct Row {
        const char* name;
        int restPosition;
        bool ledger;
    };
    const Row rows[] = {{"inside the staff", -2, false}, {"above the staff", 2, true}};
    for (const Row& row : rows) {
        LoneScore fixture(1, 1);
        MnMeasure* measure = fixture.measure(0);
        ASSERT_TRUE(measure->isMeasureRest(0));
        ASSERT_TRUE(measure->voiceChords(0)[0]->setRestPosition(row.restPosition));
        fixture.note(0, 0, 0, 5, MnTicksHalf, 1);  // voice 2 in use, then a rest
        ASSERT_TRUE(measure->setRest(1, 0, MnTicksPerWhole));
        ASSERT_TRUE(measure->isMeasureRest(1));
        OneSystem pass;
        pass.compose(fixture.score, 0, 1);
        // Only the first voice's rest is marked and drawn.
        EXPECT_EQ(marksOf(pass.renderer, measure->voiceChords(0)[0]).size(), 1u) << row.name;
        EXPECT_TRUE(marksOf(pass.renderer, measure->voiceChords(1)[0]).empty()) << row.name;
        const double line = row.restPosition + 2.0;
        bool block = false, ledger = false;
        for (const std::vector<double>& box : quadBoxes(pass.renderer)) {
            const double w = box[2] - box[0], h = box[3] - box[1];
            block = block || (std::fabs(w - 3.0) < 1e-9 && std::fabs(h - 1.2) < 1e-9 && std::fabs(box[3] - line) < 1e-9);
            ledger = ledger || (std::fabs(w - 4.5) < 1e-9 && std::fabs(h - 0.3) < 1e-9);
        }
        EXPECT_TRUE(block) << row.name;
        EXPECT_EQ(ledger, row.ledger) << row.name;
    }
}

// The start and end x of the curves drawn (ties here).
static std::vector<std::pair<double, double>> curveEnds(const RecordingRenderer& renderer)
{
    std::vector<std::pair<double, double>> ends;
    for (const RecordingRenderer::Call* call : renderer.callsNamed("strokeCurve")) {
        const GePoint2d p0 = call->transform.transform(GePoint2d(call->args[2], call->args[3]));
        const GePoint2d p3 = call->transform.transform(GePoint2d(call->args[8], call->args[9]));
        ends.push_back({p0.x, p3.x});
    }
    return ends;
}

static double measureStart(const RecordingRenderer& renderer, const MnMeasure* measure)
{
    std::vector<const RecordingRenderer::Call*> marks = marksOf(renderer, measure);
    return marks.empty() ? NAN : marks[0]->args[0];
}

TEST(ReSystemChords, tiesIntoAndOutOfSystemsAndEndings)
{
    // Two half notes a measure, each tied from the last of the measure
    // before: measure 1 to 2 across a system break, 3 in a second ending.
    LoneScore fixture(1, 4);
    for (int m = 0; m < 4; ++m) {
        fixture.note(m, 0, 2, 5, MnTicksHalf);
        fixture.note(m, MnTicksHalf, 2, 5, MnTicksHalf);
        if (m > 0)
            fixture.measure(m)->voiceChords(0)[0]->note(0)->setTied(true);
    }
    fixture.measure(3)->setVoltaMask(2);

    OneSystem pass;
    pass.compose(fixture.score, 0, 2);
    std::vector<std::pair<double, double>> ends = curveEnds(pass.renderer);
    // Into measure 1 from measure 0, and out of the system's last chord to
    // the measure's end.
    ASSERT_EQ(ends.size(), 2u);
    const double end = measureStart(pass.renderer, fixture.measure(1)) +
                       marksOf(pass.renderer, fixture.measure(1))[0]->args[2];
    EXPECT_NEAR(ends[1].second, end - 0.5, 0.6);

    pass.compose(fixture.score, 2, 2);
    ends = curveEnds(pass.renderer);
    // Into the system's first chord from its content start, and into the
    // second ending from that measure's start.
    ASSERT_EQ(ends.size(), 2u);
    const double systemStart = measureStart(pass.renderer, fixture.measure(2));
    EXPECT_GT(ends[0].first, systemStart);
    EXPECT_LT(ends[0].first, systemStart + 2.0);
    const double endingStart = measureStart(pass.renderer, fixture.measure(3));
    EXPECT_GT(ends[1].first, endingStart - 0.3);
    EXPECT_LT(ends[1].first, endingStart + 2.0);

    // A tie whose previous chord holds no such note is not drawn.
    fixture.measure(0)->setNote(0, MnTicksHalf, 3, 5, MnAccidentalNone, MnTicksHalf, false);
    pass.compose(fixture.score, 0, 2);
    ends = curveEnds(pass.renderer);
    EXPECT_EQ(ends.size(), 1u);  // only the one out of the system
}

TEST(ReSystemChords, aChordAtNoColumnOfADamagedMeasureStandsAtTheMeasureEnd)
{
    LoneScore fixture(1, 2);
    for (int i = 0; i < 4; ++i)
        fixture.note(0, i * MnTicksQuarter, 6, 4);
    OneSystem sound;
    sound.compose(fixture.score, 0, 2);
    const std::vector<double> before = headXs(sound.renderer);
    ASSERT_EQ(before.size(), 4u);
    // The measure's end: its barline, the first quad the height of the
    // staff right of the last head.
    double barline = 0.0;
    for (const std::vector<double>& box : quadBoxes(sound.renderer)) {
        if (box[0] > before[3] && std::fabs(box[3] - box[1] - 8.0) < 0.5) {
            barline = box[0];
            break;
        }
    }
    ASSERT_GT(barline, before[3]);

    // Only a damaged model holds a chord past its measure's length.
    fixture.measure(0)->voiceChords(0)[3]->setTime(5 * MnTicksQuarter);
    OneSystem damaged;
    damaged.compose(fixture.score, 0, 2);
    const std::vector<double> after = headXs(damaged.renderer);
    ASSERT_EQ(after.size(), 4u);
    EXPECT_NEAR(after[2], before[2], 1e-9);
    EXPECT_GT(after[3], before[3]);
    EXPECT_LE(after[3], barline + 1e-9);
}
