// Marks that belong to notes but are not part of them: ties, articulation
// marks and the arpeggio line.

#include "foundation/GeSpline2d.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnNote.h"
#include "model/MnStaff.h"
#include "render/ReGlyph.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>

void ReSystem::drawTie(double x1, double x2, double y, int direction, int startStem, int endStem, bool startLowest,
                       bool startHighest, bool endLowest, bool endHighest)
{
    const bool startInner = !startLowest && !startHighest;
    const bool endInner = !endLowest && !endHighest;
    // A tie keeps clear of a head that has a neighbour on the tie's side in
    // its chord, and of a stem on that side; otherwise it starts close.
    const double wide = 1.75, close = 0.5;
    bool startWide, endWide;
    if (direction < 0) {
        startWide = startInner || (startHighest && !startLowest);
        endWide = endInner || (endHighest && !endLowest) || endStem == -1;
    } else {
        startWide = startInner || (startLowest && !startHighest) || startStem == 1;
        endWide = endInner || (endLowest && !endHighest);
    }
    const double startGap = startWide ? wide : close;
    const double endGap = endWide ? wide : close;
    // Between two inner notes the tie lies flat in the space.
    const double lift = startInner && endInner ? 0.5 : 1.5;
    const double y0 = y + direction * lift;

    const GePoint2d p0(compensated(x1) + startGap, y0);
    const GePoint2d p3(compensated(x2) - endGap, y0);
    const double inset = (p3.x - p0.x) * 0.16;
    const GePoint2d p1(p0.x + inset, y0 + 2 * direction);
    const GePoint2d p2(p3.x - inset, y0 + 2 * direction);
    const GeSpline2d curve(p0, p1, p2, p3);
    renderer->strokeCurve(&curve, staffLineThickness / 2, 2 * staffLineThickness);
}

void ReSystem::drawArticulations(MnChord* chord, GePoint2d point, int direction, double* lowest, double* highest)
{
    if (!chord || !lowest || !highest)
        return;
    const double x = compensated(point.x);
    const double y = point.y;
    const bool small = chord->isGrace();
    const double k = small ? 0.6 : 1;        // grace chords are drawn at 0.6
    const double large = small ? 0.72 : 1.2;  // the marks drawn larger
    const int bits = chord->articulations();
    // Outside the notes: above them when the stem points down.
    const bool above = direction < 0;
    const double outward = above ? 1 : -1;
    auto placeOutside = [&](double position) {
        if (above)
            *highest = position;
        else
            *lowest = position;
    };
    // A dot or a line goes next to the notes, into a space when it would
    // fall on a staff line.
    auto nextToNotes = [&]() {
        double p = std::round(above ? *highest + 1 : *lowest - 1);
        if (std::fmod(p, 2) == 0 && p >= -8 && p <= 0)
            p += outward;
        return p;
    };

    if (bits & MnArticulationStaccato) {
        const double p = nextToNotes();
        const double radius = 1.5 * staffLineThickness * k;
        renderer->fillEllipse(x, y + p, radius, radius, 0, 24);
        placeOutside(p);
    }
    if (bits & MnArticulationTenuto) {
        const double p = nextToNotes();
        fillBar(x - 1.25 * k, y + p - 0.15 * k, x + 1.25 * k, y + p + 0.15 * k);
        placeOutside(p);
    }
    if (bits & MnArticulationStrongAccent) {
        const double p = *highest + 2.2;  // always above
        drawGlyph(ReGlyph::strongAccent, x, y + p, large, large);
        *highest = p + 1.2;
    }
    // Accents and staccatissimo stand outside the staff as well.
    if (bits & MnArticulationAccent) {
        const double p = above ? std::max(0.0, *highest) + 2 : std::min(-8.0, *lowest) - 2;
        drawGlyph(ReGlyph::accent, x, y + p, k, k);
        placeOutside(p + outward);
    }
    if ((bits & MnArticulationStaccatissimo) && !(bits & MnArticulationStaccato)) {
        const double p = above ? std::max(0.0, *highest) + 1 : std::min(-8.0, *lowest) - 1;
        drawGlyph(ReGlyph::staccatissimo, x, y + p, k, outward * k);  // its point towards the notes
        placeOutside(p + 2 * outward);
    }
    if (bits & MnArticulationFermata) {
        const double p = std::max(0.0, *highest) + 2;  // always above
        drawGlyph(ReGlyph::fermata, x, y + p, large, large);
        *highest = p;
    }
}

void ReSystem::drawArpeggio(GePoint2d point, MnNote* first, MnNote* last)
{
    if (!first || !last || !first->chord() || !last->chord())
        return;
    MnChord* firstChord = first->chord();
    const MnStaff* firstStaff = firstChord->staff();
    const MnStaff* lastStaff = last->chord()->staff();
    if (!firstStaff || !lastStaff)
        return;
    // The line is drawn in the first note's staff, at its part's scale; a
    // last note on another staff is brought into those steps.
    const double firstScale = firstStaff->partScale();
    const double ratio = lastStaff->partScale() / firstScale;
    const double bottom = first->position().y;
    const double staffDrop = (lastStaff->position().y - firstStaff->position().y) / firstScale;
    const double top = last->position().y * ratio + staffDrop;
    const int steps = int(std::trunc(top - bottom + 1 + ratio));

    setColorMode(2);
    const double x0 = compensated(point.x) - firstChord->leftExtent(1) + 1;
    const double y0 = point.y + bottom - (steps % 2 != 0 ? 1 : 0);
    const int type = first->arpeggioType();
    // One wave per two steps; an arrow takes the place of the first wave
    // (down) or of the last (up).
    for (int i = 0; i < steps; i += 2) {
        if (type == 2 && i == 0) {
            drawGlyph(ReGlyph::arpeggioArrowhead, x0, y0, -1, -1);
            continue;
        }
        if (type == 1 && i + 2 >= steps) {
            drawGlyph(ReGlyph::arpeggioArrowhead, x0, y0 + i, 1, 1);
            break;
        }
        drawGlyph(ReGlyph::arpeggioWave, x0, y0 + i, 1, 1);
    }
}
