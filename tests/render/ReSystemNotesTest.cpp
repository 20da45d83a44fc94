#include "model/MnTicks.h"
#include "render/ReBeam.h"
#include "render/ReGlyph.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/common/TestCanvas.h"
#include "tests/render/BeamGroupFixture.h"
#include "tests/render/DrawnShapes.h"

#include <gtest/gtest.h>

#include <cmath>

static const double t = 0.2;  // the staff-line thickness of every composer

TEST(ReSystemNotes, accidentalsAndHeads)
{
    struct Row {
        const char* name;
        int duration;
        int accidental;
        std::vector<const ReGlyph*> glyphs;  // in drawing order
        std::vector<double> glyphXs;
        int ellipses;
    };
    const Row rows[] = {
        {"quarter without accidental", MnTicksQuarter, 3, {}, {}, 1},
        {"quarter with a natural", MnTicksQuarter, 0, {&ReGlyph::natural}, {7}, 1},
        {"half with a sharp", MnTicksHalf, 1, {&ReGlyph::sharp, &ReGlyph::halfNotehead}, {7, 10}, 0},
        {"whole with a double sharp", MnTicksPerWhole, 2, {&ReGlyph::doubleSharp, &ReGlyph::wholeNotehead}, {7, 10}, 0},
        {"eighth with a flat", MnTicksEighth, -1, {&ReGlyph::flat}, {7}, 1},
        {"quarter with a double flat: two flats 2 apart", MnTicksQuarter, -2, {&ReGlyph::flat, &ReGlyph::flat}, {5, 7}, 1},
    };
    for (const Row& row : rows) {
        RecordingRenderer renderer;
        ReSystem(&renderer).drawNote(10, -4, row.duration, false, 0, 0, row.accidental, 0);
        auto meshes = renderer.callsNamed("fillMesh");
        ASSERT_EQ(meshes.size(), row.glyphs.size()) << row.name;
        for (size_t i = 0; i < meshes.size(); ++i) {
            EXPECT_EQ(meshes[i]->triangles, row.glyphs[i]->triangles) << row.name;
            EXPECT_DOUBLE_EQ(meshes[i]->args[2], row.glyphXs[i]) << row.name;
            EXPECT_DOUBLE_EQ(meshes[i]->args[3], -4) << row.name;
        }
        auto ellipses = renderer.callsNamed("fillEllipse");
        ASSERT_EQ(int(ellipses.size()), row.ellipses) << row.name;
        if (row.ellipses) {
            // A filled head tilted by 22.5 degrees; fine segments when zoomed in.
            EXPECT_EQ(ellipses[0]->args, (std::vector<double>{10, -4, 1.5, 1.0, 22.5, 64})) << row.name;
        }
    }
}

TEST(ReSystemNotes, headSegmentsFollowTheOutputAndZoom)
{
    struct Row {
        int outputKind;
        double viewWidth;
        double segments;
    };
    const Row rows[] = {{0, 40, 64}, {0, 80, 32}, {0, 200, 16}, {1, 200, 64}, {2, 200, 32}, {3, 10, 16}};
    for (const Row& row : rows) {
        RecordingRenderer renderer;
        renderer.outputKind = row.outputKind;
        renderer.viewWidth = row.viewWidth;
        ReSystem(&renderer).drawNote(0, 0, MnTicksQuarter, true, 1, 0.5, 3, 0);
        auto ellipses = renderer.callsNamed("fillEllipse");
        ASSERT_EQ(ellipses.size(), 2u);
        EXPECT_EQ(ellipses[0]->args[5], row.segments);
        // The dot: radius 2t, 24 segments, 2.5 right of the offset.
        EXPECT_EQ(ellipses[1]->args, (std::vector<double>{3.5, 0.5, 0.4, 0.4, 0, 24}));
    }
}

