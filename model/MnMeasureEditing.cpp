// Changes of the rhythm of a voice: entering notes and rests of a value at a
// time, changing a chord's value, tuplets, grace notes, removing beats,
// swapping the voices and moving a chord. Every voice keeps filling its
// measure without gaps or overlaps, onsets stay on the edit grid, tuplets are
// never cut, and a value that runs past the bar line is split into standard
// values tied into the following measures.

#include "model/MnMeasure.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"

#include <algorithm>

// makeChordSlot merges and splits by halving and doubling, which ends after a
// few dozen steps for any value the editor makes; the bound only stops a
// voice of values from a damaged file from looping.
static constexpr int MnMaxSlotSteps = 4096;

void MnMeasure::refitStaff()
{
    if (owner)
        owner->reconcileWithMeasure(this);
}

MnChord* MnMeasure::tupletChordAt(int voice, int time) const
{
    if (voice < 0 || voice >= voiceCount)
        return nullptr;
    const BcArray<MnChord*>& chords = voices[voice];
    for (int i = 0; i < chords.count(); ++i) {
        MnChord* chord = chords[i];
        if (chord->time() > time)
            break;
        if (chord->tuplet() && (long long)chord->time() + chord->tuplet()->span() > time)
            return chord;
    }
    return nullptr;
}

bool MnMeasure::isOnGrid(int voice, int time) const
{
    if (voice < 0 || voice >= voiceCount || time < 0 || time >= length())
        return false;
    const MnChord* first = tupletChordAt(voice, time);
    if (!first)
        return time % MnEditGrid == 0;
    // Inside a tuplet the grid counts the tuplet's written time; an offset
    // that the ratio does not turn into whole ticks is off the grid.
    const long long written = (long long)(time - first->time()) * first->actual();
    if (first->normal() < 1 || written % first->normal() != 0)
        return false;
    return (written / first->normal()) % MnEditGrid == 0;
}

// The tuplet test: a value entered inside a tuplet sounds in its ratio and may
// not reach past the tuplet's end.
bool MnMeasure::fitsTupletAt(int voice, int time, int duration, int& sounding) const
{
    const MnChord* first = tupletChordAt(voice, time);
    if (!first) {
        sounding = duration;
        return true;
    }
    if (first->actual() < 1)
        return false;
    const long long inTuplet = (long long)first->normal() * duration / first->actual();
    if ((long long)first->time() + first->tuplet()->span() < time + inTuplet)
        return false;
    sounding = int(inTuplet);
    return true;
}

void MnMeasure::deleteChordAt(int voice, int index)
{
    BcArray<MnChord*>& chords = voices[voice];
    MnChord* chord = chords[index];
    chords.removeAt(index);
    delete chord;
}

// Halves the chord (a dotted value loses its dot) and puts a rest of the
// remaining value, in the chord's ratio, after it; the notes stay in the
// first part.
bool MnMeasure::splitChordAt(int voice, int index)
{
    BcArray<MnChord*>& chords = voices[voice];
    MnChord* chord = chords[index];
    const int value = chord->duration();
    const int first = chord->isDotted() ? (2 * value) / 3 : value / 2;
    const int rest = value - first;
    if (!mnIsNoteValue(first) || !mnIsNoteValue(rest))
        return false;
    chord->setDuration(first);
    const int sounding = chord->soundingDuration();
    if (sounding < 1) {
        chord->setDuration(value);
        return false;
    }
    MnChord* after = new MnChord(this, voice, chord->time() + sounding, rest);
    after->setRatio(chord->actual(), chord->normal());
    chords.insertAt(index + 1, after);
    return true;
}

