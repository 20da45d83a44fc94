#include "playback/MpPlayerContext.h"

#include "playback/MpPlayer.h"

bool MpPlayerContext::playerIsPlaying()
{
    return contextPlayer && contextPlayer->isPlaying();
}

bool MpPlayerContext::playerPlays(const QuorvaneDocument* document)
{
    return contextPlayer && document && contextPlayer->isPlaying(document);
}

bool MpPlayerContext::playerPosition(int lookAheadMilliseconds, EdNotePath& position)
{
    if (!contextPlayer || !contextPlayer->isPlaying())
        return false;
    contextPlayer->playingPosition(position, lookAheadMilliseconds > 0 ? unsigned(lookAheadMilliseconds) : 0u);
    return true;
}

void MpPlayerContext::playerUpdate(MnElement* position)
{
    if (contextPlayer)
        contextPlayer->update(position);
}

void MpPlayerContext::playerStop()
{
    if (contextPlayer)
        contextPlayer->stop();
}