TEST(ReSystemNotes, stemEnds)
{
    struct Row {
        const char* name;
        int top, bottom, direction;
        bool small;
        int end;
    };
    const Row rows[] = {
        // A stem is an octave long, and reaches at least the middle line.
        {"up from the bottom line", -8, -8, 1, false, -1},
        {"up from below the staff reaches the middle line", -14, -14, 1, false, -4},
        {"up from a chord's top note", -2, -8, 1, false, 5},
        {"down from the top line", 0, 0, -1, false, -7},
        {"down from above the staff reaches the middle line", 4, 4, -1, false, -4},
        {"down from a chord's bottom note", 0, -6, -1, false, -13},
        {"small up", -8, -8, 1, true, -4},
        {"small up from below the staff", -14, -14, 1, true, -6},
        {"small up high", 2, 0, 1, true, 6},
        {"small down", 0, 0, -1, true, -4},
        {"small down low", -2, -2, -1, true, -6},
    };
    for (const Row& row : rows) {
        RecordingRenderer renderer;
        int end = 99;
        double lowest = -1, highest = -1;
        ReSystem(&renderer).drawStem(0, 0, row.top, row.bottom, row.direction, MnTicksQuarter, row.small, false, &end,
                                     &lowest, &highest);
        EXPECT_EQ(end, row.end) << row.name;
        EXPECT_EQ(lowest, std::min(-1.0, double(row.end))) << row.name;
        EXPECT_EQ(highest, std::max(-1.0, double(row.end))) << row.name;
        EXPECT_EQ(renderer.countOf("fillQuad"), 1) << row.name;
    }
}

TEST(ReSystemNotes, wholeNotesHaveNoStem)
{
    RecordingRenderer renderer;
    int end = 99;
    double lowest = 5, highest = 6;
    ReSystem(&renderer).drawStem(0, 0, 0, 0, 1, MnTicksPerWhole, false, true, &end, &lowest, &highest);
    EXPECT_TRUE(renderer.calls.empty());
    EXPECT_EQ(end, 99);
    EXPECT_EQ(lowest, 5);
    EXPECT_EQ(highest, 6);
}

TEST(ReSystemNotes, stemGeometryAndFlags)
{
    const double S = 0.3;
    const double dx = 1.5 * std::sin(1.2915436464758039), dy = std::cos(1.2915436464758039);
    {
        SCOPED_TRACE("eighth up from position -8");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawStem(10, 0, -8, -8, 1, MnTicksEighth, false, false);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 1u);
        double X = 10 + dx;
        EXPECT_NEAR(quads[0]->args[0], X - S, 1e-12);
        EXPECT_NEAR(quads[0]->args[1], -1, 1e-12);
        EXPECT_NEAR(quads[0]->args[3], -8 + dy, 1e-12);
        EXPECT_NEAR(quads[0]->args[4], X, 1e-12);
        auto flags = renderer.callsNamed("fillMesh");
        ASSERT_EQ(flags.size(), 1u);
        EXPECT_EQ(flags[0]->triangles, ReGlyph::flag.triangles);
        EXPECT_NEAR(flags[0]->args[2], X - 0.01, 1e-12);
        EXPECT_EQ(flags[0]->args[3], -1);
        EXPECT_EQ(flags[0]->args[4], 1.2);
        EXPECT_EQ(flags[0]->args[5], 1.0);
    }
    {
        SCOPED_TRACE("half note down: its own offset");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawStem(10, 0, 0, 0, -1, MnTicksHalf, false, false);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 1u);
        EXPECT_NEAR(quads[0]->args[0], 10 - 1.525, 1e-12);
        EXPECT_NEAR(quads[0]->args[4], 10 - 1.525 + S, 1e-12);
        EXPECT_NEAR(quads[0]->args[1], -0.31, 1e-12);
        EXPECT_NEAR(quads[0]->args[3], -7, 1e-12);
        EXPECT_EQ(renderer.countOf("fillMesh"), 0);
    }
    struct FlagRow {
        int duration;
        int direction;
        std::vector<std::vector<double>> flags;  // y offset, sx, sy
    };
    const FlagRow flagRows[] = {
        {MnTicksSixteenth, 1, {{0, 1.3, 0.8}, {-2, 1.2, 0.8}}},
        {MnTicksSixteenth, -1, {{0, 1.3, -0.65}, {2, 1.2, -0.6}}},
        {MnTicks32nd, -1, {{0, 1.3, -0.5}, {1.25, 1.3, -0.5}, {2.5, 1.2, -0.52}}},
        {MnTicks64th, 1, {{0, 1.3, 0.43}, {-1, 1.3, 0.5}, {-2, 1.3, 0.6}, {-3, 1.2, 0.75}}},
        {MnTicksQuarter, 1, {}},
    };
    for (const FlagRow& row : flagRows) {
        RecordingRenderer renderer;
        int end = 0;
        ReSystem(&renderer).drawStem(0, 0, -4, -4, row.direction, row.duration, false, false, &end);
        auto flags = renderer.callsNamed("fillMesh");
        ASSERT_EQ(flags.size(), row.flags.size()) << row.duration;
        for (size_t i = 0; i < flags.size(); ++i) {
            EXPECT_NEAR(flags[i]->args[3], end + row.flags[i][0], 1e-12) << row.duration << " flag " << i;
            EXPECT_EQ(flags[i]->args[4], row.flags[i][1]) << row.duration << " flag " << i;
            EXPECT_EQ(flags[i]->args[5], row.flags[i][2]) << row.duration << " flag " << i;
        }
    }
}

