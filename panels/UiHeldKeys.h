#pragma once

#include <array>

// What holds each piano key down outside the mouse: the computer keyboard's
// note keys (the main frame's key handlers) and the MIDI input device. The
// instrument panels mark a key while either holds it. User-interface thread
// only; the MIDI driver's thread posts its data there first.
struct HeldKey
{
    bool byComputerKeyboard = false;
    bool byMidiInput = false;

    bool held() const { return byComputerKeyboard || byMidiInput; }
};

// One entry per piano key index 0..87.
class UiHeldKeys
{
public:
    static constexpr int keyCount = 88;

    static bool inRange(int key) { return key >= 0 && key < keyCount; }

    // The entry of a key; keys outside 0..87 have none and read as not held.
    static HeldKey at(int key);
    static bool isHeld(int key) { return at(key).held(); }

    // Writers ignore keys outside 0..87. Each answers whether the flag changed.
    static bool setByComputerKeyboard(int key, bool held);
    static bool setByMidiInput(int key, bool held);

    // Clears every byMidiInput flag; answers whether any was set.
    static bool clearMidiInput();
    // Clears both flags of every key (a new instrument panel starts clean).
    static void clearAll();

private:
    static std::array<HeldKey, keyCount> heldKeys;
};
