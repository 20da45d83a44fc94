// Staff furniture: the drawing of everything on a staff that is not a note.

#include "model/MnCodes.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "render/ReExtrusionScope.h"
#include "render/ReGlyph.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cstdlib>

void ReSystem::drawPaper(double x, double y, double width, double height, int rgb, int textured, int frameMode,
                         bool rightShadow)
{
    if (renderer->outputKind == 1)
        return;  // printed and exported pages are the paper themselves
    const double m = staffLineThickness;
    const double k = 4 * staffLineThickness;
    const int r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    {
        ReExtrusionScope depth(renderer, paperDepth);
        renderer->setColor(r, g, b, 239);
        if (textured)
            fillTexturedBar(x + m, y - height - 2 * m - k, x + width + m + k, y - m);
        else
            fillBar(x + m, y - height - 2 * m - k, x + width + m + k, y - m);
    }
    if (renderer->outputKind != 0)
        return;  // the 3-D page is its fill alone

    // A textured page gets a frame of its own colour, darkened.
    if (textured && frameMode != 3)
        renderer->setColor(int(r * 0.78), int(g * 0.78), int(b * 0.78), 255);
    else
        setColorMode(frameMode);
    fillBar(x - m, y - m, x + width + m, y + m);
    fillBar(x - m, y - height - m, x + width + m, y - height + m);
    fillBar(x - m, y - height - m, x + m, y + m);
    fillBar(x + width - m, y - height - m, x + width + m, y + m);

    const double shadow = 2 * k;
    const double shadowBottom = y - height - m - shadow;
    if (rightShadow) {
        fillBar(x + width + m, y - m, x + width + m + shadow, y + m);
        fillBar(x + width + m + k, shadowBottom, x + width + m + shadow, y + m);
        fillBar(x - m, shadowBottom, x + m, y - height - m);
        fillBar(x - m, shadowBottom, x + width + m + shadow, y - height - m - k);
    } else {
        fillBar(x - m, shadowBottom, x + m, y - height - m);
        fillBar(x + width - m, shadowBottom, x + width + m, y - height - m);
        fillBar(x - m, shadowBottom, x + width + m, y - height - m - k);
    }
}

void ReSystem::drawStaffLines(double x, double y, double width)
{
    ReExtrusionScope depth(renderer, staffDepth);
    const double left = compensated(x);
    const double right = left + width * horizontalScale;
    const double half = staffLineThickness / 2;
    for (int line = 0; line < 5; ++line)
        fillBar(left, y - 2 * line - half, right, y - 2 * line + half);
}

void ReSystem::drawGroupBracket(double x, double y, double height, int type, double endX)
{
    ReExtrusionScope depth(renderer, staffDepth);
    double t = staffLineThickness;
    switch (type) {
    case 0: {
        // The brace glyph is half a brace of height 28; the lower half is
        // the upper one mirrored.
        drawGlyph(ReGlyph::braceHalf, x - 3, y - height / 2, 1, height / 28);
        drawGlyph(ReGlyph::braceHalf, x - 3, y - height / 2, 1, -height / 28);
        break;
    }
    case 1: {
        double left = x - 1.5;
        double top = y + 1.5;
        double bottom = top - (height + 3);
        drawGlyph(ReGlyph::bracketEnd, left, top, 0.75, 0.75);
        drawGlyph(ReGlyph::bracketEnd, left, bottom, 0.75, -0.75);
        fillBar(left, bottom, left + 0.75, top);
        break;
    }
    case 2: {
        double left = x - t / 2 - 1.5;
        double top = y + t / 2;
        double bottom = top - (height + t);
        fillBar(left, bottom, left + t, top);
        fillBar(left, top - t, endX, top);
        fillBar(left, bottom, endX, bottom + t);
        break;
    }
    case 3:
        fillBar(x - 1.75, y - height - 0.5, x - 1.25, y + 0.5);
        break;
    default:
        break;
    }
}

void ReSystem::drawClef(double x, double y, int clef, double scale, bool compensate)
{
    if (compensate)
        x = compensated(x);
    // Each clef stands on the line it names: G on the second line from the
    // bottom, F on the fourth, C on the middle line (alto) or the fourth.
    switch (clef) {
    case MnClefTreble:
        drawGlyph(ReGlyph::gClef, x + 0.5, y - 6, scale, scale);
        break;
    case MnClefBass:
        drawGlyph(ReGlyph::fClef, x + 0.5, y - 2, scale, scale);
        break;
    case MnClefAlto:
        drawGlyph(ReGlyph::cClef, x, y - 4, scale, scale);
        break;
    case MnClefTenor:
        drawGlyph(ReGlyph::cClef, x, y - 2, scale, scale);
        break;
    default:
        break;
    }
}

