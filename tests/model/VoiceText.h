#pragma once

#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnTuplet.h"

#include <string>

// A voice written out as text, one chord per word, so that tests can compare
// whole voices with what the music should read:
//   time:value then the notes ("C4", "F#4", "Bb3", "En4"; "~" before a tied
//   note) or "r" for a rest; "/3:2" for a tuplet ratio, "T3" on the chord
//   that owns a tuplet of that number, and a leading "g" for a grace chord.
// Example: "0:60480r 60480:60480C4 120960:120960r".
inline std::string chordText(const MnChord* chord)
{
    static const char steps[] = "CDEFGAB";
    std::string text;
    if (chord->isGrace())
        text += "g";
    text += std::to_string(chord->time()) + ":" + std::to_string(chord->duration());
    if (chord->isRest())
        text += "r";
    for (int i = 0; i < chord->noteCount(); ++i) {
        const MnNote* note = chord->note(i);
        if (note->isTied())
            text += "~";
        text += steps[note->step() % 7];
        switch (note->accidental()) {
        case -2: text += "bb"; break;
        case -1: text += "b"; break;
        case 0: text += "n"; break;
        case 1: text += "#"; break;
        case 2: text += "x"; break;
        default: break;
        }
        text += std::to_string(note->octave());
    }
    if (chord->actual() != 1 || chord->normal() != 1)
        text += "/" + std::to_string(chord->actual()) + ":" + std::to_string(chord->normal());
    if (chord->tuplet())
        text += "T" + std::to_string(chord->tuplet()->number());
    return text;
}

inline std::string voiceText(const MnMeasure& measure, int voice)
{
    std::string text;
    const BcArray<MnChord*>& chords = measure.voiceChords(voice);
    for (int i = 0; i < chords.count(); ++i) {
        if (i > 0)
            text += " ";
        text += chordText(chords[i]);
    }
    return text;
}

// Empty when the voice keeps its invariants: its non-grace chords start at 0
// and each where the one before ends, the last ending at the bar line; grace
// chords have the time of the chord after them (or the measure's length);
// every chord knows its measure and voice. Otherwise what is wrong.
inline std::string voiceFault(const MnMeasure& measure, int voice)
{
    const BcArray<MnChord*>& chords = measure.voiceChords(voice);
    if (chords.isEmpty())
        return "empty voice";
    int running = 0;
    for (int i = 0; i < chords.count(); ++i) {
        const MnChord* chord = chords[i];
        if (chord->measure() != &measure || chord->voice() != voice)
            return "chord " + std::to_string(i) + " has the wrong owner";
        if (chord->time() != running)
            return "chord " + std::to_string(i) + " at " + std::to_string(chord->time()) + ", expected " +
                   std::to_string(running);
        running += chord->soundingDuration();
    }
    if (running != measure.length())
        return "voice ends at " + std::to_string(running) + ", the measure at " + std::to_string(measure.length());
    return std::string();
}
