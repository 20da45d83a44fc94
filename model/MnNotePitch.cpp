// The pitch rules of a note: what it sounds with the accidentals of its
// measure, the key signature and the octave lines of its staff, and how a
// sounding key index is written back in the key of its chord.

#include "model/MnNote.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnOctave.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

// Highest key index: C8. Key 0 is A0; the MIDI note number is key + 21.
static const int highestKey = 87;

// Semitones of the steps C..B above the A of the octave below, so that
// middle C (octave 4) is key 3 + 12 x 3 = 39.
static const int stepSemitones[7] = {3, 5, 7, 8, 10, 12, 14};

static int clampedStep(int step)
{
    return step < 0 ? 0 : (step > 6 ? 6 : step);
}

int mnKeySignatureAlteration(int fifths, int step)
{
    // The order in which key signatures add their flats and sharps.
    static const int flatSteps[7] = {6, 2, 5, 1, 4, 0, 3};  // B E A D G C F
    static const int sharpSteps[7] = {3, 0, 4, 1, 5, 2, 6}; // F C G D A E B
    const int count = fifths < 0 ? -fifths : fifths;
    const int* order = fifths < 0 ? flatSteps : sharpSteps;
    for (int i = 0; i < count && i < 7; ++i) {
        if (order[i] == step)
            return fifths < 0 ? -1 : 1;
    }
    return 0;
}

// The accidental to write for a wanted one (3 when the alteration is
// natural) against what the measure carries and what the key gives.
static int writtenAccidentalFor(int wanted, int carried, int keyAlteration)
{
    int written = wanted;
    if (carried == MnAccidentalNone) {
        if (written == keyAlteration)
            written = MnAccidentalNone;
        else if (written == MnAccidentalNone && keyAlteration != 0)
            written = MnAccidentalNatural;
    } else if (carried != MnAccidentalNatural) {
        if (written == MnAccidentalNone)
            written = MnAccidentalNatural;
        else if (written == carried)
            written = MnAccidentalNone;
    }
    return written;
}

int MnNote::accidentalInMeasure(int step, int octave, int& key) const
{
    const MnMeasure* measure = owner ? owner->measure() : nullptr;
    if (!measure) {
        key = 0;
        return MnAccidentalNone;
    }
    const int measureStart = measure->startTime();
    const int chordTime = owner->time();
    // An accidental before a key change inside the measure does not carry
    // over the change.
    int searchStart = 0;
    key = 0;
    if (const MnStaff* staff = measure->staff()) {
        const MnStaffDefinition* definition = staff->definitionAt(measureStart + chordTime, false);
        key = definition->key();
        if (definition->isKindOf(MnStaffChange::staticClass())) {
            const int changeTime = static_cast<const MnStaffChange*>(definition)->startTime();
            if (changeTime > measureStart)
                searchStart = changeTime - measureStart;
        }
    }

    int carried = MnAccidentalNone;
    int carriedTime = -1;
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
        const BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = 0; i < chords.count(); ++i) {
            const MnChord* chord = chords[i];
            // The latest time wins; at equal times the first one visited.
            if (chord->time() < searchStart || chord->time() > chordTime || chord->time() <= carriedTime)
                continue;
            for (int n = 0; n < chord->noteCount(); ++n) {
                const MnNote* note = chord->note(n);
                if (note == this || note->step() != step || note->octave() != octave ||
                    note->accidental() == MnAccidentalNone)
                    continue;
                carried = note->accidental();
                carriedTime = chord->time();
                break;
            }
        }
    }
    return carried;
}

int MnNote::effectiveAccidental() const
{
    if (noteAccidental != MnAccidentalNone)
        return noteAccidental;
    int key = 0;
    const int carried = accidentalInMeasure(noteStep, noteOctave, key);
    if (carried != MnAccidentalNone)
        return carried;
    return mnKeySignatureAlteration(key, noteStep);
}

int MnNote::keyNumber() const
{
    const long long key = stepSemitones[clampedStep(noteStep)] +
                          12LL * ((long long)noteOctave + MnOctave::shiftAt(owner) - 1) + effectiveAccidental();
    if (key < 0)
        return 0;
    return key > highestKey ? highestKey : int(key);
}