TEST(ReSystemNotes, graceSlashCrossesTheStem)
{
    RecordingRenderer renderer;
    ReSystem(&renderer).drawStem(0, 0, -8, -8, 1, MnTicksEighth, true, true);
    auto quads = renderer.callsNamed("fillQuad");
    ASSERT_EQ(quads.size(), 2u);
    // The slash rises to the right, from four steps below the stem end.
    const auto& a = quads[1]->args;
    EXPECT_LT(a[0], a[4]);
    EXPECT_LT(a[1], a[5]);
    EXPECT_NEAR((a[5] + a[7]) / 2 - (a[1] + a[3]) / 2, 4.0, 1e-12);
}

TEST(ReSystemNotes, notesFollowTheHorizontalCompensation)
{
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.horizontalScale = 0.5;
    system.horizontalPivot = 100;
    system.drawNote(120, 0, MnTicksQuarter, false, 0, 0, 1, 0);
    auto head = renderer.callsNamed("fillEllipse");
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0]->args[0], 110);
    auto sharp = renderer.callsNamed("fillMesh");
    ASSERT_EQ(sharp.size(), 1u);
    EXPECT_EQ(sharp[0]->args[2], 107);
}

TEST(ReSystemNotes, ledgerLines)
{
    struct Row {
        const char* name;
        int top, bottom;
        bool small;
        std::vector<double> lines;  // positions, in drawing order
    };
    const Row rows[] = {
        {"inside the staff: none", 0, -8, false, {}},
        {"top 3: one line at 2", 3, -2, false, {2}},
        {"top 4: lines at 4 and 2", 4, 4, false, {4, 2}},
        {"bottom -9 sits under the staff: none", -2, -9, false, {}},
        {"bottom -13: lines at -12 and -10", -4, -13, false, {-12, -10}},
        {"both sides", 5, -10, false, {4, 2, -10}},
        {"a chord below the staff", -10, -14, false, {-14, -12, -10}},
        {"grace notes", 2, -10, true, {2, -10}},
    };
    const double x = 20, y = 10;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingRenderer renderer;
        renderer.extrusionHeight = 3.0;
        ReSystem(&renderer).drawLedgerLines(x, y, row.top, row.bottom, row.small);
        const double k = row.small ? 0.6 : 1;
        std::vector<std::vector<double>> expected;
        for (double position : row.lines)
            expected.push_back({x - 2.25 * k, y + position - 0.15 * k, x + 2.25 * k, y + position + 0.15 * k});
        expectBoxes(quadBoxes(renderer), expected);
        if (!row.lines.empty())
            expectDrawnAsStaffFurniture(renderer);
    }
}

