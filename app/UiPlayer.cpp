#include "app/UiPlayer.h"

#include "render/ReServices.h"

UiPlayer::UiPlayer() : services(player) {}

UiPlayer::~UiPlayer()
{
    close();
}

bool UiPlayer::open()
{
    if (!player.open())
        return false;
    ReServices::install(&services);
    return true;
}

void UiPlayer::close()
{
    // The renderer stops asking before the player goes.
    if (&ReServices::current() == &services)
        ReServices::install(nullptr);
    player.close();
}

void UiPlayer::applyMute(bool muted)
{
    player.setWaveOutVolume(muted ? 0 : player.savedWaveOutVolume());
}
