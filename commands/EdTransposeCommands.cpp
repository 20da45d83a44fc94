#include "commands/EdTransposeCommands.h"

#include "commands/EdCommandTable.h"
#include "commands/EdNoteInputCommands.h"
#include "commands/EdSelectCommands.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <utility>
#include <vector>

namespace {

const int stepSizes[7] = {2, 2, 1, 2, 2, 2, 1};
const int stepPitchClasses[7] = {0, 2, 4, 5, 7, 9, 11};

// Cb Gb Db Ab Eb Bb F C G D A E B F# C#, from -7 flats to 7 sharps.
const int tonicLetters[15] = {0, 4, 1, 5, 2, 6, 3, 0, 4, 1, 5, 2, 6, 3, 0};
const int tonicPitchClasses[15] = {11, 6, 1, 8, 3, 10, 5, 0, 7, 2, 9, 4, 11, 6, 1};
const int pitchClassKeys[12] = {0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5};

struct IntervalEntry
{
    int number;
    int semitones;
};

const IntervalEntry intervalEntries[25] = {
    {1, 1}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {4, 4}, {4, 5}, {4, 6}, {5, 6},
    {5, 7}, {5, 8}, {6, 7}, {6, 8}, {6, 9}, {6, 10}, {7, 9}, {7, 10}, {7, 11}, {7, 12}, {8, 11}, {8, 12},
};

int modulo12(int value)
{
    return ((value % 12) + 12) % 12;
}

// The piano key of a written pitch with its alteration: A0 = 0, C8 = 87.
int keyOf(int octave, int step, int alteration)
{
    return octave * 12 + stepPitchClasses[step] + alteration - 9;
}

MnStaff* staffOf(const MnNote* note)
{
    const MnChord* chord = note->chord();
    return chord && chord->measure() ? chord->measure()->staff() : nullptr;
}

MnScore* scoreOf(const MnNote* note)
{
    MnStaff* staff = staffOf(note);
    return staff ? staff->score() : nullptr;
}

// The score that a selected element lies in; null for other elements.
MnScore* scoreOfElement(MnElement* element)
{
    if (element->isKindOf(MnScore::staticClass()))
        return static_cast<MnScore*>(element);
    if (element->isKindOf(MnSheetMusic::staticClass()))
        return static_cast<MnSheetMusic*>(element)->score();
    if (element->isKindOf(MnStaff::staticClass()))
        return static_cast<MnStaff*>(element)->score();
    if (element->isKindOf(MnStaffChange::staticClass())) {
        MnStaff* staff = static_cast<MnStaffChange*>(element)->staff();
        return staff ? staff->score() : nullptr;
    }
    if (element->isKindOf(MnMeasure::staticClass())) {
        MnStaff* staff = static_cast<MnMeasure*>(element)->staff();
        return staff ? staff->score() : nullptr;
    }
    if (element->isKindOf(MnChord::staticClass())) {
        MnMeasure* measure = static_cast<MnChord*>(element)->measure();
        return measure && measure->staff() ? measure->staff()->score() : nullptr;
    }
    if (element->isKindOf(MnNote::staticClass()))
        return scoreOf(static_cast<MnNote*>(element));
    return nullptr;
}

void addChordNotes(const MnChord* chord, EdTransposeCommands::NoteList& list)
{
    for (int n = 0; n < chord->noteCount(); ++n)
        list.add(chord->note(n));
}

// The notes of the staff's chords whose staff time lies in [from, to).
void collectStaffSpan(MnStaff* staff, long long from, long long to, EdTransposeCommands::NoteList& list)
{
    for (int m = 0; m < staff->measureCount(); ++m) {
        const MnMeasure* measure = staff->measure(m);
        const long long start = staff->measureStartTime(m);
        if (start >= to)
            break;
        if (start + measure->length() < from)
            continue;
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i) {
                const long long time = start + chords[i]->time();
                if (time >= from && time < to)
                    addChordNotes(chords[i], list);
            }
        }
    }
}

void collectStaff(MnStaff* staff, EdTransposeCommands::NoteList& list)
{
    collectStaffSpan(staff, LLONG_MIN, staff->changeCount() > 0 ? staff->change(0)->startTime() : LLONG_MAX, list);
}

