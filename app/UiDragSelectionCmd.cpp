#include "app/UiDragSelectionCmd.h"

#include "app/UiQuorvaneViewCore.h"
#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "model/EdGuideLine.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnLine.h"
#include "model/MnLyric.h"
#include "model/MnLyricIterator.h"
#include "model/MnMeasure.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

#include <cmath>
#include <cstdlib>

namespace {

int chordTime(const MnChord* chord)
{
    return chord->measure()->startTime() + chord->time();
}

int soundingDuration(const MnChord* chord)
{
    if (chord->isGrace())
        return 0;
    const int actual = chord->actual() > 0 ? chord->actual() : 1;
    return int((long long)chord->duration() * chord->normal() / actual);
}

}  // namespace

UiDragSelectionCmd::UiDragSelectionCmd(UiViewCore& view, int x, int y, const GePoint2d& point, MnElement* element,
                                       bool selectAloneOnRelease, const EdPath& handlePath)
    : UiCommand(&view), core(view), lastX(x), lastY(y), startPoint(point), currentPoint(point),
      selectAlone(selectAloneOnRelease), handle(handlePath)
{
    grabbed.set(element);
    const EdPath* path = handle.isUnset() ? nullptr : &handle;
    EdSelection& selection = core.selection();
    starts.reserve(size_t(selection.count()));
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* selected = selection.element(i);
        MnElement* target = selected->selectionTarget(path);
        GePoint2d position;
        if (target)
            position = path ? target->dragPosition(path) : target->position();
        starts.push_back(Start{selected, position});
        alive.add(selected);
    }
}

void UiDragSelectionCmd::onPan(int dx, int dy)
{
    lastX += dx;
    lastY += dy;
}

bool UiDragSelectionCmd::onMouseMove(unsigned flags, Point point)
{
    // The release was missed.
    if (!(flags & leftButtonFlag)) {
        onLButtonUp(flags, point);
        return true;
    }
    if (!dragging) {
        const int threshold = core.dragThreshold();
        if (std::abs(point.x - lastX) <= threshold && std::abs(point.y - lastY) <= threshold)
            return true;
        dragging = true;
    }
    const GePoint2d now = core.clientToModel(point.x, point.y);
    const GePoint2d before = core.clientToModel(lastX, lastY);
    currentPoint = GePoint2d(currentPoint.x + now.x - before.x, currentPoint.y + now.y - before.y);
    const EdContext::Toggles& toggles = EdContext::current().toggles();
    const bool ortho = toggles.orthoMode != ((flags & shiftFlag) != 0);
    const bool snap = toggles.snapGuideLines != ((flags & controlFlag) != 0);
    {
        MnCache cache;
        for (const Start& start : starts) {
            if (alive.contains(start.element))
                moveElement(start, ortho, snap);
        }
    }
    core.redraw(true);
    lastX = point.x;
    lastY = point.y;
    return true;
}

bool UiDragSelectionCmd::moveElement(const Start& start, bool ortho, bool snap)
{
    MnElement* held = grabbed.element();
    if (held && start.element->dynamicClass() != held->dynamicClass())
        return false;
    const EdPath* path = handle.isUnset() ? nullptr : &handle;
    MnElement* target = start.element->selectionTarget(path);
    if (!target)
        return false;
    const MnElement* parent = target->parent();
    double l = parent ? parent->scale() : 1.0;
    if (!(l > 0))
        l = 1.0;
    double x = currentPoint.x;
    double y = currentPoint.y;
    const double F = startPoint.x;
    const double G = startPoint.y;
    if (axisDecision == 0.0)
        axisDecision = std::fabs(x - F) - std::fabs(y - G);
    if (ortho) {
        if (axisDecision >= 0)
            y = G;
        else
            x = F;
    }
    axisCode = ortho ? (axisDecision >= 0 ? 1 : 2) : 0;
    if (start.element == held && snap && !guideLines.isEmpty())
        snapPoint(target, start.position, x, y);
    const GePoint2d to(start.position.x + (x - F) / l, start.position.y + (y - G) / l);
    bool changed = path ? target->dragTo(to, path) : target->moveTo(to);
    changed |= moveInTime(target);
    if (changed) {
        markModified();
        if (QuorvaneDocument* document = core.document())
            document->bringToFront(target);
    }
    return changed;
}

