#pragma once

#include "panels/UiNoteKeys.h"

class MrRecorder;

// What the computer keyboard's note keys reach outside the editing context:
// the player's preview keys, the recorder, the chord threshold, note entry,
// the instrument panels, the keyboard layout and the keyboard focus. The
// shell implements it; tests fake it.
class UiComputerKeyboardHost
{
public:
    virtual ~UiComputerKeyboardHost() = default;

    // The preview sound of a key index 0..87.
    virtual void keyDown(int key) = 0;
    virtual void keyUp(int key) = 0;
    // The application's recorder; null when there is none.
    virtual MrRecorder* recorder() = 0;
    // "ChordThreshold", milliseconds.
    virtual int chordThreshold() = 0;
    virtual void enterNote(int key, bool addToChord) = 0;
    // A byComputerKeyboard flag changed: every instrument panel repaints.
    virtual void invalidatePanels() = 0;
    virtual int keyboardLanguage() = 0;
    // A text field has the keyboard focus: keys without Ctrl or Alt type
    // there and are no shortcuts.
    virtual bool textFieldHasFocus() = 0;
};

// The main frame's keyboard: the note keys sound a preview, enter notes at
// the cursor (keys within the chord threshold of each other into one chord)
// or, while recording, become recorded events; Ctrl+Alt with a note key
// moves the mapping so that the key plays C. Backspace takes back the last
// note, Tab steps through a chord, Escape clears the note input, the arrows
// move the cursor, the digits 1..7 choose the octave and the keypad's plus
// and minus change the volume. Codes are those of UiKeyCodes.
class UiComputerKeyboard
{
public:
    enum Modifier : unsigned { ctrl = 1, alt = 2 };

    explicit UiComputerKeyboard(UiComputerKeyboardHost& host) : host(host) {}

    // Answer whether the key acted.
    bool keyDown(unsigned code, unsigned modifiers);
    bool keyUp(unsigned code);
    // The keyboard went elsewhere: no key-up will come for the keys held.
    void releaseAll();

    // Time of the last note entered into the score, milliseconds.
    unsigned long long lastNoteKeyTime = 0;

private:
    void takeBackLastNote();
    bool noteKeyDown(int position, unsigned modifiers, unsigned long long now);

    // Per physical note key, what its key-down did, so that its key-up lets
    // go of that key index whatever the mapping has become since.
    struct PressedKey
    {
        int sounding = -1;  // the key index it sounds, or -1
        int entered = -1;   // the key index of its last key-down, or -1
    };
    void release(const PressedKey& physical);

    UiComputerKeyboardHost& host;
    PressedKey pressed[UiNoteKeys::positionCount];
};
