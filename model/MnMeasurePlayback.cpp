// Which chord playback sounds at a time of a measure: the inverse of the
// grace-chord timing of MnChord::playbackTime.

#include "model/MnMeasure.h"

#include "model/MnChord.h"
#include "model/MnTicks.h"

MnChord* MnMeasure::chordPlayedAt(int time, int voice, MnMeasure* next, int& length) const
{
    if (voice < 0 || voice >= voiceCount)
        return nullptr;
    // Each grace chord sounds for a quarter of its main chord's undotted
    // value (graceLength); graces counts the grace chords met since the
    // last main chord, walking backward.
    int graceLength = MnTicksSixteenth;
    int graces = 0;
    const int measureLength = this->length();

    // Grace chords at the start of the next measure sound before the bar line.
    const MnMeasure* following = next ? next : nextMeasure();
    if (following && !following->voices[voice].isEmpty()) {
        const MnChord* main = following->voices[voice][0];
        while (main && main->isGrace())
            main = main->nextChord();
        if (main) {
            graceLength = main->undottedDuration() / 4;
            for (MnChord* grace = main->previousChord(); grace && grace->isGrace() && grace->measure() == main->measure();
                 grace = grace->previousChord()) {
                ++graces;
                if (grace->isSingleAppoggiatura())
                    continue; // it sounds on the next measure's beat
                if (time == measureLength - graceLength * graces) {
                    length = graceLength;
                    return grace;
                }
            }
        }
    }

    const BcArray<MnChord*>& chords = voices[voice];
    for (int i = chords.count() - 1; i >= 0; --i) {
        MnChord* chord = chords[i];
        const int start = chord->time();
        if (chord->isGrace()) {
            ++graces;
            if (chord->isSingleAppoggiatura())
                continue; // answered with its main chord
            if (time == start - graceLength * graces) {
                length = graceLength;
                return chord;
            }
            continue;
        }
        const int sounding = chord->soundingDuration();
        MnChord* before = chord->previousChord();
        if (before && before->isSingleAppoggiatura()) {
            const int half = sounding / 2;
            if (time == start) {
                length = half;
                return before;
            }
            if (time == start + half) {
                length = sounding - half;
                return chord;
            }
        } else if (time == start) {
            // Grace chords after the chord sound within its time.
            length = sounding - graceLength * graces;
            return chord;
        }
        graces = 0;
        graceLength = chord->undottedDuration() / 4;
    }
    return nullptr;
}

void MnMeasure::splitIntoValues(int ticks, BcArray<int>& values)
{
    int remaining = ticks;
    while (remaining > 0) {
        int value = MnTicksPerWhole;
        while (value > remaining)
            value /= 2;
        values.add(value);
        remaining -= value;
    }
}