void ReSystem::drawKeySignature(double x, double y, int fifths, int clef, bool cancel, bool compensate)
{
    // Staff positions of the accidentals in treble clef, in the order they
    // are added; the tenor clef writes its sharps lower so that none
    // stands above the staff.
    static const int sharps[7] = {0, -3, 1, -2, -5, -1, -4};
    static const int tenorSharps[7] = {-5, -1, -4, 0, -3, 1, -2};
    static const int flats[7] = {-4, -1, -5, -2, -6, -3, -7};
    if (compensate)
        x = compensated(x);
    const int clefOffset = clef == MnClefBass ? -2 : (clef == MnClefAlto || clef == MnClefTenor) ? -1 : 0;
    const int count = std::min(std::abs(fifths), 7);
    const int* positions = fifths > 0 ? (clef == MnClefTenor ? tenorSharps : sharps) : flats;
    for (int k = 0; k < count; ++k) {
        const double ax = x + 1 + 2 * k;
        const double ay = y + positions[k] + clefOffset;
        if (cancel)
            drawGlyph(ReGlyph::natural, ax, ay, 1, 1);
        else if (fifths > 0)
            drawGlyph(ReGlyph::sharp, ax, ay, 1.25, 1.25);
        else
            drawGlyph(ReGlyph::flat, ax, ay, 1, 1.1);
    }
}

void ReSystem::drawTimeSignature(double x, double y, int type)
{
    x = compensated(x);
    const double d = staffLineThickness / 2;
    const double upper = y - 2;
    const double lower = y - 6;
    // A lower 4 is drawn a little flatter, and a 4 over 4 apart by d so the
    // two figures do not touch.
    auto lowerFour = [&]() { drawGlyph(ReGlyph::figure4, x, lower - d, 1, 0.95); };
    switch (type) {
    case MnTimeCommon:
        drawGlyph(ReGlyph::commonTime, x, y - 4, 1, 1);
        break;
    case MnTime4_4:
        drawGlyph(ReGlyph::figure4, x, upper + d, 1, 1);
        lowerFour();
        break;
    case MnTime2_2:
        drawGlyph(ReGlyph::figure2, x, upper, 1, 1);
        drawGlyph(ReGlyph::figure2, x, lower, 1, 1);
        break;
    case MnTimeCut:
        drawGlyph(ReGlyph::commonTime, x, y - 4, 1, 1);
        fillBar(x - d, y - 7, x + d, y - 1);
        break;
    case MnTime2_4:
        drawGlyph(ReGlyph::figure2, x, upper, 1, 1);
        lowerFour();
        break;
    case MnTime3_4:
        drawGlyph(ReGlyph::figure3, x, upper, 1, 1);
        lowerFour();
        break;
    case MnTime6_8:
        drawGlyph(ReGlyph::figure6, x, upper, 1, 1);
        drawGlyph(ReGlyph::figure8, x, lower, 1, 1);
        break;
    case MnTime9_8:
        drawGlyph(ReGlyph::figure6, x, upper, -1, -1);  // a 6 turned about is a 9
        drawGlyph(ReGlyph::figure8, x, lower, 1, 1);
        break;
    case MnTime3_8:
        drawGlyph(ReGlyph::figure3, x, upper, 1, 1);
        drawGlyph(ReGlyph::figure8, x, lower, 1, 1);
        break;
    case MnTime6_4:
        drawGlyph(ReGlyph::figure6, x, upper, 1, 1);
        lowerFour();
        break;
    case MnTime12_8:
        drawGlyph(ReGlyph::figure1, x - 1.5, upper, 1, 1);
        drawGlyph(ReGlyph::figure2, x + 1.5, upper, 1, 1);
        drawGlyph(ReGlyph::figure8, x, lower, 1, 1);
        break;
    default:
        break;
    }
}

// Where the repeat dots of a barline stand, in staff steps below the top
// line, for a staff or tablature of the line count: the two middle spaces.
static void repeatDotRows(int lines, double dotScale, double* upper, double* lower)
{
    switch (lines) {
    case 3: *upper = 0.5; *lower = 1.5; break;
    case 4: *upper = 0.5; *lower = 2.5; break;
    case 5: *upper = 1.5; *lower = 2.5; break;
    case 6: *upper = 1.5; *lower = 3.5; break;
    case 7: *upper = 2.5; *lower = 3.5; break;
    case 8: *upper = 2.5; *lower = 4.5; break;
    default:
        *upper = 3;
        *lower = 5;
        return;  // not scaled
    }
    *upper *= dotScale;
    *lower *= dotScale;
}

