#pragma once

// The score view's input as plain values. The canvas turns its toolkit
// events into these; the view and its tools see nothing else.
namespace UiViewInput {

// Mouse flags, as the tools read them.
constexpr unsigned leftButton = 0x01;
constexpr unsigned rightButton = 0x02;
constexpr unsigned shift = 0x04;
constexpr unsigned control = 0x08;
constexpr unsigned middleButton = 0x10;

// Key codes of the modifiers, and the flag of a key that was down before
// (an auto-repeat).
constexpr unsigned shiftKey = 0x10;
constexpr unsigned controlKey = 0x11;
constexpr unsigned altKey = 0x12;
constexpr unsigned wasDownFlag = 0x4000;

struct Mouse
{
    int x = 0;  // client pixels, y downward
    int y = 0;
    unsigned flags = 0;
    int wheelDelta = 0;  // above 0 forward
};

struct Key
{
    unsigned code = 0;
    unsigned repeat = 1;
    unsigned flags = 0;
};

}  // namespace UiViewInput

// Which modifier keys are down, left and right apart, as told by the key
// events of the view: the toolkit's global key state tells no side and is
// not known everywhere. Shared by the process (one keyboard).
class UiViewKeys
{
public:
    enum Side { leftShift, rightShift, leftControl, rightControl, leftAlt, rightAlt, sideCount };

    static UiViewKeys& shared();

    // A key press or release: raw is the platform's key symbol (it tells
    // the sides), code the toolkit's key code. Answers the key as the view
    // hands it on, with the was-down flag on a press of a key already down.
    UiViewInput::Key press(unsigned raw, int code);
    UiViewInput::Key release(unsigned raw, int code);
    bool isDown(Side side) const { return side >= 0 && side < sideCount && down[side]; }
    // Focus left the view: no release will come.
    void clear();

private:
    UiViewInput::Key track(unsigned raw, int code, bool pressed);
    bool down[sideCount] = {};
    // Other keys held, by code, for the was-down flag.
    unsigned lastPressed = 0;
};
