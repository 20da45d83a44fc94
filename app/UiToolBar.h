#pragma once

#include "app/UiNoteInput.h"

#include <wx/aui/auibar.h>

#include <functional>

class Quorvane;
class wxSpinCtrl;

// The main toolbar: 43 buttons (separators included) of the image strip of
// its size, the tempo box in place of button 39, and right clicks on some
// buttons that clear the note input or ask Play score to pause first.
class UiToolBar : public wxAuiToolBar
{
public:
    static constexpr int buttonCount = 43;
    // Command ids by button index; 0 is a separator.
    static const unsigned buttons[buttonCount];
    static constexpr int tempoIndex = 39, playIndex = 40;
    static constexpr unsigned tempoBoxId = 32830;
    static constexpr unsigned toolbarId = 130, largeToolbarId = 180;

    // The image size from the width of a system icon: three quarters of
    // it, 24 below 28, 32 below 40, else itself.
    static int imageSize(int iconWidth);
    static unsigned stripFor(int imageSize) { return imageSize == 24 ? toolbarId : largeToolbarId; }
    static int barHeight(int imageSize) { return int(imageSize / 24.0 * 40); }
    static int buttonSize(int imageSize) { return int(imageSize / 24.0 * 28); }
    // The width of a system icon at the display's scale.
    static int systemIconWidth();

    // Buttons that take a right click as a click; of those, the ones whose
    // release clears the selection and the note input first.
    static bool takesRightClick(int index);
    static bool clearsOnRightRelease(int index) { return takesRightClick(index) && index <= 35; }

    UiToolBar(wxWindow* parent, Quorvane& app);
    ~UiToolBar() override;

    wxSpinCtrl* tempoBox() const { return tempo; }
    // The button index under a point of the bar, or -1.
    int indexAt(const wxPoint& point) const;
    // The bar is ready: from now on the tempo box's changes reach the player.
    void setCreated() { created = true; }

    // Where the tempo box's value goes: the player's tempo, under the
    // playback lock, while the player is open. Tests put in their own.
    using TempoSink = std::function<void(int beatsPerMinute)>;
    static void setTempoSink(TempoSink sink);
    // The box's value into the player, as a change of its text does.
    void copyTempo();

private:
    class TempoBox;
    void addButtons(int size);
    void onRightDown(wxMouseEvent& event);
    void onRightUp(wxMouseEvent& event);
    void onLeft(wxMouseEvent& event);
    void onTempoText(wxCommandEvent& event);
    void passOn(wxMouseEvent& event, wxEventType type);

    Quorvane& app;
    wxSpinCtrl* tempo = nullptr;
    TempoBox* box = nullptr;
    bool rightButtonDown = false;
    bool created = false;
};
