#include "render/ReSlur.h"

#include "foundation/BcClassManager.h"
#include "foundation/GeSpline2d.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnNote.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>

BC_IMPLEMENT_CLASS(ReSlur)

// Bounds of a slur's entry or exit point at a system break: one step clear
// of the staff's top and bottom lines.
static constexpr int breakTop = 1;
static constexpr int breakBottom = -9;

ReSlur::ReSlur()
    : ReComposer(nullptr)
{
}

ReSlur::~ReSlur() = default;

static bool isSlurred(const MnChord* chord)
{
    return chord->hasArticulation(MnArticulationSlur);
}

// The chord a slur of the chord's kind comes from: for a normal chord the
// nearest normal chord before it, for a grace chord only a grace chord
// right before it.
static MnChord* previousOfKind(const MnChord* chord)
{
    MnChord* before = chord->previousChord();
    if (chord->isGrace())
        return before && before->isGrace() ? before : nullptr;
    while (before && before->isGrace())
        before = before->previousChord();
    return before;
}

// Whether the chord continues a slur that began before it (passStart false
// asks for a chord that ends one slur and begins the next: it does not).
static bool continuesSlur(const MnChord* chord, bool passStart)
{
    const MnChord* before = previousOfKind(chord);
    return before && isSlurred(before) && !(!passStart && chord->isSlurStart());
}

// The chords of the slur from the chord on, each passed to visit in order.
// A normal slur takes every chord up to its first normal chord that is not
// slurred or starts a slur, grace chords on the way included, and stops
// before a rest; a grace slur runs through slurred grace chords and ends at
// the first chord that is not slurred, starts a slur or is a normal chord.
template <class Visit>
static void walkRun(MnChord* chord, Visit&& visit)
{
    visit(chord);
    if (chord->isGrace()) {
        for (MnChord* current = chord; isSlurred(current);) {
            MnChord* next = current->nextChord();
            if (!next)
                return;
            visit(next);
            if (!next->isGrace() || next->isSlurStart())
                return;
            current = next;
        }
        return;
    }
    const MnChord* lastNormal = chord;
    for (MnChord* current = chord; isSlurred(lastNormal);) {
        MnChord* next = current->nextChord();
        if (!next)
            return;
        current = next;
        if (next->isGrace()) {
            visit(next);
            continue;
        }
        if (next->isRest())
            return;
        visit(next);
        if (next->isSlurStart())
            return;
        lastNormal = next;
    }
}

static int rounded(double position)
{
    return int(std::lround(position));
}

static void noteRange(const MnChord* chord, int* top, int* bottom)
{
    *top = rounded(chord->note(0)->position().y);
    *bottom = *top;
    for (int n = 1; n < chord->noteCount(); ++n) {
        const int position = rounded(chord->note(n)->position().y);
        *top = std::max(*top, position);
        *bottom = std::min(*bottom, position);
    }
}

void ReSlur::reset()
{
    placement = 0;
    tops.removeAll();
    bottoms.removeAll();
    xs.removeAll();
    stems.removeAll();
    continued = false;
    firstBeamed = false;
    firstRaised = false;
    firstLowered = false;
    index = -1;
}

void ReSlur::appendPoint(int top, int bottom)
{
    tops.add(top + 1);
    bottoms.add(bottom - 1);
    xs.add(0.0);
    stems.add(0);
}

void ReSlur::begin(MnChord* chord, bool systemStart, bool passStart)
{
    if (!chord || (!isSlurred(chord) && !systemStart))
        return;
    if (chord->isGrace() != grace)
        return;
    const bool inSlur = continuesSlur(chord, passStart);
    if (inSlur && !systemStart)
        return;
    reset();
    if (inSlur) {
        continued = true;
        placement = previousOfKind(chord)->slurPlacement();
    } else {
        placement = isSlurred(chord) ? chord->slurPlacement() : 0;
    }
    bool first = true;
    walkRun(chord, [&](MnChord* member) {
        if (member->noteCount() > 0) {
            int top = 0, bottom = 0;
            noteRange(member, &top, &bottom);
            appendPoint(top, bottom);
            if (first && continued)
                appendPoint(top, bottom);
        }
        first = false;
    });
    index = continued ? 0 : -1;
}

bool ReSlur::crossesMeasure(bool grace, MnChord* chord, bool systemStart)
{
    if (!chord || (!isSlurred(chord) && !systemStart) || chord->isGrace() != grace)
        return false;
    if (continuesSlur(chord, true) && !systemStart)
        return false;
    if (chord->noteCount() == 0)
        return false;
    const MnChord* lastWithNotes = chord;
    walkRun(chord, [&](MnChord* member) {
        if (member->noteCount() > 0)
            lastWithNotes = member;
    });
    return lastWithNotes->measure() != chord->measure();
}

