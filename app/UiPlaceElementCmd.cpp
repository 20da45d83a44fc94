#include "app/UiPlaceElementCmd.h"

#include "app/UiQuorvaneViewCore.h"
#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "model/EdGuideLine.h"
#include "model/MnCache.h"

#include <cmath>

UiPlaceElementCmd::UiPlaceElementCmd(UiViewCore& view, MnElement* element, const GeMatrix2d& placement)
    : UiCommand(&view), core(view), placement(placement)
{
    placed.set(element);
}

void UiPlaceElementCmd::begin()
{
    collectGuideLines();
    // The element was made outside any snapshot: this transaction owns it.
    markModified();
    EdSelection& selection = core.selection();
    selection.clear();
    if (MnElement* element = placed.element())
        selection.add(element);
    selection.notifyObservers();
}

void UiPlaceElementCmd::collectGuideLines()
{
    MnCache cache;
    MnElement* element = placed.element();
    if (!element)
        return;
    if (QuorvaneDocument* document = core.document())
        document->addGuideLines(guideLines, element);
    element->addGuideLines(guideLines, nullptr);
}

bool UiPlaceElementCmd::onMouseMove(unsigned flags, Point point)
{
    GePoint2d p = core.clientToModel(point.x, point.y);
    MnElement* element = placed.element();
    if (element) {
        const bool snap = EdContext::current().toggles().snapGuideLines != ((flags & controlFlag) != 0);
        BcArray<GePoint2d> points;
        if (snap && !guideLines.isEmpty() && element->addSnapPoints(points) && !points.isEmpty()) {
            GePoint2d scroll;
            double zoom = 1.0;
            core.camera(scroll, zoom);
            bool snappedX = false;
            bool snappedY = false;
            for (int g = 0; g < guideLines.count(); ++g) {
                EdGuideLine* line = guideLines[g];
                line->visible = false;
                line->snapped = false;
                for (int s = 0; s < points.count(); ++s) {
                    const GePoint2d q(p.x + points[s].x, p.y + points[s].y);
                    const GePoint2d r = line->snap(q, &snappedX, &snappedY, zoom, 0);
                    if (std::hypot(r.x - q.x, r.y - q.y) > 1e-10)
                        p = GePoint2d(r.x - points[s].x, r.y - points[s].y);
                }
            }
        }
        if (element->moveTo(placement.transform(p)))
            markModified();
    }
    core.redraw(true);
    return true;
}

bool UiPlaceElementCmd::onLButtonDown(unsigned, Point)
{
    finish();
    return true;
}
