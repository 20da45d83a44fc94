#include "playback/MpRepeat.h"

#include "foundation/BcClass.h"
#include "playback/MpDxToCoda.h"
#include "playback/MpDxToFine.h"

BC_IMPLEMENT_CLASS(MpRepeat)
MP_IMPLEMENT_JUMP_COPIES(MpRepeat)

bool MpRepeat::trigger(int&)
{
    ++passes;
    return passes < plays;
}

void MpRepeat::resetOnJump(const MpJump* taken)
{
    if (!taken || !(taken->isKindOf(MpDxToFine::staticClass()) || taken->isKindOf(MpDxToCoda::staticClass())))
        return;
    if (taken->target() <= target() && taken->time() >= time())
        passes = 0;
}
