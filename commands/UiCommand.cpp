#include "commands/UiCommand.h"

#include "editing/EdContext.h"
#include "editing/EdView.h"
#include "model/EdGuideLine.h"

void UiCommand::clearGuideLines()
{
    for (int i = 0; i < guideLines.count(); ++i)
        delete guideLines[i];
    guideLines.removeAll();
}

void UiCommand::updateSnap()
{
    EdContext& context = EdContext::current();
    bool snap = context.toggles().snapGuideLines;
    if ((modifierKeys() & 1u) && (context.isHeld(EdContext::LeftCtrl) || context.isHeld(EdContext::RightCtrl)))
        snap = !snap;
    if (snap && view)
        view->showGuideLinesOnce(guideLines);
}

unsigned UiCommand::heldFlags()
{
    EdContext& context = EdContext::current();
    unsigned flags = 0;
    if (context.isHeld(EdContext::LeftButton))
        flags |= leftButtonFlag;
    if (context.isHeld(EdContext::RightButton))
        flags |= rightButtonFlag;
    if (context.isHeld(EdContext::LeftShift) || context.isHeld(EdContext::RightShift))
        flags |= shiftFlag;
    if (context.isHeld(EdContext::LeftCtrl) || context.isHeld(EdContext::RightCtrl))
        flags |= controlFlag;
    return flags;
}

bool UiCommand::resendPointer(unsigned key)
{
    const bool matters = (key == controlKey && (modifierKeys() & 1u)) || (key == shiftKey && (modifierKeys() & 2u));
    if (!matters || !view)
        return false;
    Point point;
    if (!EdContext::current().pointerPosition(point.x, point.y))
        return false;
    view->screenToClient(point.x, point.y);
    onMouseMove(heldFlags(), point);
    return true;
}

bool UiCommand::onKeyDown(unsigned key, unsigned, unsigned flags)
{
    // Only the first press: the auto-repeat goes on to the main frame.
    if (flags & repeatFlag)
        return false;
    return resendPointer(key);
}

bool UiCommand::onKeyUp(unsigned key, unsigned, unsigned flags)
{
    if (!(flags & repeatFlag))
        return false;
    return resendPointer(key);
}

void UiCommand::finish()
{
    if (view)
        view->releaseTool(this);
    end();
    delete this;
}