int MnMeasure::makeChordSlot(int voice, int time, int duration)
{
    if (voice < 0 || voice >= voiceCount || !mnIsNoteValue(duration))
        return -1;
    int sounding = 0;
    if (time < 0 || !fitsTupletAt(voice, time, duration, sounding) || (long long)time + sounding > length())
        return -1;
    BcArray<MnChord*>& chords = voices[voice];

    if (mnIsDottedDuration(duration)) {
        // The plain value and its dot are made as two slots and merged.
        const int firstIndex = makeChordSlot(voice, time, (2 * duration) / 3);
        if (firstIndex < 0)
            return -1;
        MnChord* first = chords[firstIndex];
        const int secondIndex = makeChordSlot(voice, time + first->soundingDuration(), duration / 3);
        if (secondIndex < 0)
            return -1;
        const MnChord* second = chords[secondIndex];
        int last = secondIndex;
        const bool hadTuplet = second->tuplet() != nullptr;
        if (hadTuplet) {
            const long long end = (long long)second->time() + second->tuplet()->span();
            while (last + 1 < chords.count() && chords[last + 1]->time() < end)
                ++last;
        }
        const int index = chords.indexOf(first);
        for (int i = last; i > index; --i)
            deleteChordAt(voice, i);
        first->setDuration(duration);
        if (hadTuplet)
            fillGapsWithRests(voice, first->actual(), first->normal());
        refitStaff();
        return index;
    }

    for (int step = 0; step < MnMaxSlotSteps; ++step) {
        int index = -1;
        for (int i = 0; i < chords.count(); ++i) {
            const MnChord* chord = chords[i];
            if (chord->isGrace())
                continue;
            if (chord->time() <= time && time < chord->time() + chord->soundingDuration()) {
                index = i;
                break;
            }
        }
        if (index < 0)
            return -1;
        MnChord* chord = chords[index];
        const int value = chord->duration();
        if (chord->time() < time || duration < value) {
            if (!splitChordAt(voice, index))
                return -1;
            refitStaff();
            continue;
        }
        if (value == duration)
            return index;

        // Longer: the chord doubles and swallows what now lies under it.
        const int grown = 2 * chord->undottedDuration();
        if (grown > duration)
            return -1; // a value that halving and doubling cannot reach
        chord->setDuration(grown);
        long long end = (long long)chord->time() + chord->soundingDuration();
        while (index + 1 < chords.count() && chords[index + 1]->time() < end) {
            const MnChord* inside = chords[index + 1];
            // A tuplet goes as a whole.
            if (inside->tuplet())
                end = std::max(end, (long long)inside->time() + inside->tuplet()->span());
            deleteChordAt(voice, index + 1);
        }
        fillGapsWithRests(voice, chord->actual(), chord->normal());
        refitStaff();
    }
    return -1;
}

// A pitch that a note can be written at: a key of the piano, or a step and
// octave from A0 to C8 with a written accidental or none.
static bool isWritable(bool byKey, int step, int octave, int accidental, int key)
{
    if (byKey)
        return key >= 0 && key <= 87;
    if (step < 0 || step > 6 || accidental < MnAccidentalDoubleFlat || accidental > MnAccidentalNone)
        return false;
    const long long position = (long long)octave * 7 + step;
    return position >= 5 && position <= 56;
}

MnMeasure::NotePitch MnMeasure::pitchOf(const MnNote* note, bool byKey)
{
    if (byKey)
        return NotePitch::ofKey(note->keyNumber());
    return NotePitch::written(note->step(), note->octave(), note->accidental());
}

MnNote* MnMeasure::addPitch(MnChord* chord, const NotePitch& pitch, bool tied)
{
    if (pitch.byKey)
        return chord->addNoteByKey(pitch.key, tied);
    return chord->addNote(pitch.step, pitch.octave, pitch.accidental, tied);
}

// Fills the length from the time on with pieces of standard values, each
// carrying the pitches tied from the piece before, or rests without pitches.
bool MnMeasure::carryNotes(int voice, int time, int length, const BcArray<NotePitch>& pitches)
{
    BcArray<int> pieces;
    splitIntoValues(length, pieces);
    int running = time;
    for (int i = 0; i < pieces.count(); ++i) {
        if (pitches.isEmpty()) {
            if (!setRest(voice, running, pieces[i]))
                return false;
        } else {
            if (!placeNote(voice, running, pitches[0], pieces[i], true, true))
                return false;
            for (int p = 1; p < pitches.count(); ++p)
                placeNote(voice, running, pitches[p], pieces[i], true, false);
        }
        running += pieces[i];
    }
    return true;
}