void collectStaffChange(MnStaffChange* change, EdTransposeCommands::NoteList& list)
{
    MnStaff* staff = change->staff();
    if (!staff)
        return;
    const int index = staff->changeArray().indexOf(change);
    if (index < 0)
        return;
    const long long to = index + 1 < staff->changeCount() ? staff->change(index + 1)->startTime() : LLONG_MAX;
    collectStaffSpan(staff, change->startTime(), to, list);
}

template <class T>
T* as(MnElement* element)
{
    return element && element->isKindOf(T::staticClass()) ? static_cast<T*>(element) : nullptr;
}

// The frame of the six pitch commands: nothing without an active view,
// otherwise one transaction, marked when the work changed anything.
void run(const std::function<bool(EdSelection&)>& work)
{
    EdContext& context = EdContext::current();
    if (!context.activeView())
        return;
    EdCommand edit;
    EdView* view = context.activeView();
    if (view && work(view->selection()))
        edit.markModified();
}

// Calls f for every selected note; true when any call changed its note.
bool forEachNote(EdSelection& selection, const std::function<bool(MnNote*)>& f)
{
    bool changed = false;
    for (int i = 0; i < selection.count(); ++i) {
        if (MnNote* note = as<MnNote>(selection.element(i)))
            changed |= f(note);
    }
    return changed;
}

bool moveStaffPosition(EdSelection& selection, bool up)
{
    if (selection.countOfClass(MnNote::staticClass()) == 0) {
        // Only rests: they move by a staff line.
        bool changed = false;
        for (int i = 0; i < selection.count(); ++i) {
            MnChord* rest = as<MnChord>(selection.element(i));
            if (!rest || !rest->isRest())
                continue;
            const int position = rest->restPosition() + (up ? 2 : -2);
            if (position >= -14 && position <= 6 && rest->setRestPosition(position))
                changed = true;
        }
        return changed;
    }
    return forEachNote(selection, [up](MnNote* note) {
        int step = note->step();
        int octave = note->octave();
        if (up) {
            if (step == 6)
                step = 0, ++octave;
            else if (octave > 7)
                return false;
            else
                ++step;
        } else {
            if (step == 0)
                step = 6, --octave;
            else if (octave < 1 && step != 6)
                return false;
            else
                --step;
        }
        const int oldStep = note->step();
        const int oldOctave = note->octave();
        if (!note->setOctave(octave) || !note->setStep(step)) {
            note->setOctave(oldOctave);
            note->setStep(oldStep);
            return false;
        }
        note->setAccidental(MnAccidentalNone);
        note->chord()->sortNotes();
        return true;
    });
}

bool setKeyWithin(MnNote* note, int key)
{
    key = std::clamp(key, 0, 87);
    return key != note->keyNumber() && note->setKeyNumber(key);
}

bool moveOctave(MnNote* note, bool up)
{
    const int octave = note->octave();
    const int key = note->keyNumber();
    // C7 goes to C8 by its octave; above it the key stops at C8. The same
    // down to A0.
    const bool byOctave = up ? (octave < 7 || (octave == 7 && key == 75)) : (octave > 1 || (octave == 1 && key > 11));
    if (!byOctave)
        return setKeyWithin(note, up ? key + 12 : key - 12);
    if (!note->setOctave(up ? octave + 1 : octave - 1))
        return false;
    note->chord()->sortNotes();
    return true;
}

bool validChoice(const EdContext::TransposeChoice& choice)
{
    return choice.mode >= 0 && choice.mode <= 2 && choice.keyEntry >= 0 && choice.keyEntry <= 14 &&
           choice.intervalEntry >= 0 && choice.intervalEntry <= 24 && choice.semitones >= -32 &&
           choice.semitones <= 32 && choice.direction >= 0 && choice.direction <= 2;
}

