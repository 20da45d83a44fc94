// Noteheads, stems, ledger lines and rests. The text composer also uses the
// heads and stems for the note figure of a metronome mark.

#include "model/MnCodes.h"
#include "model/MnTicks.h"
#include "render/ReExtrusionScope.h"
#include "render/ReGlyph.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>

int ReSystem::zoomSegments() const
{
    return renderer->viewWidth < 50 ? 64 : renderer->viewWidth < 100 ? 32 : 16;
}

int ReSystem::fineSegments() const
{
    switch (renderer->outputKind) {
    case 0:
        return zoomSegments();
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
        dx = 1.5 * d * std::sin(stemAngle);
        dy = d * std::cos(stemAngle);
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

void ReSystem::drawLedgerLines(double x, double y, int top, int bottom, bool small)
{
    ReExtrusionScope depth(renderer, staffDepth);
    const double k = small ? 0.6 : 1;  // grace notes are drawn at 0.6
    const double cx = compensated(x);
    auto line = [&](int position) {
        fillBar(cx - 2.25 * k, y + position - 0.15 * k, cx + 2.25 * k, y + position + 0.15 * k);
    };
    // Lines stand on even positions: above the top line (0) from the
    // highest note down, below the bottom line (-8) from the lowest up.
    const bool topOdd = top % 2 != 0, bottomOdd = bottom % 2 != 0;
    for (int n = topOdd ? top - 1 : top; n > 0; n -= 2)
        line(n);
    for (int n = bottomOdd ? bottom + 1 : bottom; n < -8; n += 2)
        line(n);
}

void ReSystem::drawRest(double x, double y, int duration, bool dot, double position)
{
    const double cx = compensated(x);
    // The short rests stack one hook per value on a slanted stem, two
    // steps apart.
    struct Offset {
        double dx, dy;
    };
    static const Offset hooks64th[] = {{0.295, 0}, {0.885, 2}, {-0.295, -2}, {-0.885, -4}};
    static const Offset hooks32nd[] = {{0, 0}, {0.59, 2}, {-0.59, -2}};
    static const Offset hooks16th[] = {{0.295, 0}, {-0.295, -2}};
    static const Offset hooksEighth[] = {{0, 0}};
    const Offset* hooks = nullptr;
    int hookCount = 0;
    switch (duration) {
    case MnTicks64th:
        hooks = hooks64th;
        hookCount = 4;
        break;
    case MnTicks32nd:
        hooks = hooks32nd;
        hookCount = 3;
        break;
    case MnTicksSixteenth:
        hooks = hooks16th;
        hookCount = 2;
        break;
    case MnTicksEighth:
        hooks = hooksEighth;
        hookCount = 1;
        break;
    default:
        break;
    }

    GePoint2d last;  // the point the dot follows
    if (hookCount > 0) {
        for (int i = 0; i < hookCount; ++i) {
            last = GePoint2d(cx + hooks[i].dx, y + hooks[i].dy);
            drawGlyph(ReGlyph::restHook, last.x, last.y, 1, 1);
        }
    } else if (duration == MnTicksQuarter) {
        last = GePoint2d(cx, y);
        drawGlyph(ReGlyph::quarterRest, last.x, last.y, 1, 1);
    } else {
        // A whole rest hangs from the line above the one a half rest sits on.
        if (duration == MnTicksPerWhole) {
            y += 2;
            position += 2;
        }
        if (position > 1 || position < -9) {
            ReExtrusionScope depth(renderer, staffDepth);
            fillBar(cx - 2.25, y - 0.15, cx + 2.25, y + 0.15);
        }
        const double blockY = duration == MnTicksPerWhole ? y - 0.6 : duration == MnTicksHalf ? y + 0.6 : y;
        fillBar(cx - 1.5, blockY - 0.6, cx + 1.5, blockY + 0.6);
        last = GePoint2d(cx, blockY);
    }
    if (dot) {
        const double radius = 2 * staffLineThickness;
        renderer->fillEllipse(last.x + 2.5, last.y + 1, radius, radius, 0, 16);
    }
}
