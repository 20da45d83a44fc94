#include "app/UiViewInput.h"

namespace {

// The X key symbols of the modifiers, which the toolkit passes as the raw code.
struct Modifier
{
    unsigned raw;
    UiViewKeys::Side side;
    unsigned code;
};
constexpr Modifier modifiers[] = {
    {0xffe1, UiViewKeys::leftShift, UiViewInput::shiftKey},
    {0xffe2, UiViewKeys::rightShift, UiViewInput::shiftKey},
    {0xffe3, UiViewKeys::leftControl, UiViewInput::controlKey},
    {0xffe4, UiViewKeys::rightControl, UiViewInput::controlKey},
    {0xffe9, UiViewKeys::leftAlt, UiViewInput::altKey},
    {0xffea, UiViewKeys::rightAlt, UiViewInput::altKey},
};

}  // namespace

UiViewKeys& UiViewKeys::shared()
{
    static UiViewKeys keys;
    return keys;
}

UiViewInput::Key UiViewKeys::press(unsigned raw, int code)
{
    return track(raw, code, true);
}

UiViewInput::Key UiViewKeys::release(unsigned raw, int code)
{
    return track(raw, code, false);
}

void UiViewKeys::clear()
{
    for (bool& key : down)
        key = false;
    lastPressed = 0;
}

UiViewInput::Key UiViewKeys::track(unsigned raw, int code, bool pressed)
{
    UiViewInput::Key key;
    key.code = code > 0 ? unsigned(code) : 0;
    for (const Modifier& modifier : modifiers) {
        if (modifier.raw != raw)
            continue;
        key.code = modifier.code;
        if (pressed && down[modifier.side])
            key.flags |= UiViewInput::wasDownFlag;
        // A release always had its key down before.
        if (!pressed)
            key.flags |= UiViewInput::wasDownFlag;
        down[modifier.side] = pressed;
        return key;
    }
    // Auto-repeats of a held key arrive as presses of the key last pressed.
    if (pressed) {
        if (lastPressed == key.code && key.code != 0)
            key.flags |= UiViewInput::wasDownFlag;
        lastPressed = key.code;
    } else {
        key.flags |= UiViewInput::wasDownFlag;
        if (lastPressed == key.code)
            lastPressed = 0;
    }
    return key;
}