TEST(ReSystemNotes, restsWithHooks)
{
    struct Row {
        int duration;
        std::vector<PlacedGlyph> glyphs;
    };
    const double x = 10, y = -4;
    const Row rows[] = {
        {MnTicks64th,
         {{"restHook", x + 0.295, y, 1, 1},
          {"restHook", x + 0.885, y + 2, 1, 1},
          {"restHook", x - 0.295, y - 2, 1, 1},
          {"restHook", x - 0.885, y - 4, 1, 1}}},
        {MnTicks32nd, {{"restHook", x, y, 1, 1}, {"restHook", x + 0.59, y + 2, 1, 1}, {"restHook", x - 0.59, y - 2, 1, 1}}},
        {MnTicksSixteenth, {{"restHook", x + 0.295, y, 1, 1}, {"restHook", x - 0.295, y - 2, 1, 1}}},
        {MnTicksEighth, {{"restHook", x, y, 1, 1}}},
        {MnTicksQuarter, {{"quarterRest", x, y, 1, 1}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.duration);
        RecordingRenderer renderer;
        ReSystem(&renderer).drawRest(x, y, row.duration, true, -4);
        expectGlyphs(renderer, row.glyphs);
        EXPECT_EQ(renderer.countOf("fillQuad"), 0);
        // The dot: 2.5 right of and 1 above the last glyph's point.
        auto dots = renderer.callsNamed("fillEllipse");
        ASSERT_EQ(dots.size(), 1u);
        const PlacedGlyph& last = row.glyphs.back();
        expectNear(dots[0]->args, {last.x + 2.5, last.y + 1, 2 * t, 2 * t, 0, 16});
    }
}

TEST(ReSystemNotes, wholeAndHalfRestBlocks)
{
    struct Row {
        const char* name;
        int duration;
        double position;
        bool ledger;
        double ledgerY;
        double blockBottom, blockTop;
    };
    // y is the staff's top line plus the position, as the caller passes it.
    const Row rows[] = {
        {"whole rest hangs from the line above", MnTicksPerWhole, -2, false, 0, -1.2, 0},
        {"whole rest at 0 hangs from a ledger line", MnTicksPerWhole, 0, true, 2, 0.8, 2},
        {"whole rest low in the staff", MnTicksPerWhole, -10, false, 0, -9.2, -8},
        {"whole rest below the staff", MnTicksPerWhole, -12, true, -10, -11.2, -10},
        {"half rest sits on its line", MnTicksHalf, -4, false, 0, -4, -2.8},
        {"half rest below the staff sits on a ledger line", MnTicksHalf, -10, true, -10, -10, -8.8},
        {"half rest above the staff", MnTicksHalf, 2, true, 2, 2, 3.2},
        {"another value: a block centred on y", 50000, -4, false, 0, -4.6, -3.4},
    };
    const double x = 10;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingRenderer renderer;
        renderer.extrusionHeight = 3.0;
        ReSystem(&renderer).drawRest(x, row.position, row.duration, true, row.position);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), row.ledger ? 2u : 1u);
        if (row.ledger) {
            expectNear(quadBox(*quads[0]), {x - 2.25, row.ledgerY - 0.15, x + 2.25, row.ledgerY + 0.15});
            EXPECT_EQ(quads[0]->extrusionHeight, 2.0);
        }
        expectNear(quadBox(*quads.back()), {x - 1.5, row.blockBottom, x + 1.5, row.blockTop});
        EXPECT_EQ(quads.back()->extrusionHeight, 3.0);
        EXPECT_EQ(renderer.extrusionHeight, 3.0);
        auto dots = renderer.callsNamed("fillEllipse");
        ASSERT_EQ(dots.size(), 1u);
        const double blockCentre = (row.blockBottom + row.blockTop) / 2;
        expectNear({dots[0]->args[0], dots[0]->args[1]}, {x + 2.5, blockCentre + 1});
    }
}

namespace {

// Draws a beam group of the fixture's measure as the score composer would:
// heads and ledger lines, then each chord's stem through the beam composer,
// grace chords inside a scale of 0.6 about their stem base.
double drawBeamGroup(ReSystem& system, RecordingRenderer& renderer, GroupFixture& fixture, double x, double staffY,
                     double spacing)
{
    ReBeam beam(&system);
    beam.layout(fixture.measure, 0, 0);
    GePoint2d origin(x, staffY);
    const BcArray<MnChord*>& chords = fixture.measure->voiceChords(0);
    for (int j = 0; j < beam.chords.count(); ++j) {
        const MnChord* chord = chords[beam.chords[j]];
        const double scale = beam.grace ? 0.6 : 1.0;
        const double xOffset = spacing * j * scale;
        const double chordX = x + xOffset;
        const int base = beam.direction >= 1 ? beam.bottoms[j] : beam.tops[j];
        if (beam.grace)
            renderer.pushScale(chordX, staffY + base, scale);
        for (int n = 0; n < chord->noteCount(); ++n) {
            const double position = std::lround(chord->note(n)->position().y);
            system.drawNote(chordX, staffY + position, MnTicksQuarter, false, 0, 0, MnAccidentalNone, 0);
        }
        if (chord->noteCount() > 0)
            system.drawLedgerLines(chordX, staffY, beam.tops[j], beam.bottoms[j], false);
        else
            system.drawRest(chordX, staffY - 4, chord->duration(), false, -4);
        beam.drawChord(fixture.measure, beam.chords[j], &origin, xOffset, nullptr, nullptr, nullptr, scale);
        if (beam.grace)
            renderer.popTransform();
    }
    return x + spacing * beam.chords.count() * (beam.grace ? 0.6 : 1.0);
}

} // namespace

