#include "render/ReTuplet.h"

#include "foundation/BcClassManager.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnTuplet.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

#include <algorithm>

BC_IMPLEMENT_CLASS(ReTuplet)

ReTuplet::ReTuplet(ReSystem* system)
    : ReComposer(system->renderer), system(system)
{
    staffLineThickness = system->staffLineThickness;
    stemThickness = system->stemThickness;
    paperDepth = system->paperDepth;
    staffDepth = system->staffDepth;
    symbolDepth = system->symbolDepth;
}

ReTuplet::~ReTuplet() = default;

void ReTuplet::reset()
{
    xs.removeAll();
    lows.removeAll();
    highs.removeAll();
    stems.removeAll();
    allBeamed = true;
    index = -1;
}

void ReTuplet::begin(MnChord* chord)
{
    MnTuplet* owned = chord ? chord->tuplet() : nullptr;
    if (!owned || owned->isHidden())
        return;
    reset();
    tuplet = owned;
    // A tuplet never reaches past its first chord's measure.
    const int end = chord->time() + owned->span();
    for (MnChord* member = chord; member && member->measure() == chord->measure() && member->time() < end;
         member = member->nextChord()) {
        xs.add(0.0);
        lows.add(-4.0);
        highs.add(-4.0);
        stems.add(1);
    }
    index = -1;
}

void ReTuplet::addChord(GePoint2d origin, double x, int stem, double lowest, double highest, bool beamed)
{
    const int i = index + 1;
    index = i;
    if (i >= xs.count()) {
        reset();
        return;
    }
    xs[i] = x;
    lows[i] = lowest;
    highs[i] = highest;
    stems[i] = stem;
    if (!beamed)
        allBeamed = false;
    if (i < xs.count() - 1)
        return;
    draw(origin);
    reset();
}

void ReTuplet::draw(GePoint2d origin)
{
    const int last = xs.count() - 1;
    double minLow = lows[0];
    double maxHigh = highs[0];
    double stemSum = 0.0;
    int stemmed = 0;
    for (int i = 0; i <= last; ++i) {
        minLow = std::min(minLow, lows[i]);
        maxHigh = std::max(maxHigh, highs[i]);
        if (stems[i] > 0) {
            stemSum += highs[i] + 7.0;
            ++stemmed;
        } else if (stems[i] < 0) {
            stemSum += lows[i] - 7.0;
            ++stemmed;
        }
    }
    setColorMode(renderer->contains(tuplet) ? 3 : 2);

    int dir = tuplet->direction();
    if (dir == 0)
        dir = stemmed > 0 && stemSum / stemmed < -4.0 ? -1 : 1;
    else
        dir = dir < 0 ? -1 : 1;
    // Clear of every chord, but never inside the staff.
    double y = dir < 0 ? std::min(minLow - 1.0, -9.0) : std::max(maxHigh + 1.0, 1.0);
    y += origin.y;
    const double xL = system->compensated(origin.x + xs[0] - 1.5);
    const double xR = system->compensated(origin.x + xs[last] + 1.5);
    const double mid = (xL + xR) / 2;

    double bx = 0, by = 0, w = 0, h = 0;
    const bool measured = renderer->measureText(tuplet->text(), tuplet->size(), tuplet->font(),
                                                tuplet->isUnderlined(), &bx, &by, &w, &h);
    if (measured) {
        const double tx = mid - w / 2;
        const double ty = dir > 0 ? y - h : y;
        renderer->drawText(tuplet->text(), tx - bx, ty - by, tuplet->size(), tuplet->font(), tuplet->isUnderlined());
        renderer->markRect(GePoint2d(tx, ty), w, h, tuplet);
    } else {
        // Without a measured number the lines meet in the middle.
        w = 0.0;
    }

    const int bracket = tuplet->bracket();
    if (!(bracket == 2 || (bracket == 0 && !allBeamed)))
        return;
    const double yb = y + 1.5 * dir;
    const double half = staffLineThickness / 2;
    const double hookLow = std::min(y - half, yb + half);
    const double hookHigh = std::max(y - half, yb + half);
    fillBar(xL - half, hookLow, xL + half, hookHigh);
    fillBar(xL - half, yb - half, mid - w + half, yb + half);
    fillBar(mid + w - half, yb - half, xR + half, yb + half);
    fillBar(xR - half, hookLow, xR + half, hookHigh);
    renderer->markSpan(GePoint2d(xL - half, y - half), GePoint2d(xR + half, y + (half + 1.5) * dir), tuplet);
}
