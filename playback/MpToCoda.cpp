#include "playback/MpToCoda.h"

BC_IMPLEMENT_CLASS(MpToCoda)
MP_IMPLEMENT_JUMP_COPIES(MpToCoda)

bool MpToCoda::trigger(int& state)
{
    return takeInState(state, alCodaState);
}
