#include "app/UiQuorvaneViewCore.h"

#include "app/UiDragSelectionCmd.h"
#include "app/UiNewNoteCmd.h"
#include "app/UiViewInput.h"
#include "commands/EdNoteInputCommands.h"
#include "commands/UiCommand.h"
#include "editing/EdContext.h"
#include "model/EdPath.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "render/RePicker.h"

#include <cstdlib>

namespace {

UiViewCore::WindowSelectionFactory windowSelectionFactory = nullptr;

}  // namespace

void UiViewCore::setWindowSelectionFactory(WindowSelectionFactory factory)
{
    windowSelectionFactory = factory;
}

void UiViewCore::beginPan(int x, int y)
{
    panning = window.pointerInWindow();
    if (!panning)
        return;
    panMoved = false;
    view.startPan(x, y);
}

bool UiViewCore::panMove(unsigned flags, int x, int y)
{
    const unsigned button = window.rightButtonPans() ? UiViewInput::rightButton : UiViewInput::middleButton;
    if (!panning || !(flags & button))
        return false;
    if (!panMoved) {
        const int threshold = window.dragThreshold();
        if (std::abs(x - view.panLastX) <= threshold && std::abs(y - view.panLastY) <= threshold)
            return true;
        panMoved = true;
    }
    view.panStep(x, y);
    return true;
}

bool UiViewCore::mouseMove(unsigned flags, int x, int y)
{
    if (UiFocusPane* pane = window.focusedPane())
        if (pane->canReleaseFocus())
            window.takeFocus();
    if (panMove(flags, x, y))
        return true;
    if (UiCommand* tool = currentCommand())
        if (tool->onMouseMove(flags, UiCommand::Point{x, y}))
            return true;
    // A note value chosen with nothing selected: the next moves preview
    // the note under the pointer.
    if (!currentTool && shown && renderer.isEmpty() && EdContext::current().noteInput().inputDuration != 0)
        startTool(new UiNewNoteCmd(*this));
    return false;
}

MnElement* UiViewCore::pickAt(const GePoint2d& point, EdPath& path)
{
    if (!shown)
        return nullptr;
    int width = 0;
    int height = 0;
    window.clientSize(width, height);
    RePicker picker;
    picker.outputKind = 0;
    picker.setPickPoint(point);
    {
        MnCache cache;
        picker.render(shown, view.scrollX, view.scrollY, view.zoom, width > 0 ? width : 1, height > 0 ? height : 1,
                      -1, -1);
    }
    if (picker.hitElement)
        path = picker.hitPath;
    return picker.hitElement;
}

void UiViewCore::placeCursorAt(MnElement* hit)
{
    const int voice = EdContext::current().noteInput().inputVoice;
    if (hit->isKindOf(MnNote::staticClass())) {
        MnChord* chord = static_cast<MnNote*>(hit)->chord();
        if (chord)
            noteCursor.setAtChord(chord, chord->voice(), false);
    } else if (hit->isKindOf(MnChord::staticClass())) {
        MnChord* chord = static_cast<MnChord*>(hit);
        noteCursor.setAtChord(chord, chord->voice(), false);
    } else if (hit->isKindOf(MnMeasure::staticClass())) {
        noteCursor.setAtMeasureStart(static_cast<MnMeasure*>(hit), voice);
    } else if (hit->isKindOf(MnStaffChange::staticClass())) {
        MnStaffChange* change = static_cast<MnStaffChange*>(hit);
        if (noteCursor.setAtStaffStart(change->staff(), voice))
            noteCursor.setPosition(change->startTime(), 0, false);
    } else if (hit->isKindOf(MnStaff::staticClass())) {
        noteCursor.setAtStaffStart(static_cast<MnStaff*>(hit), voice);
    }
}

bool UiViewCore::leftButtonDown(unsigned flags, int x, int y)
{
    if (UiCommand* tool = currentCommand()) {
        if (tool->onLButtonDown(flags, UiCommand::Point{x, y}))
            return true;
        // Gone before the pick: its transaction reloads the model, which
        // would leave the element picked after it dangling.
        discardPendingTool();
    }
    if (!shown)
        return false;
    const GePoint2d point = view.clientToDrawing(x, y);
    const bool extendRange = (flags & (UiViewInput::shift | UiViewInput::rightButton)) != 0;
    const bool toggle = (flags & UiViewInput::control) != 0;
    EdPath path;
    MnElement* hit = pickAt(point, path);
    if (hit) {
        clickedOnElement = true;
        bool alreadySelected = false;
        if (!(renderer.count() == 1 && renderer.element(0) == hit)) {
            if (clickSelect(renderer, hit, alreadySelected, extendRange, toggle)) {
                view.redraw(false);
                renderer.notifyObservers();
            }
            placeCursorAt(hit);
        }
        if (hit->isKindOf(MnNote::staticClass()))
            window.previewKey(static_cast<MnNote*>(hit)->keyNumber());
        if (renderer.contains(hit) && window.pointerInWindow())
            startTool(new UiDragSelectionCmd(*this, x, y, point, hit, alreadySelected, path));
        return true;
    }
    if (!renderer.isEmpty() && !extendRange && !toggle) {
        renderer.clear();
        view.redraw(false);
        renderer.notifyObservers();
    }
    if (windowSelectionFactory)
        startTool(windowSelectionFactory(*this, x, y, point));
    return true;
}

void UiViewCore::rightButtonDown(unsigned, int x, int y)
{
    if (window.rightButtonPans())
        beginPan(x, y);
    clickedOnElement = false;
}

void UiViewCore::rightButtonUp(unsigned, int x, int y)
{
    if (window.rightButtonPans()) {
        const bool moved = panning && panMoved;
        panning = false;
        panMoved = false;
        if (moved)
            return;
    }
    if (currentTool) {
        EdNoteInputCommands::cmdClearInput();
        // The command reaches the active view; this one may not be it.
        discardPendingTool();
        return;
    }
    if (!clickedOnElement)
        window.showContextMenu(x, y);
}

void UiViewCore::middleButtonDown(unsigned, int x, int y)
{
    if (window.rightButtonPans()) {
        zoomToElementAt(x, y);
        return;
    }
    beginPan(x, y);
    if (panning)
        panMoved = true;
}

void UiViewCore::middleButtonUp(unsigned, int, int)
{
    if (!window.rightButtonPans())
        panning = false;
}

void UiViewCore::middleButtonDoubleClick(unsigned, int x, int y)
{
    if (!window.rightButtonPans())
        zoomToElementAt(x, y);
}
