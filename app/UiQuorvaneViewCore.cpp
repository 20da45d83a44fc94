#include "app/UiQuorvaneViewCore.h"

#include "app/UiPlaceElementCmd.h"
#include "app/UiQuorvaneViewBoxes.h"

#include "commands/UiCommand.h"
#include "editing/EdCommand.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"

UiViewCore::UiViewCore(UiViewWindow& window, QuorvaneDocument* document)
    : window(window), bridge(*this, window), view(bridge), shown(document)
{
}

UiViewCore::~UiViewCore()
{
    discardPendingTool();
}

void UiViewCore::takeDocumentCamera()
{
    if (shown)
        view.setCamera(shown->scrollPosition().x, shown->scrollPosition().y, shown->zoom());
}

void UiViewCore::renderFrame(const UiViewFrame& frame)
{
    framedGuideLines = 0;
    if (guideLinesPending) {
        renderer.guideLines = &onceGuideLines;
        framedGuideLines = onceGuideLines.count();
    }
    renderer.verticalWheelFrame = view.verticalWheelFrame;
    renderer.horizontalWheelFrame = view.horizontalWheelFrame;
    if (shown)
        renderer.render(shown, frame.centreX, frame.centreY, frame.zoom, frame.width, frame.height, frame.pointerX,
                        frame.pointerY);
    // Borrowed for this frame only: the tool may delete them afterwards.
    renderer.guideLines = nullptr;
    onceGuideLines.removeAll();
    guideLinesPending = false;
}

UiCommand* UiViewCore::currentCommand() const
{
    return dynamic_cast<UiCommand*>(currentTool);
}

bool UiViewCore::leftButtonUp(unsigned flags, int x, int y)
{
    UiCommand* tool = currentCommand();
    return tool && tool->onLButtonUp(flags, UiCommand::Point{x, y});
}

void UiViewCore::mouseWheel(int x, int y, int delta)
{
    view.wheel(x, y, delta);
}

void UiViewCore::keyDown(unsigned key, unsigned repeat, unsigned flags)
{
    UiCommand* tool = currentCommand();
    if (tool && tool->onKeyDown(key, repeat, flags))
        return;
    window.forwardKey(key, repeat, flags, true);
}

void UiViewCore::keyUp(unsigned key, unsigned repeat, unsigned flags)
{
    UiCommand* tool = currentCommand();
    if (tool && tool->onKeyUp(key, repeat, flags))
        return;
    window.forwardKey(key, repeat, flags, false);
}

bool UiViewCore::idleHover(bool pointerInside)
{
    if (pointerInside)
        return false;
    int width = 0;
    int height = 0;
    window.clientSize(width, height);
    if (!renderer.isScrollWheelHoverChanged(width, height, -1, -1))
        return false;
    return view.drawFrame(-1, -1);
}

void UiViewCore::deactivate()
{
    discardPendingTool();
}

void UiViewCore::updateSnap()
{
    if (UiCommand* tool = currentCommand())
        tool->updateSnap();
}

void UiViewCore::toolPanned(int dx, int dy)
{
    if (UiCommand* tool = currentCommand())
        tool->onPan(dx, dy);
}

bool UiViewCore::findElementBox(GePoint2d& corner1, GePoint2d& corner2, const GePoint2d& point, MnMeasure* measure)
{
    return UiElementBoxes::findElementBox(shown, corner1, corner2, point, measure);
}

void UiViewCore::zoomToElementAt(int x, int y)
{
    // The lookup, the flight and the last frame lay out the same unchanged
    // document: one cache scope serves all three.
    MnCache cache;
    GePoint2d corner1;
    GePoint2d corner2;
    if (!findElementBox(corner1, corner2, view.clientToDrawing(x, y), nullptr))
        return;
    view.flyTo(corner1, corner2, 1.1, true);
    redraw(true);
}

unsigned UiViewCore::pendingToolModifiers()
{
    return currentTool ? currentTool->modifierKeys() : 0;
}

bool UiViewCore::discardPendingTool()
{
    if (!currentTool)
        return false;
    // Out of the view first: ending may reach the view again.
    EdTool* tool = currentTool;
    currentTool = nullptr;
    tool->transaction().cancel = true;
    tool->end();
    delete tool;
    return true;
}

void UiViewCore::camera(GePoint2d& scroll, double& zoom)
{
    scroll = GePoint2d(view.scrollX, view.scrollY);
    zoom = view.zoom;
}

bool UiViewCore::placeElement(MnElement* element, const GeMatrix2d& placement)
{
    if (!element)
        return false;
    return startTool(new UiPlaceElementCmd(*this, element, placement));
}

bool UiViewCore::startTool(EdTool* tool)
{
    if (!tool)
        return false;
    discardPendingTool();
    currentTool = tool;
    tool->begin();
    window.takeFocus();
    return true;
}

void UiViewCore::releaseTool(EdTool* tool)
{
    if (tool && tool == currentTool)
        currentTool = nullptr;
}

void UiViewCore::showGuideLinesOnce(const BcArray<EdGuideLine*>& lines)
{
    onceGuideLines = lines;
    guideLinesPending = true;
}
