#pragma once

#include "commands/UiCommand.h"
#include "editing/EdPointer.h"
#include "model/EdPath.h"

#include <memory>

class GePoint2d;
class MnChord;
class MnLine;
class MnScore;

// The tool of Staff/Octave, Staff/Dynamic and Staff/Pedal when the selection
// names no span: the new line follows the chord under the pointer and the
// pointer's height; a click fixes its start (a mark is placed at once) and,
// for a line with an extent, a second click ends it with the chord then
// pointed at. While no chord is pointed at the line waits on a staff of a
// private score, outside the document. T is MnOctave, MnDynamic or MnPedal.
template <class T>
class UiNewLineCmd : public UiCommand
{
public:
    explicit UiNewLineCmd(EdView* view);
    // The private score goes, and with it a line left waiting on it; then
    // the transaction commits or, when cancelled, discards.
    ~UiNewLineCmd() override;

    const char* name() const override { return "NewLine"; }
    // Ctrl inverts snapping while the line is moved.
    unsigned modifierKeys() const override { return 1; }
    void begin() override;
    bool onMouseMove(unsigned flags, Point point) override;
    bool onLButtonDown(unsigned flags, Point point) override;
    void collectGuideLines() override;

    // The line being placed, while it lives.
    MnLine* line() const { return placed.element(); }
    bool isAnchored() const { return anchored; }
    // The line stands in a staff of the document, not on the waiting staff.
    bool isInScore() const;

private:
    // The path of the system of the line's staff that holds the measure.
    void setSystemPath(MnLine* line, int measureIndex);
    // Pulls the target by the guide lines the snap points reach.
    void snapTarget(GePoint2d& target, MnLine* line);
    // The line at the pointer's height, snapped when snapping is on; true
    // when the line moved.
    bool follow(MnLine* line, MnChord* chord, double height, bool snapping);

    EdPointer<MnChord> hovered;
    EdPointer<MnLine> placed;
    EdPath path;
    bool anchored = false;
    std::unique_ptr<MnScore> parking;
};

class MnOctave;
class MnDynamic;
class MnPedal;
extern template class UiNewLineCmd<MnOctave>;
extern template class UiNewLineCmd<MnDynamic>;
extern template class UiNewLineCmd<MnPedal>;
