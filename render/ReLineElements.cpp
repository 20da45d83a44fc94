#include "foundation/BcString.h"
#include "model/EdPath.h"
#include "model/MnDynamic.h"
#include "model/MnMeasure.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "render/ReGlyph.h"
#include "render/ReLine.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>

// The drawings of the time-attached elements that ReLine::composeStaff
// places: each maps its start onto the system's layout, draws in the colour
// set for it (voltas and jump marks choose their own) and marks its handles.

static void drawGlyph(ReRenderer* renderer, const ReGlyph& glyph, double x, double y, double scale)
{
    renderer->fillMesh(glyph.vertices, glyph.vertexCount, glyph.triangles, glyph.triangleCount, x, y, scale, scale);
}

namespace {
// A dynamic mark: its hit box (origin, width, height from the anchor x and
// y) and up to three letters at x offsets.
struct DynamicMark
{
    double boxLeft, boxTop, boxWidth, boxHeight;
    const ReGlyph* letters[3];
    double letterX[3];
};
}

static const DynamicMark dynamicMarks[] = {
    {-4.3, 1.1, 8.6, -3.1, {&ReGlyph::dynamicP, &ReGlyph::dynamicP, &ReGlyph::dynamicP}, {-2.5, 0.0, 2.5}},
    {-3.05, 1.1, 6.1, -3.1, {&ReGlyph::dynamicP, &ReGlyph::dynamicP, nullptr}, {-1.25, 1.25, 0}},
    {-1.8, 1.1, 3.6, -3.1, {&ReGlyph::dynamicP, nullptr, nullptr}, {0.0, 0, 0}},
    {-3.1, 1.1, 6.2, -3.1, {&ReGlyph::dynamicM, &ReGlyph::dynamicP, nullptr}, {-1.4, 1.3, 0}},
    {-3.15, 2.5, 6.3, -4.8, {&ReGlyph::dynamicM, &ReGlyph::dynamicF, nullptr}, {-1.45, 1.15, 0}},
    {-2.0, 2.5, 4.0, -4.8, {&ReGlyph::dynamicF, nullptr, nullptr}, {0.0, 0, 0}},
    {-3.1, 2.5, 6.2, -4.8, {&ReGlyph::dynamicF, &ReGlyph::dynamicF, nullptr}, {-1.1, 1.1, 0}},
    {-4.2, 2.5, 8.4, -4.8, {&ReGlyph::dynamicF, &ReGlyph::dynamicF, &ReGlyph::dynamicF}, {-2.2, 0.0, 2.2}},
};

static const char* wordDynamic(int kind)
{
    switch (kind) {
    case 11: return "decresc.";
    case 12: return "dim.";
    case 13: return "mor.";
    case 20: return "cresc. molto";
    case 21: return "decresc. molto";
    case 22: return "dim. molto";
    case 23: return "mor. molto";
    case 30: return "poco cresc.";
    case 31: return "poco decresc.";
    case 32: return "poco dim.";
    case 33: return "poco mor.";
    default: return "cresc.";
    }
}

