#pragma once

#include "playback/SfRegion.h"

#include <vector>

// A preset of the loaded bank with its regions, ready to play.
struct SfPreset
{
    char name[21] = {};
    int presetNumber = 0;
    int bankNumber = 0;
    std::vector<SfRegion> regions;
};
