// Pasting a copied score: every chord of the clone becomes a rest slot of
// its duration in the target, its tuplet is made again, and the slot is
// filled with the chord's notes on the same staff positions and with its
// settings. Grace chords follow their main chords. What else the clone holds
// (staff changes, lines, lyrics, texts) is not pasted, and no measures are
// added.

#include "editing/EdClipboard.h"

#include "editing/EdCursor.h"
#include "editing/EdMeasureCursor.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTuplet.h"

#include <unordered_set>

// Rest positions that a pasted rest takes over; others are not copied.
static const int lowestRestPosition = -14;
static const int highestRestPosition = 6;

static int staffTimeOf(const MnChord* chord)
{
    return chord->measure()->startTime() + chord->time();
}

static int clefAt(const MnChord* chord)
{
    const MnStaff* staff = chord->staff();
    return staff ? staff->definitionAt(staffTimeOf(chord), false)->clef() : MnClefTreble;
}

// One diatonic step up or down, within the octaves a note can be written in.
static void stepNote(MnNote* note, bool up)
{
    const int step = note->step();
    const int octave = note->octave();
    if (up) {
        if (octave > 7)
            return;
        if (step == 6) {
            note->setStep(0);
            note->setOctave(octave + 1);
        } else {
            note->setStep(step + 1);
        }
        return;
    }
    if (octave == 0 && step < 6)
        return;
    if (step == 0) {
        note->setStep(6);
        note->setOctave(octave - 1);
    } else {
        note->setStep(step - 1);
    }
}

void EdClipboard::writeChord(const MnChord* source, MnChord* target)
{
    // The notes keep their places on the staff, not their pitch.
    const int steps = mnClefOffset(clefAt(source)) - mnClefOffset(clefAt(target));
    if (steps != 0) {
        for (int n = 0; n < target->noteCount(); ++n) {
            MnNote* note = target->note(n);
            for (int k = 0; k < (steps < 0 ? -steps : steps); ++k)
                stepNote(note, steps > 0);
            note->setAccidental(MnAccidentalNone);
        }
        target->sortNotes();
    }

    EdClipNote::ChordSettings::of(source).applyTo(target);

    // The notes pair by index; the pairs are taken before any accidental
    // re-sorts the chord.
    BcArray<MnNote*> written;
    for (int n = 0; n < target->noteCount() && n < source->noteCount(); ++n)
        written.add(target->note(n));
    for (int n = 0; n < written.count(); ++n) {
        const MnNote* from = source->note(n);
        MnNote* note = written[n];
        if (note->accidental() != from->accidental()) {
            note->setAccidental(from->accidental());
            target->sortNotes();
        }
        if (!target->isGrace()) {
            note->setTiePlacement(from->tiePlacement());
            note->setArpeggio(from->hasArpeggio());
        }
        // Setting the type walks the notes of every staff at the chord.
        if (note->arpeggioType() != from->arpeggioType())
            note->setArpeggioType(from->arpeggioType());
    }
}

// The notes after the first of a grace chord, into the grace chord made for
// it with the first.
static void addGraceNotes(const MnChord* source, MnChord* target)
{
    for (int n = 1; n < source->noteCount(); ++n) {
        const MnNote* note = source->note(n);
        target->measure()->addNoteToGraceChord(target, note->step(), note->octave(), note->accidental(),
                                               source->duration());
    }
}

bool EdClipboard::addGraceChords(const BcArray<MnChord*>& chords, int last, MnMeasure* holder, MnChord* front)
{
    bool added = false;
    const int time = chords[last]->time();
    for (int k = last; k >= 0 && chords[k]->isGrace() && chords[k]->time() == time; --k) {
        const MnChord* grace = chords[k];
        if (grace->isRest())
            continue;
        const MnNote* first = grace->note(0);
        MnNote* made = holder->addGraceNote(front, first->step(), first->octave(), first->accidental(), grace->duration());
        if (!made)
            break;
        front = made->chord();
        addGraceNotes(grace, front);
        writeChord(grace, front);
        added = true;
    }
    return added;
}

bool EdClipboard::pasteChord(const MnChord* source, MnMeasure* target, int time)
{
    if (!source || !target)
        return false;
    const int voice = source->voice();
    if (voice < 0 || voice >= MnMeasure::voiceCount)
        return false;
    if (!source->isGrace()) {
        for (int n = 0; n < source->noteCount(); ++n) {
            const MnNote* note = source->note(n);
            target->addNote(voice, time, note->step(), note->octave(), note->accidental(), source->duration(),
                            note->isTied());
        }
    }
    MnChord* chord = target->mainChordAt(voice, time);
    if (!chord)
        return true;
    if (source->isGrace()) {
        // The grace chord made for the source stands as far before the main
        // chord as the source stood before its own.
        const int distance = EdCursor::graceRun(source);
        for (int k = 0; k < distance; ++k) {
            chord = chord->previousChord();
            if (!chord || !chord->isGrace())
                return false;
        }
        addGraceNotes(source, chord);
    }
    writeChord(source, chord);
    return true;
}

// Voice 1 of a measure that holds nothing there is left alone in the target.
static bool isEmptySecondVoice(const MnMeasure* measure)
{
    const BcArray<MnChord*>& chords = measure->voiceChords(1);
    return (chords.count() == 1 && chords[0]->isRest()) || measure->isMeasureRest(1);
}

