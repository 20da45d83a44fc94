#pragma once

// The key codes the keyboard handlers of the main frame and the panels act
// on, made from the toolkit's key events. Note keys and the digits 1..7 are
// found by their place on the keyboard, the rest by what the key means.
class UiKeyCodes
{
public:
    static constexpr unsigned back = 0x08;
    static constexpr unsigned tab = 0x09;
    static constexpr unsigned escape = 0x1B;
    static constexpr unsigned shift = 0x10;
    static constexpr unsigned control = 0x11;
    static constexpr unsigned alt = 0x12;
    static constexpr unsigned pageUp = 0x21;
    static constexpr unsigned pageDown = 0x22;
    static constexpr unsigned end = 0x23;
    static constexpr unsigned home = 0x24;
    static constexpr unsigned left = 0x25;
    static constexpr unsigned up = 0x26;
    static constexpr unsigned right = 0x27;
    static constexpr unsigned down = 0x28;
    static constexpr unsigned insert = 0x2D;
    static constexpr unsigned deleteKey = 0x2E;
    static constexpr unsigned digit0 = 0x30;  // 0x31..0x39 the digits 1..9
    static constexpr unsigned add = 0x6B;       // keypad plus
    static constexpr unsigned subtract = 0x6D;  // keypad minus
    static constexpr unsigned f1 = 0x70;        // .. F24

    // The code of a key event: hardwareKeycode is the X keycode of the key's
    // place, toolkitCode the toolkit's key code, keyboardLanguage the layout's
    // language. A note key gets its language row's code at its place; a key
    // elsewhere that would pass for a note key (another layout's letter)
    // gets 0, as does a key with no code.
    static unsigned fromEvent(unsigned hardwareKeycode, int toolkitCode, int keyboardLanguage);
};
