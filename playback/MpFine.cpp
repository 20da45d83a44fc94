#include "playback/MpFine.h"

BC_IMPLEMENT_CLASS(MpFine)
MP_IMPLEMENT_JUMP_COPIES(MpFine)

bool MpFine::trigger(int& state)
{
    return takeInState(state, alFineState);
}
