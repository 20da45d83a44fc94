#pragma once

#include "app/UiQuorvaneViewCamera.h"
#include "editing/EdCursor.h"
#include "editing/EdView.h"
#include "render/ReOpenGL.h"

class EdPath;
class MnElement;
class MnSheetMusic;
class UiCommand;
class UiViewCore;

// A pane that may hold the keyboard focus: the view takes the focus from it
// when the pointer moves over the view, if the pane lets it go.
class UiFocusPane
{
public:
    virtual ~UiFocusPane() = default;
    virtual bool canReleaseFocus() = 0;
};

// What a score view's window needs beyond the camera's environment: the
// keyboard focus, screen coordinates and the main frame, which takes the
// keys that neither the view nor its tool handles.
class UiViewWindow : public UiViewEnvironment
{
public:
    virtual void takeFocus() {}
    virtual void screenToClient(int& x, int& y) {}
    // A key the view declined, with its repeat count and flags.
    virtual void forwardKey(unsigned key, unsigned repeat, unsigned flags, bool down) {}

    // The mouse settings: which button pans (the right one, after the drag
    // threshold, or else the middle one, at once) and the threshold in pixels.
    virtual bool rightButtonPans() { return true; }
    virtual int dragThreshold() { return 10; }
    // Whether the pointer lies inside the view's window now.
    virtual bool pointerInWindow() { return true; }
    // Opens the view's context menu at a client point.
    virtual void showContextMenu(int x, int y) {}
    // The pane that holds the keyboard focus, if one does.
    virtual UiFocusPane* focusedPane() { return nullptr; }
    // Sounds a key briefly: the preview of a clicked or written note.
    virtual void previewKey(int key) {}
};

// The score view without its window: the document it shows, its renderer
// (which is also its selection), its note-entry cursor, its camera and its
// current interactive tool. The window class forwards its events here as
// plain values, so that all of this runs with no display.
class UiViewCore : public EdView
{
public:
    UiViewCore(UiViewWindow& window, QuorvaneDocument* document);
    ~UiViewCore() override;
    UiViewCore(const UiViewCore&) = delete;
    UiViewCore& operator=(const UiViewCore&) = delete;

    // Takes the document's stored camera.
    void takeDocumentCamera();
    // Draws one frame through the renderer: the window calls it from
    // present with its context current. Guide lines handed to the view
    // since the last frame are drawn in this one only.
    void renderFrame(const UiViewFrame& frame);
    // The guide lines the last frame drew.
    int lastFrameGuideLines() const { return framedGuideLines; }

    // Events, offered to the current tool first. Points are client pixels.
    bool mouseMove(unsigned flags, int x, int y);
    bool leftButtonDown(unsigned flags, int x, int y);
    bool leftButtonUp(unsigned flags, int x, int y);
    void rightButtonDown(unsigned flags, int x, int y);
    void rightButtonUp(unsigned flags, int x, int y);
    void middleButtonDown(unsigned flags, int x, int y);
    void middleButtonUp(unsigned flags, int x, int y);
    void middleButtonDoubleClick(unsigned flags, int x, int y);
    bool isPanning() const { return panning; }
    // The pixels a press must move to become a drag.
    int dragThreshold() { return window.dragThreshold(); }
    void previewKey(int key) { window.previewKey(key); }

    // A click on an element: plain, it selects the element alone (an element
    // already selected keeps the selection and reports alreadySelected);
    // toggle adds or removes it; extend (which wins over toggle) adds the
    // range from the selection's last element to it. Whether the selection
    // changed.
    static bool clickSelect(EdSelection& selection, MnElement* element, bool& alreadySelected, bool extend,
                            bool toggle);
    // The cursor on a clicked element, by its class.
    void placeCursorAt(MnElement* hit);
    // The element drawn on top at a drawing point, with the path of its part.
    MnElement* pickAt(const GePoint2d& point, EdPath& path);

