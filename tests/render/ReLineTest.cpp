#include "render/ReLine.h"
#include "render/ReSystem.h"
#include "tests/common/TestServices.h"
#include "tests/render/ComposeFixtures.h"
#include "tests/render/ScorePass.h"
#include "tests/render/ShowcaseSheet.h"

#include <gtest/gtest.h>

#include <cmath>

// What hangs on a system's time axis: dynamics, hairpins, pedal and octave
// lines, voltas, jump marks and lyrics.

static constexpr int Q = MnTicksQuarter;
static constexpr int W = MnTicksPerWhole;

// Adds a measure of four quarters from `start` to a line's grid, placed at
// x: its onsets at x 2, 12, 22 and 32 past it and its end at 40.
static void addQuarters(ReLine& line, int start, double x)
{
    BcArray<int> onsets;
    BcArray<double> offsets;
    const int times[] = {0, Q, 2 * Q, 3 * Q, W};
    const double xs[] = {2, 12, 22, 32, 40};
    for (int i = 0; i < 5; ++i) {
        onsets.add(times[i]);
        offsets.add(xs[i]);
    }
    line.addMeasure(start, x, onsets, offsets);
}

// Fills a two-measure score with quarters and sets a lyric of `text` over
// them; null where the lyric was not added or refused the text.
static MnLyric* quartersWithLyric(LoneScore& fixture, const char* text)
{
    for (int m = 0; m < 2; ++m) {
        for (int i = 0; i < 4; ++i)
            fixture.note(m, i * Q, 6, 4);
    }
    MnLyric* lyric = fixture.staff()->addLyric(0, 0);
    return lyric && lyric->setText(BcString(text)) ? lyric : nullptr;
}

// A pass over one staff of a two-measure score whose system is one of its
// measures. The grid of that measure: the system's start at x 0, then the
// onsets 0, 1, 2 and 3 quarters and the measure's end at x 2, 12, 22, 32
// and 40.
struct LinePass
{
    explicit LinePass(int systemMeasure = 0) : fixture(1, 2)
    {
        renderer.setView(20, -10, 200, 1000, 1000);
        const int start = systemMeasure * W;
        line.reset(new ReLine(&system, start, W, 1, 0, systemMeasure, 1));
        addQuarters(*line, start, 0.0);
    }
    MnStaff* staff() { return fixture.staff(); }
    void compose()
    {
        renderer.clear();
        line->composeStaff(staff(), 0.0);
    }

    LoneScore fixture;
    RecordingRenderer renderer;
    ReSystem system{&renderer};
    std::unique_ptr<ReLine> line;
};

// The marks of an element under a pick path handle (-2: any path).
static std::vector<const RecordingRenderer::Call*> handleMarks(const RecordingRenderer& renderer,
                                                                const MnElement* element, int handle)
{
    std::vector<const RecordingRenderer::Call*> found;
    for (const RecordingRenderer::Call* call : marksOf(renderer, element)) {
        if (handle == -2 || (call->pickPath.kind() == 1 && call->pickPath.level(6) == handle))
            found.push_back(call);
    }
    return found;
}

TEST(ReLine, openContinuedAndMidPointEnds)
{
    // A solid pedal line with straight hooks: its line box spans exactly
    // from its start to its end on the system.
    struct Row {
        const char* name;
        int systemMeasure;
        int start, length;
        double x, width;
        bool endHook;
    };
    const Row rows[] = {
        {"ends inside: halfway to its end's grid point", 0, 0, 2 * Q, 2, 15, true},
        {"ends at the system's end", 0, 0, W, 2, 38, true},
        {"open: to the last grid point", 0, Q, 2 * W - Q, 12, 28, false},
        {"continued: from the system's start", 1, 0, W + 2 * Q, 0, 17, true},
    };
    for (const Row& row : rows) {
        LinePass pass(row.systemMeasure);
        MnPedal* pedal = addLine<MnPedal>(pass.staff(), 5, row.start, row.length, -12.0);
        ASSERT_NE(pedal, nullptr) << row.name;
        ASSERT_EQ(pedal->length(), row.length) << row.name;
        pass.compose();
        const auto lineBox = handleMarks(pass.renderer, pedal, -1);
        ASSERT_EQ(lineBox.size(), 1u) << row.name;
        EXPECT_NEAR(lineBox[0]->args[0], row.x, 1e-9) << row.name;
        EXPECT_NEAR(lineBox[0]->args[2], row.width, 1e-9) << row.name;
        // The end hook is drawn, open or not; its box only marks the end.
        EXPECT_EQ(handleMarks(pass.renderer, pedal, 1).size(), 1u) << row.name;
    }
}

