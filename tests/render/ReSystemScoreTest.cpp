#include "model/MnCache.h"
#include "render/ReSystem.h"
#include "tests/common/TestServices.h"
#include "tests/render/ComposeFixtures.h"
#include "tests/render/DrawnShapes.h"
#include "tests/render/ScorePass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// One system of a score: culling, balance, header, courtesy signatures,
// hidden staves and the floating header of a lone score.

// The x where a measure's pick mark begins.
static double measureMarkX(const RecordingRenderer& renderer, const MnMeasure* measure)
{
    std::vector<const RecordingRenderer::Call*> marks = marksOf(renderer, measure);
    return marks.empty() ? NAN : marks[0]->args[0];
}

TEST(ReSystemScore, aSystemOutOfViewDrawsAndMarksNothing)
{
    LoneScore fixture(2, 4);
    fixture.note(0, 0, 0, 5);
    OneSystem pass(5000, 5000, 100);
    pass.compose(fixture.score, 0, 4);
    EXPECT_EQ(drawingCalls(pass.renderer), 0);
    EXPECT_EQ(markingCalls(pass.renderer), 0);
    EXPECT_EQ(pass.renderer.transforms.count(), 1);
}

TEST(ReSystemScore, everySystemLeavesTransformsDepthClipAndCompensationBalanced)
{
    struct Row {
        const char* name;
        bool hideStaves;
        bool depthMode;
        double partScale;
        bool tablature;
        double viewX;  // right of the start: the floating header
    };
    const Row rows[] = {
        {"plain", false, false, 1.0, false, 60},
        {"small second part with tablature", false, false, 0.7, true, 60},
        {"parallax", false, true, 0.7, true, 60},
        {"hidden staves", true, false, 0.7, true, 60},
        {"floating header", false, false, 0.8, true, 260},
    };
    for (const Row& row : rows) {
        LoneScore fixture(2, 12);
        fixture.score->setHideStaves(row.hideStaves);
        fixture.score->part(1)->setScale(row.partScale);
        if (row.tablature)
            fixture.staff(1)->setTablature(new MnTablature(fixture.staff(1)));
        for (int m = 0; m < 12; ++m) {
            fixture.note(m, 0, m % 7, 5, MnTicksEighth);
            fixture.note(m, MnTicksEighth, (m + 2) % 7, 5, MnTicksEighth);
            fixture.note(m, 0, m % 7, 3, MnTicksHalf, 0, 1);
        }
        OneSystem pass(row.viewX, -20, 200);
        pass.system.depthMode = row.depthMode;
        pass.compose(fixture.score, 0, 12);
        const RecordingRenderer& r = pass.renderer;
        EXPECT_GT(drawingCalls(r), 0) << row.name;
        EXPECT_EQ(r.transforms.count(), 1) << row.name;
        EXPECT_EQ(r.countOf("pushScale") + r.countOf("pushYRotation"), r.countOf("popTransform")) << row.name;
        EXPECT_EQ(r.countOf("pushDepth"), r.countOf("popDepth")) << row.name;
        std::vector<const RecordingRenderer::Call*> clips = r.callsNamed("setClip");
        ASSERT_FALSE(clips.empty()) << row.name;
        EXPECT_EQ(clips.back()->args, (std::vector<double>{0.0, 0.0})) << row.name;
        EXPECT_EQ(pass.system.horizontalScale, 1.0) << row.name;
        EXPECT_EQ(pass.system.horizontalPivot, 0.0) << row.name;
    }
}

