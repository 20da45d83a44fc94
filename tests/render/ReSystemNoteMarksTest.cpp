#include "foundation/GeSpline2d.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/common/TestCanvas.h"
#include "tests/model/ModelBuilders.h"
#include "tests/model/VoiceBuilder.h"
#include "tests/render/DrawnShapes.h"

#include <gtest/gtest.h>

namespace {

const double t = 0.2;  // the staff-line thickness of every composer

// The note at the staff position in the clef of its chord.
MnNote* addNoteAt(MnChord* chord, int position)
{
    const int diatonic = position - mnClefOffset(chord->clef());
    return chord->addNote(diatonic % 7, diatonic / 7, MnAccidentalNone, false);
}

} // namespace

TEST(ReSystemNoteMarks, tieGapsAndLift)
{
    struct Row {
        const char* name;
        int direction, startStem, endStem;
        bool startLowest, startHighest, endLowest, endHighest;
        double startGap, endGap, lift;
    };
    const Row rows[] = {
        {"single notes below, stems up", -1, 1, 1, true, true, true, true, 0.5, 0.5, 1.5},
        {"below, the end note's stem down", -1, 1, -1, true, true, true, true, 0.5, 1.75, 1.5},
        {"below from a chord's top note", -1, 1, 1, false, true, false, true, 1.75, 1.75, 1.5},
        {"below from a chord's bottom note", -1, -1, -1, true, false, true, false, 0.5, 1.75, 1.5},
        {"single notes above, stems down", 1, -1, -1, true, true, true, true, 0.5, 0.5, 1.5},
        {"above, the start note's stem up", 1, 1, -1, true, true, true, true, 1.75, 0.5, 1.5},
        {"above from a chord's bottom note", 1, -1, -1, true, false, true, false, 1.75, 1.75, 1.5},
        {"above from a chord's top note", 1, -1, 1, false, true, false, true, 0.5, 0.5, 1.5},
        {"between inner notes: flat and wide", 1, -1, -1, false, false, false, false, 1.75, 1.75, 0.5},
        {"from an inner note to an outer one", -1, -1, 1, false, false, true, true, 1.75, 0.5, 1.5},
    };
    const double x1 = 120, x2 = 160, y = -3;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.horizontalScale = 0.5;
        system.horizontalPivot = 100;
        system.drawTie(x1, x2, y, row.direction, row.startStem, row.endStem, row.startLowest, row.startHighest,
                       row.endLowest, row.endHighest);
        auto curves = renderer.callsNamed("strokeCurve");
        ASSERT_EQ(curves.size(), 1u);
        // x 120 and 160 map to 110 and 130.
        const double y0 = y + row.direction * row.lift;
        const double left = 110 + row.startGap, right = 130 - row.endGap, inset = (right - left) * 0.16;
        expectNear(curves[0]->args, {t / 2, 2 * t, left, y0, left + inset, y0 + 2 * row.direction, right - inset,
                                     y0 + 2 * row.direction, right, y0});
    }
}

TEST(ReSystemNoteMarks, tiesShowInPictures)
{
    RecordingRenderer renderer;
    ReSystem(&renderer).drawTie(0, 20, 0, 1, -1, -1, true, true, true, true);
    // 10 pixels a step; the tie's middle lies 3 steps above y, at its
    // thickest (0.4 steps).
    TestCanvas canvas(300, 150);
    renderer.paint(canvas, -5, 10, 25, -5);
    uint8_t r, g, b;
    canvas.pixel(150, 70, &r, &g, &b);
    EXPECT_LT(r + g + b, 200);
    canvas.pixel(150, 60, &r, &g, &b);
    EXPECT_EQ(r + g + b, 3 * 255);
    canvas.pixel(150, 80, &r, &g, &b);
    EXPECT_EQ(r + g + b, 3 * 255);
}

