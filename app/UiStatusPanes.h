#pragma once

#include "commands/EdCommandTable.h"

#include <string>

class EdView;
class QuorvaneDocument;

// The status bar's eleven panes as plain values: their sizes and styles,
// the rectangles they take in a bar, which pane a click or the wheel
// lands on and what it does there, and the text and highlight of each. The
// bar window only paints what this decides, so all of it runs headless.
class UiStatusPanes
{
public:
    static constexpr int paneCount = 11;
    enum Pane { octave, midiInput, cursor, snap, ortho, spacer1, tracking, spacer2, volume, undo, turn };
    enum Style { plain = 0, popOut = 1, stretch = 2, noBorders = 4 };

    struct PaneDefinition
    {
        unsigned id;
        int style;
        // At 96 dpi; the volume pane is three snap widths, each scaled first.
        int width;
        // The string whose full text is the pane's tool tip; 0 for none.
        unsigned tipString;
    };
    static const PaneDefinition& definition(int pane);
    static int width(int pane, double scale);

    struct Rect
    {
        int x = 0, y = 0, width = 0, height = 0;
        bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
        bool isEmpty() const { return width <= 0 || height <= 0; }
    };
    // The panes side by side across a bar of that size, a gap of `gap`
    // pixels between them; the stretching pane takes what the fixed ones
    // leave (never less than nothing).
    static void layout(int barWidth, int barHeight, double scale, int gap, Rect rects[paneCount]);

    // Clicks test the panes in this order; the first that holds the point
    // decides.
    static constexpr int clickOrder[6] = {turn, volume, tracking, snap, ortho, midiInput};
    static int clickedPane(const Rect rects[paneCount], int x, int y);

    enum Action { nothing, postCommand, toggleSnap, toggleOrtho };
    struct Click
    {
        Action action = nothing;
        unsigned command = 0;
    };
    static Click clickOn(int pane);
    // The command a wheel turn over the pane posts: Volume up for a delta of
    // 1 or more, Volume down otherwise; 0 when the wheel is not taken (not
    // over the volume pane, or no player).
    static unsigned wheelCommand(int pane, bool playerOpen, int delta);

    // What the texts are made of; the shell fills it at idle time.
    struct Inputs
    {
        EdCommandInputs commands;
        int keyboardOctave = 4;
        int keyboardTranspose = 0;
        std::wstring midiDeviceName;
        // The remembered volume (its low 16 bits count).
        unsigned savedVolume = 0;
        // The cursor pane's text, from cursorText.
        std::wstring cursorText;
    };

    struct State
    {
        std::wstring text;
        bool enabled = true;
        bool highlighted = false;
        // The pane keeps the text it had (the volume pane with no player).
        bool keepText = false;
    };
    // The state of every pane but the spacers, which keep an empty text.
    static void states(const Inputs& inputs, State states[paneCount]);

    // The volume pane's percentage: rounded to a multiple of 5, remainders
    // 0 and 1 down, 2 to 4 up.
    static int volumePercent(unsigned savedVolume);
    // "Score n   Staff n   Measure n   Chord n" of the view's cursor, with
    // the grace position; empty where the cursor is on nothing.
    static std::wstring cursorText(const QuorvaneDocument* document, EdView* view);
    // A text that begins with a tab and has more after it is drawn centred.
    static bool isCentred(const std::wstring& text) { return text.size() >= 2 && text[0] == L'\t'; }
};
