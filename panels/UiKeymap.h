#pragma once

// The keyboard layout in force, as far as the note keys need it: what the
// key at a place types. The shell reads it from the toolkit's keymap; tests
// install a layout of their own.
class UiKeymap
{
public:
    virtual ~UiKeymap() = default;

    // The character the key at an X hardware keycode types without Shift in
    // the active layout, upper-cased; 0 when it types none.
    virtual char32_t upperCharacterAt(unsigned hardwareKeycode) = 0;
};
