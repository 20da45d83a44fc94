#include "playback/MpJump.h"

BC_IMPLEMENT_CLASS(MpJump)

void MpJump::resetOnJump(const MpJump*) {}

bool MpJump::takeOnce(bool& fired, int& state, State entered)
{
    if (fired)
        return false;
    fired = true;
    state = entered;
    return true;
}

bool MpJump::takeInState(int& state, State required)
{
    if (state != required)
        return false;
    state = popState;
    return true;
}
