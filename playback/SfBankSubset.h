#pragma once

#include "playback/SfBankWriter.h"

#include <string>
#include <vector>

class BcString;
class SfBankFile;

// Makes a bank of chosen presets of another bank: each chosen preset, with
// its zones and generators, the instruments they use and the samples those
// play (stereo partners included), every index and sample link renumbered.
// The chosen presets become presets 0, 1, 2... of bank 0, in the order given.
// Modulators are left out.
class SfBankSubset
{
public:
    struct Choice
    {
        int bank = 0;
        int preset = 0;
    };

    // source is read with its points kept as shorts and has passed its
    // structure checks. A copied sample header whose loop lies outside the
    // sample is repaired, and repairs says which; false with a reason when a
    // chosen preset is missing or a sample cannot be copied, with bank
    // untouched.
    static bool make(const SfBankFile& source, const std::vector<Choice>& chosen, SfBankWriter& bank,
                     std::vector<std::string>& repairs, BcString& reason);
};
