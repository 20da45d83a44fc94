#pragma once

#include "editing/EdSelectionObserver.h"
#include "panels/UiPanel.h"

#include <vector>

class UiPainter;

// The common base of the panes that show an instrument, the piano keyboard
// and the fretboard: every live one is on one list, in order of
// construction, so whatever changes what they show can refresh them all.
// They draw their whole client area through a memory bitmap, show the hand
// cursor, repaint at once when resized (unless the main window is
// minimised) and pass every key on to the main frame, so that with the
// focus in a pane the computer keyboard plays as it does in the main window.
class UiInstrumentPanel : public UiPanel, public EdSelectionObserver
{
public:
    // Clears every held key: nothing is held when a pane first shows.
    UiInstrumentPanel(wxWindow* parent, wxWindowID id);
    ~UiInstrumentPanel() override;

    // The key (0..87; above 87 for a high fretboard position) this pane
    // holds with the mouse, or -1.
    virtual int pressedKey() const = 0;
    // Recomputes what the pane marks; repaints when anything changed, before
    // returning with updateNow.
    virtual void refreshKeys(bool updateNow) = 0;
    // Draws the pane at a client size.
    virtual void paint(UiPainter& painter, int width, int height) = 0;

    void selectionChanged() override;

    static const std::vector<UiInstrumentPanel*>& panels();
    static bool isPanel(const wxWindow* window);
    // Every pane repaints later.
    static void invalidateAll();
    static void refreshAll(bool updateNow);
    // Lets go of every key the MIDI input holds; answers whether any was
    // held, and only then repaints the panes.
    static bool releaseMidiInputKeys();

protected:
    // Shown on the screen: hidden panes skip their refreshes.
    bool isShowing() const;
    void onPaint(wxPaintEvent& event);
    // Whether a client point lies in the pane: the pane keeps the mouse
    // captured during a press, so events arrive from outside it too.
    bool containsClientPoint(int x, int y) const;
    // A left press: takes the mouse and answers whether the press lies in
    // the pane; one outside it is passed on.
    bool capturePress(wxMouseEvent& event);

private:
    void onSize(wxSizeEvent& event);
    void onKey(wxKeyEvent& event);

    static std::vector<UiInstrumentPanel*> live;
};
