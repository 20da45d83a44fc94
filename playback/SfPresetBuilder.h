#pragma once

#include "playback/SfPreset.h"

#include <vector>

class BcString;
class SfBankFile;

// Turns the zone hierarchy of a checked bank into presets of ready-made
// regions. Within a level a zone's generators replace those of the level's
// global zone; the preset level then adds to the instrument level.
class SfPresetBuilder
{
public:
    // More regions than this are refused rather than allocated.
    static constexpr int maxRegions = 1 << 18;

    // Presets ordered by bank, preset number and file order. False with a
    // reason, and presets untouched, when a looping region's loop lies
    // outside its sample or the bank makes too many regions. The bank has
    // passed SfBankFile's checks, its samples' included.
    static bool build(const SfBankFile& bank, std::vector<SfPreset>& presets, BcString& reason);
};
