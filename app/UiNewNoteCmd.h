#pragma once

#include "commands/UiCommand.h"
#include "editing/EdNotePath.h"
#include "foundation/GePoint2d.h"

class MnScore;
class UiViewCore;

// Writes notes and rests with the mouse while a note value is chosen and
// nothing is selected: each move finds the chord position and the pitch
// under the pointer and shows the note there; a click writes it (one undo
// step) and ends the tool, a click on nothing ends note input.
//
// The tool never makes a new time position: a target is always the time of
// a chord or rest that stands in a measure.
class UiNewNoteCmd : public UiCommand
{
public:
    explicit UiNewNoteCmd(UiViewCore& view);

    const char* name() const override { return "NewNote"; }
    void end() override;
    bool onMouseMove(unsigned flags, Point point) override;
    bool onLButtonDown(unsigned flags, Point point) override;

    // The chord position and pitch under a client point, the topmost work
    // first; a page hides what lies below it. The score index counts the
    // scores and sheet musics in works order.
    bool hitTest(EdNotePath& target, Point point);
    // The target within one system of a score: its first measure, measure
    // count, origin and stretch; p in drawing coordinates.
    bool computeNotePath(EdNotePath& target, const GePoint2d& p, MnScore* score, int firstMeasure, int measureCount,
                         const GePoint2d& origin, double stretch);
    // Writes the chosen note or rest at the target.
    bool insertNote();

    const EdNotePath& target() const { return noteTarget; }

private:
    UiViewCore& core;
    EdNotePath noteTarget;
};