void ReSlur::addChord(ReRenderer* renderer, ReSystem* system, GePoint2d origin, double x, int stem, int stemTip,
                      int beamLink, double* lowest, double* highest, bool systemStart, bool systemEnd,
                      double systemStartX, double systemEndX)
{
    this->renderer = renderer;
    const int i = index + 1;
    index = i;
    const int n = xs.count();
    if (i >= n || n < 2) {
        reset();
        return;
    }
    xs[i] = x;
    stems[i] = stem;

    bool endRaised = false;
    bool endLowered = false;
    if (!(grace && i == n - 1)) {
        if (stem == 1)
            tops[i] = stemTip;
        else if (stem == -1)
            bottoms[i] = stemTip;
        const bool firstChord = i == 0 || (i == 1 && systemStart);
        const int low = rounded(lowest ? *lowest : bottoms[i]);
        if (low < bottoms[i]) {
            bottoms[i] = low;
            if (firstChord)
                firstLowered = true;
            endLowered = i == n - 1;
        }
        const int high = rounded(highest ? *highest : tops[i]);
        if (high > tops[i]) {
            tops[i] = high;
            if (firstChord)
                firstRaised = true;
            endRaised = i == n - 1;
        }
    }

    if (i == 1 || (i == 2 && systemStart))
        firstBeamed = beamLink == 1;
    else if (i == 0 && systemEnd)
        firstBeamed = false;

    if (systemStart && i == 1) {
        xs[0] = systemStartX;
        tops[0] = std::max(tops[1], breakTop);
        bottoms[0] = std::min(bottoms[1], breakBottom);
        stems[0] = stems[1];
    }

    int last;
    if (!systemEnd) {
        if (i != n - 1)
            return;
        last = n - 1;
    } else if (i < n - 1) {
        // Cut at the system's end; the next system picks the slur up.
        xs[i + 1] = systemEndX;
        tops[i + 1] = std::max(tops[i], breakTop);
        bottoms[i + 1] = std::min(bottoms[i], breakBottom);
        stems[i + 1] = stems[i];
        last = i + 1;
    } else {
        last = n - 1;
    }
    draw(system, origin, last, i >= n - 1, beamLink, endRaised, endLowered);
    reset();
}

void ReSlur::draw(ReSystem* system, GePoint2d origin, int last, bool endsHere, int beamLink, bool endRaised,
                  bool endLowered)
{
    const double g = grace ? 0.6 : 1.0;  // grace slurs are drawn at the grace size
    int dir = placement;
    if (dir != 1 && dir != -1) {
        dir = -1;
        if (!grace) {
            for (int j = 0; j <= last; ++j) {
                if (stems[j] == -1)
                    dir = 1;
            }
        }
    }
    const bool above = dir == 1;
    const double e = grace ? 0.0 : 1.0;
    double x0 = xs[0];
    double y0 = above ? tops[0] + e : bottoms[0] - e;
    double x1 = xs[last];
    double y1 = above ? tops[last] + g : bottoms[last] - g;
    const double d = 1.5 * g;

    if (!grace) {
        // Beside the stem end rather than on it, unless something was drawn
        // beyond the stem.
        if (!continued) {
            if (above && stems[0] == 1 && !firstRaised) {
                x0 += d;
                if (!firstBeamed) {
                    y0 -= 2 * g + d;
                    x0 += g;
                }
            } else if (!above && stems[0] == -1 && !firstLowered) {
                x0 -= d;
                if (!firstBeamed) {
                    y0 += 2 * g + d;
                    x0 += g;
                }
            }
        }
        if (endsHere) {
            const bool unbeamed = beamLink == 0 || beamLink == 2;
            if (above && stems[last] == 1 && !endRaised) {
                x1 += d;
                if (unbeamed) {
                    y1 -= 2 * g + d;
                    x1 -= g;
                }
            } else if (!above && stems[last] == -1 && !endLowered) {
                x1 -= d;
                if (unbeamed) {
                    y1 += 2 * g + d;
                    x1 -= g;
                }
            }
        }
    } else if (!above && stems[last] == -1 && last > 0) {
        x1 -= 0.5 * g + 1.5;
        y1 = std::min(y1, bottoms[last - 1] + g);
    }

    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double length = std::hypot(dx, dy);
    const double ux = length < 1e-10 ? dx : dx / length;
    const double uy = length < 1e-10 ? dy : dy / length;
    // How far the inner chords reach beyond the chord line, in the first and
    // the second half of the slur.
    double h1 = 0.0;
    double h2 = 0.0;
    if (last > 1) {
        for (int j = 1; j < last; ++j) {
            const double hj = above ? tops[j] + 3 * g : bottoms[j] - 3 * g;
            const double px = xs[j] - x0;
            const double py = hj - y0;
            const double projection = px * ux + py * uy;
            const double lineY = y0 + uy * projection;
            if (!(above ? hj > lineY : hj < lineY))
                continue;
            const double distance = std::sqrt(std::max(0.0, px * px + py * py - projection * projection));
            double& h = j < (last + 1) / 2 ? h1 : h2;
            h = std::max(h, distance);
        }
    }
    const double nx = length < 1e-10 ? -dy : -dy / length;
    const double ny = length < 1e-10 ? dx : dx / length;
    const double H1 = std::fabs(h1) + 2.5 * g;
    const double H2 = std::fabs(h2) + 2.5 * g;
    GePoint2d c1(x0 + 0.1 * dx + dir * H1 * nx, y0 + 0.1 * dy + dir * H1 * ny);
    GePoint2d c2(x0 + 0.9 * dx + dir * H2 * nx, y0 + 0.9 * dy + dir * H2 * ny);
    c1.x = std::max(c1.x, x0);
    c2.x = std::min(c2.x, x1);

    auto place = [&](double px, double py) {
        return GePoint2d(system->compensated(origin.x + px), origin.y + py);
    };
    const GeSpline2d curve(place(x0, y0), place(c1.x, c1.y), place(c2.x, c2.y), place(x1, y1));
    renderer->setColor(0, 0, 0, 255);
    renderer->strokeCurve(&curve, 0.5 * staffLineThickness * g, 2 * staffLineThickness * g);
}
