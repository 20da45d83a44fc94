#pragma once

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"

#include <initializer_list>

// Writes the chords of one voice of a measure by hand: the voice is emptied
// and chords are appended at the running time, grace chords at the time of
// the chord they precede.
class VoiceBuilder
{
public:
    VoiceBuilder(MnMeasure* measure, int voice) : measure(measure), voice(voice)
    {
        BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = 0; i < chords.count(); ++i)
            delete chords[i];
        chords.removeAll();
    }

    // A rest, or a chord of the given notes (step, octave pairs with no
    // accidental written).
    MnChord* chord(int duration) { return append(duration, false); }
    MnChord* grace(int duration, bool slash = false)
    {
        MnChord* chord = append(duration, true);
        chord->setGraceSlash(slash);
        return chord;
    }
    MnChord* note(int duration, int step, int octave, int accidental = MnAccidentalNone)
    {
        MnChord* chord = append(duration, false);
        chord->addNote(step, octave, accidental, false);
        return chord;
    }
    MnChord* triplet(int duration)
    {
        MnChord* chord = append(duration, false, 3, 2);
        return chord;
    }
    int time() const { return running; }

private:
    MnChord* append(int duration, bool grace, int actual = 1, int normal = 1)
    {
        MnChord* chord = new MnChord(measure, voice, running, duration);
        chord->setGrace(grace);
        chord->setRatio(actual, normal);
        measure->voiceChords(voice).add(chord);
        running += chord->soundingDuration();
        return chord;
    }

    MnMeasure* measure;
    int voice;
    int running = 0;
};
