#pragma once

#include "commands/UiCommand.h"
#include "editing/EdPointer.h"
#include "foundation/GeMatrix2d.h"

class MnElement;
class UiViewCore;

// Puts a newly created element where the user clicks: it follows the
// pointer, snapped to the guide lines, until a left click drops it. The
// transaction is modified from the start, so the click commits the creation
// and the place as one undo step, and cancelling removes the element again.
class UiPlaceElementCmd : public UiCommand
{
public:
    // placement maps a drawing point to the element's position.
    UiPlaceElementCmd(UiViewCore& view, MnElement* element, const GeMatrix2d& placement);

    const char* name() const override { return "PlaceElement"; }
    unsigned modifierKeys() const override { return 1; }
    void begin() override;
    bool onMouseMove(unsigned flags, Point point) override;
    bool onLButtonDown(unsigned flags, Point point) override;
    void collectGuideLines() override;

    MnElement* element() const { return placed.element(); }

private:
    UiViewCore& core;
    EdPointer<MnElement> placed;
    GeMatrix2d placement;
};