// One score's notes by the dialog's choice; true when any changed.
bool transposeByChoice(const EdContext::TransposeChoice& choice, const BcArray<MnNote*>& notes)
{
    using T = EdTransposeCommands;
    const bool keys = choice.changeKeySignatures;
    const bool doubles = choice.useDoubleAccidentals;
    switch (choice.mode) {
    case 0:
        return T::transposeToKey(choice.keyEntry - 7, choice.direction, keys, doubles, notes);
    case 1: {
        int number = 0;
        int semitones = 0;
        if (!T::intervalOfEntry(choice.intervalEntry, number, semitones))
            return false;
        if (choice.direction == 1)
            number = -number, semitones = -semitones;
        return T::transposeNotes(number, semitones, keys, T::noTarget, doubles, notes);
    }
    default: {
        // The key from the count within the octave; the whole octaves of
        // the count move the notes on by their octave.
        const int reference = T::transposeReferenceKey(notes);
        const int pitchClass = modulo12(choice.semitones + T::tonicPitchClass(reference));
        const int octaves = choice.semitones / 12;
        return T::transposeToKey(T::keyOfPitchClass(pitchClass), choice.semitones < 0 ? 1 : 0, keys, doubles, notes,
                                 octaves);
    }
    }
}

}

int EdTransposeCommands::stepSize(int step)
{
    return step >= 0 && step <= 6 ? stepSizes[step] : 0;
}

int EdTransposeCommands::tonicLetter(int key)
{
    return key >= -7 && key <= 7 ? tonicLetters[key + 7] : 0;
}

int EdTransposeCommands::tonicPitchClass(int key)
{
    return key >= -7 && key <= 7 ? tonicPitchClasses[key + 7] : 0;
}

int EdTransposeCommands::keyOfPitchClass(int pitchClass)
{
    return pitchClass >= 0 && pitchClass <= 11 ? pitchClassKeys[pitchClass] : 0;
}

bool EdTransposeCommands::intervalOfEntry(int entry, int& number, int& semitones)
{
    if (entry < 0 || entry > 24)
        return false;
    number = intervalEntries[entry].number;
    semitones = intervalEntries[entry].semitones;
    return true;
}

bool EdTransposeCommands::NoteList::add(MnNote* note)
{
    if (!note || !members.insert(note).second)
        return false;
    collected.add(note);
    sorted = false;
    return true;
}

const BcArray<MnNote*>& EdTransposeCommands::NoteList::notes()
{
    if (sorted)
        return collected;
    // Reversed, then one stable sort: among equal times the later first.
    std::vector<std::pair<int, MnNote*>> timed;
    timed.reserve(size_t(collected.count()));
    for (int i = collected.count() - 1; i >= 0; --i)
        timed.emplace_back(staffTimeOf(collected[i]), collected[i]);
    std::stable_sort(timed.begin(), timed.end(),
                     [](const std::pair<int, MnNote*>& a, const std::pair<int, MnNote*>& b) { return a.first < b.first; });
    for (int i = 0; i < collected.count(); ++i)
        collected[i] = timed[size_t(i)].second;
    sorted = true;
    return collected;
}

int EdTransposeCommands::staffTimeOf(const MnNote* note)
{
    const MnChord* chord = note->chord();
    if (!chord || !chord->measure())
        return 0;
    return chord->measure()->startTime() + chord->time();
}

bool EdTransposeCommands::transposePitch(int& octave, int& step, int& alteration, int semitones, int diatonicSteps,
                                         bool allowDouble)
{
    if (step < 0 || step > 6)
        return false;
    int n = step + diatonicSteps;
    int o = octave;
    while (n > 6)
        n -= 7, ++o;
    while (n < 0)
        n += 7, --o;
    int covered = 0;
    for (int i = 0; i < diatonicSteps; ++i)
        covered += stepSizes[(step + i) % 7];
    for (int i = 1; i <= -diatonicSteps; ++i)
        covered -= stepSizes[((step - i) % 7 + 7) % 7];

    const int limit = allowDouble ? 2 : 1;
    int a = alteration + semitones - covered;
    // Each letter moves the alteration by one or two towards the limit.
    for (int guard = 0; guard < 64 && (a > limit || a < -limit); ++guard) {
        if (a > limit) {
            covered += stepSizes[n];
            if (++n > 6)
                n = 0, ++o;
        } else {
            if (--n < 0)
                n = 6, --o;
            covered -= stepSizes[n];
        }
        a = alteration + semitones - covered;
    }
    if (a > limit || a < -limit)
        return false;
    octave = o;
    step = n;
    alteration = a;
    return true;
}

