// What sounds at one point in time: the step grid of the measure, and the
// chords of every staff and voice that start, roll or stop there.

#include "playback/MpPerformer.h"

#include "editing/EdContext.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "playback/MpPerformerListener.h"

#include <algorithm>
#include <numeric>

// The grid holds twice the onsets that the measures of this index need in
// every staff, and at least the 64th notes; a quarter-note 4/4 measure steps
// by a 64th (3780 ticks).
int MpPerformer::stepLength(const MnMeasure* measure)
{
    if (measure->index() == stepMeasure)
        return stepCached;
    const long long whole = measure->length();
    long long sixtyFourths = whole / MnTicks64th;
    if (sixtyFourths < 1)
        sixtyFourths = 1;
    const long long slots = 2LL * measure->divisions(false);
    const long long grid = sixtyFourths / std::gcd(sixtyFourths, slots) * slots;
    long long length = whole / grid;
    if (length < 1)
        length = 1;
    // The grid has to meet the bar line, and in the first measure the first
    // grid time too: a cursor that steps past them misses every later chord.
    length = std::gcd(length, whole);
    if (measure->index() == 1 && leadIn < 0)
        length = std::gcd(length, -(long long)leadIn);
    stepMeasure = measure->index();
    stepCached = int(length);
    return stepCached;
}

// A staccato note stops after a 32nd, a staccatissimo one after a 64th, but
// never after its own end, where the next chord of the voice may strike the
// same key.
static int releaseAfter(const MnPlayedChord& played)
{
    int shortened = played.length;
    if (played.chord->hasArticulation(MnArticulationStaccatissimo))
        shortened = MpPerformer::staccatissimoRelease;
    else if (played.chord->hasArticulation(MnArticulationStaccato))
        shortened = MpPerformer::staccatoRelease;
    return shortened < played.length ? shortened : played.length;
}

// The chord has a note (a tied one, with tiedOnly) of the note's step,
// octave and key.
static bool holdsPitch(const MnChord* chord, const MnNote* note, bool tiedOnly)
{
    int key = -1;
    for (int n = 0; n < chord->noteCount(); ++n) {
        const MnNote* other = chord->note(n);
        if ((tiedOnly && !other->isTied()) || other->step() != note->step() || other->octave() != note->octave())
            continue;
        if (key < 0)
            key = note->keyNumber();
        if (other->keyNumber() == key)
            return true;
    }
    return false;
}

static MnMeasure* measureOf(const MnStaff* staff, int measureIndex)
{
    if (measureIndex < 1 || measureIndex > staff->measureCount())
        return nullptr;
    return staff->measure(measureIndex - 1);
}

static const MnChord* lastChordOf(const MnStaff* staff, int measureIndex, int voice)
{
    const MnMeasure* measure = measureOf(staff, measureIndex);
    if (!measure)
        return nullptr;
    const BcArray<MnChord*>& chords = measure->voiceChords(voice);
    return chords.isEmpty() ? nullptr : chords[chords.count() - 1];
}

void MpPerformer::soundMeasure(const MnScore* score, int first, const Moment& moment)
{
    if (rescanning) {
        for (int time = first; time <= moment.now; time += step) {
            for (int s = 0; s < score->staffCount(); ++s) {
                const MnStaff* staff = score->staff(s);
                const MnMeasure* measure = measureOf(staff, moment.measureIndex);
                if (!measure)
                    continue;
                MnMeasure* next = measureOf(staff, pendingMeasure);
                for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
                    int length = 0;
                    if (MnChord* chord = measure->chordPlayedAt(time, voice, next, length))
                        soundChord(score, s, voice, MnPlayedChord{time, length, chord}, moment);
                }
            }
        }
        return;
    }
    refreshPlayedChords(score, moment.measureIndex);
    findCandidates(score, first, moment);
    for (int i = 0; i < candidates.count(); ++i)
        soundChord(score, candidates[i].staff, candidates[i].voice, candidates[i].played, moment);
}

// The lists change only with the measure or with the measure that plays
// after it.
void MpPerformer::refreshPlayedChords(const MnScore* score, int measureIndex)
{
    if (measureIndex == playedMeasure && pendingMeasure == playedNext)
        return;
    playedMeasure = measureIndex;
    playedNext = pendingMeasure;
    for (int s = 0; s < score->staffCount(); ++s) {
        const MnStaff* staff = score->staff(s);
        const MnMeasure* measure = measureOf(staff, measureIndex);
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            BcArray<MnPlayedChord>& played = playedChords[s * MnMeasure::voiceCount + voice];
            played.removeAll();
            if (measure)
                measure->playedChords(voice, measureOf(staff, pendingMeasure), played);
        }
    }
}

