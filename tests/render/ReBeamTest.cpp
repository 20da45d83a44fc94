#include "render/ReBeam.h"

#include "foundation/BcClass.h"
#include "foundation/BcString.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnTicks.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/render/BeamGroupFixture.h"
#include "tests/render/DrawnShapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int E = MnTicksEighth;
constexpr int S = MnTicksSixteenth;
constexpr int T = MnTicks32nd;
constexpr int Rest = -1;  // a chord of no notes

// The beam line relative to its first chord.
std::vector<double> slopeOf(const ReBeam& beam)
{
    std::vector<double> rises;
    for (int j = 0; j < beam.beamY.count(); ++j)
        rises.push_back(beam.beamY[j] - beam.beamY[0]);
    return rises;
}

// Draws every chord of the group at x offsets 0, 10, 20, ...
void drawGroup(ReBeam& beam, MnMeasure* measure, GePoint2d origin, double scale = 1)
{
    for (int j = 0; j < beam.chords.count(); ++j) {
        int stemEnd = 0;
        double lowest = 0, highest = 0;
        beam.drawChord(measure, beam.chords[j], &origin, 10.0 * j, &stemEnd, &lowest, &highest, scale);
    }
}

const double sin74 = std::sin(1.2915436464758039);
const double cos74 = std::cos(1.2915436464758039);

} // namespace

TEST(ReBeam, registeredAsAComposer)
{
    const BcClass* cls = ReBeam::staticClass();
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->name(), BcString("ReBeam"));
    EXPECT_TRUE(cls->isDerivedFrom(ReComposer::staticClass()));
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.stemThickness = 0.4;
    ReBeam beam(&system);
    EXPECT_EQ(beam.dynamicClass(), cls);
    EXPECT_EQ(beam.renderer, &renderer);
    EXPECT_EQ(beam.owner, &system);
    EXPECT_EQ(beam.stemThickness, 0.4);
}

