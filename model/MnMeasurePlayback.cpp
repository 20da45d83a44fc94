// Which chord playback sounds at a time of a measure: the inverse of the
// grace-chord timing of MnChord::playbackTime.

#include "model/MnMeasure.h"

#include "model/MnChord.h"
#include "model/MnTicks.h"

// The chord before chords[index] in its voice, as MnChord::previousChord
// finds it, without searching the voice for the chord's index.
static MnChord* chordBefore(const MnMeasure& measure, int voice, int index)
{
    if (index > 0)
        return measure.voiceChords(voice)[index - 1];
    const MnMeasure* before = measure.previousMeasure();
    if (!before)
        return nullptr;
    const BcArray<MnChord*>& chords = before->voiceChords(voice);
    return chords.isEmpty() ? nullptr : chords[chords.count() - 1];
}

// Hands every (time, chord, length) at which playback starts a chord of the
// voice to answer, in the order that decides between answers of one time:
// the first one wins. answer returns true to stop.
template <typename Answer>
static void visitPlayedChords(const MnMeasure& measure, int voice, MnMeasure* next, Answer answer)
{
    // Each grace chord sounds for a quarter of its main chord's undotted
    // value (graceLength); graces counts the grace chords met since the
    // last main chord, walking backward.
    int graceLength = MnTicksSixteenth;
    int graces = 0;
    const int measureLength = measure.length();

    // Grace chords at the start of the next measure sound before the bar line.
    const MnMeasure* following = next ? next : measure.nextMeasure();
    if (following && !following->voiceChords(voice).isEmpty()) {
        const MnChord* main = following->voiceChords(voice)[0];
        while (main && main->isGrace())
            main = main->nextChord();
        if (main) {
            graceLength = main->undottedDuration() / 4;
            for (MnChord* grace = main->previousChord(); grace && grace->isGrace() && grace->measure() == main->measure();
                 grace = grace->previousChord()) {
                ++graces;
                if (grace->isSingleAppoggiatura())
                    continue; // it sounds on the next measure's beat
                if (answer(measureLength - graceLength * graces, grace, graceLength))
                    return;
            }
        }
    }

    const BcArray<MnChord*>& chords = measure.voiceChords(voice);
    for (int i = chords.count() - 1; i >= 0; --i) {
        MnChord* chord = chords[i];
        const int start = chord->time();
        if (chord->isGrace()) {
            ++graces;
            if (chord->isSingleAppoggiatura())
                continue; // answered with its main chord
            if (answer(start - graceLength * graces, chord, graceLength))
                return;
            continue;
        }
        const int sounding = chord->soundingDuration();
        MnChord* before = chordBefore(measure, voice, i);
        if (before && before->isSingleAppoggiatura()) {
            const int half = sounding / 2;
            if (answer(start, before, half) || answer(start + half, chord, sounding - half))
                return;
        } else if (answer(start, chord, sounding - graceLength * graces)) {
            // Grace chords after the chord sound within its time.
            return;
        }
        graces = 0;
        graceLength = chord->undottedDuration() / 4;
    }
}

MnChord* MnMeasure::chordPlayedAt(int time, int voice, MnMeasure* next, int& length) const
{
    if (voice < 0 || voice >= voiceCount)
        return nullptr;
    MnChord* found = nullptr;
    visitPlayedChords(*this, voice, next, [&](int start, MnChord* chord, int sounding) {
        if (start != time)
            return false;
        found = chord;
        length = sounding;
        return true;
    });
    return found;
}

void MnMeasure::playedChords(int voice, MnMeasure* next, BcArray<MnPlayedChord>& played) const
{
    played.removeAll();
    if (voice < 0 || voice >= voiceCount)
        return;
    visitPlayedChords(*this, voice, next, [&](int start, MnChord* chord, int sounding) {
        played.add(MnPlayedChord{start, sounding, chord});
        return false;
    });
    // Visited mostly from the last chord back: reversed, the list is nearly
    // in order, and the insertion sort keeps equal times in reversed visit
    // order, so the answer that wins a time is the last of its run.
    const int count = played.count();
    for (int i = 0, j = count - 1; i < j; ++i, --j) {
        const MnPlayedChord swapped = played[i];
        played[i] = played[j];
        played[j] = swapped;
    }
    for (int i = 1; i < count; ++i) {
        const MnPlayedChord moving = played[i];
        int place = i;
        while (place > 0 && played[place - 1].time > moving.time) {
            played[place] = played[place - 1];
            --place;
        }
        played[place] = moving;
    }
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (i + 1 < count && played[i + 1].time == played[i].time)
            continue;
        played[kept++] = played[i];
    }
    played.setSize(kept);
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