bool UiDragSelectionCmd::snapPoint(MnElement* target, const GePoint2d& start, double& x, double& y)
{
    const EdPath* path = handle.isUnset() ? nullptr : &handle;
    BcArray<GePoint2d> points;
    if (!target->addSnapPoints(points) || points.isEmpty())
        return false;
    GePoint2d scroll;
    double zoom = 1.0;
    core.camera(scroll, zoom);
    const double F = startPoint.x;
    const double G = startPoint.y;
    bool snappedX = false;
    bool snappedY = false;
    bool moved = false;
    for (int g = 0; g < guideLines.count(); ++g) {
        EdGuideLine* line = guideLines[g];
        line->visible = false;
        line->snapped = false;
        for (int s = 0; s < points.count(); ++s) {
            const GePoint2d o =
                target->toPageCoordinates(GePoint2d(points[s].x + start.x, points[s].y + start.y), path);
            const GePoint2d q(o.x + x - F, o.y + y - G);
            const GePoint2d r = line->snap(q, &snappedX, &snappedY, zoom, axisCode);
            if (std::hypot(r.x - q.x, r.y - q.y) > 1e-10) {
                x = r.x - o.x + F;
                y = r.y - o.y + G;
                moved = true;
            }
        }
    }
    return moved;
}

bool UiDragSelectionCmd::moveInTime(MnElement* target)
{
    const bool vertical = axisCode == 2;
    if (target->isKindOf(MnLine::staticClass()) && handle.kind() == EdPath::KindLine) {
        const int handleIndex = handle.level(6);
        MnLine* line = static_cast<MnLine*>(target);
        if (handleIndex == -1 || vertical)
            return false;
        MnChord* chord = core.chordAtPoint(currentPoint, nullptr, line->isAbove() ? 1 : -1, true);
        if (!chord || chord->measure()->staff() != line->staff())
            return false;
        if (handleIndex == 0)
            return line->setStart(chordTime(chord), false);
        return line->setLength(chordTime(chord) + soundingDuration(chord) - line->start());
    }
    if (target->isKindOf(MnLyric::staticClass()) && handle.kind() == EdPath::KindLyric) {
        MnLyric* lyric = static_cast<MnLyric*>(target);
        if (vertical)
            return false;
        MnChord* chord = core.chordAtPoint(currentPoint, nullptr, lyric->position().y > -4 ? 1 : -1, true);
        if (!chord || chord->measure()->staff() != lyric->staff() || chord->noteCount() == 0)
            return false;
        return landSyllable(lyric, chord, handle.level(6));
    }
    if (target->isKindOf(MnStaffChange::staticClass()) && handle.isUnset()) {
        MnStaffChange* change = static_cast<MnStaffChange*>(target);
        if (change->changesTime())
            return false;
        MnChord* chord = core.chordAtPoint(currentPoint, nullptr, 0, false);
        if (!chord || chord->measure()->staff() != change->staff())
            return false;
        const int time = chordTime(chord);
        if (time == change->startTime())
            return false;
        return change->staff()->moveStaffChange(change, time);
    }
    return false;
}

bool UiDragSelectionCmd::landSyllable(MnLyric* lyric, MnChord* chord, int syllable)
{
    int time = chordTime(chord);
    const int old = lyric->start();
    if (!lyric->setStart(time))
        return false;
    MnLyricIterator walk(lyric, false);
    walk.begin();
    for (int k = 0; k <= syllable && k < lyric->syllableCount() && walk.start; ++k) {
        time = chordTime(walk.end);
        if (k + 1 >= lyric->syllableCount())
            break;
        walk.next();
    }
    lyric->setStart(time);
    return lyric->start() != old;
}

bool UiDragSelectionCmd::onLButtonUp(unsigned, Point)
{
    MnElement* held = grabbed.element();
    if (!dragging && selectAlone && held) {
        EdSelection& selection = core.selection();
        selection.clear();
        selection.add(held);
    }
    finish();
    return true;
}

void UiDragSelectionCmd::collectGuideLines()
{
    MnCache cache;
    MnElement* held = grabbed.element();
    if (!held)
        return;
    if (QuorvaneDocument* document = core.document())
        document->addGuideLines(guideLines, held);
    held->addGuideLines(guideLines, handle.isUnset() ? nullptr : &handle);
}