bool MnNote::setAlteration(int alteration)
{
    if (alteration < MnAccidentalDoubleFlat || alteration > MnAccidentalDoubleSharp)
        return false;
    int key = 0;
    const int carried = accidentalInMeasure(noteStep, noteOctave, key);
    const int wanted = alteration == 0 ? MnAccidentalNone : alteration;
    const int written = writtenAccidentalFor(wanted, carried, mnKeySignatureAlteration(key, noteStep));
    if (written != noteAccidental) {
        noteAccidental = written;
        if (owner)
            owner->sortNotes();
    }
    return true;
}

bool MnNote::setKeyNumber(int key)
{
    return spellKey(key, true);
}

bool MnNote::spellKey(int key, bool keepOldPitch)
{
    if (key < 0 || key > highestKey)
        return false;
    const int fifths = owner ? owner->keySignature() : 0;
    const int octave = (key >= 3 ? (key - 3) / 12 + 1 : 0) - MnOctave::shiftAt(owner);
    const int pitchClass = (key + 9) % 12;
    // Every step of the octave must be a pitch the record reads back.
    if (!mnIsWrittenPitch(0, octave))
        return false;

    // White keys are their step; black keys are flats in a key with flats
    // and sharps in any other key.
    static const int whiteStep[12] = {0, -1, 1, -1, 2, 3, -1, 4, -1, 5, -1, 6};
    static const int flatStep[12] = {0, 1, 0, 2, 0, 0, 4, 0, 5, 0, 6, 0};
    static const int sharpStep[12] = {0, 0, 0, 1, 0, 0, 3, 0, 4, 0, 5, 0};
    int step = whiteStep[pitchClass];
    int alteration = 0;
    if (step < 0) {
        step = fifths < 0 ? flatStep[pitchClass] : sharpStep[pitchClass];
        alteration = fifths < 0 ? -1 : 1;
    }

    int measureKey = 0;
    const int carried = accidentalInMeasure(step, octave, measureKey);
    const int written = writtenAccidentalFor(alteration == 0 ? MnAccidentalNone : alteration, carried,
                                             mnKeySignatureAlteration(measureKey, step));

    // Later notes of the old and of the new pitch keep sounding as they do:
    // remember the first of each before the note changes.
    MnNote* oldPitchNote = nullptr;
    int oldPitchAlteration = 0;
    MnNote* newPitchNote = nullptr;
    int newPitchAlteration = 0;
    const MnMeasure* measure = owner ? owner->measure() : nullptr;
    if (measure) {
        const int chordIndex = measure->voiceChords(owner->voice()).indexOf(owner);
        const int measureLength = measure->length();
        // Every onset of both voices from the note's own on: a note of one
        // voice may start under a longer note of the other.
        for (int time = owner->time(); time < measureLength;) {
            int nextTime = measureLength;
            for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
                const BcArray<MnChord*>& chords = measure->voiceChords(voice);
                for (int i = 0; i < chords.count(); ++i) {
                    MnChord* chord = chords[i];
                    if (chord->time() > time && chord->time() < nextTime)
                        nextTime = chord->time();
                    if (chord->time() != time)
                        continue;
                    if (voice == owner->voice() && i <= chordIndex)
                        continue; // not after the note's chord
                    for (int n = 0; n < chord->noteCount(); ++n) {
                        MnNote* note = chord->note(n);
                        if (keepOldPitch && !oldPitchNote && note->step() == noteStep &&
                            note->octave() == noteOctave) {
                            oldPitchNote = note;
                            oldPitchAlteration = note->effectiveAccidental();
                        }
                        if (!newPitchNote && note->step() == step && note->octave() == octave) {
                            newPitchNote = note;
                            newPitchAlteration = note->effectiveAccidental();
                        }
                    }
                }
            }
            time = nextTime;
        }
    }

    noteAccidental = written;
    noteStep = step;
    noteOctave = octave;
    if (owner)
        owner->sortNotes();
    if (oldPitchNote)
        oldPitchNote->setAlteration(oldPitchAlteration);
    if (newPitchNote && newPitchNote != oldPitchNote)
        newPitchNote->setAlteration(newPitchAlteration);
    return true;
}
