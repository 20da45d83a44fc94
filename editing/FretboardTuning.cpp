#include "editing/FretboardTuning.h"

#include "model/MnTablature.h"

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

unsigned FretboardTuning::presetNameId(int index)
{
    static const unsigned ids[presetCount] = {10108, 10110, 10109, 10112, 10113};
    return ids[index >= 0 && index < presetCount ? index : 0];
}

bool FretboardTuning::isValid() const
{
    if (strings < 1 || strings > maxStrings || frets < 1 || frets > maxFrets)
        return false;
    for (int s = 0; s < strings; ++s) {
        if (pitch[s] < 0 || pitch[s] >= letterCount || octave[s] < 0 || octave[s] > maxOctave)
            return false;
    }
    return true;
}

void FretboardTuning::clearUnusedStrings()
{
    for (int s = strings < 0 ? 0 : strings; s < maxStrings; ++s) {
        pitch[s] = 0;
        octave[s] = 0;
    }
}

int FretboardTuning::openKeyOf(int letter, int octave)
{
    // The key of each natural letter in octave 1, A B C D E F G.
    static const int base[7] = {12, 14, 3, 5, 7, 8, 10};
    if (letter < 0 || letter >= letterCount)
        letter = 0;
    int key = base[letter % 7] + 12 * octave - 12;
    if (letter >= 14)
        ++key;
    else if (letter >= 7)
        --key;
    return key < 0 ? 0 : key > 87 ? 87 : key;
}

int FretboardTuning::openKey(int string) const
{
    if (string < 0 || string >= strings || string >= maxStrings)
        return -1;
    return openKeyOf(pitch[string], octave[string]);
}

int FretboardTuning::positionCount() const
{
    return isValid() ? (frets + 1) * strings : 0;
}

int FretboardTuning::keyAtPosition(int position, int capoLimit) const
{
    if (position < 0 || position >= positionCount())
        return -1;
    const int fret = position % (frets + 1);
    const int open = openKey(position / (frets + 1));
    return fret > capoLimit ? open + fret : open + capoLimit;
}

int FretboardTuning::positionOfKey(int key, int n, int capoLimit) const
{
    if (key < 0 || key > 87 || n < 0 || positionCount() == 0)
        return -1;
    for (int s = 0; s < strings; ++s) {
        const int fret = key - openKey(s);
        if (fret >= capoLimit && fret <= frets && fret >= 0) {
            if (n == 0)
                return s * (frets + 1) + fret;
            --n;
        }
    }
    return -1;
}

// The model counts steps from C, the fretboard its letters from A.
int FretboardTuning::letterOf(int step, int accidental)
{
    int letter = step >= 0 && step <= 6 ? (step + 2) % 7 : 0;
    if (accidental == -1)
        letter += 7;
    else if (accidental == 1)
        letter += 14;
    return letter;
}

bool FretboardTuning::stepOf(int letter, int& step, int& accidental)
{
    if (letter < 0 || letter >= letterCount)
        return false;
    step = (letter + 5) % 7;
    accidental = letter < 7 ? 0 : letter < 14 ? -1 : 1;
    return true;
}

bool FretboardTuning::fromTablature(const MnTablature& tablature, FretboardTuning& tuning)
{
    const int count = tablature.stringCount();
    if (count < 1 || count > maxStrings)
        return false;
    FretboardTuning made;
    made.strings = count;
    for (int s = 0; s < count; ++s) {
        const MnTablature::Tuning& open = tablature.tuning(s);
        made.pitch[s] = letterOf(open.step, open.accidental);
        made.octave[s] = open.octave;
    }
    made.frets = tablature.frets();
    tuning = made;
    return true;
}
