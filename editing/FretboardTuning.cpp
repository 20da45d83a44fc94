#include "editing/FretboardTuning.h"

bool FretboardTuning::equals(const FretboardTuning& other) const
{
    if (strings != other.strings || frets != other.frets)
        return false;
    if (strings < 0 || strings > maxStrings)
        return false;
    for (int s = 0; s < strings; ++s) {
        if (pitch[s] != other.pitch[s] || octave[s] != other.octave[s])
            return false;
    }
    return true;
}

namespace {

// Letter indices of the natural open notes.
constexpr int A = 0, B = 1, D = 3, E = 4, G = 6;

struct Preset
{
    int strings;
    int pitch[FretboardTuning::maxStrings];
    int octave[FretboardTuning::maxStrings];
    int frets;
};

constexpr Preset presets[FretboardTuning::presetCount] = {
    {6, {E, B, G, D, A, E}, {5, 4, 4, 4, 3, 3}, 19},  // Guitar
    {4, {G, D, A, E}, {3, 3, 2, 2}, 20},              // Bass guitar
    {4, {A, E, D, G}, {5, 5, 5, 5}, 12},              // Ukelele
    {4, {E, A, D, G}, {6, 5, 5, 4}, 22},              // Mandolin
    {5, {D, B, G, D, G}, {5, 4, 4, 4, 5}, 22},        // Banjo
};

}

FretboardTuning FretboardTuning::preset(int index)
{
    const Preset& from = presets[index >= 0 && index < presetCount ? index : 0];
    FretboardTuning tuning;
    tuning.strings = from.strings;
    for (int s = 0; s < from.strings; ++s) {
        tuning.pitch[s] = from.pitch[s];
        tuning.octave[s] = from.octave[s];
    }
    tuning.frets = from.frets;
    return tuning;
}

int FretboardTuning::presetIndex(const FretboardTuning& tuning)
{
    for (int i = 0; i < presetCount; ++i) {
        if (tuning.equals(preset(i)))
            return i;
    }
    return -1;
}