TEST(ReSystemScore, firstMeasureKeyAndTimeChangesStandInTheHeader)
{
    LoneScore fixture(1, 8);
    MnStaff* staff = fixture.staff();
    ASSERT_TRUE(staff->insertStaffChange(staff->measure(4)->startTime()));
    staff->change(0)->setKey(3);
    staff->change(0)->setTimeType(MnTime3_4);
    fixture.note(4, 0, 0, 5);

    OneSystem pass;
    pass.compose(fixture.score, 4, 2);
    const double contentStart = measureMarkX(pass.renderer, fixture.measure(4));
    const std::vector<PlacedGlyph> sharps = glyphsNamed(pass.renderer, "sharp");
    ASSERT_EQ(sharps.size(), 3u) << pass.renderer.transcript();
    for (const PlacedGlyph& sharp : sharps)
        EXPECT_LT(sharp.x, contentStart);
    const std::vector<PlacedGlyph> threes = glyphsNamed(pass.renderer, "figure3");
    ASSERT_EQ(threes.size(), 1u);
    EXPECT_LT(threes[0].x, contentStart);
    // The header holds the changes, so the system is as wide as one that
    // starts with them in force.
    const MnScore* score = fixture.score;
    const int t = staff->measure(4)->startTime();
    const double leading = score->scaledByLargestPart(staff->measure(4)->leadingBarlineSpace(true));
    const double header = score->clefWidth() + score->keyColumnWidth(t, true) + score->timeSignatureWidth(t, 0.0) +
                          leading;
    EXPECT_NEAR(contentStart, header + std::max(0.0, -leading), 1e-9);
}

// A score of two measures in 2 sharps (or the key given) whose third
// measure changes to the new key.
static LoneScore* keyChangeScore(int oldKey, int newKey)
{
    LoneScore* fixture = new LoneScore(1, 4);
    MnStaff* staff = fixture->staff();
    staff->setKey(oldKey);
    staff->insertStaffChange(staff->measure(2)->startTime());
    staff->change(0)->setKey(newKey);
    return fixture;
}

TEST(ReSystemScore, aChangeToCAtTheNextSystemGivesCourtesyNaturalsAfterADoubledBarline)
{
    std::unique_ptr<LoneScore> fixture(keyChangeScore(2, 0));
    OneSystem pass;
    pass.compose(fixture->score, 0, 2);
    const RecordingRenderer& r = pass.renderer;
    const std::vector<const RecordingRenderer::Call*> lastMarks = marksOf(r, fixture->measure(1));
    ASSERT_EQ(lastMarks.size(), 1u);
    const double measureEnd = lastMarks[0]->args[0] + lastMarks[0]->args[2];

    // The natural signs of the cancelled key, right of the system's end.
    const std::vector<PlacedGlyph> naturals = glyphsNamed(r, "natural");
    ASSERT_EQ(naturals.size(), 2u) << r.transcript();
    const double xEnd = measureEnd;  // a single barline ends where the measure's mark ends
    for (const PlacedGlyph& natural : naturals)
        EXPECT_GT(natural.x, xEnd + fixture->score->scaledByLargestPart(1.2));

    // Two single barlines about 1.1 apart: the system's own and the one
    // that closes it before the courtesy signatures.
    std::vector<double> barlineXs;
    for (const std::vector<double>& box : quadBoxes(r)) {
        if (std::fabs(box[3] - box[1] - 8.2) < 1e-9 && box[2] - box[0] < 0.5)
            barlineXs.push_back((box[0] + box[2]) / 2);
    }
    std::sort(barlineXs.begin(), barlineXs.end());
    ASSERT_GE(barlineXs.size(), 2u);
    const double apart = barlineXs[barlineXs.size() - 1] - barlineXs[barlineXs.size() - 2];
    EXPECT_GT(apart, 1.0);
    EXPECT_LT(apart, 1.3);

    // The last system has no courtesy signatures.
    pass.compose(fixture->score, 2, 2);
    EXPECT_TRUE(glyphsNamed(pass.renderer, "natural").empty());
}

