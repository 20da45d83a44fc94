#pragma once

#include "commands/UiCommand.h"
#include "editing/EdPointer.h"
#include "editing/EdSelection.h"
#include "foundation/GePoint2d.h"
#include "model/EdPath.h"

#include <vector>

class MnChord;
class MnElement;
class MnLyric;
class UiViewCore;

// Moves the selected elements with the mouse once the pointer has passed
// the drag threshold: the elements of the grabbed element's class follow
// the pointer, along one axis in ortho mode, the grabbed one snapped to the
// guide lines; handles of lines, lyric syllables and staff changes also
// move in time onto the chord under the pointer. The release commits the
// whole drag as one undo step; a click without a drag on an element of a
// larger selection leaves that element alone selected.
class UiDragSelectionCmd : public UiCommand
{
public:
    UiDragSelectionCmd(UiViewCore& view, int x, int y, const GePoint2d& point, MnElement* grabbed,
                       bool selectAloneOnRelease, const EdPath& handle);

    const char* name() const override { return dragging ? "DragSelection" : "Select"; }
    unsigned modifierKeys() const override { return 3; }
    void onPan(int dx, int dy) override;
    bool onMouseMove(unsigned flags, Point point) override;
    bool onLButtonUp(unsigned flags, Point point) override;
    void collectGuideLines() override;

    bool isDragging() const { return dragging; }

private:
    // An element of the selection at the start, while it lives, and where
    // it stood then.
    struct Start
    {
        MnElement* element;
        GePoint2d position;
    };

    bool moveElement(const Start& start, bool ortho, bool snap);
    bool snapPoint(MnElement* target, const GePoint2d& start, double& x, double& y);
    bool moveInTime(MnElement* target);
    bool landSyllable(MnLyric* lyric, MnChord* chord, int syllable);

    UiViewCore& core;
    bool dragging = false;
    int lastX = 0;
    int lastY = 0;
    GePoint2d startPoint;
    GePoint2d currentPoint;
    std::vector<Start> starts;
    // The elements of starts that still live: a dying element leaves it.
    EdSelection alive;
    EdPointer<MnElement> grabbed;
    bool selectAlone = false;
    EdPath handle;
    double axisDecision = 0.0;
    int axisCode = 0;
};
