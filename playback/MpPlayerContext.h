#pragma once

#include "editing/EdContext.h"

class MpPlayer;

// An editing context whose player is an MpPlayer: the application's context
// derives from it and sets the player at start-up, so that editing reaches
// playback without knowing the playback layer. Without a player it is as
// silent as the base.
class MpPlayerContext : public EdContext
{
public:
    explicit MpPlayerContext(MpPlayer* player = nullptr) : contextPlayer(player) {}

    // Not owned; null silences it.
    void setPlayer(MpPlayer* player) { contextPlayer = player; }
    MpPlayer* player() const { return contextPlayer; }

    bool playerIsPlaying() override;
    bool playerPlays(const QuorvaneDocument* document) override;
    // False, with position untouched, while not playing.
    bool playerPosition(int lookAheadMilliseconds, EdNotePath& position) override;
    void playerUpdate(MnElement* position) override;
    void playerStop() override;

    bool playerIsOpen() override;
    bool playerIsPaused() override;
    void playerPlay(MnScore* score, int startTime, int displayFloor) override;
    void playerPause() override;
    void playerResume() override;
    void playerNoteOffAll() override;
    int playerPreviewInstrument() override;
    void setPlayerPreviewInstrument(int instrument) override;
    unsigned playerVolume() override;
    void setPlayerVolume(unsigned volume) override;
    unsigned playerSavedVolume() override;
    void setPlayerSavedVolume(unsigned volume) override;
    bool playerIsMuted() override;

private:
    MpPlayer* contextPlayer;
};
