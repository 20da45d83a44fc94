#include "model/MnChordOnsets.h"

#include "model/MnChord.h"
#include "model/MnMeasure.h"

void addChordOnsets(const MnMeasure* measure, int voice, BcArray<int>& onsets)
{
    const int start = measure->startTime();
    const BcArray<MnChord*>& chords = measure->voiceChords(voice);
    for (int i = 0; i < chords.count(); ++i) {
        const int onset = start + chords[i]->time();
        int place = 0;
        while (place < onsets.count() && onsets[place] < onset)
            ++place;
        if (place == onsets.count() || onsets[place] != onset)
            onsets.insertAt(place, onset);
    }
}
