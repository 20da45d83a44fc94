#pragma once

#include <string>

class EdSelection;

// What the instrument panels reach of the program: the player's sounding
// keys and preview notes, the recorder, note entry at the cursor, the
// computer keyboard's note mapping, the modifier keys and the active view's
// selection. The running program's services are the default; tests install
// their own.
class UiInstrumentServices
{
public:
    static constexpr int keyCount = 88;

    virtual ~UiInstrumentServices() = default;

    static UiInstrumentServices& current();
    // Answers the services it replaces; null restores the program's own.
    static UiInstrumentServices* install(UiInstrumentServices* services);

    // The player's flags of the keys it sounds; all 0 when nothing plays.
    virtual void soundingKeys(unsigned char keys[keyCount]);
    // Preview sound of a key pressed with the mouse.
    virtual void keyDown(int key);
    virtual void keyUp(int key);
    virtual bool isRecording();
    virtual void recordKeyDown(int key);
    virtual void recordKeyUp(int key);
    virtual void enterNote(int key);
    // Moves the computer keyboard's note mapping so that the key becomes its C.
    virtual void setKeyboardOctaveFromKey(int key);
    // Both Ctrl and Alt are down at this moment (either side of each).
    virtual bool ctrlAndAltHeld();
    // The active score view's selection; null without one.
    virtual const EdSelection* activeSelection();
    // The note mapping: octave 1..7, transpose, and the sixteen labels
    // of the note keys of the active keyboard layout.
    virtual int keyboardOctave();
    virtual int keyboardTranspose();
    virtual std::u32string keyLabels();
};