// Carries a value from a time of this measure on, through the bar lines into
// the following measures; what runs past the staff's last measure is dropped.
bool MnMeasure::carryAcrossBarlines(int voice, int time, int value, const BcArray<NotePitch>& pitches)
{
    const int here = std::min(value, length() - time);
    if (here > 0 && !carryNotes(voice, time, here, pitches))
        return false;
    int remaining = value - here;
    for (MnMeasure* next = nextMeasure(); next && remaining > 0; next = next->nextMeasure()) {
        const int there = std::min(remaining, next->length());
        if (!next->carryNotes(voice, 0, there, pitches))
            return false;
        remaining -= there;
    }
    return true;
}

MnNote* MnMeasure::placeNote(int voice, int time, const NotePitch& pitch, int duration, bool tied, bool alone)
{
    int sounding = 0;
    if (!isWritable(pitch.byKey, pitch.step, pitch.octave, pitch.accidental, pitch.key))
        return nullptr;
    if (duration < 1 || !isOnGrid(voice, time) || !fitsTupletAt(voice, time, duration, sounding))
        return nullptr;
    if ((long long)time + sounding <= length()) {
        const int index = makeChordSlot(voice, time, duration);
        if (index < 0)
            return nullptr;
        MnChord* chord = voices[voice][index];
        // A rest has nothing to clear (and clearing asks the meter, which
        // sums the staff before the measure).
        if (alone && !chord->isRest())
            chord->clearNotes();
        return addPitch(chord, pitch, tied);
    }

    // Past the bar line (no tuplet reaches it): the first piece answers, the
    // others carry its chord's notes, or only this note, tied.
    BcArray<int> pieces;
    splitIntoValues(length() - time, pieces);
    MnNote* note = placeNote(voice, time, pitch, pieces[0], tied, alone);
    if (!note)
        return nullptr;
    BcArray<NotePitch> carried;
    if (alone) {
        carried.add(pitchOf(note, pitch.byKey));
    } else {
        const MnChord* chord = note->chord();
        for (int i = 0; i < chord->noteCount(); ++i)
            carried.add(pitchOf(chord->note(i), pitch.byKey));
    }
    carryAcrossBarlines(voice, time + pieces[0], duration - pieces[0], carried);
    return note;
}

MnNote* MnMeasure::addNote(int voice, int time, int step, int octave, int accidental, int duration, bool tied)
{
    return placeNote(voice, time, NotePitch::written(step, octave, accidental), duration, tied, false);
}

MnNote* MnMeasure::setNote(int voice, int time, int step, int octave, int accidental, int duration, bool tied)
{
    return placeNote(voice, time, NotePitch::written(step, octave, accidental), duration, tied, true);
}

MnNote* MnMeasure::addNoteByKey(int voice, int time, int key, int duration, bool tied)
{
    return placeNote(voice, time, NotePitch::ofKey(key), duration, tied, false);
}

MnNote* MnMeasure::setNoteByKey(int voice, int time, int key, int duration, bool tied)
{
    return placeNote(voice, time, NotePitch::ofKey(key), duration, tied, true);
}

bool MnMeasure::setRest(int voice, int time, int duration)
{
    int sounding = 0;
    if (duration < 1 || !isOnGrid(voice, time) || !fitsTupletAt(voice, time, duration, sounding))
        return false;
    if ((long long)time + sounding <= length()) {
        const int index = makeChordSlot(voice, time, duration);
        if (index < 0)
            return false;
        MnChord* chord = voices[voice][index];
        if (!chord->isRest())
            chord->clearNotes();
        return true;
    }
    return carryAcrossBarlines(voice, time, duration, BcArray<NotePitch>());
}

bool MnMeasure::setChordDuration(int voice, int time, int duration)
{
    // The dot of a 64th lies off the edit grid.
    if (duration < 1 || duration == 5670)
        return false;
    int sounding = 0;
    if (!isOnGrid(voice, time) || !fitsTupletAt(voice, time, duration, sounding))
        return false;
    if ((long long)time + sounding <= length())
        return makeChordSlot(voice, time, duration) >= 0;

    BcArray<int> pieces;
    splitIntoValues(length() - time, pieces);
    const int index = makeChordSlot(voice, time, pieces[0]);
    if (index < 0)
        return false;
    const MnChord* chord = voices[voice][index];
    BcArray<NotePitch> carried;
    for (int i = 0; i < chord->noteCount(); ++i)
        carried.add(pitchOf(chord->note(i), true));
    carryAcrossBarlines(voice, time + pieces[0], duration - pieces[0], carried);
    return true;
}

