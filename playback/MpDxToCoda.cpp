#include "playback/MpDxToCoda.h"

BC_IMPLEMENT_CLASS(MpDxToCoda)
MP_IMPLEMENT_JUMP_COPIES(MpDxToCoda)

bool MpDxToCoda::trigger(int& state)
{
    return takeOnce(fired, state, alCodaState);
}
