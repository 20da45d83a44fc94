#include "playback/MpDxToFine.h"

BC_IMPLEMENT_CLASS(MpDxToFine)
MP_IMPLEMENT_JUMP_COPIES(MpDxToFine)

bool MpDxToFine::trigger(int& state)
{
    return takeOnce(fired, state, alFineState);
}