void ReLine::drawDynamic(MnDynamic* dynamic, int lineIndex, GePoint2d at, double width, int first, int last)
{
    const double x = compensated(at.x);
    width *= horizontalFactor();
    const double offset = dynamic->offset();
    const double y = offset > -4.0 ? at.y + offset + 2.3 : at.y + offset - 2.5;
    const int kind = dynamic->kind();

    if (kind >= 0 && kind <= 7) {
        const DynamicMark& mark = dynamicMarks[kind];
        setLinePath(dynamic, lineIndex, 0);
        renderer->markRect(GePoint2d(x + mark.boxLeft, y + mark.boxTop), mark.boxWidth, mark.boxHeight, dynamic);
        resetPath();
        for (int i = 0; i < 3; ++i) {
            if (mark.letters[i])
                drawGlyph(renderer, *mark.letters[i], x + mark.letterX[i], y, 2.0);
        }
        return;
    }

    if (MnDynamic::isHairpin(kind)) {
        const int s = dynamic->start();
        const int L = dynamic->length();
        const int Tf = gridTimes[first];
        const int Tl = gridTimes[last];
        // A damaged file may hold a hairpin without length: it opens nowhere.
        double h0 = 0.0;
        double h1 = 0.0;
        if (L > 0) {
            const double f0 = double(Tf - s) / L;
            const double f1 = double(Tl - s) / L;
            const bool crescendo = kind == MnDynamicCrescendoHairpin;
            h0 = crescendo ? 2 * f0 : 2 * (1 - f0);
            h1 = crescendo ? 2 * f1 : 2 * (1 - f1);
        }
        drawHairpin(GePoint2d(x, y), width, h0, h1);
        const double H = kind == MnDynamicCrescendoHairpin ? h1 : h0;
        if (Tf == s) {
            setLinePath(dynamic, lineIndex, 0);
            renderer->markRect(GePoint2d(x, y + H), width / 2, -2 * H, dynamic);
            resetPath();
        }
        if (Tl == s + L) {
            setLinePath(dynamic, lineIndex, 1);
            renderer->markRect(GePoint2d(x + width, y + H), -width / 2, -2 * H, dynamic);
            resetPath();
        }
        return;
    }

    if (kind < 10)
        return;
    const BcString text(wordDynamic(kind));
    const double size = 12.0;
    const int font = 2;  // Times italic
    double bx = 0, by = 0, w = 0, h = 0;
    if (!renderer->measureText(text, size, font, false, &bx, &by, &w, &h))
        return;
    const double tx = x - 1.5;
    const double ty = y - h / 2;
    renderer->drawText(text, tx - bx, ty - by, size, font, false);
    setLinePath(dynamic, lineIndex, 0);
    renderer->markRect(GePoint2d(tx, ty), w, h, dynamic);
    resetPath();
}

void ReLine::drawPedal(MnPedal* pedal, int lineIndex, GePoint2d at, double width)
{
    const double x = compensated(at.x);
    width *= horizontalFactor();
    const double t = staffLineThickness;
    const double y = at.y + pedal->offset();
    const double y0 = y - 1.8;  // the line
    double xL = x;
    double xR = x + width;
    const double u = 1.8 / std::sqrt(6.48);  // along the diagonal (1.8, 1.8)
    const double ut = u * t;
    const int kind = pedal->kind();

    if (kind >= 0 && kind <= 4) {
        drawGlyph(renderer, ReGlyph::pedalMark, x, y, 1.8);
        setLinePath(pedal, lineIndex, 0);
        renderer->markRect(GePoint2d(x - 2.826, y + 1.8), 5.652, -3.6, pedal);
        resetPath();
        // The dashes of kind 2 touch the marks.
        xL += 2.826 + (kind == 2 ? 0.0 : 0.5);
    }
    if (kind == 2 || kind == 3) {
        drawGlyph(renderer, ReGlyph::pedalRelease, x + width, y, 1.8);
        setLinePath(pedal, lineIndex, 1);
        renderer->markRect(GePoint2d(x + width - 1.854, y + 1.8), 3.708, -3.6, pedal);
        resetPath();
        xR -= 1.854 + (kind == 2 ? 0.0 : 0.5);
    }
    if (kind == 5 || kind == 6) {
        renderer->fillQuad(xL, y0, xL, y0 + 1.8, xL + t, y0 + 1.8, xL + t, y0);
        setLinePath(pedal, lineIndex, 0);
        renderer->markRect(GePoint2d(xL, y0), 1.8, 1.8, pedal);
        resetPath();
    } else if (kind >= 7) {
        renderer->fillQuad(xL, y0 + 1.8, xL + ut, y0 + 1.8 + ut, xL + 1.8 + ut, y0 + ut, xL + 1.8, y0);
        setLinePath(pedal, lineIndex, 0);
        renderer->markRect(GePoint2d(xL, y0), 1.8, 1.8, pedal);
        resetPath();
        xL += 1.8;
    }
    if (kind == 1 || kind == 6 || kind == 8) {
        renderer->fillQuad(xR - 1.8, y0, xR - 1.8 - ut, y0 + ut, xR - ut, y0 + 1.8 + ut, xR, y0 + 1.8);
        setLinePath(pedal, lineIndex, 1);
        renderer->markRect(GePoint2d(xR, y0), -1.8, 1.8, pedal);
        resetPath();
        xR -= 1.8;
    } else if (kind == 0 || kind == 5 || kind == 7) {
        renderer->fillQuad(xR - t, y0, xR - t, y0 + 1.8, xR, y0 + 1.8, xR, y0);
        setLinePath(pedal, lineIndex, 1);
        renderer->markRect(GePoint2d(xR, y0), -1.8, 1.8, pedal);
        resetPath();
    }
    if (kind == 0 || kind == 1 || (kind >= 5 && kind <= 8)) {
        renderer->fillQuad(xL, y0, xL, y0 + t, xR, y0 + t, xR, y0);
        setLinePath(pedal, lineIndex, -1);
    } else if (kind == 2) {
        drawDashes(GePoint2d(xL, y0), xR - xL, false, -1);
        setLinePath(pedal, lineIndex, 0);
    } else {
        return;
    }
    renderer->markRect(GePoint2d(xL, y0), xR - xL, 1.8, pedal);
    resetPath();
}