TEST(ReLine, dynamicMarkBoxes)
{
    struct Row {
        int kind;
        double offset;
        double left, top, width, height;  // from the start x and the offset
    };
    // At -4.0 or below the anchor is 2.5 below the offset, above it 2.3 above.
    const Row rows[] = {
        {MnDynamicPPP, -12.0, -4.3, -2.5 + 1.1, 8.6, -3.1}, {MnDynamicPP, -12.0, -3.05, -2.5 + 1.1, 6.1, -3.1},
        {MnDynamicP, -4.0, -1.8, -2.5 + 1.1, 3.6, -3.1},    {MnDynamicMP, -3.9, -3.1, 2.3 + 1.1, 6.2, -3.1},
        {MnDynamicMF, -12.0, -3.15, -2.5 + 2.5, 6.3, -4.8}, {MnDynamicF, 2.0, -2.0, 2.3 + 2.5, 4.0, -4.8},
        {MnDynamicFF, -12.0, -3.1, -2.5 + 2.5, 6.2, -4.8},  {MnDynamicFFF, -12.0, -4.2, -2.5 + 2.5, 8.4, -4.8},
    };
    for (const Row& row : rows) {
        LinePass pass;
        MnDynamic* dynamic = addLine<MnDynamic>(pass.staff(), row.kind, Q, Q, row.offset);
        ASSERT_NE(dynamic, nullptr) << row.kind;
        pass.compose();
        const auto marks = handleMarks(pass.renderer, dynamic, 0);
        ASSERT_EQ(marks.size(), 1u) << row.kind;
        expectNear(marks[0]->args, {12 + row.left, row.offset + row.top, row.width, row.height});
        const int letters[] = {3, 2, 1, 2, 2, 1, 2, 3};
        EXPECT_EQ(pass.renderer.countOf("fillMesh"), letters[row.kind]) << row.kind;
    }
}

TEST(ReLine, hairpinOpeningsAndEndBoxesAcrossSystems)
{
    // Box heights are -2 x the wider half opening on the system.
    struct Row {
        const char* name;
        int kind, start, length, systemMeasure;
        int startBoxes, endBoxes;
        double height;
    };
    const Row rows[] = {
        {"crescendo in one system", MnDynamicCrescendoHairpin, Q, 2 * Q, 0, 1, 1, -4.0},
        {"first part of two", MnDynamicCrescendoHairpin, 2 * Q, 4 * Q, 0, 1, 0, -2.0},
        {"second part of two", MnDynamicCrescendoHairpin, 2 * Q, 4 * Q, 1, 0, 1, -4.0},
        {"decrescendo, first part", MnDynamicDiminuendoHairpin, 2 * Q, 4 * Q, 0, 1, 0, -4.0},
        {"decrescendo, second part", MnDynamicDiminuendoHairpin, 2 * Q, 4 * Q, 1, 0, 1, -2.0},
        // A file may hold a hairpin without length: it opens nowhere.
        {"no length", MnDynamicCrescendoHairpin, Q, 0, 0, 1, 1, 0.0},
    };
    for (const Row& row : rows) {
        LinePass pass(row.systemMeasure);
        MnDynamic* hairpin = addLine<MnDynamic>(pass.staff(), row.kind, row.start, row.length, -12.0);
        ASSERT_NE(hairpin, nullptr) << row.name;
        ASSERT_EQ(hairpin->length(), row.length) << row.name;
        pass.compose();
        const auto starts = handleMarks(pass.renderer, hairpin, 0);
        const auto ends = handleMarks(pass.renderer, hairpin, 1);
        EXPECT_EQ(int(starts.size()), row.startBoxes) << row.name;
        EXPECT_EQ(int(ends.size()), row.endBoxes) << row.name;
        for (const auto* box : starts)
            EXPECT_EQ(box->args[3], row.height) << row.name;
        for (const auto* box : ends)
            EXPECT_EQ(box->args[3], row.height) << row.name;
    }
}