bool MnMeasure::makeTuplet(int voice, int time, int span, int count, bool alternative)
{
    // The normal count of each count: for a plain span, a dotted span, and a
    // dotted span with the alternative ratio.
    static const int normalCounts[8][3] = {
        {2, 3, 3}, {2, 2, 2}, {4, 3, 3}, {4, 4, 3}, {4, 4, 4}, {4, 4, 6}, {8, 6, 6}, {8, 8, 6},
    };
    if (voice < 0 || voice >= voiceCount || count < 2 || count > 9)
        return false;
    // Only a standard span divides into whole chords of standard values.
    if (!mnIsStandardDuration(span))
        return false;
    const bool dotted = mnIsDottedDuration(span);
    const int normal = normalCounts[count - 2][dotted ? (alternative ? 2 : 1) : 0];
    int shortest = normal <= 3 ? MnTicks32nd : normal <= 6 ? MnTicksSixteenth : MnTicksEighth;
    if (dotted && !alternative)
        shortest *= 2;
    const int undotted = dotted ? (2 * span) / 3 : span;
    if (undotted < shortest || !isOnGrid(voice, time))
        return false;
    // Tested before a tuplet at the time is undone, so that a refusal leaves
    // the measure as it was.
    if ((long long)time + span > length())
        return false;

    MnTuplet* kept = nullptr;
    MnChord* covering = tupletChordAt(voice, time);
    if (covering) {
        if (covering->time() != time || time % MnEditGrid != 0)
            return false;
        const MnTuplet* current = covering->tuplet();
        if (current->span() == span && current->number() == count && current->isAlternative() == alternative)
            return true;
        removeTuplet(voice, time, &kept);
    }
    if (!setChordDuration(voice, time, span)) {
        delete kept;
        return false;
    }

    BcArray<MnChord*>& chords = voices[voice];
    int index = -1;
    for (int i = 0; i < chords.count(); ++i) {
        if (!chords[i]->isGrace() && chords[i]->time() == time) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        delete kept;
        return false;
    }
    MnChord* first = chords[index];
    if (kept) {
        first->setTuplet(kept);
        kept->setSpan(span);
        kept->assignNumber(count);
        kept->setAlternative(alternative);
    } else if (MnTuplet* own = first->tuplet()) {
        own->setSpan(span);
        own->assignNumber(count);
        own->setAlternative(alternative);
    } else {
        first->setTuplet(new MnTuplet(first, span, count, alternative));
    }
    const int value = span / normal;
    first->setDuration(value);
    first->setRatio(count, normal);
    for (int j = 1; j < count; ++j) {
        MnChord* rest = new MnChord(this, voice, time + j * ((normal * value) / count), value);
        rest->setRatio(count, normal);
        chords.insertAt(index + j, rest);
    }
    refitStaff();
    return true;
}

MnNote* MnMeasure::addGraceChord(MnChord* mainChord, const NotePitch& pitch, int duration)
{
    if (!mainChord || !mnIsStandardDuration(duration) ||
        !isWritable(pitch.byKey, pitch.step, pitch.octave, pitch.accidental, pitch.key))
        return nullptr;
    const int voice = mainChord->voice();
    if (voice < 0 || voice >= voiceCount)
        return nullptr;
    BcArray<MnChord*>& chords = voices[voice];
    MnChord* grace = nullptr;
    if (mainChord->measure() == this) {
        const int index = chords.indexOf(mainChord);
        if (index < 0)
            return nullptr;
        grace = new MnChord(this, voice, mainChord->time(), duration);
        grace->setGrace(true);
        chords.insertAt(index, grace);
    } else if (mainChord->measure() && mainChord->measure() == nextMeasure() && mainChord->time() == 0) {
        // Before the next measure's first chord: at the end of this voice,
        // sounding before the bar line.
        grace = new MnChord(this, voice, length(), duration);
        grace->setGrace(true);
        chords.add(grace);
    } else {
        return nullptr;
    }
    MnNote* note = addPitch(grace, pitch, false);
    if (!note) {
        deleteChordAt(voice, chords.indexOf(grace));
        return nullptr;
    }
    refitStaff();
    return note;
}

