#include "playback/MpPlayerServices.h"

#include "playback/MpPlayer.h"

bool MpPlayerServices::isNotePlaying(const MnChord* chord, int pass) const
{
    return player.isNotePlaying(chord, pass);
}