TEST(ReLine, pedalMarksReleasesAndDashes)
{
    struct Row {
        int kind;
        int meshes;
        int marks;
        bool dashed;
    };
    const Row rows[] = {{2, 2, 3, true}, {3, 2, 2, false}, {4, 1, 1, false}};
    for (const Row& row : rows) {
        LinePass pass;
        MnPedal* pedal = addLine<MnPedal>(pass.staff(), row.kind, 0, 3 * Q, -12.0);
        ASSERT_NE(pedal, nullptr) << row.kind;
        pass.compose();
        EXPECT_EQ(pass.renderer.countOf("fillMesh"), row.meshes) << row.kind;
        EXPECT_EQ(marksOf(pass.renderer, pedal).size(), size_t(row.marks)) << row.kind;
        EXPECT_EQ(pass.renderer.countOf("fillQuad") > 0, row.dashed) << row.kind;
        if (row.dashed) {
            // The dashes reach from the pedal mark to the release mark.
            const auto mark = handleMarks(pass.renderer, pedal, 0);
            const auto release = handleMarks(pass.renderer, pedal, 1);
            ASSERT_EQ(mark.size(), 2u);
            ASSERT_EQ(release.size(), 1u);
            const auto* pedalBox = mark[0]->args[2] > 5 ? mark[0] : mark[1];
            const auto* lineBox = mark[0]->args[2] > 5 ? mark[1] : mark[0];
            EXPECT_NEAR(lineBox->args[0], pedalBox->args[0] + pedalBox->args[2], 1e-9);
            EXPECT_NEAR(lineBox->args[0] + lineBox->args[2], release[0]->args[0], 1e-9);
        }
    }
}

TEST(ReLine, octaveLinesStandClearOfTheNotesAndOfEachOther)
{
    LinePass pass;
    // Notes reaching 6.0 above the top line under the second quarter.
    pass.line->recordChordExtent(Q, 0, -8.0, 6.0);
    MnOctave* lower = addLine<MnOctave>(pass.staff(), 1, 0, W, 0.0);
    ASSERT_NE(lower, nullptr);
    pass.compose();
    const auto lowerLabel = handleMarks(pass.renderer, lower, 0);
    ASSERT_EQ(lowerLabel.size(), 1u);
    EXPECT_NEAR(lowerLabel[0]->args[1], 10.0, 1e-9);
    // Led in 1.5 before its start, closed by an end hook.
    EXPECT_NEAR(lowerLabel[0]->args[0], 2 - 1.5, 1e-9);
    EXPECT_EQ(handleMarks(pass.renderer, lower, 1).size(), 1u);
    EXPECT_EQ(drawnTexts(pass.renderer), (std::vector<std::string>{"8", "va"}));

    // A second line over the same grid points (the staff keeps its own
    // lines apart, so it is handed in directly) stands above the first.
    MnOctave* upper = addLine<MnOctave>(pass.staff(), 1, W, Q, 0.0);
    ASSERT_NE(upper, nullptr);
    pass.line->drawOctave(upper, 1, GePoint2d(2, 0), 38, false, false, 1, 5);
    const auto upperLabel = handleMarks(pass.renderer, upper, 0);
    ASSERT_EQ(upperLabel.size(), 1u);
    EXPECT_NEAR(upperLabel[0]->args[1], 14.0, 1e-9);

    // Over no notes it stands 6.0 above the staff.
    LinePass empty;
    MnOctave* alone = addLine<MnOctave>(empty.staff(), 1, 0, Q, 0.0);
    empty.compose();
    const auto aloneLabel = handleMarks(empty.renderer, alone, 0);
    ASSERT_EQ(aloneLabel.size(), 1u);
    EXPECT_NEAR(aloneLabel[0]->args[1], 6.0, 1e-9);
}

