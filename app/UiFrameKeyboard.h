#pragma once

#include "app/UiComputerKeyboard.h"

#include <memory>

class Quorvane;
class UiKeymap;
class wxKeyEvent;

// The main frame's keyboard over the running program: the player's preview
// keys, the recorder, the settings, the panels and the keymap. Key events
// reach it from the main frame (the application sends it the keys of other
// windows while no document window is active), from the score view (the
// keys its tool declines) and from the instrument panels.
class UiFrameKeyboard : public UiComputerKeyboardHost
{
public:
    explicit UiFrameKeyboard(Quorvane& app);
    ~UiFrameKeyboard() override;
    UiFrameKeyboard(const UiFrameKeyboard&) = delete;
    UiFrameKeyboard& operator=(const UiFrameKeyboard&) = delete;

    // A toolkit key event; skipped on when the keyboard did not act.
    void onKey(wxKeyEvent& event);
    // A key whose code was made already (UiKeyCodes), as the view hands on.
    bool key(unsigned code, unsigned modifiers, bool down);
    // The code of a toolkit key event in the keyboard layout in force.
    unsigned codeOf(const wxKeyEvent& event) const;
    // Ctrl and Alt as the keyboard reads them, at this moment.
    static unsigned modifiersNow();

    // Reads the keyboard layout's language again; when it changed, the
    // piano keyboard shows the new labels at once.
    void readKeyboardLanguage();
    // Reads the layout from another keymap from now on (tests).
    void useKeymap(std::unique_ptr<UiKeymap> replacement);
    // The frame lost the keyboard: the held note keys let go.
    void releaseAll() { keyboard.releaseAll(); }

    // UiComputerKeyboardHost
    void keyDown(int key) override;
    void keyUp(int key) override;
    MrRecorder* recorder() override;
    int chordThreshold() override;
    void enterNote(int key, bool addToChord) override;
    void invalidatePanels() override;
    int keyboardLanguage() override;
    bool textFieldHasFocus() override;

private:
    Quorvane& app;
    UiComputerKeyboard keyboard{*this};
    std::unique_ptr<UiKeymap> keymap;
};
