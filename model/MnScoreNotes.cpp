#include "model/MnScore.h"

#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnStaff.h"

int MnScore::notesAtTime(int measureIndex, int time, BcArray<MnNote*>& out) const
{
    out.removeAll();
    for (int s = staves.count() - 1; s >= 0; --s) {
        const MnStaff* staff = staves[s];
        if (measureIndex < 0 || measureIndex >= staff->measureCount())
            continue;
        const MnMeasure* measure = staff->measure(measureIndex);
        const int staffStart = out.count();
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i) {
                const MnChord* chord = chords[i];
                if (chord->isGrace() || chord->time() != time)
                    continue;
                // Within a staff the notes run from low to high; accidentals
                // take no part in the order.
                for (int n = 0; n < chord->noteCount(); ++n) {
                    MnNote* note = chord->note(n);
                    int place = staffStart;
                    while (place < out.count() && out[place]->diatonicPosition() < note->diatonicPosition())
                        ++place;
                    out.insertAt(place, note);
                }
                break;
            }
        }
    }
    return out.count();
}