bool EdClipboard::pasteScore(MnStaff* staff, int time)
{
    MnScore* clone = nullptr;
    for (const std::unique_ptr<MnElement>& work : owned) {
        if (work->isKindOf(MnScore::staticClass())) {
            clone = static_cast<MnScore*>(work.get());
            break;
        }
    }
    if (!clone || !staff)
        return false;

    // A paste point inside a tuplet of the target would cut it.
    EdMeasureCursor pointCursor(staff);
    int pointStart = 0;
    const MnMeasure* pointMeasure = pointCursor.find(time, pointStart);
    if (!pointMeasure)
        return false;
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
        const MnChord* first = pointMeasure->tupletChordAt(voice, time - pointStart);
        if (first && first->time() < time - pointStart)
            return false;
    }

    std::unordered_set<const MnElement*> chosenMeasures;
    for (int i = 0; i < selected.count(); ++i) {
        for (const MnElement* walk = selected.element(i); walk; walk = walk->parent()) {
            if (walk->isKindOf(MnMeasure::staticClass())) {
                chosenMeasures.insert(walk);
                break;
            }
        }
    }

    bool result = false;
    MnStaff* target = staff;
    const MnScore* targetScore = staff->score();
    for (int s = 0; s < clone->staffCount(); ++s) {
        if (s > 0) {
            const int next = target->index() + 1;
            if (!targetScore || next < 1 || next >= targetScore->staffCount())
                break;
            target = targetScore->staff(next);
        }
        MnStaff* source = clone->staff(s);
        const bool whole = selected.contains(source) || selected.contains(clone);
        EdMeasureCursor cursor(target);
        // Each voice of each pasted measure; voice 1 only where it holds
        // something.
        const auto eachVoice = [&](const auto& paste) {
            for (int m = 0; m < source->measureCount(); ++m) {
                const MnMeasure* measure = source->measure(m);
                if (!whole && chosenMeasures.count(measure) == 0)
                    continue;
                for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
                    if (voice == 1 && isEmptySecondVoice(measure))
                        continue;
                    paste(source->measureStartTime(m), voice, measure->voiceChords(voice));
                }
            }
        };

        eachVoice([&](int sourceStart, int voice, const BcArray<MnChord*>& chords) {
            for (int i = 0; i < chords.count(); ++i) {
                const MnChord* chord = chords[i];
                if (chord->isGrace())
                    continue;
                int targetStart = 0;
                MnMeasure* into = cursor.find((long long)sourceStart + chord->time() + time, targetStart);
                if (!into)
                    continue;
                const int slot = sourceStart + chord->time() + time - targetStart;
                into->removeTuplet(voice, slot, nullptr);
                into->setRest(voice, slot, chord->duration());
                if (MnChord* rest = into->mainChordAt(voice, slot)) {
                    if (chord->restPosition() >= lowestRestPosition && chord->restPosition() <= highestRestPosition)
                        rest->setRestPosition(chord->restPosition());
                    rest->setHidden(chord->isHidden());
                }
                if (const MnTuplet* tuplet = chord->tuplet()) {
                    if (!into->makeTuplet(voice, slot, tuplet->span(), tuplet->number(), tuplet->isAlternative())) {
                        // Its chords stay rests in the target.
                        const long long end = (long long)chord->time() + tuplet->span();
                        while (i + 1 < chords.count() && chords[i + 1]->time() < end)
                            ++i;
                        continue;
                    }
                }
                if (!pasteChord(chord, into, slot))
                    continue;
                result = true;
                const bool hasGrace = i > 0 && chords[i - 1]->isGrace() && chords[i - 1]->time() == chord->time();
                MnChord* main = into->mainChordAt(voice, slot);
                if (!main)
                    continue;
                // Grace chords of the target before the slot give way,
                // except those of the paste point's own chord, unless
                // the source brings its own.
                for (MnChord* before = main->previousChord(); before && before->isGrace();
                     before = main->previousChord()) {
                    if (!hasGrace && staffTimeOf(before) <= time)
                        break;
                    if (!before->measure()->removeChild(before))
                        break;
                }
                if (i > 0)
                    addGraceChords(chords, i - 1, into, main);
            }
        });

        // Grace chords at the end of a source measure lead into the chord
        // where the next source measure begins.
        eachVoice([&](int sourceStart, int voice, const BcArray<MnChord*>& chords) {
            if (chords.isEmpty() || !chords[chords.count() - 1]->isGrace())
                return;
            const MnChord* last = chords[chords.count() - 1];
            int targetStart = 0;
            MnMeasure* into = cursor.find((long long)sourceStart + last->time() + time, targetStart);
            if (!into)
                return;
            const int slot = sourceStart + last->time() + time - targetStart;
            MnChord* main = into->mainChordAt(voice, slot);
            if (!main)
                return;
            MnChord* front = main;
            MnMeasure* holder = into;
            MnMeasure* before = slot == 0 ? into->previousMeasure() : nullptr;
            if (!before) {
                for (MnChord* earlier = front->previousChord();
                     earlier && earlier->isGrace() && earlier->measure() == into; earlier = front->previousChord())
                    front = earlier;
            } else {
                // At a bar line they stand at the end of the measure before,
                // in place of the grace chords there.
                holder = before;
                BcArray<MnChord*>& trailing = before->voiceChords(voice);
                while (!trailing.isEmpty() && trailing[trailing.count() - 1]->isGrace())
                    before->removeChild(trailing[trailing.count() - 1]);
            }
            if (addGraceChords(chords, chords.count() - 1, holder, front))
                result = true;
        });
    }
    return result;
}