// The chords that start, roll a note or stop now, from the grid times up to
// now, ordered as a walk over the grid would meet them: by time, then staff,
// then voice.
void MpPerformer::findCandidates(const MnScore* score, int first, const Moment& moment)
{
    candidates.removeAll();
    const int index = moment.measureIndex;
    const bool arpeggios = index >= 1 && index <= arpeggioMeasures.count() && arpeggioMeasures[index - 1];
    for (int s = 0; s < score->staffCount(); ++s) {
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnPlayedChord>& played = playedChords[s * MnMeasure::voiceCount + voice];
            for (int i = 0; i < played.count() && played[i].time <= moment.now; ++i) {
                const MnPlayedChord& chord = played[i];
                if (chord.time < first || (chord.time - first) % step != 0)
                    continue;
                const bool acts = chord.time == moment.now || chord.time + releaseAfter(chord) == moment.now ||
                                  (arpeggios && (moment.now - chord.time) % arpeggioStep == 0);
                if (acts)
                    candidates.add(Candidate{chord, s, voice});
            }
        }
    }
    std::sort(candidates.data(), candidates.data() + candidates.count(), [](const Candidate& a, const Candidate& b) {
        if (a.played.time != b.played.time)
            return a.played.time < b.played.time;
        if (a.staff != b.staff)
            return a.staff < b.staff;
        return a.voice < b.voice;
    });
}

int MpPerformer::chainIndex(MnNote* note, const Moment& moment)
{
    const int index = moment.measureIndex;
    if (index >= 1 && index <= arpeggioMeasures.count() && !arpeggioMeasures[index - 1])
        return 0;
    return note->computeArpeggioChain(chainNotes) ? note->arpeggioChainIndex() : 0;
}

double MpPerformer::velocityFor(int volume) const
{
    const int scaled = (level + offset) * volume / 100;
    // A part louder than 100 could pass 1, which the synthesizer's ranges
    // and a MIDI data byte cannot take.
    const double velocity = scaled / 127.0;
    return velocity > 1.0 ? 1.0 : velocity < 0.0 ? 0.0 : velocity;
}

void MpPerformer::soundChord(const MnScore* score, int staffIndex, int voice, const MnPlayedChord& played,
                             const Moment& moment)
{
    MnChord* chord = played.chord;
    const int time = played.time;
    const int now = moment.now;
    const MnStaff* staff = score->staff(staffIndex);
    const int instrumentType = instrumentTypeOf(score, staffIndex);
    int volume = score->part(staffIndex)->volume();
    if (volume < 0)
        volume = -volume - 1;

    // At the bar line the chord before it stops, unless tied on.
    const bool barline = now == 0 && time == 0;
    bool beforeKnown = barline;
    const MnChord* before = nullptr;
    if (barline) {
        before = moment.jumped ? lastChordOf(staff, moment.leftIndex, voice) : chord->previousChord();
        for (int n = 0; before && n < before->noteCount(); ++n) {
            if (!holdsPitch(chord, before->note(n), true))
                release(instrumentType, before->note(n)->keyNumber(), moment);
        }
    }

    if (now == time + releaseAfter(played)) {
        const MnChord* after = chord->nextChord();
        for (int n = 0; n < chord->noteCount(); ++n) {
            if (!after || !holdsPitch(after, chord->note(n), true))
                release(instrumentType, chord->note(n)->keyNumber(), moment);
        }
    }

    for (int n = 0; n < chord->noteCount(); ++n) {
        MnNote* note = chord->note(n);
        if (note->isTied()) {
            if (!beforeKnown) {
                before = chord->previousChord();
                beforeKnown = true;
            }
            if (before && holdsPitch(before, note, false))
                continue;
        }
        if (time + arpeggioStep * chainIndex(note, moment) != now)
            continue;
        const int key = note->keyNumber();
        if (performerListener)
            performerListener->noteOn(instrumentType, key, velocityFor(volume));
        pedalHeld[key] = false;
    }

    if (now == time && time == chord->time()) {
        onsetTime = time + staff->measureStartTime(moment.measureIndex - 1);
        onsetTick = EdContext::current().tickCount();
    }
}
