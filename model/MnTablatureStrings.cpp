#include "model/MnTablature.h"

#include "model/MnNote.h"

// Semitone of each step within the octave, counted so that the octave
// number 1 begins at key index 3 (C1): C 3, D 5, E 7, F 8, G 10, A 12, B 14.
static const int stepSemitones[7] = {3, 5, 7, 8, 10, 12, 14};

// The highest key index of the keyboard.
static constexpr int highestKey = 87;

int MnTablature::openStringKey(int string) const
{
    const int step = strings[string].step;
    int key = stepSemitones[step >= 0 && step < 7 ? step : 0] + 12 * strings[string].octave - 12;
    const int accidental = strings[string].accidental;
    if (accidental >= -2 && accidental <= 2)
        key += accidental;
    if (tablatureCapoOn)
        key += tablatureCapoFret;
    return key;
}

bool MnTablature::findStringAndFret(const MnNote* note, int& string, int& fret, const BcArray<int>& usedStrings) const
{
    if (!note)
        return false;
    // The note's own key is compared with every string, also with a string
    // tuned off the keyboard: such a string simply plays what lies on it.
    const int key = note->keyNumber();
    for (int i = 0; i < tablatureStringCount; ++i) {
        if (usedStrings.indexOf(i) >= 0)
            continue;
        const int open = openStringKey(i);
        int top = open + tablatureFrets - (tablatureCapoOn ? tablatureCapoFret : 0);
        if (top > highestKey - 1)
            top = highestKey;
        if (key < open || key > top)
            continue;
        string = i;
        fret = tablatureCapoOn && !tablatureFretsFromCapo ? key + tablatureCapoFret - open : key - open;
        return true;
    }
    return false;
}