// Notes of every value with accidentals, stems, flags and dots, and the four
// group brackets; rests, ledger lines, ties, articulations and arpeggios;
// beam groups of several shapes, drawn on staff lines for a person to look
// at.
TEST(ReSystemNotes, writesASamplePicture)
{
    RecordingRenderer renderer;
    renderer.viewWidth = 40;
    ReSystem system(&renderer);
    for (double staffY : {0.0, -24.0, -48.0, -72.0})
        system.drawStaffLines(-2, staffY, 198);
    struct Note {
        int duration, position, direction, accidental;
        bool dot;
    };
    const Note notes[] = {
        {MnTicksPerWhole, -6, 1, 3, false},  {MnTicksHalf, -8, 1, 1, true},       {MnTicksHalf, 0, -1, -1, false},
        {MnTicksQuarter, -5, 1, 0, false},   {MnTicksEighth, -7, 1, 2, true},     {MnTicksEighth, 1, -1, -2, false},
        {MnTicksSixteenth, -4, 1, 3, false}, {MnTicksSixteenth, -2, -1, 3, false}, {MnTicks32nd, -6, 1, 3, false},
        {MnTicks32nd, -1, -1, 1, false},     {MnTicks64th, -8, 1, 3, false},       {MnTicks64th, 2, -1, 3, true},
    };
    double x = 6;
    for (const Note& note : notes) {
        system.drawNote(x, note.position, note.duration, note.dot, 0, note.position % 2 == 0 ? 1 : 0, note.accidental, 0);
        system.drawStem(x, 0, note.position, note.position, note.direction, note.duration, false, false);
        system.drawLedgerLines(x, 0, note.position, note.position, false);
        x += 8.5;
    }
    system.drawStem(x, 0, -9, -9, 1, MnTicksEighth, true, true);
    for (int type = 0; type < 4; ++type)
        system.drawGroupBracket(-10 - 6 * type, 10, 28, type, -6 * type - 8);

    // Rests of every value, plain and dotted, and notes on ledger lines.
    double y = -24;
    x = 4;
    for (bool dot : {false, true}) {
        for (int duration : {MnTicksPerWhole, MnTicksHalf, MnTicksQuarter, MnTicksEighth, MnTicksSixteenth, MnTicks32nd,
                             MnTicks64th}) {
            system.drawRest(x, y - 4, duration, dot, -4);
            x += 7;
        }
    }
    system.drawRest(x, y + 2, MnTicksPerWhole, false, 2);
    system.drawRest(x + 7, y - 12, MnTicksHalf, false, -12);
    x += 16;
    for (int position : {3, 6, -11, -14}) {
        system.drawNote(x, y + position, MnTicksQuarter, false, 0, 0, MnAccidentalNone, 0);
        system.drawLedgerLines(x, y, position, position, false);
        x += 7;
    }
    renderer.pushScale(x, y + 5, 0.6);
    system.drawNote(x, y + 5, MnTicksQuarter, false, 0, 0, MnAccidentalNone, 0);
    system.drawLedgerLines(x, y, 5, 5, true);
    renderer.popTransform();

    // Ties below and above, between outer and inner notes; articulations;
    // arpeggios.
    y = -48;
    x = 4;
    auto tiedPair = [&](int position, int direction, bool outer) {
        for (double at : {x, x + 10})
            system.drawNote(at, y + position, MnTicksQuarter, false, 0, 0, MnAccidentalNone, 0);
        system.drawTie(x, x + 10, y + position, direction, -direction, -direction, outer, outer, outer, outer);
    };
    tiedPair(-6, -1, true);
    x += 16;
    tiedPair(-2, 1, true);
    x += 16;
    tiedPair(-4, 1, false);
    x += 16;
    const int articulationSets[] = {MnArticulationStaccato,
                                    MnArticulationStaccato | MnArticulationAccent,
                                    MnArticulationTenuto | MnArticulationStaccato,
                                    MnArticulationStaccatissimo,
                                    MnArticulationStrongAccent,
                                    MnArticulationFermata | MnArticulationAccent | MnArticulationTenuto};
    int direction = 1;
    for (int bits : articulationSets) {
        MnChord chord(nullptr, 0, 0, MnTicksQuarter);
        chord.setArticulations(bits);
        const int position = direction > 0 ? -5 : -3;
        system.drawNote(x, y + position, MnTicksQuarter, false, 0, 0, MnAccidentalNone, 0);
        int end = 0;
        double lowest = position, highest = position;
        system.drawStem(x, y, position, position, direction, MnTicksQuarter, false, false, &end, &lowest, &highest);
        system.drawArticulations(&chord, GePoint2d(x, y), direction, &lowest, &highest);
        direction = -direction;
        x += 9;
    }
    x += 4;
    for (int type : {0, 1, 2}) {
        GroupFixture fixture({chord(MnTicksQuarter, {-8, -5, -1})});
        MnChord* arpeggioChord = fixture.measure->voiceChords(0)[0];
        MnNote* first = arpeggioChord->note(0);
        MnNote* last = arpeggioChord->note(arpeggioChord->noteCount() - 1);
        first->setArpeggioType(type);
        for (int n = 0; n < arpeggioChord->noteCount(); ++n)
            system.drawNote(x, y + arpeggioChord->note(n)->position().y, MnTicksQuarter, false, 0, 0,
                            MnAccidentalNone, 0);
        // The line stands 3.5 left of the heads, whatever room the chord's
        // layout measures for it.
        system.drawArpeggio(GePoint2d(x - 4.5 + arpeggioChord->leftExtent(1), y), first, last);
        x += 10;
    }

    // Beam groups: rising, with hooks, broken by mode 3, of 32nds, concave,
    // with a rest inside, and a slashed grace group before its main note.
    y = -72;
    x = 4;
    constexpr int E = MnTicksEighth, S = MnTicksSixteenth, T = MnTicks32nd;
    const std::vector<std::vector<ChordSpec>> groups = {
        {chord(E, {-8}), chord(E, {-6}), chord(E, {-4})},
        {chord(S, {-2}), chord(E, {-1}), chord(S, {1})},
        {chord(S, {-3}), chord(S, {-4}), chord(S, {-5}, 3), chord(S, {-6})},
        {chord(T, {-9}), chord(T, {-8}), chord(T, {-7}), chord(T, {-6})},
        {chord(E, {-6}), chord(E, {-2}), chord(E, {-6})},
        {chord(S, {-1, 3}), chord(S, {}), chord(S, {0, 4}), chord(S, {2})},
        {chord(E * 3 / 2, {-10}), chord(S, {-11})},
    };
    for (const auto& group : groups) {
        GroupFixture fixture(group);
        x = drawBeamGroup(system, renderer, fixture, x, y, 6) + 6;
    }
    GroupFixture graceGroup({graceChord(S, {-6}), graceChord(S, {-4}), graceChord(S, {-2}), chord(MnTicksQuarter, {-5})},
                            0, true);
    x = drawBeamGroup(system, renderer, graceGroup, x, y, 5) + 3;
    system.drawNote(x, y - 5, MnTicksQuarter, false, 0, 0, MnAccidentalNone, 0);
    system.drawStem(x, y, -5, -5, 1, MnTicksQuarter, false, false);

    TestCanvas canvas(1680, 770);
    renderer.paint(canvas, -40, 15, 200, -95);
    ASSERT_TRUE(canvas.writePng(std::string(QRV_TEST_OUTPUT_DIR) + "/notes.png"));
}
