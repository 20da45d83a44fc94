#include "panels/UiHeldKeys.h"

std::array<HeldKey, UiHeldKeys::keyCount> UiHeldKeys::heldKeys{};

HeldKey UiHeldKeys::at(int key)
{
    return inRange(key) ? heldKeys[key] : HeldKey{};
}

bool UiHeldKeys::setByComputerKeyboard(int key, bool held)
{
    if (!inRange(key) || heldKeys[key].byComputerKeyboard == held)
        return false;
    heldKeys[key].byComputerKeyboard = held;
    return true;
}

bool UiHeldKeys::setByMidiInput(int key, bool held)
{
    if (!inRange(key) || heldKeys[key].byMidiInput == held)
        return false;
    heldKeys[key].byMidiInput = held;
    return true;
}

bool UiHeldKeys::clearMidiInput()
{
    bool any = false;
    for (HeldKey& key : heldKeys)
    {
        any = any || key.byMidiInput;
        key.byMidiInput = false;
    }
    return any;
}

void UiHeldKeys::clearAll()
{
    heldKeys.fill(HeldKey{});
}