void ReLine::drawOctave(MnOctave* octave, int lineIndex, GePoint2d at, double width, bool continued, bool open,
                        int first, int last)
{
    double x = compensated(at.x);
    width *= horizontalFactor();
    const int kind = octave->kind();
    const int side = kind >= 1 ? 1 : -1;
    const int staffIndex = octave->staff() ? octave->staff()->index() : 0;
    if (!continued) {
        x -= 1.5;
        width += 1.5;
    }

    // Clear of the chords under it, and of an earlier octave line on the
    // same grid points, which it then covers in the extents.
    double y;
    const bool spans = first < last && staffIndex >= 0 && staffIndex < staffCount;
    if (side > 0) {
        if (spans) {
            double m = 2.0;
            for (int g = first; g < last && g < extentCount(); ++g)
                m = std::max(m, topExtents[g * staffCount + staffIndex]);
            const double level = m + 4.0;
            y = at.y + level;
            for (int g = first; g < last && g < extentCount(); ++g)
                topExtents[g * staffCount + staffIndex] = level;
        } else {
            y = at.y + 6.0;
        }
    } else {
        if (spans) {
            double m = -10.0;
            for (int g = first; g < last && g < extentCount(); ++g)
                m = std::min(m, bottomExtents[g * staffCount + staffIndex]);
            const double level = m - 4.0;
            y = at.y + level;
            for (int g = first; g < last && g < extentCount(); ++g)
                bottomExtents[g * staffCount + staffIndex] = level;
        } else {
            y = at.y - 14.0;
        }
    }

    const char* label = "";
    if (kind == -1 || kind == 1)
        label = continued ? "(8" : "8";
    else if (kind == -2 || kind == 2)
        label = continued ? "(15" : "15";
    else if (kind == 0)
        label = continued ? "(loco" : "loco";
    const char* suffix = kind == -2 ? "mb" : kind == -1 ? "vb" : kind == 1 ? "va" : kind == 2 ? "ma" : nullptr;
    const int font = 2;  // Times italic

    double bx = 0, by = 0, w = 0, h = 0;
    if (renderer->measureText(BcString(label), 12.0, font, false, &bx, &by, &w, &h)) {
        const double lx = x;
        const double ly = y;
        const double labelHeight = h;
        if (side < 0)
            y -= h;
        auto drawPart = [&](const BcString& text, double size) {
            double px = 0, py = 0, pw = 0, ph = 0;
            if (!renderer->measureText(text, size, font, false, &px, &py, &pw, &ph))
                return;
            renderer->drawText(text, x - px, y - py, size, font, false);
            x += pw;
            width -= pw;
        };
        drawPart(BcString(label), 12.0);
        if (suffix)
            drawPart(BcString(suffix), 10.0);
        if (continued)
            drawPart(BcString(")"), 12.0);
        if (side < 0)
            y += labelHeight;
        if (!continued)
            setLinePath(octave, lineIndex, 0);
        renderer->markRect(GePoint2d(lx, ly), x - lx, side * labelHeight, octave);
        resetPath();
    }

    if (kind == 0)
        return;
    drawDashes(GePoint2d(x, y), width, false, side);
    renderer->markRect(GePoint2d(x, y), width, -2.0 * side, octave);
    if (open)
        return;
    drawDashes(GePoint2d(x + width, y), 4.0, true, side);
    setLinePath(octave, lineIndex, 1);
    renderer->markRect(GePoint2d(x + width, y), -2.0, -4.0 * side, octave);
    resetPath();
}