TEST(ReSystemScore, hiddenStavesKeepTheMusicAndPickMeasuresAtTheirBarlines)
{
    LoneScore fixture(1, 2);
    MnScore* score = fixture.score;
    fixture.staff()->setKey(2);
    MnMeasure* measure = fixture.measure(0);
    for (int i = 0; i < 4; ++i)
        fixture.note(0, i * MnTicksEighth, 4 + (i % 2), 4, MnTicksEighth);
    measure->voiceChords(0)[0]->setArticulation(MnArticulationSlur, true);
    measure->makeTuplet(0, MnTicksHalf, MnTicksQuarter, 3, false);
    fixture.note(1, 0, 0, 6, MnTicksHalf);  // with ledger lines
    fixture.note(1, MnTicksHalf, 0, 6, MnTicksHalf);
    fixture.measure(1)->voiceChords(0)[1]->note(0)->setTied(true);
    MnDynamic* forte = new MnDynamic(fixture.staff());
    forte->setKind(MnDynamicF);
    ASSERT_TRUE(fixture.staff()->insertLine(forte, 0));

    struct Count {
        int clefs, sharps, ledgerOrStaffLines, heads, curves, texts;
    };
    auto count = [&](bool hide) {
        score->setHideStaves(hide);
        OneSystem pass;
        pass.compose(score, 0, 2);
        Count c{};
        const RecordingRenderer& r = pass.renderer;
        c.clefs = int(glyphsNamed(r, "gClef").size());
        c.sharps = int(glyphsNamed(r, "sharp").size());
        for (const std::vector<double>& box : quadBoxes(r)) {
            if (box[2] - box[0] > 4.0 && box[3] - box[1] < 0.35)
                ++c.ledgerOrStaffLines;
        }
        c.heads = r.countOf("fillEllipse") + int(glyphsNamed(r, "halfNotehead").size());
        c.curves = r.countOf("strokeCurve");
        c.texts = r.countOf("drawText");
        std::vector<const RecordingRenderer::Call*> marks = marksOf(r, fixture.measure(0));
        EXPECT_EQ(marks.size(), 1u);
        if (!marks.empty() && hide)
            EXPECT_LT(marks[0]->args[2], 1.0);  // only around the barline
        return c;
    };
    const Count shown = count(false);
    const Count hidden = count(true);
    EXPECT_GT(shown.clefs, 0);
    EXPECT_GT(shown.sharps, 0);
    EXPECT_GT(shown.ledgerOrStaffLines, 0);
    EXPECT_EQ(hidden.clefs, 0);
    EXPECT_EQ(hidden.sharps, 0);
    EXPECT_EQ(hidden.ledgerOrStaffLines, 0);
    EXPECT_EQ(hidden.heads, shown.heads);
    EXPECT_EQ(hidden.curves, shown.curves);  // the slur and the tie
    EXPECT_GE(hidden.curves, 2);
    EXPECT_EQ(hidden.texts, shown.texts);    // the tuplet's number
}

TEST(ReSystemScore, floatingHeaderRules)
{
    struct Row {
        const char* name;
        bool inSheet;
        bool depthMode;
        double viewLeft;
        double viewWidth;
        bool drawn;
    };
    const Row rows[] = {
        {"scrolled right", false, false, 150, 200, true},
        {"in sheet music", true, false, 150, 200, false},
        {"start visible", false, false, -20, 200, false},
        {"view too narrow", false, false, 150, 24, false},
        {"parallax", false, true, 150, 200, false},
    };
    for (const Row& row : rows) {
        LoneScore fixture(2, 16);
        MnSheetMusic sheet;
        MnScore* score = row.inSheet ? sheet.score() : fixture.score;
        while (score->staffCount() < 2)
            score->insertStaff(-1);
        while (score->staff(0)->measureCount() < 16)
            score->insertMeasure(-1);
        for (int m = 0; m < 16; ++m)
            score->staff(0)->measure(m)->setNote(0, 0, 0, 5, MnAccidentalNone, MnTicksPerWhole, false);
        OneSystem pass(row.viewLeft + row.viewWidth / 2, -20, row.viewWidth);
        pass.system.depthMode = row.depthMode;
        pass.compose(score, 0, 16);
        const RecordingRenderer& r = pass.renderer;
        bool grey = false;
        for (const RecordingRenderer::Call& call : r.calls)
            grey = grey || (call.name == "fillMesh" && call.color[0] == 159);
        EXPECT_EQ(grey, row.drawn) << row.name;
        std::vector<const RecordingRenderer::Call*> clips = r.callsNamed("setClip");
        const bool clipped = !clips.empty() && clips.front()->args[0] == 1.0;
        EXPECT_EQ(clipped, row.drawn) << row.name;
        if (row.drawn) {
            // The clip stands at the header's right edge: clef and key.
            EXPECT_NEAR(clips.front()->args[1], row.viewLeft + score->clefWidth(), 1e-9) << row.name;
            // The header picks the definition at the view's left edge.
            EXPECT_FALSE(marksOf(r, score->staff(0)).empty()) << row.name;
        }
    }
}