TEST(ReBeam, collectsTheGroup)
{
    struct Row {
        const char* name;
        std::vector<ChordSpec> chords;
        int first;
        std::vector<int> collected;
        std::vector<int> tops, bottoms;
    };
    const Row rows[] = {
        {"three eighths", {chord(E, {-8}), chord(E, {-6, -2}), chord(E, {-4}), chord(MnTicksQuarter, {-4})}, 0,
         {0, 1, 2}, {-8, -2, -4}, {-8, -6, -4}},
        {"a rest inside counts as the middle line", {chord(S, {-8}), chord(S, {}), chord(S, {-2}), chord(S, {-6})}, 0,
         {0, 1, 2, 3}, {-8, -4, -2, -6}, {-8, -4, -2, -6}},
        {"grace chords inside a group are passed over",
         {chord(E, {-8}), graceChord(E, {0}), chord(E, {-6})}, 0, {0, 2}, {-8, -6}, {-8, -6}},
        {"a grace group ends at its main chord",
         {graceChord(S, {-3}), graceChord(S, {-1}), chord(E, {-6}), chord(E, {-6})}, 0, {0, 1}, {-3, -1}, {-3, -1}},
        {"from a later chord", {chord(E, {-8}), chord(E, {-6}), chord(E, {-4}), chord(E, {0})}, 2, {2, 3}, {-4, 0},
         {-4, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GroupFixture fixture(row.chords);
        if (row.first == 2)
            fixture.measure->voiceChords(0)[2]->setBeamMode(0);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        ReBeam beam(&system);
        beam.layout(fixture.measure, 0, row.first);
        std::vector<int> collected, tops, bottoms;
        for (int j = 0; j < beam.chords.count(); ++j) {
            collected.push_back(beam.chords[j]);
            tops.push_back(beam.tops[j]);
            bottoms.push_back(beam.bottoms[j]);
        }
        EXPECT_EQ(collected, row.collected);
        EXPECT_EQ(tops, row.tops);
        EXPECT_EQ(bottoms, row.bottoms);
        EXPECT_EQ(beam.beamY.count(), beam.chords.count());
        EXPECT_EQ(beam.xOffsets.count(), beam.chords.count());
    }
}

TEST(ReBeam, stemDirection)
{
    struct Row {
        const char* name;
        std::vector<ChordSpec> chords;
        int stem;
        bool inverted;
        int direction;
    };
    const Row rows[] = {
        {"-6 and -2 lie evenly about the middle line, mean -4: down", {chord(E, {-6}), chord(E, {-2})}, 0, false, -1},
        {"low notes: up", {chord(E, {-8}), chord(E, {-8})}, 0, false, 1},
        {"high notes: down", {chord(E, {-2}), chord(E, {0})}, 0, false, -1},
        {"the note furthest from the middle decides", {chord(E, {-10}), chord(E, {-3})}, 0, false, 1},
        {"even distances and a low mean: up", {chord(E, {-6, -2}), chord(E, {-8})}, 0, false, 1},
        {"the first chord's setting", {chord(E, {-8}), chord(E, {-8})}, -1, false, -1},
        {"inverted", {chord(E, {-6}), chord(E, {-2})}, 0, true, 1},
        {"inverted setting", {chord(E, {-2}), chord(E, {0})}, 1, true, -1},
        {"grace notes: up", {graceChord(S, {2}), graceChord(S, {4}), chord(E, {-6})}, 0, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GroupFixture fixture(row.chords, row.stem);
        if (row.inverted)
            fixture.measure->voiceChords(0)[0]->setStemInverted(true);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        ReBeam beam(&system);
        beam.layout(fixture.measure, 0, 0);
        EXPECT_EQ(beam.direction, row.direction);
    }
}

TEST(ReBeam, beamLineByCountAndNotes)
{
    struct Row {
        const char* name;
        std::vector<ChordSpec> chords;
        int stem;
        double firstY;  // the beam line at the first chord
    };
    const Row rows[] = {
        {"one beam: a stem of an octave from the top note", {chord(E, {-8}), chord(E, {-8})}, 0, -2},
        {"but reaching past the middle line", {chord(E, {-12}), chord(E, {-12})}, 0, -5},
        {"stems down", {chord(E, {0}), chord(E, {0})}, 0, -6},
        {"two beams from a line", {chord(S, {-8}), chord(S, {-8})}, 0, -2.5},
        {"two beams from a space: half a step longer", {chord(S, {-9}), chord(S, {-9})}, 0, -3},
        {"three beams", {chord(T, {-8}), chord(T, {-8})}, 0, -1},
        {"four beams from a line: half a step shorter", {chord(MnTicks64th, {-8}), chord(MnTicks64th, {-8})}, 0, 0},
        {"a dotted eighth and a 16th have two beams", {chord(E * 3 / 2, {-8}), chord(S, {-8})}, 0, -2.5},
        {"a 16th rest adds no beam", {chord(E, {-4}), chord(S, {}), chord(E, {-4})}, 0, -10},
        {"grace notes: shorter stems", {graceChord(E, {-8}), graceChord(E, {-8}), chord(MnTicksQuarter, {-4})}, 0,
         -4.4},
        {"grace notes down", {graceChord(E, {0}), graceChord(E, {0}), chord(MnTicksQuarter, {-4})}, -1, -3.6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GroupFixture fixture(row.chords, row.stem);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        ReBeam beam(&system);
        beam.layout(fixture.measure, 0, 0);
        ASSERT_GE(beam.beamY.count(), 2);
        EXPECT_NEAR(beam.beamY[0], row.firstY, 1e-12);
    }
}

TEST(ReBeam, slope)
{
    struct Row {
        const char* name;
        std::vector<int> tops;  // one eighth per entry
        int stem;
        std::vector<double> rises;
    };
    const Row rows[] = {
        {"a rise of four steps in steps: 2", {-8, -6, -4}, 0, {0, 1, 2}},
        {"a rise with a dip: 1", {-8, -9, -4}, 0, {0, 0.5, 1}},
        {"a turn only in the last pair still rises 2", {-8, -6, -3, -4}, -1, {0, 2.0 / 3, 4.0 / 3, 2}},
        {"the same stems up is concave: flat", {-8, -6, -3, -4}, 0, {0, 0, 0, 0}},
        {"a second rises 1", {-8, -7}, 0, {0, 1}},
        {"a third rises 1", {-8, -6}, 0, {0, 1}},
        {"a leap of two notes rises 2", {-8, 0}, 0, {0, 2}},
        {"a middle note above both ends: flat", {-6, -2, -6}, 0, {0, 0, 0}},
        {"four notes, the left middle one not below either end: flat", {-8, -6, -7, -6}, 0, {0, 0, 0, 0}},
        {"a middle note below both ends, stems down: flat", {-1, -5, -2}, -1, {0, 0, 0}},
        {"falling by four", {-4, -6, -8}, 0, {0, -1, -2}},
        {"falling with a bump", {-4, -3, -8}, -1, {0, -0.5, -1}},
        {"level", {-6, -6, -6}, 0, {0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<ChordSpec> chords;
        for (int top : row.tops)
            chords.push_back(chord(E, {top}));
        GroupFixture fixture(chords, row.stem);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        ReBeam beam(&system);
        beam.layout(fixture.measure, 0, 0);
        expectNear(slopeOf(beam), row.rises, 1e-12);
    }
}

TEST(ReBeam, stemsShorterThanTheMinimumMoveTheWholeBeam)
{
    // Rising by two to the last chord, the beam would pass five steps above
    // the fourth chord's note at 0, half a step short of the stem length of
    // two beams; the whole line moves up by that half step.
    GroupFixture fixture({chord(S, {-8}), chord(S, {-6}), chord(S, {-4}), chord(S, {0}), chord(E, {-2})}, 1);
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    ReBeam beam(&system);
    beam.layout(fixture.measure, 0, 0);
    ASSERT_EQ(beam.chords.count(), 5);
    expectNear(slopeOf(beam), {0, 0.5, 1, 1.5, 2}, 1e-12);
    EXPECT_NEAR(beam.beamY[3], 0 + 5.5, 1e-12);  // two beams from a line: 5.5 steps
    EXPECT_NEAR(beam.beamY[0], 4, 1e-12);
}

TEST(ReBeam, stemsAndBeamsAsTheChordsAreDrawn)
{
    GroupFixture fixture({chord(E, {-8}), chord(E, {-6}), chord(E, {-4})});
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    ReBeam beam(&system);
    beam.layout(fixture.measure, 0, 0);
    ASSERT_EQ(beam.direction, 1);
    GePoint2d origin(100, 20);
    for (int j = 0; j < 3; ++j) {
        SCOPED_TRACE("chord " + std::to_string(j));
        int stemEnd = 99;
        double lowest = -8, highest = -8;
        renderer.clear();
        beam.drawChord(fixture.measure, j, &origin, 10.0 * j, &stemEnd, &lowest, &highest, 1);
        // Only the last chord draws the beam, with its stem.
        EXPECT_EQ(renderer.countOf("fillQuad"), j == 2 ? 2 : 1);
        const double edge = beam.beamY[j] + 1;  // the beam's outer edge
        EXPECT_EQ(stemEnd, int(std::lround(edge)));
        EXPECT_DOUBLE_EQ(lowest, -8);
        EXPECT_DOUBLE_EQ(highest, edge);
        EXPECT_EQ(beam.xOffsets[j], 10.0 * j);
    }
    // A chord outside the group draws nothing and changes nothing.
    renderer.clear();
    int stemEnd = 99;
    double lowest = 0, highest = 0;
    beam.drawChord(fixture.measure, 5, &origin, 0, &stemEnd, &lowest, &highest, 1);
    EXPECT_TRUE(renderer.calls.empty());
    EXPECT_EQ(stemEnd, 99);
}

TEST(ReBeam, stemEndIsRoundedAndTheExtremesWidenBothWays)
{
    // Sixteenths down from a line: the beam line lies on a half step.
    GroupFixture fixture({chord(S, {-2}), chord(S, {-2})});
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    ReBeam beam(&system);
    beam.layout(fixture.measure, 0, 0);
    ASSERT_EQ(beam.direction, -1);
    const double line = beam.beamY[0];
    ASSERT_NE(line, std::floor(line));
    GePoint2d origin(0, 0);
    int stemEnd = 0;
    double lowest = 0, highest = 0;
    beam.drawChord(fixture.measure, 0, &origin, 0, &stemEnd, &lowest, &highest, 1);
    EXPECT_EQ(stemEnd, int(std::lround(line - 1)));
    EXPECT_DOUBLE_EQ(lowest, line - 1);
    EXPECT_DOUBLE_EQ(highest, 0);
}

TEST(ReBeam, stemAndBeamGeometry)
{
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.horizontalScale = 0.5;
    system.horizontalPivot = 100;
    ReBeam beam(&system);
    const double u = 1.5 * sin74;
    {
        SCOPED_TRACE("stem up from the bottom note half into the beam");
        beam.drawStem(120, 10, 1, -2, -8, 5, false, 1);
        expectBoxes(quadBoxes(renderer), {{110 + u - 0.3, 10 - 8 + cos74, 110 + u, 10 + 5.5}});
    }
    renderer.clear();
    {
        SCOPED_TRACE("stem down from the top note");
        beam.drawStem(120, 10, -1, -2, -8, -12, false, -1);
        expectBoxes(quadBoxes(renderer), {{110 - u, 10 - 12.5, 110 - u + 0.3, 10 - 2 - cos74}});
    }
    renderer.clear();
    {
        SCOPED_TRACE("beams up run from the first stem's left edge to the last stem's right one");
        beam.drawBeam(120, 4, 140, 6, 1, E);
        beam.drawBeam(120, 4, 140, 6, 1, S);
        beam.drawBeam(120, 4, 140, 6, 1, T);
        beam.drawBeam(120, 4, 140, 6, 1, MnTicks64th);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 4u);
        const double shifts[] = {0, -1.5, -3, -4.5};
        for (int i = 0; i < 4; ++i) {
            const double y0 = 4 + shifts[i], y1 = 6 + shifts[i];
            expectNear(quads[size_t(i)]->args, {120 + u, y1, 110 + u - 0.3, y0, 110 + u - 0.3, y0 + 1, 120 + u, y1 + 1});
        }
    }
    renderer.clear();
    {
        SCOPED_TRACE("beams down hang below the line, the secondary ones above it");
        beam.drawBeam(120, -12, 140, -12, -1, S);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 1u);
        expectNear(quads[0]->args, {110 - u, -11.5, 120 - u + 0.3, -11.5, 120 - u + 0.3, -10.5, 110 - u, -10.5});
    }
}

TEST(ReBeam, secondaryBeamsAndHooks)
{
    // Flat groups of notes at -8 (stems up), chords 10 apart: each beam is
    // given as the x of its first and last stem and its level.
    struct Beam {
        double from, to;
        int level;
    };
    struct Row {
        const char* name;
        std::vector<ChordSpec> chords;
        std::vector<Beam> secondary;
    };
    auto notes = [](std::vector<std::pair<int, int>> values) {
        std::vector<ChordSpec> chords;
        for (auto [value, mode] : values)
            chords.push_back(value == Rest ? chord(S, {}) : chord(value, {-8}, mode));
        return chords;
    };
    const Row rows[] = {
        {"16th, eighth, 16th: hooks into the group", notes({{S, -1}, {E, -1}, {S, -1}}), {{0, 2, S}, {18, 20, S}}},
        {"four 16ths", notes({{S, -1}, {S, -1}, {S, -1}, {S, -1}}), {{0, 30, S}}},
        {"mode 3 breaks the second beam", notes({{S, -1}, {S, -1}, {S, 3}, {S, -1}}), {{0, 10, S}, {20, 30, S}}},
        {"mode 3 on the last chord leaves it a hook", notes({{S, -1}, {S, -1}, {S, -1}, {S, 3}}),
         {{0, 20, S}, {28, 30, S}}},
        {"a rest does not break the run", notes({{S, -1}, {Rest, -1}, {S, -1}, {S, -1}}), {{0, 30, S}}},
        {"eighth then two 16ths", notes({{E, -1}, {S, -1}, {S, -1}}), {{10, 20, S}}},
        {"dotted eighth and 16th: a hook back", notes({{E * 3 / 2, -1}, {S, -1}}), {{8, 10, S}}},
        {"16th and dotted eighth: a hook forward", notes({{S, -1}, {E * 3 / 2, -1}}), {{0, 2, S}}},
        {"32nds", notes({{T, -1}, {T, -1}, {T, -1}, {T, -1}}), {{0, 30, S}, {0, 30, T}}},
        {"16th, two 32nds, 16th", notes({{S, -1}, {T, -1}, {T, -1}, {S, -1}}), {{0, 30, S}, {10, 20, T}}},
        {"a 32nd among 16ths hooks towards the run it ends", notes({{S, -1}, {S, -1}, {S, -1}, {T, -1}}),
         {{0, 30, S}, {28, 30, T}}},
        {"a lone 32nd that begins a run of 16ths hooks into it", notes({{E, -1}, {T, -1}, {S, -1}}),
         {{10, 20, S}, {10, 12, T}}},
    };
    const double u = 1.5 * sin74;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GroupFixture fixture(row.chords);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        ReBeam beam(&system);
        beam.layout(fixture.measure, 0, 0);
        ASSERT_EQ(beam.chords.count(), int(row.chords.size()));
        ASSERT_EQ(beam.direction, 1);
        const GePoint2d origin(0, 0);
        drawGroup(beam, fixture.measure, origin);
        // The stems, then the first beam, then the others.
        auto quads = renderer.callsNamed("fillQuad");
        const size_t stems = row.chords.size();
        ASSERT_EQ(quads.size(), stems + 1 + row.secondary.size()) << renderer.transcript();
        const double line = beam.beamY[0];
        const double last = 10.0 * (row.chords.size() - 1);
        expectNear(quadBox(*quads[stems]), {u - 0.3, line, last + u, line + 1});
        for (size_t i = 0; i < row.secondary.size(); ++i) {
            SCOPED_TRACE("beam " + std::to_string(i));
            const Beam& expected = row.secondary[i];
            const double shift = expected.level == S ? -1.5 : -3;
            expectNear(quadBox(*quads[stems + 1 + i]),
                       {expected.from + u - 0.3, line + shift, expected.to + u, line + shift + 1});
        }
    }
}

TEST(ReBeam, noSecondaryBeamsWithoutRoom)
{
    GroupFixture fixture({chord(S, {-8}), chord(S, {-8})});
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    ReBeam beam(&system);
    beam.layout(fixture.measure, 0, 0);
    GePoint2d origin(0, 0);
    for (int j = 0; j < 2; ++j)
        beam.drawChord(fixture.measure, j, &origin, 0, nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(renderer.countOf("fillQuad"), 3);  // two stems and the first beam
}

TEST(ReBeam, graceSlashByTheSlope)
{
    struct Row {
        const char* name;
        std::vector<int> tops;
        bool slash;
        int slashedChord;  // -1 none
    };
    const Row rows[] = {
        {"rising: on the last chord", {-8, -6}, true, 1},
        {"falling: on the first", {-6, -8}, true, 0},
        {"level: on the first", {-6, -6}, true, 0},
        {"no slash asked", {-8, -6}, false, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<ChordSpec> chords;
        for (int top : row.tops)
            chords.push_back(graceChord(E, {top}));
        chords.push_back(chord(MnTicksQuarter, {-4}));
        GroupFixture fixture(chords, 0, row.slash);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        ReBeam beam(&system);
        beam.layout(fixture.measure, 0, 0);
        ASSERT_EQ(beam.chords.count(), 2);
        EXPECT_EQ(beam.slash, row.slash);
        GePoint2d origin(0, 0);
        for (int j = 0; j < 2; ++j) {
            renderer.clear();
            beam.drawChord(fixture.measure, j, &origin, 6.0 * j, nullptr, nullptr, nullptr, 0.6);
            const int expected = (j == row.slashedChord ? 2 : 1) + (j == 1 ? 1 : 0);  // stem, slash, beam
            EXPECT_EQ(renderer.countOf("fillQuad"), expected) << "chord " << j;
        }
    }
}

TEST(ReBeam, graceGroupsDrawInsideTheirScale)
{
    // The score composer draws a grace chord inside a scale of 0.6 about its
    // stem base; the stem end and the beam ends are given in that frame.
    GroupFixture fixture({graceChord(E, {-8}), graceChord(E, {-8}), chord(MnTicksQuarter, {-4})});
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    ReBeam beam(&system);
    beam.layout(fixture.measure, 0, 0);
    ASSERT_EQ(beam.direction, 1);
    const double s = 0.6, line = beam.beamY[0];
    GePoint2d origin(50, 0);
    beam.drawChord(fixture.measure, 0, &origin, 0, nullptr, nullptr, nullptr, s);
    beam.drawChord(fixture.measure, 1, &origin, 6, nullptr, nullptr, nullptr, s);
    auto quads = renderer.callsNamed("fillQuad");
    ASSERT_EQ(quads.size(), 3u);
    const double u = 1.5 * sin74;
    // The stem from the note at -8 to the beam, (line + 8) / s long, half a
    // step into it.
    EXPECT_NEAR(quadBox(*quads[0])[3], -8 + (line + 8) / s + 0.5, 1e-12);
    // The beam from the first stem, mapped about the last chord's base
    // (56, -8): the first stem 6 / s to the left.
    expectNear(quadBox(*quads[2]), {56 - 6 / s + u - 0.3, -8 + (line + 8) / s, 56 + u, -8 + (line + 8) / s + 1});
}
