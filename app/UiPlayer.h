#pragma once

#include "app/UiPlayerPort.h"
#include "playback/MpPlayer.h"
#include "playback/MpPlayerServices.h"

// The playback layer's player as start-up, shut-down and the toggles see
// it. While it is open, the renderer asks it which notes sound.
class UiPlayer : public UiPlayerPort
{
public:
    UiPlayer();
    ~UiPlayer() override;

    MpPlayer& engine() { return player; }

    bool open() override;
    void close() override;
    bool isOpen() const override { return player.isOpen(); }
    BcString openFailureReason() const override { return player.openFailureReason(); }
    void applyMute(bool muted) override;
    bool isMuted() const override { return player.isWaveOutMuted(); }

private:
    MpPlayer player;
    MpPlayerServices services;
};
