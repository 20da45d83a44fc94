#pragma once

#include "commands/EdCommandTable.h"

class UiMainFrame;
class wxEvent;
class wxWindow;

// The enabled and checked states of the menus, the toolbar and the status
// panes, asked once per item at every idle update. The inputs are gathered
// once and kept until any event other than a state query arrives (the
// queries of one update come in a burst, with nothing between them that
// could change a state).
class UiCommandStates
{
public:
    // The shell's own rows: the picture button and the tempo box of the
    // toolbar, and Rename of the project browser.
    static constexpr unsigned renameId = 33083, pictureButtonId = 32816, tempoBoxId = 32830;
    static void addRows();

    // The core's inputs and what only the shell knows: the panes shown, and
    // Ctrl and Shift as the score view's key tracking saw them.
    static EdCommandInputs gather(UiMainFrame* frame);
    // The kept inputs, gathered anew when an event came since.
    static const EdCommandInputs& inputs(UiMainFrame* frame);
    static EdCommandState state(UiMainFrame* frame, unsigned id);
    // Forget the kept inputs.
    static void invalidate();
    // Every event but a state query or an idle call to a window makes the
    // kept inputs stale; the application's filter hands each one here.
    static void noteEvent(const wxEvent& event);

    // A text field has the keyboard: keys without Ctrl or Alt type into it
    // rather than run a command.
    static bool textFieldHasFocus(wxWindow* focus);
    // The shortcuts that are plain keys (digits, letters, Delete, arrows,
    // Page Up and Down, the keypad's plus and minus) as opposed to those
    // with Ctrl or Alt or on a function key.
    static bool isPlainKey(int keyCode, bool ctrl, bool alt);
};