    // Where a left press on nothing starts the window selection; until the
    // tool is installed the press only empties the selection.
    using WindowSelectionFactory = EdTool* (*)(UiViewCore& view, int x, int y, const GePoint2d& point);
    static void setWindowSelectionFactory(WindowSelectionFactory factory);
    void mouseWheel(int x, int y, int delta);
    // Keys the tool declines go to the main frame.
    void keyDown(unsigned key, unsigned repeat, unsigned flags);
    void keyUp(unsigned key, unsigned repeat, unsigned flags);
    // At idle: with the pointer gone from the view, a wheel widget still
    // highlighted by the last frame is cleared by a frame drawn without a
    // pointer. Answers whether it drew.
    bool idleHover(bool pointerInside);
    // The view lost its place as the active one: the tool is cancelled.
    void deactivate();

    // The snapping of the current tool before a frame, its pan afterwards.
    void updateSnap();
    void toolPanned(int dx, int dy);

    UiCommand* currentCommand() const;

    // The box to fly to for a point or a measure (see UiElementBoxes), and
    // the flight to the box under a client point, drawn at its end.
    bool findElementBox(GePoint2d& corner1, GePoint2d& corner2, const GePoint2d& point, MnMeasure* measure);
    void zoomToElementAt(int x, int y);

    // The chord whose span holds a drawing point, laid out with the view's
    // camera: band 0 catches 10 units above and below a staff, below 0 down
    // to the next staff, above 0 up to the previous one; betweenChords cuts
    // the spans halfway between chords, else each chord owns the gap
    // before it. where gets the point, its y in staff units from the top.
    MnChord* chordAtPoint(const GePoint2d& point, GePoint2d* where, int band, bool betweenChords);

    // EdView
    QuorvaneDocument* document() override { return shown; }
    EdSelection& selection() override { return renderer; }
    EdCursor& cursor() override { return noteCursor; }
    bool hasPendingTool() override { return currentTool != nullptr; }
    unsigned pendingToolModifiers() override;
    bool discardPendingTool() override;
    bool redraw(bool markActivity) override { return view.redraw(markActivity); }
    void camera(GePoint2d& scroll, double& zoom) override;
    void goTo(MnMeasure* measure, EdCommand* edit, bool markActivity) override;
    bool placeElement(MnElement* element, const GeMatrix2d& placement) override;
    bool startTool(EdTool* tool) override;
    void releaseTool(EdTool* tool) override;
    MnChord* chordAtPoint(const GePoint2d& point, double& height) override;
    GePoint2d clientToModel(int x, int y) override { return view.clientToDrawing(x, y); }
    void screenToClient(int& x, int& y) override { window.screenToClient(x, y); }
    void showGuideLinesOnce(const BcArray<EdGuideLine*>& lines) override;
    void setDragRectangle(const GePoint2d& from, const GePoint2d& to) override
    {
        renderer.dragStart = from;
        renderer.dragEnd = to;
    }
    unsigned long long lastActivityTick() const override { return view.lastActivity; }
    void setLastActivityTick(unsigned long long tick) override { view.lastActivity = tick; }

private:
    void beginPan(int x, int y);
    // The pan button's move; false when no pan is under way.
    bool panMove(unsigned flags, int x, int y);

    // One animated book page turn of half a second, forward or back.
    void turnPage(MnSheetMusic* sheet, bool forward, bool markActivity);

    // The camera's environment: the window's, with the tool's snapping
    // and pan hooks answered by the view.
    class Bridge : public UiViewEnvironment
    {
    public:
        Bridge(UiViewCore& core, UiViewWindow& window) : core(core), window(window) {}
        unsigned long long tickCount() override { return window.tickCount(); }
        void clientSize(int& width, int& height) override { window.clientSize(width, height); }
        void pointer(int& x, int& y) override { window.pointer(x, y); }
        void present(const UiViewFrame& frame) override { window.present(frame); }
        void updateSnap() override { core.updateSnap(); }
        void toolPanned(int dx, int dy) override { core.toolPanned(dx, dy); }
        bool playerSounding() override { return window.playerSounding(); }
        void refreshPanels() override { window.refreshPanels(); }

    private:
        UiViewCore& core;
        UiViewWindow& window;
    };

    UiViewWindow& window;
    Bridge bridge;

public:
    ReOpenGL renderer;
    UiViewCamera view;

private:
    QuorvaneDocument* shown;
    EdCursor noteCursor;
    EdTool* currentTool = nullptr;
    BcArray<EdGuideLine*> onceGuideLines;
    bool guideLinesPending = false;
    int framedGuideLines = 0;
    bool panning = false;
    bool panMoved = false;
    bool clickedOnElement = false;
};