void EdTransposeCommands::collectTransposedNotes(MnElement* element, MnScore* score, NoteList& list)
{
    if (!element || !score)
        return;
    if (MnNote* note = as<MnNote>(element)) {
        if (scoreOf(note) == score)
            list.add(note);
    } else if (MnMeasure* measure = as<MnMeasure>(element)) {
        if (!measure->staff() || measure->staff()->score() != score)
            return;
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i)
                addChordNotes(chords[i], list);
        }
    } else if (MnStaff* staff = as<MnStaff>(element)) {
        if (staff->score() == score)
            collectStaff(staff, list);
    } else if (MnStaffChange* change = as<MnStaffChange>(element)) {
        if (change->staff() && change->staff()->score() == score)
            collectStaffChange(change, list);
    } else if (element == score) {
        for (int s = 0; s < score->staffCount(); ++s) {
            MnStaff* each = score->staff(s);
            collectStaff(each, list);
            for (int c = 0; c < each->changeCount(); ++c)
                collectStaffChange(each->change(c), list);
        }
    } else if (MnSheetMusic* sheet = as<MnSheetMusic>(element)) {
        if (sheet->score() == score)
            collectTransposedNotes(score, score, list);
    }
}

int EdTransposeCommands::transposeReferenceKey(const BcArray<MnNote*>& notes)
{
    if (notes.isEmpty())
        return 0;
    MnStaff* highest = nullptr;
    for (int i = 0; i < notes.count(); ++i) {
        MnStaff* staff = staffOf(notes[i]);
        if (staff && (!highest || staff->index() < highest->index()))
            highest = staff;
    }
    if (!highest)
        return 0;
    const MnStaffDefinition* definition = highest->definitionAt(staffTimeOf(notes[0]), false);
    return definition ? definition->key() : highest->key();
}

bool EdTransposeCommands::transposeNotes(int intervalNumber, int semitones, bool changeKeySignatures, int targetKey,
                                         bool allowDouble, const BcArray<MnNote*>& notes, int octaves)
{
    if (notes.isEmpty())
        return false;
    // Read before anything moves: the key signatures and the earlier notes
    // of a measure decide how a note sounds.
    std::vector<int> alterations(size_t(notes.count()));
    for (int i = 0; i < notes.count(); ++i)
        alterations[size_t(i)] = notes[i]->effectiveAccidental();

    if (changeKeySignatures) {
        std::vector<MnStaffDefinition*> definitions;
        std::unordered_set<MnStaffDefinition*> seen;
        for (int i = 0; i < notes.count(); ++i) {
            MnStaff* staff = staffOf(notes[i]);
            MnStaffDefinition* definition = staff ? staff->definitionAt(staffTimeOf(notes[i]), false) : nullptr;
            if (definition && seen.insert(definition).second)
                definitions.push_back(definition);
        }
        const bool hasTarget = targetKey >= -7 && targetKey <= 7;
        for (MnStaffDefinition* definition : definitions) {
            int key = keyOfPitchClass(modulo12(semitones + tonicPitchClass(definition->key())));
            if (hasTarget && tonicPitchClass(key) == tonicPitchClass(targetKey))
                key = targetKey;
            definition->setKey(key);
        }
    }

    const int steps = intervalNumber > 0 ? intervalNumber - 1 : intervalNumber < 0 ? intervalNumber + 1 : 0;
    for (int i = 0; i < notes.count(); ++i) {
        MnNote* note = notes[i];
        int octave = note->octave();
        int step = note->step();
        int alteration = alterations[size_t(i)];
        if (!transposePitch(octave, step, alteration, semitones, steps, allowDouble))
            continue;
        octave += octaves;
        const int key = keyOf(octave, step, alteration);
        if (key < 0 || key > 87)
            continue;
        MnChord* chord = note->chord();
        if (octave != note->octave() && note->setOctave(octave))
            chord->sortNotes();
        if (step != note->step() && note->setStep(step))
            chord->sortNotes();
        note->setAlteration(alteration);
    }
    return true;
}

