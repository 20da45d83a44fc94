#include "commands/UiSelectWindowCmd.h"

#include "editing/EdView.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnNote.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cstdlib>

UiSelectWindowCmd::UiSelectWindowCmd(EdView* view, Point press, const GePoint2d& pressPoint)
    : UiCommand(view), last(press), bandBox(pressPoint, pressPoint), picker(*this)
{
    if (view)
        selectionAtStart.addAll(view->selection());
    picker.updateLocalBand();
}

UiSelectWindowCmd::~UiSelectWindowCmd() = default;

bool UiSelectWindowCmd::start(EdView& view, Point press)
{
    return view.startTool(new UiSelectWindowCmd(&view, press, view.clientToModel(press.x, press.y)));
}

void UiSelectWindowCmd::end()
{
    UiCommand::end();
    if (view)
        view->setDragRectangle(GePoint2d(), GePoint2d());
    refreshViews = true;
}

void UiSelectWindowCmd::onPan(int dx, int dy)
{
    last.x += dx;
    last.y += dy;
}

bool UiSelectWindowCmd::onLButtonUp(unsigned, Point)
{
    finish();
    return true;
}

bool UiSelectWindowCmd::onMouseMove(unsigned flags, Point point)
{
    // A release the view never saw (outside the window) shows as a move
    // without the button.
    if (!(flags & leftButtonFlag))
        return onLButtonUp(flags, point);
    if (!windowMode) {
        if (std::abs(point.x - last.x) <= threshold && std::abs(point.y - last.y) <= threshold)
            return true;
        windowMode = true;
    }
    if (!view)
        return true;
    const GePoint2d now = view->clientToModel(point.x, point.y);
    const GePoint2d before = view->clientToModel(last.x, last.y);
    bandBox.b = GePoint2d(bandBox.b.x + now.x - before.x, bandBox.b.y + now.y - before.y);
    select();
    view->setDragRectangle(bandBox.a, bandBox.b);
    view->redraw(true);
    last = point;
    return true;
}

void UiSelectWindowCmd::select()
{
    EdSelection& selection = view->selection();
    selection.clear();
    selection.addAll(selectionAtStart);
    QuorvaneDocument* document = view->document();
    if (!document)
        return;
    picker.updateLocalBand();
    MnCache cache;
    ReSystem system(&picker);
    system.compose(document);
}

void UiSelectWindowCmd::Picker::updateLocalBand()
{
    const GeMatrix2d toLocal = topTransform().inverse();
    const GeBox2d& band = tool.bandBox;
    localBand = GeBox2d(toLocal.transform(band.a), toLocal.transform(band.b));
    const GePoint2d low(std::min(band.a.x, band.b.x) - reach, std::min(band.a.y, band.b.y) - reach);
    const GePoint2d high(std::max(band.a.x, band.b.x) + reach, std::max(band.a.y, band.b.y) + reach);
    // The transforms only scale and move, so the corners stay corners.
    const GePoint2d a = toLocal.transform(low);
    const GePoint2d b = toLocal.transform(high);
    localReach = GeBox2d(GePoint2d(std::min(a.x, b.x), std::min(a.y, b.y)),
                         GePoint2d(std::max(a.x, b.x), std::max(a.y, b.y)));
}

bool UiSelectWindowCmd::Picker::isVisibleX(double x, double width, double margin)
{
    return localReach.b.x >= x - margin && x + width + margin >= localReach.a.x;
}

// (x, y) is the upper left of a box reaching down to y - height.
bool UiSelectWindowCmd::Picker::isVisible(double x, double y, double width, double height, double margin)
{
    return isVisibleX(x, width, margin) && y + margin >= localReach.a.y && localReach.b.y >= y - height - margin;
}

void UiSelectWindowCmd::Picker::pushScale(double centreX, double centreY, double factor)
{
    RePicker::pushScale(centreX, centreY, factor);
    updateLocalBand();
}

void UiSelectWindowCmd::Picker::pushYRotation(double pivotX, double degrees)
{
    RePicker::pushYRotation(pivotX, degrees);
    updateLocalBand();
}

void UiSelectWindowCmd::Picker::popTransform()
{
    RePicker::popTransform();
    updateLocalBand();
}

void UiSelectWindowCmd::Picker::take(const GeBox2d& region, MnElement* element)
{
    if (!element)
        return;
    if (!tool.isRightward() && !element->isKindOf(MnNote::staticClass()) && !element->isKindOf(MnChord::staticClass()))
        return;
    if (localBand.intersects(region))
        tool.view->selection().add(element);
}

void UiSelectWindowCmd::Picker::markRect(const GePoint2d& corner, double width, double height, MnElement* element)
{
    take(GeBox2d(corner, GePoint2d(corner.x + width, corner.y + height)), element);
}

void UiSelectWindowCmd::Picker::markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element)
{
    take(GeBox2d(from, to), element);
}

void UiSelectWindowCmd::Picker::markFrame(const GeBox2d& outer, const GeBox2d& inner, MnElement* element)
{
    // A band wholly inside a page's writing area is about the music on it,
    // not about the sheet.
    if (!element || !tool.isRightward() || !localBand.intersects(outer))
        return;
    if (inner.contains(localBand.a) && inner.contains(localBand.b))
        return;
    tool.view->selection().add(element);
}
