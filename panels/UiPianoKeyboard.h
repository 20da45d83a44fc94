#pragma once

#include "panels/UiInstrumentPanel.h"
#include "panels/UiPainter.h"

// The docking pane of a full 88-key piano, A0 to C8, stretched over its
// width. It marks the keys that sound and the notes selected in the active
// view; a click plays a key and enters it at the cursor (or records it),
// a drag plays and enters each key reached, Ctrl+Alt+click moves the
// computer keyboard's note mapping, and the keys that mapping reaches carry
// its labels when there is room.
class UiPianoKeyboard : public UiInstrumentPanel
{
public:
    static constexpr int keyCount = 88;
    static constexpr int whiteKeyCount = 52;
    // Bits of a key's state.
    static constexpr unsigned char selectedBit = 1, soundingBit = 2;

    static constexpr unsigned backgroundColor = UiPainter::rgb(240, 240, 240);
    static constexpr unsigned whiteColor = UiPainter::rgb(255, 255, 255);
    static constexpr unsigned innerStripColor = UiPainter::rgb(180, 0, 0);
    static constexpr unsigned outerStripColor = UiPainter::rgb(127, 0, 0);
    static constexpr unsigned blackColor = UiPainter::rgb(0, 0, 0);
    static constexpr unsigned highlightColor = UiPainter::rgb(64, 64, 64);
    static constexpr unsigned selectedColor = UiPainter::rgb(132, 210, 255);
    static constexpr unsigned soundingColor = UiPainter::rgb(253, 216, 134);
    static constexpr unsigned whiteLabelColor = UiPainter::rgb(160, 160, 160);
    static constexpr unsigned blackLabelColor = UiPainter::rgb(120, 120, 120);

    UiPianoKeyboard(wxWindow* parent, wxWindowID id);

    // White key i (1..52, A0 the first) has a black key to its right.
    static bool hasBlackKey(int whiteKey);
    // The key under a point of a pane of that size, or -1; black keys win.
    static int keyAt(int x, int y, int width, int height);
    // Where white key i and the black key to its right lie.
    static UiRect whiteKeyOutline(int whiteKey, int width, int height);
    static UiRect blackKeyBody(int whiteKey, int width, int height);

    int pressedKey() const override { return pressed; }
    void refreshKeys(bool updateNow) override;
    void paint(UiPainter& painter, int width, int height) override;

    // 1 for a key of a selected note, 2 for a sounding key.
    static void computeKeyStates(unsigned char states[keyCount]);
    const unsigned char* keyStates() const { return states; }

    // The mouse, in client coordinates of a pane of the current size.
    void mouseDown(int x, int y);
    void mouseUp();
    void mouseMove(int x, int y, bool inside);

private:
    void paintLabels(UiPainter& painter, int width, int height);
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onCaptureLost(wxMouseCaptureLostEvent& event);

    int pressed = -1;
    unsigned char states[keyCount] = {};
};