bool EdTransposeCommands::transposeToKey(int targetKey, int direction, bool changeKeySignatures, bool allowDouble,
                                         const BcArray<MnNote*>& notes, int octaves)
{
    if (targetKey < -7 || targetKey > 7 || notes.isEmpty())
        return false;
    const int reference = transposeReferenceKey(notes);
    const int distance = modulo12(tonicPitchClass(targetKey) - tonicPitchClass(reference));
    if (distance == 0) {
        // The same tonic: only whole octaves move, in the key as it is.
        return octaves != 0 && transposeNotes(1, 0, false, noTarget, allowDouble, notes, octaves);
    }
    int semitones = distance;
    if (direction == 1 || (direction == 2 && distance > 6))
        semitones = distance - 12;
    int letters = ((tonicLetter(targetKey) - tonicLetter(reference)) % 7 + 7) % 7;
    if (semitones < 0 && letters > 0)
        letters -= 7;
    const int number = letters >= 0 ? letters + 1 : letters - 1;
    return transposeNotes(number, semitones, changeKeySignatures, targetKey, allowDouble, notes, octaves);
}

void EdTransposeCommands::cmdTransposeStaffPositionUp()
{
    run([](EdSelection& selection) { return moveStaffPosition(selection, true); });
}

void EdTransposeCommands::cmdTransposeStaffPositionDown()
{
    run([](EdSelection& selection) { return moveStaffPosition(selection, false); });
}

void EdTransposeCommands::cmdTransposeSemitoneUp()
{
    run([](EdSelection& selection) {
        return forEachNote(selection, [](MnNote* note) { return setKeyWithin(note, note->keyNumber() + 1); });
    });
}

void EdTransposeCommands::cmdTransposeSemitoneDown()
{
    run([](EdSelection& selection) {
        return forEachNote(selection, [](MnNote* note) { return setKeyWithin(note, note->keyNumber() - 1); });
    });
}

void EdTransposeCommands::cmdTransposeOctaveUp()
{
    run([](EdSelection& selection) { return forEachNote(selection, [](MnNote* note) { return moveOctave(note, true); }); });
}

void EdTransposeCommands::cmdTransposeOctaveDown()
{
    run([](EdSelection& selection) {
        return forEachNote(selection, [](MnNote* note) { return moveOctave(note, false); });
    });
}

void EdTransposeCommands::cmdTransposeKeyInterval()
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    bool selectedHere = false;
    if (view->selection().isEmpty()) {
        EdSelectCommands::cmdSelectAllOfClass(MnNote::staticClass());
        selectedHere = true;
    }
    bool confirmed = false;
    {
        EdCommand edit;
        view = context.activeView();
        if (!view)
            return;
        EdSelection& selection = view->selection();
        std::vector<MnScore*> scores;
        for (int i = 0; i < selection.count(); ++i) {
            MnScore* score = scoreOfElement(selection.element(i));
            if (score && std::find(scores.begin(), scores.end(), score) == scores.end())
                scores.push_back(score);
        }
        if (scores.empty()) {
            context.showHint(keyIntervalId);
        } else {
            EdContext::TransposeChoice choice;
            choice.mode = 0;
            choice.keyEntry = 0;
            choice.intervalEntry = 0;
            choice.semitones = 1;
            choice.direction = 2;
            choice.changeKeySignatures = true;
            choice.useDoubleAccidentals = true;
            confirmed = context.runTransposeDialog(choice) && validChoice(choice);
            for (size_t s = 0; confirmed && s < scores.size(); ++s) {
                NoteList list;
                for (int i = 0; i < selection.count(); ++i)
                    collectTransposedNotes(selection.element(i), scores[s], list);
                if (list.count() > 0 && transposeByChoice(choice, list.notes()))
                    edit.markModified();
            }
        }
    }
    if (selectedHere && !confirmed)
        EdNoteInputCommands::cmdClearInput();
}

void EdTransposeCommands::addRows()
{
    using T = EdCommandTable;
    T::add({staffPositionUpId, [](unsigned) { cmdTransposeStaffPositionUp(); }, &T::whenScore});
    T::add({staffPositionDownId, [](unsigned) { cmdTransposeStaffPositionDown(); }, &T::whenScore});
    T::add({semitoneUpId, [](unsigned) { cmdTransposeSemitoneUp(); }, &T::whenScore});
    T::add({semitoneDownId, [](unsigned) { cmdTransposeSemitoneDown(); }, &T::whenScore});
    T::add({octaveUpId, [](unsigned) { cmdTransposeOctaveUp(); }, &T::whenScore});
    T::add({octaveDownId, [](unsigned) { cmdTransposeOctaveDown(); }, &T::whenScore});
    T::add({keyIntervalId, [](unsigned) { cmdTransposeKeyInterval(); }, &T::whenScore});
}
