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

bool MpPlayerContext::playerIsOpen()
{
    return contextPlayer && contextPlayer->isOpen();
}

bool MpPlayerContext::playerIsPaused()
{
    return contextPlayer && contextPlayer->isPaused();
}

void MpPlayerContext::playerPlay(MnScore* score, int startTime, int displayFloor)
{
    if (contextPlayer)
        contextPlayer->play(score, startTime, displayFloor);
}

void MpPlayerContext::playerPause()
{
    if (contextPlayer)
        contextPlayer->pause();
}

void MpPlayerContext::playerResume()
{
    if (contextPlayer)
        contextPlayer->resume();
}

void MpPlayerContext::playerNoteOffAll()
{
    if (contextPlayer)
        contextPlayer->noteOffAll();
}

int MpPlayerContext::playerPreviewInstrument()
{
    return contextPlayer ? contextPlayer->previewInstrument() : EdContext::playerPreviewInstrument();
}

void MpPlayerContext::setPlayerPreviewInstrument(int instrument)
{
    if (contextPlayer)
        contextPlayer->setPreviewInstrument(instrument);
    else
        EdContext::setPlayerPreviewInstrument(instrument);
}

unsigned MpPlayerContext::playerVolume()
{
    return contextPlayer ? contextPlayer->waveOutVolume() : 0;
}

void MpPlayerContext::setPlayerVolume(unsigned volume)
{
    if (contextPlayer)
        contextPlayer->setWaveOutVolume(volume);
}

unsigned MpPlayerContext::playerSavedVolume()
{
    return contextPlayer ? contextPlayer->savedWaveOutVolume() : 0;
}

void MpPlayerContext::setPlayerSavedVolume(unsigned volume)
{
    if (contextPlayer)
        contextPlayer->setSavedWaveOutVolume(volume);
}

bool MpPlayerContext::playerIsMuted()
{
    return contextPlayer && contextPlayer->isWaveOutMuted();
}
