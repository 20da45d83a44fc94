#pragma once

#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include "foundation/BcArray.h"

// Small scores for the editing tests, built straight on the model's arrays.

// Replaces a voice of a measure by chords of equal value (quarters by
// default), each holding notesPerChord notes from C4 up by thirds; with
// notesPerChord 0 the chords are rests.
inline void fillVoice(MnMeasure* measure, int voice, int notesPerChord, int value = 60480)
{
    BcArray<MnChord*>& chords = measure->voiceChords(voice);
    for (int i = 0; i < chords.count(); ++i)
        delete chords[i];
    chords.removeAll();
    for (int time = 0; time + value <= measure->length(); time += value) {
        MnChord* chord = new MnChord(measure, voice, time, value);
        for (int n = 0; n < notesPerChord; ++n)
            chord->addNote((2 * n) % 7, 4 + (2 * n) / 7, 3, false);
        chords.add(chord);
    }
}

// Puts grace chords of one note before the main chord at index in a voice.
inline void addGraceChords(MnMeasure* measure, int voice, int index, int count)
{
    BcArray<MnChord*>& chords = measure->voiceChords(voice);
    int time = chords[index]->time();
    for (int i = 0; i < count; ++i) {
        MnChord* grace = new MnChord(measure, voice, time, 15120);
        grace->setGrace(true);
        grace->addNote(4, 5, 3, false);
        chords.insertAt(index, grace);
    }
}

// A score of staves x measures in 4/4 whose voice 0 holds quarter chords of
// notesPerChord notes and whose voice 1 holds half-note chords of one note.
inline MnScore* makeScore(int staves, int measures, int notesPerChord = 1)
{
    MnScore* score = new MnScore();
    for (int s = 1; s < staves; ++s)
        score->insertStaff(-1);
    for (int m = 1; m < measures; ++m)
        score->insertMeasure(-1);
    for (int s = 0; s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        for (int m = 0; m < staff->measureCount(); ++m) {
            fillVoice(staff->measure(m), 0, notesPerChord);
            fillVoice(staff->measure(m), 1, 1, 120960);
        }
    }
    return score;
}

// A note alone in a slot of the voice, which the measure's editing makes.
inline MnNote* putNote(MnMeasure* measure, int voice, int time, int duration, int step, int octave,
                       int accidental = 3)
{
    return measure->setNote(voice, time, step, octave, accidental, duration, false);
}

// The non-grace chord of the voice at the time, or null.
inline MnChord* chordAt(MnMeasure* measure, int voice, int time)
{
    return measure->mainChordAt(voice, time);
}
