#pragma once

class EdCommand;
class EdCursor;
class EdSelection;
class GeMatrix2d;
class GePoint2d;
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

    // When the user last moved the camera or drew with activity marking, in
    // milliseconds of EdContext::tickCount; 0 for never. Playback tracking
    // leaves the view where the user put it for a while after that.
    virtual unsigned long long lastActivity() { return 0; }
    virtual void setLastActivity(unsigned long long tick) {}

    // Starts the placing tool with an element that was just added to the
    // document; the tool's own transaction commits it, cancelling discards it.
    virtual bool placeElement(MnElement* element, const GeMatrix2d& placement) = 0;
};
