#pragma once

#include "foundation/BcArray.h"
#include "foundation/GePoint2d.h"

class EdCommand;
class EdCursor;
class EdGuideLine;
class EdSelection;
class EdTool;
class GeMatrix2d;
class MnChord;
class MnElement;
class MnMeasure;
class QuorvaneDocument;

// What editing reaches of a score view. The shell's view implements it over its
// window; tests use a fake, so commands run with no display.
class EdView
{
public:
    virtual ~EdView() = default;

    virtual QuorvaneDocument* document() = 0;

    // The view's selection (the selection base of its renderer), with its observers.
    virtual EdSelection& selection() = 0;

    // The note-entry cursor of the view.
    virtual EdCursor& cursor() = 0;

    virtual bool hasPendingTool() = 0;

    // The modifier keys that the pending tool accepts (bit 0 Ctrl, bit 1
    // Shift); 0 without a tool.
    virtual unsigned pendingToolModifiers() { return 0; }

    // Takes the pending interactive tool out of the view, sets its cancel flag,
    // ends and deletes it; the tool's own transaction then reloads the current
    // snapshot. False when no tool was pending.
    virtual bool discardPendingTool() = 0;

    // Renders the view at once; markActivity records the time of user activity.
    virtual bool redraw(bool markActivity) = 0;

    // The camera: scroll position and zoom.
    virtual void camera(GePoint2d& scroll, double& zoom) = 0;

    // Brings the measure into view, turning pages as part of the given edit.
    // Without an edit the pages turn as a view change only: no undo step, no
    // modified mark, and a running tool goes on (playback tracking).
    virtual void goTo(MnMeasure* measure, EdCommand* edit, bool markActivity) = 0;

    // Starts the placing tool with an element that was just added to the
    // document; the tool's own transaction commits it, cancelling discards it.
    virtual bool placeElement(MnElement* element, const GeMatrix2d& placement) = 0;

    // Interactive tools. startTool makes the tool the pending one (a tool
    // still pending is cancelled first), calls its begin and takes the
    // keyboard focus; the view owns it from then on. The default view has
    // no tools: it cancels the tool at once and answers false.
    virtual bool startTool(EdTool* tool);
    // A tool that finishes by itself takes itself out of the view first;
    // the view forgets it without ending or deleting it.
    virtual void releaseTool(EdTool* tool) {}
    // The chord whose span holds a model point, with the point's height
    // relative to the chord's staff in staff steps; null where none does.
    virtual MnChord* chordAtPoint(const GePoint2d& point, double& height) { return nullptr; }
    // A point in the view's client pixels as a point of the model.
    virtual GePoint2d clientToModel(int x, int y);
    // A point in screen pixels in the view's client pixels.
    virtual void screenToClient(int& x, int& y) {}
    // The rubber band the view draws dashed, in drawing units; equal
    // corners draw none.
    virtual void setDragRectangle(const GePoint2d& from, const GePoint2d& to) {}
    // Draws the guide lines in the next frame only; they are borrowed.
    virtual void showGuideLinesOnce(const BcArray<EdGuideLine*>& lines) {}
    // When the user last worked in the view (EdContext::tickCount); playback
    // tracking waits for a quiet spell after it, and 0 lets it act at once.
    virtual unsigned long long lastActivityTick() const { return 0; }
    virtual void setLastActivityTick(unsigned long long) {}
};
