#include "tests/common/TestServices.h"
#include "tests/render/ComposeFixtures.h"
#include "tests/render/ScorePass.h"

#include <gtest/gtest.h>

#include <cmath>

// Slurs as the score composer draws them: side, ends, breaks and colour.

struct Curve
{
    GePoint2d p0, c1, c2, p3;
    int color[3];
};

static std::vector<Curve> curves(const RecordingRenderer& renderer)
{
    std::vector<Curve> found;
    for (const RecordingRenderer::Call* call : renderer.callsNamed("strokeCurve")) {
        auto point = [&](int i) { return call->transform.transform(GePoint2d(call->args[2 + 2 * i], call->args[3 + 2 * i])); };
        found.push_back({point(0), point(1), point(2), point(3), {call->color[0], call->color[1], call->color[2]}});
    }
    return found;
}

// A slur over quarter notes of one measure at the given positions (staff
// steps from the top line, treble clef).
static LoneScore* slurredQuarters(std::vector<int> positions, int placement = 0)
{
    LoneScore* fixture = new LoneScore(1, 3);
    for (size_t i = 0; i < positions.size(); ++i) {
        const int diatonic = positions[i] + 38;
        fixture->note(0, int(i) * MnTicksQuarter, diatonic % 7, diatonic / 7, MnTicksQuarter);
    }
    BcArray<MnChord*>& chords = fixture->measure(0)->voiceChords(0);
    for (size_t i = 0; i + 1 < positions.size(); ++i)
        chords[int(i)]->setArticulation(MnArticulationSlur, true);
    chords[0]->setSlurPlacement(placement);
    return fixture;
}

TEST(ReSlur, automaticSideIsBelowUnlessAStemPointsDown)
{
    struct Row {
        const char* name;
        std::vector<int> positions;
        bool above;
    };
    const Row rows[] = {
        {"all stems up", {-8, -7, -6, -7}, false},
        {"one stem down", {-8, 0, -6, -7}, true},
    };
    for (const Row& row : rows) {
        std::unique_ptr<LoneScore> fixture(slurredQuarters(row.positions));
        OneSystem pass;
        pass.compose(fixture->score, 0, 3);
        const std::vector<Curve> drawn = curves(pass.renderer);
        ASSERT_EQ(drawn.size(), 1u) << row.name;
        EXPECT_EQ(drawn[0].c1.y > drawn[0].p0.y, row.above) << row.name;
        // The inner control points stay within the ends.
        EXPECT_GE(drawn[0].c1.x, drawn[0].p0.x) << row.name;
        EXPECT_LE(drawn[0].c2.x, drawn[0].p3.x) << row.name;
    }
}

TEST(ReSlur, aboveAnUpStemItStartsBesideTheStemEnd)
{
    struct Row {
        const char* name;
        bool beamed;
        double dx;  // from the head's centre
        double dy;  // from the stem end
    };
    const Row rows[] = {{"unbeamed", false, 2.5, -2.5}, {"beamed", true, 1.5, 1.0}};
    for (const Row& row : rows) {
        // E4 and F4, eighths or quarters, both with up stems, slur above.
        LoneScore fixture(1, 1);
        const int value = row.beamed ? MnTicksEighth : MnTicksQuarter;
        fixture.note(0, 0, 2, 4, value);
        fixture.note(0, value, 3, 4, value);
        BcArray<MnChord*>& chords = fixture.measure(0)->voiceChords(0);
        chords[0]->setArticulation(MnArticulationSlur, true);
        chords[0]->setSlurPlacement(1);
        if (!row.beamed) {
            chords[0]->setBeamMode(MnBeamNone);
            chords[1]->setBeamMode(MnBeamNone);
        }
        OneSystem pass;
        pass.compose(fixture.score, 0, 1);
        const std::vector<Curve> drawn = curves(pass.renderer);
        ASSERT_EQ(drawn.size(), 1u) << row.name;
        const std::vector<const RecordingRenderer::Call*> heads = pass.renderer.callsNamed("fillEllipse");
        ASSERT_FALSE(heads.empty());
        const double headX = heads[0]->args[0];
        EXPECT_NEAR(drawn[0].p0.x - headX, row.dx, 1e-9) << row.name;
        if (!row.beamed) {
            const double stemEnd = -8 + 7;  // E4 is on the bottom line
            EXPECT_NEAR(drawn[0].p0.y - stemEnd, row.dy, 1e-9) << row.name;
        }
    }
}

TEST(ReSlur, aSlurAcrossASystemBreakIsCutAndContinuedClearOfTheStaff)
{
    LoneScore fixture(1, 4);
    for (int m = 0; m < 4; ++m)
        fixture.note(m, 0, 4, 4, MnTicksPerWhole);  // G4, inside the staff
    fixture.measure(1)->voiceChords(0)[0]->setArticulation(MnArticulationSlur, true);
    fixture.measure(1)->voiceChords(0)[0]->setSlurPlacement(1);

    OneSystem pass;
    pass.compose(fixture.score, 0, 2);
    std::vector<Curve> drawn = curves(pass.renderer);
    ASSERT_EQ(drawn.size(), 1u);
    const std::vector<const RecordingRenderer::Call*> marks = marksOf(pass.renderer, fixture.measure(1));
    const double systemEnd = marks[0]->args[0] + marks[0]->args[2];
    EXPECT_NEAR(drawn[0].p3.x, systemEnd, 0.2);
    EXPECT_GE(drawn[0].p3.y, 1.0 + 1.0);  // at least one step above the top line, and the slur's lift

    pass.compose(fixture.score, 2, 2);
    drawn = curves(pass.renderer);
    ASSERT_EQ(drawn.size(), 1u);
    const double contentStart = marksOf(pass.renderer, fixture.measure(2))[0]->args[0];
    EXPECT_NEAR(drawn[0].p0.x, contentStart, 0.2);
    EXPECT_GE(drawn[0].p0.y, 1.0 + 1.0);

    // Below, the bound is one step under the bottom line.
    fixture.measure(1)->voiceChords(0)[0]->setSlurPlacement(-1);
    pass.compose(fixture.score, 2, 2);
    drawn = curves(pass.renderer);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_LE(drawn[0].p0.y, -9.0 - 1.0);
}

TEST(ReSlur, aOneChordSlurDrawsNothingAndSlursStayBlack)
{
    std::unique_ptr<LoneScore> single(slurredQuarters({-6}));
    single->measure(0)->voiceChords(0)[0]->setArticulation(MnArticulationSlur, true);
    OneSystem pass;
    pass.compose(single->score, 0, 1);
    EXPECT_EQ(pass.renderer.countOf("strokeCurve"), 0);

    TestSettings settings;
    settings.set(BcSettings::selectionColor, 0x0000FF);
    settings.set(BcSettings::playingColor, 0xFF0000);
    TestServices player;
    std::unique_ptr<LoneScore> fixture(slurredQuarters({-6, -5, -4}));
    MnChord* first = fixture->measure(0)->voiceChords(0)[0];
    player.setPlaying(first);
    pass.renderer.add(first->note(0));
    pass.renderer.add(first);
    pass.compose(fixture->score, 0, 1);
    const std::vector<Curve> drawn = curves(pass.renderer);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(std::vector<int>(drawn[0].color, drawn[0].color + 3), (std::vector<int>{0, 0, 0}));
}