MnNote* MnMeasure::addToGraceChord(MnChord* graceChord, const NotePitch& pitch, int duration)
{
    if (!graceChord || !graceChord->isGrace() || graceChord->measure() != this || !mnIsStandardDuration(duration) ||
        !isWritable(pitch.byKey, pitch.step, pitch.octave, pitch.accidental, pitch.key))
        return nullptr;
    const int voice = graceChord->voice();
    if (voice < 0 || voice >= voiceCount || voices[voice].indexOf(graceChord) < 0)
        return nullptr;
    MnNote* note = addPitch(graceChord, pitch, false);
    if (note)
        graceChord->setDuration(duration);
    return note;
}

MnNote* MnMeasure::addGraceNote(MnChord* mainChord, int step, int octave, int accidental, int duration)
{
    return addGraceChord(mainChord, NotePitch::written(step, octave, accidental), duration);
}

MnNote* MnMeasure::addGraceNoteByKey(MnChord* mainChord, int key, int duration)
{
    return addGraceChord(mainChord, NotePitch::ofKey(key), duration);
}

MnNote* MnMeasure::addNoteToGraceChord(MnChord* graceChord, int step, int octave, int accidental, int duration)
{
    return addToGraceChord(graceChord, NotePitch::written(step, octave, accidental), duration);
}

MnNote* MnMeasure::addNoteToGraceChordByKey(MnChord* graceChord, int key, int duration)
{
    return addToGraceChord(graceChord, NotePitch::ofKey(key), duration);
}

// Cuts the beats (ascending, distinct, in range) out of this measure alone:
// the tuplets over them are undone, each beat of each voice becomes one rest,
// and the rests go with the grace chords before them while the later chords
// move back.
bool MnMeasure::removeBeatsHere(const BcArray<int>& sortedBeats)
{
    const int beat = ticksPerBeat;
    for (int voice = 0; voice < voiceCount; ++voice) {
        BcArray<MnChord*>& chords = voices[voice];
        for (int i = 0; i < chords.count(); ++i) {
            const MnChord* chord = chords[i];
            if (!chord->tuplet())
                continue;
            const long long start = chord->time();
            const long long end = start + chord->tuplet()->span();
            for (int b = 0; b < sortedBeats.count(); ++b) {
                const long long beatStart = (long long)sortedBeats[b] * beat;
                if (start < beatStart + beat && beatStart < end) {
                    removeTuplet(voice, chord->time(), nullptr);
                    break;
                }
            }
        }
    }

    BcArray<MnChord*> cut;
    for (int b = 0; b < sortedBeats.count(); ++b) {
        const int time = sortedBeats[b] * beat;
        for (int voice = 0; voice < voiceCount; ++voice) {
            if (!setRest(voice, time, beat))
                return false;
            MnChord* rest = nullptr;
            const BcArray<MnChord*>& chords = voices[voice];
            for (int i = 0; i < chords.count() && !rest; ++i) {
                if (!chords[i]->isGrace() && chords[i]->time() == time)
                    rest = chords[i];
            }
            if (!rest)
                return false;
            cut.add(rest);
        }
    }

    for (int c = 0; c < cut.count(); ++c) {
        MnChord* rest = cut[c];
        const int voice = rest->voice();
        BcArray<MnChord*>& chords = voices[voice];
        int index = chords.indexOf(rest);
        for (int i = index + 1; i < chords.count(); ++i)
            chords[i]->setTime(chords[i]->time() - beat);
        const int time = rest->time();
        deleteChordAt(voice, index);
        while (index > 0 && chords[index - 1]->isGrace() && chords[index - 1]->time() == time) {
            deleteChordAt(voice, index - 1);
            --index;
        }
    }
    beatCount -= sortedBeats.count();
    if (owner)
        owner->measureTimesChanged();
    refitStaff();
    return true;
}