TEST(ReLine, aContinuedOctaveLineIsBracketedWithoutLeadInOrStartBox)
{
    LinePass pass(1);
    MnOctave* octave = addLine<MnOctave>(pass.staff(), 1, 0, W + 2 * Q, 0.0);
    ASSERT_NE(octave, nullptr);
    pass.compose();
    EXPECT_EQ(drawnTexts(pass.renderer), (std::vector<std::string>{"(8", "va", ")"}));
    EXPECT_TRUE(handleMarks(pass.renderer, octave, 0).empty());
    EXPECT_EQ(handleMarks(pass.renderer, octave, 1).size(), 1u);
    // The label box, marked without a path, starts at the system's start.
    bool labelAtStart = false;
    for (const auto* mark : marksOf(pass.renderer, octave))
        labelAtStart = labelAtStart || (mark->pickPath.kind() == -1 && std::fabs(mark->args[0]) < 1e-9);
    EXPECT_TRUE(labelAtStart);

    // Open: no end hook.
    LinePass open;
    MnOctave* onward = addLine<MnOctave>(open.staff(), 1, Q, 2 * W, 0.0);
    open.compose();
    EXPECT_TRUE(handleMarks(open.renderer, onward, 1).empty());
}

TEST(ReLine, voltasShareOneHeightAndJumpMarksStandAboveThem)
{
    // A one-system, two-measure grid: voltas over both measures, the
    // second with notes reaching 5.0 and a jump word.
    LoneScore fixture(1, 2);
    RecordingRenderer renderer;
    renderer.setView(40, -10, 200, 1000, 1000);
    ReSystem system(&renderer);
    ReLine line(&system, 0, 2 * W, 1, 0, 0, 2);
    BcArray<int> onsets;
    BcArray<double> offsets;
    onsets.add(0);
    onsets.add(W);
    offsets.add(2);
    offsets.add(40);
    line.addMeasure(0, 0.0, onsets, offsets);
    line.addMeasure(W, 40.0, onsets, offsets);
    line.recordChordExtent(W, 0, -8.0, 5.0);
    MnMeasure* first = fixture.measure(0);
    MnMeasure* second = fixture.measure(1);
    ASSERT_TRUE(first->setVoltaMask(1));
    ASSERT_TRUE(second->setVoltaMask(2));
    ASSERT_TRUE(second->setRepeatJump(1));
    line.composeStaff(fixture.staff(), 0.0);

    const auto firstVolta = marksOf(renderer, first);
    const auto secondMarks = marksOf(renderer, second);
    ASSERT_EQ(firstVolta.size(), 1u);
    ASSERT_EQ(secondMarks.size(), 2u);  // the volta and the jump word
    // The volta box sits 1.0 above the common height, 5.0 here.
    EXPECT_NEAR(firstVolta[0]->args[1], 6.0, 1e-9);
    EXPECT_NEAR(secondMarks[0]->args[1], 6.0, 1e-9);
    // The jump word is centred 8.0 above 0.5 over the volta height.
    const auto* jump = secondMarks[1];
    EXPECT_NEAR(jump->args[1] + jump->args[3] / 2, 5.5 + 8.0, 1e-9);

    // Without notes above the staff a volta stands at 1.0.
    LinePass low;
    ASSERT_TRUE(low.fixture.measure(0)->setVoltaMask(1));
    low.compose();
    const auto lowVolta = marksOf(low.renderer, low.fixture.measure(0));
    ASSERT_EQ(lowVolta.size(), 1u);
    EXPECT_NEAR(lowVolta[0]->args[1], 2.0, 1e-9);
}

TEST(ReLine, lyricSeparatorsAndPlayingSyllables)
{
    // Four quarters a measure, two measures as two systems: "a b c-d-e-f"
    // over the notes, a word running over the system break.
    TestSettings settings;
    settings.set(BcSettings::selectionColor, 0x0000FF);
    settings.set(BcSettings::playingColor, 0xFF0000);
    TestServices services;
    LoneScore fixture(1, 2);
    MnLyric* lyric = quartersWithLyric(fixture, "a b c-d-e-f");
    ASSERT_NE(lyric, nullptr);
    ASSERT_EQ(lyric->syllableCount(), 6);
    // "e", the first syllable of the second system, sounds.
    services.setPlaying(fixture.measure(1)->voiceChords(0)[0]);

    auto drawn = [&](int measure, std::vector<std::vector<int>>* colours) {
        OneSystem pass;
        pass.renderer.add(lyric);
        pass.compose(fixture.score, measure, 1);
        std::vector<std::string> texts;
        for (const auto* call : pass.renderer.callsNamed("drawText")) {
            if (call->text == BcString("2"))
                continue;  // the second system's measure number
            texts.push_back(call->text.toNarrow(BcString::utf8CodePage));
            colours->push_back({call->color[0], call->color[1], call->color[2]});
        }
        return texts;
    };
    std::vector<std::vector<int>> firstColours, secondColours;
    // The trailing hyphen of "d-" at the first system's end; none before
    // "e" in the second, whose previous syllable stood elsewhere.
    EXPECT_EQ(drawn(0, &firstColours), (std::vector<std::string>{"a", "b", "c", "-", "d", "-"}));
    EXPECT_EQ(drawn(1, &secondColours), (std::vector<std::string>{"e", "-", "f"}));
    // The sounding syllable takes the playing colour over the selection;
    // its separator does not.
    const std::vector<int> red{255, 0, 0}, blue{0, 0, 255};
    EXPECT_EQ(secondColours, (std::vector<std::vector<int>>{blue, red, red}));
    EXPECT_EQ(firstColours, (std::vector<std::vector<int>>(6, red)));
}

