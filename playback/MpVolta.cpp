#include "playback/MpVolta.h"

BC_IMPLEMENT_CLASS(MpVolta)
MP_IMPLEMENT_JUMP_COPIES(MpVolta)

bool MpVolta::trigger(int&)
{
    if (endings == 0)
        return false;
    const int index = passes;
    ++passes;
    setTarget(endingStarts[index < endings ? index : endings - 1]);
    return true;
}

bool MpVolta::addEndingStart(int time)
{
    if (endings == maxEndings)
        return false;
    endingStarts[endings++] = time;
    return true;
}