bool MnMeasure::removeBeats(const BcArray<int>& beats)
{
    if (beats.isEmpty() || beats.count() >= beatCount)
        return false;
    BcArray<int> sorted;
    for (int i = 0; i < beats.count(); ++i) {
        const int beat = beats[i];
        if (beat < 0 || beat >= beatCount)
            return false;
        int place = 0;
        while (place < sorted.count() && sorted[place] < beat)
            ++place;
        if (place < sorted.count() && sorted[place] == beat)
            return false;
        sorted.insertAt(place, beat);
    }

    // The measure of this number in every staff of the score.
    BcArray<MnMeasure*> measures;
    const MnScore* score = owner ? owner->score() : nullptr;
    if (score) {
        for (int i = 0; i < score->staffCount(); ++i) {
            const MnStaff* staff = score->staff(i);
            if (number >= 1 && number <= staff->measureCount())
                measures.add(staff->measure(number - 1));
        }
    }
    if (measures.indexOf(this) < 0)
        measures.add(this);

    // Every measure must take the cut before any of them changes: a trial on
    // a copy of each, which no staff sees.
    for (int i = 0; i < measures.count(); ++i) {
        const MnMeasure* measure = measures[i];
        if (sorted.count() >= measure->beatCount || sorted[sorted.count() - 1] >= measure->beatCount)
            return false;
        MnMeasure trial(nullptr, measure->number, MnTimeCommon);
        if (!trial.copyFrom(measure) || !trial.removeBeatsHere(sorted))
            return false;
    }

    for (int i = 0; i < measures.count(); ++i) {
        MnMeasure* measure = measures[i];
        const int start = measure->startTime();
        const int beat = measure->ticksPerBeat;
        measure->removeBeatsHere(sorted);
        if (MnStaff* staff = measure->owner) {
            // From the last beat back, so that the earlier times still hold.
            // The measure stays, and so do the changes at its start.
            for (int b = sorted.count() - 1; b >= 0; --b)
                staff->removeTimeSpan(start + sorted[b] * beat, beat, sorted[b] == 0);
        }
    }
    return true;
}

bool MnMeasure::swapVoices()
{
    if (voiceCount < 2)
        return false;
    BcArray<MnChord*> first = std::move(voices[0]);
    voices[0] = std::move(voices[1]);
    voices[1] = std::move(first);
    for (int voice = 0; voice < 2; ++voice) {
        BcArray<MnChord*>& chords = voices[voice];
        for (int i = 0; i < chords.count(); ++i)
            chords[i]->setVoice(voice);
    }
    return true;
}

bool MnMeasure::moveChordLeft(MnChord* chord)
{
    if (!chord || chord->measure() != this || chord->voice() < 0 || chord->voice() >= voiceCount)
        return false;
    const int index = voices[chord->voice()].indexOf(chord);
    if (index <= 0)
        return false;
    return swapWithNextChord(chord->voice(), index - 1);
}

bool MnMeasure::moveChordRight(MnChord* chord)
{
    if (!chord || chord->measure() != this || chord->voice() < 0 || chord->voice() >= voiceCount)
        return false;
    const int index = voices[chord->voice()].indexOf(chord);
    if (index < 0 || index + 1 >= voices[chord->voice()].count())
        return false;
    return swapWithNextChord(chord->voice(), index);
}

// The later chord takes the earlier one's time and its tuplet, the earlier
// one follows it.
bool MnMeasure::swapWithNextChord(int voice, int index)
{
    BcArray<MnChord*>& chords = voices[voice];
    MnChord* first = chords[index];
    MnChord* second = chords[index + 1];
    if (tupletChordAt(voice, first->time()) != tupletChordAt(voice, second->time()))
        return false;
    chords[index] = second;
    chords[index + 1] = first;
    const int start = first->time();
    second->setTime(start);
    first->setTime(start + second->soundingDuration());
    if (first->tuplet())
        second->setTuplet(first->detachTuplet());
    refitStaff();
    return true;
}
