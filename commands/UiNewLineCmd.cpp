#include "commands/UiNewLineCmd.h"

#include "editing/EdContext.h"
#include "editing/EdNotePath.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/EdGuideLine.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnDynamic.h"
#include "model/MnMeasure.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <cmath>

template <class T>
UiNewLineCmd<T>::UiNewLineCmd(EdView* view) : UiCommand(view), parking(std::make_unique<MnScore>())
{
}

template <class T>
UiNewLineCmd<T>::~UiNewLineCmd()
{
    parking.reset();
}

template <class T>
bool UiNewLineCmd<T>::isInScore() const
{
    MnLine* held = placed.element();
    return held && held->staff() && held->staff()->score() != parking.get();
}

template <class T>
void UiNewLineCmd<T>::begin()
{
    UiCommand::begin();
    placed.set(parking->staff(0)->addLine<T>(0));
    // From here on the tool records a step when it finishes, even one that
    // leaves the document as it was.
    markModified();
    if (view) {
        EdSelection& selection = view->selection();
        selection.clear();
        if (MnLine* held = placed.element())
            selection.add(held);
        selection.notifyObservers();
    }
    path = EdPath();
}

template <class T>
void UiNewLineCmd<T>::setSystemPath(MnLine* held, int measureIndex)
{
    MnStaff* staff = held->staff();
    MnScore* score = staff->score();
    path = EdPath();
    path.setLevel(0, EdPath::KindLine);
    QuorvaneDocument* document = view ? view->document() : nullptr;
    const int scoreIndex = document ? EdNotePath(staff, document->works()).scoreIndex : -1;
    path.setLevel(1, scoreIndex);
    path.setLevel(2, staff->index());
    path.setLevel(3, staff->lineArray().indexOf(held));
    path.setLevel(4, 0);
    path.setLevel(5, staff->measureCount());
    if (MnSheetMusic* sheet = score->sheetMusic()) {
        int first = 0;
        int count = 0;
        if (sheet->locateMeasure(measureIndex, nullptr, &first, &count) < sheet->pageCount()) {
            path.setLevel(4, first);
            path.setLevel(5, count);
        }
    }
    path.setLevel(7, 0);
}

template <class T>
void UiNewLineCmd<T>::snapTarget(GePoint2d& target, MnLine* held)
{
    if (guideLines.isEmpty())
        return;
    BcArray<GePoint2d> points;
    held->addSnapPoints(points);
    GePoint2d scroll;
    double zoom = 1.0;
    view->camera(scroll, zoom);
    for (int g = 0; g < guideLines.count(); ++g)
        guideLines[g]->snapped = false;
    for (int g = 0; g < guideLines.count(); ++g) {
        for (int p = 0; p < points.count(); ++p) {
            const GePoint2d page = held->toPageCoordinates(
                GePoint2d(points[p].x + target.x, points[p].y + target.y), &path);
            bool snappedX = false;
            bool snappedY = false;
            const GePoint2d moved = guideLines[g]->snap(page, &snappedX, &snappedY, zoom, 0);
            const double dx = moved.x - page.x;
            const double dy = moved.y - page.y;
            if (std::fabs(dx) > 1e-10 || std::fabs(dy) > 1e-10) {
                const double scale = held->scale();
                if (scale > 0.0) {
                    target.x += dx / scale;
                    target.y += dy / scale;
                }
            }
        }
    }
}

template <class T>
bool UiNewLineCmd<T>::follow(MnLine* held, MnChord* chord, double height, bool snapping)
{
    GePoint2d target(held->position().x, height);
    if (snapping) {
        MnCache scope;
        setSystemPath(held, chord->measure()->index() - 1);
        collectGuideLines();
        snapTarget(target, held);
    }
    return held->moveTo(target);
}

template <class T>
bool UiNewLineCmd<T>::onMouseMove(unsigned flags, Point point)
{
    MnLine* held = placed.element();
    if (!view || !held)
        return true;
    const GePoint2d model = view->clientToModel(point.x, point.y);
    path = EdPath();
    bool snapping = EdContext::current().toggles().snapGuideLines;
    if (flags & controlFlag)
        snapping = !snapping;

    double height = 0.0;
    MnChord* chord = view->chordAtPoint(model, height);
    if (chord != hovered.element()) {
        clearGuideLines();
        if (!anchored) {
            if (isInScore())
                parking->staff(0)->insertLine(held, 0);
            if (chord) {
                MnMeasure* measure = chord->measure();
                if (measure->staff()->insertLine(held, measure->startTime() + chord->time())) {
                    held->setLength(chord->soundingDuration());
                    follow(held, chord, height, snapping);
                }
            }
        } else if (chord) {
            const int end = chord->measure()->startTime() + chord->time() + chord->soundingDuration();
            held->setLength(end - held->start());
        }
        hovered.set(chord);
        view->redraw(true);
    } else if (!anchored && chord) {
        clearGuideLines();
        if (isInScore() && follow(held, chord, height, snapping))
            view->redraw(true);
    }
    if (anchored && held->isMark())
        finish();
    return true;
}

template <class T>
bool UiNewLineCmd<T>::onLButtonDown(unsigned, Point)
{
    MnLine* held = placed.element();
    if (!anchored && held && isInScore() && !held->isMark()) {
        anchored = true;
        return true;
    }
    finish();
    return true;
}

template <class T>
void UiNewLineCmd<T>::collectGuideLines()
{
    MnLine* held = placed.element();
    if (!held || !isInScore() || !view)
        return;
    MnCache scope;
    if (QuorvaneDocument* document = view->document())
        document->addGuideLines(guideLines, held);
    held->addGuideLines(guideLines, &path);
}

template class UiNewLineCmd<MnOctave>;
template class UiNewLineCmd<MnDynamic>;
template class UiNewLineCmd<MnPedal>;