TEST(ReLine, aLyricComposedSystemAfterSystemInOnePassMatchesFreshPasses)
{
    // Six measures of a lyric over quarters, a note tied over a bar line, a
    // rest and a grace chord, composed as systems of one and two measures:
    // in one pass, in time order and out of it, and each in a pass of its
    // own.
    TestServices services;
    LoneScore fixture(1, 6);
    for (int m = 0; m < 6; ++m) {
        for (int i = 0; i < 4; ++i) {
            if (m == 2 && i == 1)
                ASSERT_TRUE(fixture.measure(m)->setRest(0, i * Q, Q));
            else
                ASSERT_NE(fixture.note(m, i * Q, (m + i) % 7, 4), nullptr);
        }
    }
    ASSERT_NE(fixture.measure(1)->setNote(0, 3 * Q, 3, 4, MnAccidentalNone, Q, true), nullptr);
    ASSERT_NE(fixture.measure(2)->setNote(0, 0, 3, 4, MnAccidentalNone, Q, false), nullptr);
    ASSERT_NE(fixture.measure(4)->addGraceNote(fixture.measure(4)->voiceChords(0)[2], 1, 5, MnAccidentalNone, Q / 2),
              nullptr);
    MnLyric* lyric = fixture.staff()->addLyric(0, 0);
    ASSERT_NE(lyric, nullptr);
    ASSERT_TRUE(lyric->setText(BcString("a b c-d e f-g-h i j k l-m n o p q r s t u v")));

    struct System
    {
        int first, count;
    };
    auto fresh = [&](const System& system) {
        OneSystem pass;
        pass.compose(fixture.score, system.first, system.count);
        return pass.renderer.transcript();
    };
    auto onePass = [&](const std::vector<System>& systems) {
        std::vector<std::string> transcripts;
        RecordingRenderer renderer;
        renderer.setView(60, -20, 400, 1000, 1000);
        ReSystem composer(&renderer);
        MnCache cache;
        for (const System& system : systems) {
            renderer.clear();
            composer.composeScore(fixture.score, system.first, system.count, GePoint2d(0, 0), 1.0, 0);
            transcripts.push_back(renderer.transcript());
        }
        return transcripts;
    };
    const std::vector<std::vector<System>> orders = {
        {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}},
        {{0, 2}, {2, 2}, {4, 2}},
        {{3, 1}, {4, 2}, {0, 1}, {1, 2}, {3, 1}},
        {{1, 2}, {1, 2}, {5, 1}, {0, 6}},
    };
    for (const std::vector<System>& order : orders) {
        const std::vector<std::string> together = onePass(order);
        for (size_t i = 0; i < order.size(); ++i) {
            SCOPED_TRACE("measures " + std::to_string(order[i].first) + " + " + std::to_string(order[i].count));
            const std::string alone = fresh(order[i]);
            EXPECT_NE(alone.find("drawText"), std::string::npos);
            EXPECT_EQ(together[i], alone);
        }
    }
}