// Where the strokes of a barline stand about its x, in units of s: the
// thick stroke of the final and repeat barlines is centred on x, the thin
// one keeps to the side of the repeat dots.
struct ReBarlineShape {
    int thinCount = 0;
    double thin[2] = {0, 0};
    bool thick = false;
    int dotCount = 0;
    double dots[2] = {0, 0};
};

static ReBarlineShape barlineShape(int code)
{
    ReBarlineShape shape;
    switch (code) {
    case MnBarlineSingle:
        shape.thinCount = 1;
        break;
    case MnBarlineDouble:
        shape.thinCount = 2;
        shape.thin[0] = -0.6;
        shape.thin[1] = 0.6;
        break;
    case MnBarlineFinal:
        shape.thick = true;
        shape.thinCount = 1;
        shape.thin[0] = -1.2;
        break;
    case MnBarlineEndRepeat:
        shape.thick = true;
        shape.thinCount = 1;
        shape.thin[0] = -1.2;
        shape.dotCount = 1;
        shape.dots[0] = -2.2;
        break;
    case MnBarlineStartRepeat:
        shape.thick = true;
        shape.thinCount = 1;
        shape.thin[0] = 1.2;
        shape.dotCount = 1;
        shape.dots[0] = 2.2;
        break;
    case MnBarlineEndStartRepeat:
        shape.thick = true;
        shape.thinCount = 2;
        shape.thin[0] = -1.2;
        shape.thin[1] = 1.2;
        shape.dotCount = 2;
        shape.dots[0] = -2.2;
        shape.dots[1] = 2.2;
        break;
    default:
        break;
    }
    return shape;
}

// At a system's end a start repeat is a single line at the thick line's
// left edge (the next system starts the repeat), and the end-and-start
// repeat only ends.
static void barlineAtSystemEnd(int* code, double* x, double thinWidth)
{
    if (*code == MnBarlineStartRepeat) {
        *code = MnBarlineSingle;
        *x -= 1.5 * thinWidth;
    } else if (*code == MnBarlineEndStartRepeat) {
        *code = MnBarlineEndRepeat;
    }
}

// Calls stroke (centre, width) for each stroke of the barline at x, the
// offsets between the strokes multiplied by offsetScale.
template <typename Stroke>
static void barlineStrokes(const ReBarlineShape& shape, double x, double offsetScale, double thinWidth, Stroke stroke)
{
    if (shape.thick)
        stroke(x, 4 * thinWidth);
    for (int i = 0; i < shape.thinCount; ++i)
        stroke(x + shape.thin[i] * offsetScale, thinWidth);
}

void ReSystem::drawBarline(double x, double y, double height, int code, bool systemStart, bool systemEnd, double s,
                           double topScale, double bottomScale, int lines, double dotScale)
{
    const double t = staffLineThickness;
    double upperDots, lowerDots;
    repeatDotRows(lines, dotScale, &upperDots, &lowerDots);
    // At a system's start only the repeat that begins there shows.
    if (systemStart) {
        if (code == MnBarlineEndStartRepeat)
            code = MnBarlineStartRepeat;
        if (code != MnBarlineStartRepeat)
            return;
    }
    if (systemEnd)
        barlineAtSystemEnd(&code, &x, t * s);

    ReExtrusionScope depth(renderer, staffDepth);
    const double top = y + t / 2 * topScale;
    const double bottom = y - height - t / 2 * bottomScale;
    const ReBarlineShape shape = barlineShape(code);
    barlineStrokes(shape, x, s, t * s,
                   [&](double centre, double width) { fillBar(centre - width / 2, bottom, centre + width / 2, top); });
    const double radius = 2 * t * topScale;
    const int segments = zoomSegments();
    for (int i = 0; i < shape.dotCount; ++i) {
        const double dotX = x + shape.dots[i] * s;
        renderer->fillEllipse(dotX, y - upperDots * topScale, radius, radius, 0, segments);
        renderer->fillEllipse(dotX, y - lowerDots * topScale, radius, radius, 0, segments);
    }
}

void ReSystem::drawBarlineLink(double x, double y, double height, double depth, int code, bool systemEnd, double s)
{
    const double t = staffLineThickness;
    if (systemEnd)
        barlineAtSystemEnd(&code, &x, t * s);
    ReExtrusionScope extrusion(renderer, staffDepth);
    const double top = y + t * s / 2;
    const double bottom = y - height - t * s / 2;
    // The strokes stand where the barline puts them on the staves, but the
    // offsets between them are not scaled: a link joins staves of
    // different scales.
    barlineStrokes(barlineShape(code), x, 1, t * s, [&](double centre, double width) {
        const double left = centre - width / 2, right = centre + width / 2;
        renderer->fillQuad3d(left, top, 0, left, bottom, depth, right, bottom, depth, right, top, 0);
    });
}

