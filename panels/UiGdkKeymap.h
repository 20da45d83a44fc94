#pragma once

#include "panels/UiKeymap.h"

#include <functional>

// The keymap of the display the toolkit runs on: the active group of an X
// display (the layout the user switched to), else the first.
class UiGdkKeymap : public UiKeymap
{
public:
    char32_t upperCharacterAt(unsigned hardwareKeycode) override;

    // Calls changed on the interface thread whenever the keymap's keys or
    // its active group may have changed; a later call replaces the earlier
    // callback, an empty one stops the calls.
    static void watch(std::function<void()> changed);
};