TEST(ReLine, gridLookupsAtBarLinesAndBetweenOnsets)
{
    LoneScore fixture(1, 2);
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    auto add = [](ReLine& line, int start, std::initializer_list<int> times) {
        BcArray<int> onsets;
        BcArray<double> offsets;
        for (int t : times) {
            onsets.add(t);
            offsets.add(t / double(Q));
        }
        line.addMeasure(start, start / double(Q), onsets, offsets);
    };

    // Grid times 0 (the system's start), 0, Q, W | W, W + 2Q, 2W: a bar
    // line's time stands twice, as the end of one measure and the first
    // onset of the next.
    ReLine line(&system, 0, 2 * W, 1, 0, 0, 2);
    add(line, 0, {0, Q, W});
    add(line, W, {0, 2 * Q, W});
    ASSERT_EQ(line.gridCount(), 7);
    struct Case
    {
        int time, upper, lower;
    };
    const Case cases[] = {{-1, -1, -1}, {0, 1, 0},     {Q / 2, 1, 1}, {Q, 2, 2},
                          {W, 4, 3},    {W + Q, 4, 4}, {2 * W, 6, 6}, {3 * W, 6, 6}};
    for (const Case& c : cases) {
        EXPECT_EQ(line.upperIndex(c.time), c.upper) << c.time;
        EXPECT_EQ(line.lowerIndex(c.time), c.lower) << c.time;
    }

    // A grid fed out of order answers as a scan from its start does: it
    // stops at the first time past the one asked for.
    ReLine unordered(&system, 0, 2 * W, 1, 0, 0, 2);
    add(unordered, 0, {0, 2 * W});
    add(unordered, 0, {0, Q, 2 * Q, W});
    ASSERT_EQ(unordered.gridCount(), 7);  // 0, 0, 2W, 0, Q, 2Q, W
    EXPECT_EQ(unordered.upperIndex(Q), 1);
    EXPECT_EQ(unordered.lowerIndex(Q), 1);
    EXPECT_EQ(unordered.lowerIndex(0), 0);
    EXPECT_EQ(unordered.upperIndex(2 * W), 6);
}

TEST(ReLine, theDepthViewLeavesOnlyLyricsWhollyRightOfTheView)
{
    // Two measures of quarters with a syllable on each, grid x 2, 12, ...
    // 72; the fourth syllable is wide enough to reach left past the third.
    TestServices services;
    LoneScore fixture(1, 2);
    MnLyric* lyric = quartersWithLyric(fixture, "a b-c wwwwwwwwwwwwwwwwwwww d e-f g");
    ASSERT_NE(lyric, nullptr);
    ASSERT_EQ(lyric->syllableCount(), 8);

    auto compose = [&](bool depth, double centre) {
        std::unique_ptr<RecordingRenderer> renderer(new RecordingRenderer);
        renderer->setView(centre, -10, 6, 600, 600);
        ReSystem system(renderer.get());
        system.depthMode = depth;
        ReLine line(&system, 0, 2 * W, 1, 0, 0, 2);
        addQuarters(line, 0, 0.0);
        addQuarters(line, W, 40.0);
        line.composeStaff(fixture.staff(), 0.0);
        return renderer;
    };

    bool stopped = false;
    for (double centre = -10; centre <= 90; centre += 1) {
        std::unique_ptr<RecordingRenderer> flat = compose(false, centre);
        std::unique_ptr<RecordingRenderer> depth = compose(true, centre);
        const auto all = flat->callsNamed("drawText");
        const auto kept = depth->callsNamed("drawText");
        ASSERT_EQ(all.size(), 10u);  // 8 syllables, 2 hyphens
        ASSERT_LE(kept.size(), all.size());
        // The depth view draws a prefix of the same texts...
        for (size_t i = 0; i < kept.size(); ++i) {
            EXPECT_EQ(kept[i]->text, all[i]->text) << centre;
            EXPECT_EQ(kept[i]->args, all[i]->args) << centre;
        }
        // ...and leaves only texts whose box, with the text's size as
        // margin, lies wholly right of the view.
        for (size_t i = kept.size(); i < all.size(); ++i) {
            const auto* call = all[i];
            double bx = 0, by = 0, w = 0, h = 0;
            ASSERT_TRUE(flat->measureText(call->text, call->args[2], int(call->args[3]), call->args[4] != 0, &bx,
                                          &by, &w, &h));
            EXPECT_GT(call->args[0] + bx - std::fabs(call->args[2]), centre + 3) << centre << " " << i;
        }
        stopped = stopped || kept.size() < all.size();
    }
    EXPECT_TRUE(stopped);
}