// The staff, time and score of a staff's own definition or of a staff
// change; false for a definition of neither.
static bool placeOfDefinition(MnStaffDefinition* definition, MnStaff** staff, int* time)
{
    if (!definition)
        return false;
    if (definition->isKindOf(MnStaffChange::staticClass())) {
        MnStaffChange* change = static_cast<MnStaffChange*>(definition);
        *staff = change->staff();
        *time = change->startTime();
    } else if (definition->isKindOf(MnStaff::staticClass())) {
        *staff = static_cast<MnStaff*>(definition);
        *time = 0;
    } else {
        return false;
    }
    return *staff != nullptr;
}

// The key to draw for a key change and whether it is drawn as naturals: a
// change to no key cancels the key in force just before it.
static int keyToDraw(const MnStaffDefinition* definition, const MnStaff* staff, int time, bool* cancel)
{
    *cancel = false;
    int fifths = definition->key();
    if (fifths != 0 || time <= 0)
        return fifths;
    const MnStaffDefinition* before = staff->definitionAt(time - 1, false);
    *cancel = true;
    return before ? before->key() : 0;
}

void ReSystem::drawStaffChange(MnStaffDefinition* definition, double x, double y, double offset)
{
    MnStaff* staff = nullptr;
    int time = 0;
    if (!placeOfDefinition(definition, &staff, &time))
        return;
    double h = compensated(x) - offset;
    setColorBySelection(definition);
    // The clef of a change is drawn at 6/8 of full size in a 6-wide column.
    if (definition->changesClef()) {
        drawClef(h + 3, y, definition->clef(), 0.75, false);
        renderer->markRect(GePoint2d(h, y), 6, -definition->height(), definition);
        h += 6;
    }
    if (definition->changesKey()) {
        bool cancel = false;
        const int fifths = keyToDraw(definition, staff, time, &cancel);
        drawKeySignature(h + 1, y, fifths, definition->clef(), cancel, false);
        MnScore* score = staff->score();
        const double keyWidth = score ? score->keySignatureWidth(time, true, 2) : 0;
        renderer->markRect(GePoint2d(h, y), keyWidth / staff->partScale(), -definition->height(), definition);
    }
}

void ReSystem::drawKeyTimeChange(MnStaffDefinition* definition, GePoint2d origin, double x)
{
    if (!definition || !definition->isKindOf(MnStaffChange::staticClass()))
        return;
    MnStaffChange* change = static_cast<MnStaffChange*>(definition);
    MnStaff* staff = change->staff();
    MnScore* score = staff ? staff->score() : nullptr;
    if (!score)
        return;
    const int time = change->startTime();
    // The room the score keeps for the signatures at the time, with and
    // without its padding; each signature stands right in its own room.
    const double key0 = score->keySignatureWidth(time, true, 0);
    const double key2 = score->keySignatureWidth(time, true, 2);
    const double time0 = score->timeSignatureWidth(time, 0);
    const double time2 = score->timeSignatureWidth(time, 2);
    if (change->changesKey()) {
        setColorBySelection(change);
        bool cancel = false;
        const int fifths = keyToDraw(change, staff, time, &cancel);
        drawKeySignature(x + origin.x + (key2 - key0), origin.y, fifths, change->clef(), cancel, true);
    }
    if (change->changesTime()) {
        setColorBySelection(change);
        drawTimeSignature(x + origin.x + key2 + (time2 - time0) + time0 / 2, origin.y, change->time());
    }
    markElementSpan(origin, key2 + x + time2, -change->height(), change);
}

void ReSystem::drawClefChange(MnStaffDefinition* definition, double x, double y, double offset)
{
    if (!definition || !definition->isKindOf(MnStaffChange::staticClass()) || !definition->changesClef())
        return;
    MnStaffChange* change = static_cast<MnStaffChange*>(definition);
    const double column = 6 * (change->staff() ? change->staff()->partScale() : 1.0);
    const double left = x - offset - column;
    if (isSelected(change)) {
        setColorMode(3);
        drawStaffLines(left, y, column + offset);
    } else {
        setColorMode(2);
    }
    drawClef(left + column / 2, y, change->clef(), 0.75, true);
    markElementSpan(GePoint2d(left, y), column, -change->height(), change);
}

void ReSystem::markElementSpan(GePoint2d origin, double width, double height, MnElement* element)
{
    renderer->markSpan(GePoint2d(compensated(origin.x), origin.y),
                       GePoint2d(compensated(origin.x + width), origin.y + height), element);
}
