#pragma once

#include "render/ReServices.h"

class MpPlayer;

// The renderers' services answered by an MpPlayer: the shell installs one
// over its player, so chords sounding in playback are drawn in the playing
// colour.
class MpPlayerServices : public ReServices
{
public:
    explicit MpPlayerServices(const MpPlayer& player) : player(player) {}

    bool isNotePlaying(const MnChord* chord, int pass) const override;

private:
    const MpPlayer& player;
};
