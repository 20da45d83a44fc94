// Noteheads and stems: the parts of a note that the text composer also
// needs for the note figure of a metronome mark.

#include "model/MnCodes.h"
#include "model/MnTicks.h"
#include "render/ReGlyph.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>

int ReSystem::fineSegments() const
{
    switch (renderer->outputKind) {
    case 0:
        return renderer->viewWidth < 50 ? 64 : renderer->viewWidth < 100 ? 32 : 16;
    case 1:
        return 64;  // print and export
    case 2:
        return 32;  // 3-D mesh
    default:
        return 16;
    }
}

void ReSystem::drawNote(double x, double y, int duration, bool dot, double dotDx, double dotDy, int accidental,
                        double accidentalDx)
{
    double cx = compensated(x);
    double ax = cx - 3 + accidentalDx;
    switch (accidental) {
    case MnAccidentalNatural:
        drawGlyph(ReGlyph::natural, ax, y, 1, 1);
        break;
    case MnAccidentalSharp:
        drawGlyph(ReGlyph::sharp, ax, y, 1.25, 1.25);
        break;
    case MnAccidentalDoubleSharp:
        drawGlyph(ReGlyph::doubleSharp, ax, y, 1.1, 1.1);
        break;
    case MnAccidentalFlat:
        drawGlyph(ReGlyph::flat, ax, y, 1, 1.1);
        break;
    case MnAccidentalDoubleFlat:
        drawGlyph(ReGlyph::flat, ax - 2, y, 1, 1.1);
        drawGlyph(ReGlyph::flat, ax, y, 1, 1.1);
        break;
    default:
        break;  // MnAccidentalNone
    }

    if (duration == MnTicksPerWhole)
        drawGlyph(ReGlyph::wholeNotehead, cx, y, 1.1, 1.1);
    else if (duration == MnTicksHalf)
        drawGlyph(ReGlyph::halfNotehead, cx, y, 1.3, 1.1);
    else
        renderer->fillEllipse(cx, y, 1.5, 1.0, 22.5, fineSegments());  // a filled head, tilted

    if (dot) {
        double radius = 2 * staffLineThickness;
        renderer->fillEllipse(cx + dotDx + 2.5, y + dotDy, radius, radius, 0, 24);
    }
}

// One flag: its offset from the stem end (times the direction) and its
// scales up and down.
struct ReFlagShape {
    double offset;
    double sx;
    double syUp;
    double syDown;
};

void ReSystem::drawStem(double x, double y, int top, int bottom, int direction, int duration, bool small,
                        bool slash, int* stemEnd, double* lowest, double* highest)
{
    if (duration == MnTicksPerWhole)
        return;

    bool up = direction >= 1;
    int end = up ? (small ? std::max(top + 4, -6) : std::max(top + 7, -4))
                 : (small ? std::min(bottom - 4, -2) : std::min(bottom - 7, -4));
    if (stemEnd)
        *stemEnd = end;
    if (lowest)
        *lowest = std::min(*lowest, double(end));
    if (highest)
        *highest = std::max(*highest, double(end));

    double start = up ? bottom : top;
    // Small notes are drawn inside a 0.6 scale: the stem keeps its length
    // on the page.
    double e = small ? (end - start) / 0.6 + start : end;

    double cx = compensated(x);
    double d = direction;
    double dx, dy;
    if (duration == MnTicksHalf) {
        dx = 1.525 * d;
        dy = 0.31 * d;
    } else {
        const double angle = 1.2915436464758039;  // 74 degrees: where the stem meets the tilted head
        dx = 1.5 * d * std::sin(angle);
        dy = d * std::cos(angle);
    }
    double stemX = cx + dx;
    double S = stemThickness;
    fillBar(std::min(stemX - d * S, stemX), std::min(y + start + dy, y + e), std::max(stemX - d * S, stemX),
            std::max(y + start + dy, y + e));

    static const ReFlagShape eighth[] = {{0, 1.2, 1, 0.9}};
    static const ReFlagShape sixteenth[] = {{0, 1.3, 0.8, 0.65}, {-2, 1.2, 0.8, 0.6}};
    static const ReFlagShape thirtySecond[] = {{0, 1.3, 0.55, 0.5}, {-1.25, 1.3, 0.65, 0.5}, {-2.5, 1.2, 0.8, 0.52}};
    static const ReFlagShape sixtyFourth[] = {
        {0, 1.3, 0.43, 0.35}, {-1, 1.3, 0.5, 0.35}, {-2, 1.3, 0.6, 0.4}, {-3, 1.2, 0.75, 0.45}};
    const ReFlagShape* flags = nullptr;
    int flagCount = 0;
    switch (duration) {
    case MnTicksEighth:
        flags = eighth;
        flagCount = 1;
        break;
    case MnTicksSixteenth:
        flags = sixteenth;
        flagCount = 2;
        break;
    case MnTicks32nd:
        flags = thirtySecond;
        flagCount = 3;
        break;
    case MnTicks64th:
        flags = sixtyFourth;
        flagCount = 4;
        break;
    default:
        break;  // quarter and half notes have no flag
    }
    double flagX = up ? stemX - 0.01 : stemX + S - 0.01;
    for (int i = 0; i < flagCount; ++i) {
        const ReFlagShape& flag = flags[i];
        drawGlyph(ReGlyph::flag, flagX, y + e + flag.offset * d, flag.sx, d * (up ? flag.syUp : flag.syDown));
    }

    if (slash) {
        double m = std::cos(M_PI / 4) * S / 2;
        double n = cx + (up ? 4 : 1.5) - m;
        double yb = y + e - d;
        double ya = yb - 4 * d;
        renderer->fillQuad(n - 4 - m, ya + d * m, n - 4 + m, ya - d * m, n + m, yb - d * m, n - m, yb + d * m);
    }
}