TEST(ReSystemNoteMarks, articulationsStackOutward)
{
    struct Row {
        const char* name;
        int bits;
        int direction;
        bool grace;
        double lowest, highest;  // before
        std::vector<double> dots;             // y of the staccato dots
        std::vector<std::vector<double>> bars;  // tenuto boxes
        std::vector<PlacedGlyph> glyphs;
        double lowestAfter, highestAfter;
    };
    const double x = 10;
    const Row rows[] = {
        {"a staccato on the middle line moves down into the space", MnArticulationStaccato, 1, false, -3, -3, {-5},
         {}, {}, -5, -3},
        {"and up with stems down", MnArticulationStaccato, -1, false, -5, -5, {-3}, {}, {}, -5, -3},
        {"in a space it stays", MnArticulationStaccato, 1, false, -4, -4, {-5}, {}, {}, -5, -4},
        {"off the staff it may stand on a ledger position", MnArticulationStaccato, 1, false, -11, -11, {-12}, {},
         {}, -12, -11},
        {"half steps round away from zero", MnArticulationStaccato, -1, false, -6, 0.5, {2}, {}, {}, -6, 2},
        {"staccato then accent below", MnArticulationStaccato | MnArticulationAccent, 1, false, -3, -3, {-5}, {},
         {{"accent", x, -10, 1, 1}}, -11, -3},
        {"staccato then accent above", MnArticulationStaccato | MnArticulationAccent, -1, false, -5, -5, {-3}, {},
         {{"accent", x, 2, 1, 1}}, -5, 3},
        {"tenuto next to the notes", MnArticulationTenuto, 1, false, -3, -3, {}, {{x - 1.25, -5.15, x + 1.25, -4.85}},
         {}, -5, -3},
        {"staccato and tenuto", MnArticulationStaccato | MnArticulationTenuto, 1, false, -3, -3, {-5},
         {{x - 1.25, -7.15, x + 1.25, -6.85}}, {}, -7, -3},
        {"the strong accent stands above whatever the stem", MnArticulationStrongAccent, 1, false, -6, -2, {}, {},
         {{"strongAccent", x, 0.2, 1.2, 1.2}}, -6, 1.4},
        {"staccatissimo below, mirrored", MnArticulationStaccatissimo, 1, false, -6, -6, {}, {},
         {{"staccatissimo", x, -9, 1, -1}}, -11, -6},
        {"staccatissimo above", MnArticulationStaccatissimo, -1, false, -2, -2, {}, {},
         {{"staccatissimo", x, 1, 1, 1}}, -2, 3},
        {"a staccato leaves no room for a staccatissimo", MnArticulationStaccato | MnArticulationStaccatissimo, 1,
         false, -3, -3, {-5}, {}, {}, -5, -3},
        {"the fermata stands above whatever the stem", MnArticulationFermata, 1, false, -6, -6, {}, {},
         {{"fermata", x, 2, 1.2, 1.2}}, -6, 2},
        {"every mark above, in order", 0x5F & ~MnArticulationStaccatissimo, -1, false, -4, -4, {-3},
         {{x - 1.25, -1.15, x + 1.25, -0.85}},
         {{"strongAccent", x, 1.2, 1.2, 1.2}, {"accent", x, 4.4, 1, 1}, {"fermata", x, 7.4, 1.2, 1.2}}, -4, 7.4},
        {"grace marks are smaller", 0x5F & ~MnArticulationStaccatissimo, -1, true, -4, -4, {-3},
         {{x - 0.75, -1.09, x + 0.75, -0.91}},
         {{"strongAccent", x, 1.2, 0.72, 0.72}, {"accent", x, 4.4, 0.6, 0.6}, {"fermata", x, 7.4, 0.72, 0.72}}, -4,
         7.4},
        {"a grace staccatissimo", MnArticulationStaccatissimo, 1, true, -6, -6, {}, {},
         {{"staccatissimo", x, -9, 0.6, -0.6}}, -11, -6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MnChord chord(nullptr, 0, 0, MnTicksQuarter);
        chord.setGrace(row.grace);
        chord.setArticulations(row.bits);
        RecordingRenderer renderer;
        double lowest = row.lowest, highest = row.highest;
        ReSystem(&renderer).drawArticulations(&chord, GePoint2d(x, 0), row.direction, &lowest, &highest);
        auto dots = renderer.callsNamed("fillEllipse");
        ASSERT_EQ(dots.size(), row.dots.size());
        const double radius = 1.5 * t * (row.grace ? 0.6 : 1);
        for (size_t i = 0; i < dots.size(); ++i)
            expectNear(dots[i]->args, {x, row.dots[i], radius, radius, 0, 24});
        expectBoxes(quadBoxes(renderer), row.bars);
        expectGlyphs(renderer, row.glyphs);
        EXPECT_DOUBLE_EQ(lowest, row.lowestAfter);
        EXPECT_DOUBLE_EQ(highest, row.highestAfter);
    }
}

TEST(ReSystemNoteMarks, articulationsFollowTheCompensation)
{
    MnChord chord(nullptr, 0, 0, MnTicksQuarter);
    chord.setArticulations(MnArticulationAccent);
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.horizontalScale = 0.5;
    system.horizontalPivot = 100;
    double lowest = -4, highest = -4;
    system.drawArticulations(&chord, GePoint2d(120, 10), -1, &lowest, &highest);
    expectGlyphs(renderer, {{"accent", 110, 12, 1, 1}});
}

namespace {

// Two staves, the upper one in treble clef and the lower one in bass clef,
// with one quarter chord in the first measure of each.
struct ArpeggioFixture {
    ArpeggioFixture() : staves(1)
    {
        MnScore& score = staves.score;
        score.insertStaff(1);
        score.staff(1)->setClef(MnClefBass);
        upper = VoiceBuilder(score.staff(0)->measure(0), 0).chord(MnTicksQuarter);
        lower = VoiceBuilder(score.staff(1)->measure(0), 0).chord(MnTicksQuarter);
    }
    StaffFixture staves;
    MnChord* upper = nullptr;
    MnChord* lower = nullptr;
};

} // namespace

TEST(ReSystemNoteMarks, arpeggioWavesByTheSpan)
{
    struct Row {
        const char* name;
        int bottom, top;
        int type;
        double startY;  // of the first segment, from the staff's top line
        std::vector<std::string> segments;
    };
    const Row rows[] = {
        {"ten steps: five waves", -8, 0, 0, -8, {"wave", "wave", "wave", "wave", "wave"}},
        {"an odd count starts a step lower", -8, -1, 0, -9, {"wave", "wave", "wave", "wave", "wave"}},
        {"the up arrow is the last segment", -8, 0, 1, -8, {"wave", "wave", "wave", "wave", "up"}},
        {"the down arrow is the first", -8, 0, 2, -8, {"down", "wave", "wave", "wave", "wave"}},
        {"a third: two segments", -6, -4, 1, -6, {"wave", "up"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ArpeggioFixture fixture;
        MnNote* first = addNoteAt(fixture.upper, row.bottom);
        MnNote* last = addNoteAt(fixture.upper, row.top);
        first->setArpeggioType(row.type);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.horizontalScale = 0.5;
        system.horizontalPivot = 100;
        system.drawArpeggio(GePoint2d(120, 30), first, last);
        const double x0 = 110 - fixture.upper->leftExtent(1) + 1;
        std::vector<PlacedGlyph> expected;
        for (size_t i = 0; i < row.segments.size(); ++i) {
            const double y = 30 + row.startY + 2.0 * i;
            if (row.segments[i] == "wave")
                expected.push_back({"arpeggioWave", x0, y, 1, 1});
            else if (row.segments[i] == "up")
                expected.push_back({"arpeggioArrowhead", x0, y, 1, 1});
            else
                expected.push_back({"arpeggioArrowhead", x0, y, -1, -1});
        }
        expectGlyphs(renderer, expected);
        for (const auto* mesh : renderer.callsNamed("fillMesh"))
            EXPECT_EQ(mesh->color[0] + mesh->color[1] + mesh->color[2], 0);
    }
}

TEST(ReSystemNoteMarks, arpeggioAcrossTwoStaves)
{
    for (double lowerScale : {1.0, 0.5}) {
        SCOPED_TRACE("lower part scale " + std::to_string(lowerScale));
        ArpeggioFixture fixture;
        fixture.staves.score.part(1)->setScale(lowerScale);
        // From the lower staff's top line (position 0 in bass clef) up to the
        // upper staff's bottom line; the line is drawn in the upper staff.
        MnNote* last = addNoteAt(fixture.upper, -8);
        MnNote* first = addNoteAt(fixture.lower, 0);
        const MnStaff* upperStaff = fixture.upper->staff();
        const MnStaff* lowerStaff = fixture.lower->staff();
        const double drop = upperStaff->position().y - lowerStaff->position().y;
        ASSERT_GT(drop, 8);
        RecordingRenderer renderer;
        ReSystem(&renderer).drawArpeggio(GePoint2d(50, 0), first, last);
        // In the lower staff's steps the upper staff's bottom line lies
        // (drop - 8) / lowerScale above its top line.
        const double span = (-8 + drop) / lowerScale;
        const int steps = int(span + 1 + 1 / lowerScale);
        auto glyphs = placedGlyphs(renderer);
        ASSERT_EQ(int(glyphs.size()), (steps + 1) / 2);
        EXPECT_DOUBLE_EQ(glyphs[0].y, steps % 2 ? -1 : 0);
    }
}