void ReLine::setMeasureColour(MnMeasure* measure)
{
    bool selected = false;
    MnStaff* staff = measure->staff();
    MnScore* score = staff ? staff->score() : nullptr;
    const int index = staff ? staff->measureArray().indexOf(measure) : -1;
    if (score && index >= 0) {
        for (int s = 0; s < score->staffCount() && !selected; ++s) {
            MnStaff* other = score->staff(s);
            selected = index < other->measureCount() && renderer->contains(other->measure(index));
        }
    } else {
        selected = renderer->contains(measure);
    }
    setColorMode(selected ? 3 : 2);
}

void ReLine::drawVolta(MnMeasure* measure, GePoint2d at, double width)
{
    setMeasureColour(measure);
    const double x = compensated(at.x);
    const double length = width * horizontalFactor() - 0.6;
    const double half = staffLineThickness / 2;
    const double y0 = at.y + 1.0;
    fillBar(x - half, y0 - half, x + half, y0 + 4 + half);
    fillBar(x - half, y0 + 4 - half, x + length + half, y0 + 4 + half);
    if (measure->isVoltaClosed())
        fillBar(x + length - half, y0 - half, x + length + half, y0 + 4 + half);
    const BcString text = measure->voltaText(false);
    double bx = 0, by = 0, w = 0, h = 0;
    if (!renderer->measureText(text, 8.0, 0, false, &bx, &by, &w, &h))
        return;
    renderer->drawText(text, x + 1.5 - bx, y0 - by - h, 8.0, 0, false);
    renderer->markRect(GePoint2d(x, y0), w + 1.5, 4.0, measure);
}

static const char* jumpText(int jump)
{
    switch (jump) {
    case 2: return "To Coda";
    case 3: return "D.C. al Fine";
    case 4: return "D.S. al Fine";
    case 5: return "D.C. al Coda";
    case 6: return "D.S. al Coda";
    default: return "Fine";
    }
}

void ReLine::drawJumpMarks(MnMeasure* measure, GePoint2d at, double width)
{
    setMeasureColour(measure);
    const double ax = compensated(at.x);
    const double ay = at.y + 8.0;
    const int marker = measure->repeatMarker();
    if (marker == 1 || marker == 2) {
        drawGlyph(renderer, marker == 1 ? ReGlyph::segno : ReGlyph::coda, ax, ay, 1.0);
        renderer->markRect(GePoint2d(ax - 2.5, ay - 3.0), 5.0, 6.0, measure);
    }
    if (measure->repeatJump() == 0)
        return;
    const BcString text(jumpText(measure->repeatJump()));
    double bx = 0, by = 0, w = 0, h = 0;
    if (!renderer->measureText(text, 12.0, 0, false, &bx, &by, &w, &h))
        return;
    // Right-aligned 1.0 before the measure's end.
    const double tx = ax + (width * horizontalFactor() - w) - 1.0;
    const double ty = ay - h / 2;
    renderer->drawText(text, tx - bx, ty - by, 12.0, 0, false);
    renderer->markRect(GePoint2d(tx, ty), w, h, measure);
}
