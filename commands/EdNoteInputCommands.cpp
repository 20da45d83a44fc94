#include "commands/EdNoteInputCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdClipboard.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdPointer.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnStaff.h"
#include "model/MnStaffDefinition.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"

namespace {

struct DurationRow
{
    unsigned id;
    int value;
};

const DurationRow durationRows[] = {
    {EdNoteInputCommands::wholeId, MnTicksPerWhole},       {EdNoteInputCommands::halfId, MnTicksHalf},
    {EdNoteInputCommands::quarterId, MnTicksQuarter},      {EdNoteInputCommands::eighthId, MnTicksEighth},
    {EdNoteInputCommands::sixteenthId, MnTicksSixteenth},  {EdNoteInputCommands::thirtysecondId, MnTicks32nd},
    {EdNoteInputCommands::sixtyfourthId, MnTicks64th},
};

template <class T>
T* as(MnElement* element)
{
    return element && element->isKindOf(T::staticClass()) ? static_cast<T*>(element) : nullptr;
}

// A copy of a selection to walk while the walk's own edits delete elements:
// the copy is a live selection, so what dies leaves it before it is read.
// Elements are taken from the front, or from the back.
class Walk
{
public:
    explicit Walk(const EdSelection& selection) { copy.addAll(selection); }
    MnElement* next(bool fromBack = false)
    {
        if (copy.isEmpty())
            return nullptr;
        MnElement* element = copy.element(fromBack ? copy.count() - 1 : 0);
        copy.remove(element);
        return element;
    }

private:
    EdSelection copy;
};

// The cursor as it was: its staff held weakly, and its five values.
struct SavedCursor
{
    explicit SavedCursor(EdCursor& cursor)
        : voice(cursor.voice()), time(cursor.time()), grace(cursor.graceIndex()), anchorTime(cursor.anchorTime()),
          anchorGrace(cursor.anchorGraceIndex())
    {
        staff.set(cursor.staff());
    }

    // Back into the cursor while the staff lives and the time lies in it.
    void restore(EdCursor& cursor) const
    {
        MnStaff* held = staff.element();
        if (!held || time >= held->totalTicks())
            return;
        cursor.staffSelection().clear();
        cursor.staffSelection().add(held);
        cursor.setVoice(voice);
        cursor.setPosition(time, grace, false);
        cursor.setAnchor(anchorTime, anchorGrace);
    }

    EdPointer<MnStaff> staff;
    int voice, time, grace, anchorTime, anchorGrace;
};

// The value D to the chord: a grace chord takes a standard value as it is;
// a normal chord goes through its measure, which keeps the voice filled.
bool changeChordDuration(MnChord* chord, int duration)
{
    if (chord->isGrace())
        return mnIsStandardDuration(duration) && chord->setDuration(duration);
    MnMeasure* measure = chord->measure();
    return measure && measure->setChordDuration(chord->voice(), chord->time(), duration);
}

// The tuplet re-spanned to the value: the notes of its chords after the
// first are lifted out, the tuplet is made again over the new span, and the
// notes go back from its second slot on. False when the measure refuses.
bool respanTuplet(MnTuplet* tuplet, int duration)
{
    MnChord* first = as<MnChord>(tuplet->parent());
    MnMeasure* measure = first ? first->measure() : nullptr;
    if (!measure || !measure->staff())
        return false;
    const int voice = first->voice();
    const int time = first->time();
    const long long end = (long long)time + tuplet->span();
    EdSelection later;
    const BcArray<MnChord*>& chords = measure->voiceChords(voice);
    for (int i = chords.indexOf(first) + 1; i < chords.count() && chords[i]->time() < end; ++i) {
        for (int n = 0; n < chords[i]->noteCount(); ++n)
            later.add(chords[i]->note(n));
    }
    EdClipboard lifted;
    lifted.copy(later);
    MnStaff* staff = measure->staff();
    const int number = tuplet->number();
    const bool alternative = tuplet->isAlternative();
    if (!measure->makeTuplet(voice, time, duration, number, alternative))
        return false;
    const MnChord* remade = measure->mainChordAt(voice, time);
    if (remade && !lifted.notes().isEmpty())
        lifted.paste(staff, measure->startTime() + time + remade->soundingDuration(), nullptr);
    return true;
}

// Whether the time lies inside or at the start of a tuplet of the voice.
bool inTuplet(const MnMeasure* measure, int voice, int time)
{
    return measure->tupletChordAt(voice, time) != nullptr;
}

// The chord a note was entered into, the cursor moved on from it; or why
// nothing was entered.
struct Entry
{
    bool entered = false;
    MnChord* next = nullptr;
};

// The grace chord G places before the main chord at t of the voice.
MnChord* graceChordAt(MnMeasure* measure, int voice, int time, int graceIndex)
{
    MnChord* chord = measure->mainChordAt(voice, time);
    for (int i = 0; chord && i < graceIndex; ++i) {
        chord = chord->previousChord();
        if (chord && !chord->isGrace())
            return nullptr;
    }
    return chord;
}

// The grace chord's notes replaced by the one key, at the value.
MnNote* replaceGraceNotes(MnChord* grace, int key, int duration)
{
    if (!mnIsStandardDuration(duration) || grace->noteCount() == 0)
        return nullptr;
    // Checked before anything changes, so a key the note cannot take
    // leaves the chord as it was.
    if (grace->noteCount() == 1)
        return grace->note(0)->setKeyNumber(key) && grace->setDuration(duration) ? grace->note(0) : nullptr;
    grace->setDuration(duration);
    while (grace->noteCount() > 1)
        grace->removeChild(grace->note(grace->noteCount() - 1));
    MnNote* kept = grace->note(0);
    kept->setKeyNumber(key);
    return kept;
}

Entry enterAtCursor(EdContext& context, EdView* view, EdCommand& edit, int key, bool addToChord, int duration)
{
    Entry entry;
    const int voice = context.noteInput().inputVoice;
    EdCursor& cursor = view->cursor();
    if (key < 0 || key > 87 || voice < 0 || voice >= MnMeasure::voiceCount)
        return entry;

    if (addToChord) {
        MnStaff* staff = cursor.staff();
        if (staff && cursor.time() < staff->totalTicks()) {
            cursor.movePrevious(false);
        } else if (cursor.voice() != voice) {
            cursor.movePrevious(false);
        } else if (staff && staff->measureCount() > 0) {
            // At the staff's end, after a chord entered at its last place:
            // back to that chord, whether or not a value was chosen, so the
            // other keys played with the first join it.
            const BcArray<MnChord*>& chords = staff->measure(staff->measureCount() - 1)->voiceChords(voice);
            if (!chords.isEmpty())
                cursor.setAtChord(chords[chords.count() - 1], voice, false);
        }
    }

    MnStaff* staff = cursor.staff();
    if (!staff || staff->measureCount() == 0)
        return entry;
    MnMeasure* measure = nullptr;
    int time = cursor.time();
    if (time < 0) {
        measure = staff->measure(0);
    } else {
        measure = staff->measureAtTime(time);
        if (!measure)
            return entry;
        time -= measure->startTime();
    }
    const int graceIndex = cursor.graceIndex();
    MnChord* grace = nullptr;
    if (graceIndex > 0) {
        grace = graceChordAt(measure, voice, time, graceIndex);
        if (!grace || !grace->measure())
            return entry;
    }

    if (context.isShiftDown()) {
        MnNote* note = grace ? grace->measure()->addNoteToGraceChordByKey(grace, key, duration)
                             : measure->addNoteByKey(voice, time, key, duration, false);
        if (note) {
            edit.markModified();
            view->selection().add(note);
        }
        return entry;
    }

    MnNote* note = nullptr;
    if (grace && addToChord)
        note = grace->measure()->addNoteToGraceChordByKey(grace, key, duration);
    else if (grace)
        note = replaceGraceNotes(grace, key, duration);
    else if (addToChord)
        note = measure->addNoteByKey(voice, time, key, duration, false);
    else
        note = measure->setNoteByKey(voice, time, key, duration, false);
    if (!note)
        return entry;

    edit.markModified();
    entry.entered = true;
    entry.next = cursor.moveNext(false);
    if (entry.next) {
        EdSelection& selection = view->selection();
        selection.clear();
        if (entry.next->isRest())
            selection.add(entry.next);
        for (int n = 0; n < entry.next->noteCount(); ++n)
            selection.add(entry.next->note(n));
    } else {
        const int end = staff->totalTicks();
        cursor.setPosition(end, 0, false);
    }
    return entry;
}

}

int EdNoteInputCommands::durationOfCommand(unsigned id)
{
    for (const DurationRow& row : durationRows) {
        if (row.id == id)
            return row.value;
    }
    return 0;
}

void EdNoteInputCommands::cmdDuration(int value)
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    if (view->selection().isEmpty() && context.noteInput().inputDuration == value) {
        cmdClearInput();
        return;
    }
    // There is no dotted whole.
    applyDuration(value, value == MnTicksPerWhole ? false : context.noteInput().inputDotted);
}

void EdNoteInputCommands::cmdDurationWhole() { cmdDuration(MnTicksPerWhole); }
void EdNoteInputCommands::cmdDurationHalf() { cmdDuration(MnTicksHalf); }
void EdNoteInputCommands::cmdDurationQuarter() { cmdDuration(MnTicksQuarter); }
void EdNoteInputCommands::cmdDurationEighth() { cmdDuration(MnTicksEighth); }
void EdNoteInputCommands::cmdDurationSixteenth() { cmdDuration(MnTicksSixteenth); }
void EdNoteInputCommands::cmdDurationThirtysecond() { cmdDuration(MnTicks32nd); }
void EdNoteInputCommands::cmdDurationSixtyfourth() { cmdDuration(MnTicks64th); }

void EdNoteInputCommands::cmdDotted()
{
    const EdContext::NoteInput& input = EdContext::current().noteInput();
    applyDuration(input.inputDuration, !input.inputDotted);
}

void EdNoteInputCommands::cmdClearInput()
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    const bool toolWasPending = view->hasPendingTool();
    {
        EdCommand edit;
        if (EdView* active = context.activeView())
            active->selection().clear();
    }
    EdContext::NoteInput& input = context.noteInput();
    input.inputDuration = 0;
    input.inputRest = false;
    input.inputDotted = false;
    // The cancelled tool drew into the views.
    if (toolWasPending)
        context.updateAllViews(context.activeDocument(), nullptr);
}

void EdNoteInputCommands::applyDuration(int ticks, bool dotted)
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    const SavedCursor saved(view->cursor());
    const int count = view->selection().count();
    const int durationBefore = context.noteInput().inputDuration;
    const bool dottedBefore = context.noteInput().inputDotted;
    bool refused = false;

    if (count > 0 && ticks != 0) {
        EdCommand edit;
        view = context.activeView();
        if (!view)
            return;
        EdSelection& selection = view->selection();
        const int voice = context.noteInput().inputVoice;
        const int duration = dotted ? ticks + ticks / 2 : ticks;
        // Chords changed by this walk: their other selected notes stay.
        EdSelection changed;
        Walk walk(selection);
        while (MnElement* element = walk.next()) {
            MnChord* chord = nullptr;
            if (MnNote* note = as<MnNote>(element)) {
                chord = note->chord();
                if (changed.contains(chord))
                    continue;
            } else if (MnChord* selected = as<MnChord>(element)) {
                chord = selected->voice() == voice ? selected : nullptr;
            } else if (MnTuplet* tuplet = as<MnTuplet>(element); tuplet && count == 1) {
                MnChord* first = as<MnChord>(tuplet->parent());
                if (!first || first->voice() != voice || tuplet->span() == duration) {
                    selection.remove(element);
                } else if (respanTuplet(tuplet, duration)) {
                    edit.markModified();
                } else {
                    refused = true;
                }
                continue;
            }
            if (!chord || chord->duration() == duration) {
                selection.remove(element);
                continue;
            }
            // Kept before the change, which may delete the chord.
            EdPointer<MnChord> held;
            held.set(chord);
            if (changeChordDuration(chord, duration)) {
                edit.markModified();
                changed.add(held.element());
            }
        }
    }
    if (refused)
        return;

    EdContext::NoteInput& input = context.noteInput();
    input.inputDuration = ticks;
    input.inputDotted = dotted;
    if (EdView* active = context.activeView())
        saved.restore(active->cursor());
    // The views draw the chosen value at the cursor.
    if (count == 0 && (input.inputDuration != durationBefore || input.inputDotted != dottedBefore))
        context.updateAllViews(context.activeDocument(), nullptr);
}

int EdNoteInputCommands::enterNote(int key, bool addToChord)
{
    EdContext& context = EdContext::current();
    const int duration = context.noteInput().inputDuration != 0 ? context.noteInput().inputDuration : MnTicksQuarter;
    Entry entry;
    {
        EdCommand edit;
        if (EdView* view = context.activeView())
            entry = enterAtCursor(context, view, edit, key, addToChord, duration);
    }
    if (entry.next)
        context.noteInput().inputDuration = duration;
    return context.noteInput().inputDuration;
}

void EdNoteInputCommands::cmdRest()
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    const int count = view->selection().count();
    const EdContext::NoteInput before = context.noteInput();

    if (count > 0) {
        EdCommand edit;
        view = context.activeView();
        if (!view)
            return;
        EdSelection& selection = view->selection();
        Walk walk(selection);
        while (MnElement* element = walk.next()) {
            if (MnNote* note = as<MnNote>(element)) {
                MnChord* chord = note->chord();
                if (chord->noteCount() == 0 || chord->isGrace()) {
                    selection.remove(note);
                } else if (chord->clearNotes()) {
                    edit.markModified();
                    selection.add(chord);
                }
            } else if (MnChord* chord = as<MnChord>(element); chord && !chord->isRest()) {
                if (chord->clearNotes())
                    edit.markModified();
            } else {
                selection.remove(element);
            }
        }
    }

    EdContext::NoteInput& input = context.noteInput();
    input.inputDuration = before.inputDuration;
    input.inputDotted = before.inputDotted;
    // Rest input stays on when the observer turned it off for a selection
    // that it could not derive it from.
    if (before.inputDuration != 0 && before.inputRest && !input.inputRest)
        input.inputRest = true;
    else
        input.inputRest = !before.inputRest;
    if (count == 0)
        context.updateAllViews(context.activeDocument(), nullptr);
}

void EdNoteInputCommands::cmdSecondVoice()
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    EdContext::NoteInput& input = context.noteInput();
    input.inputVoice = input.inputVoice == 0 ? 1 : 0;
    const int voice = input.inputVoice;
    EdView* view = context.activeView();
    if (!view)
        return;
    // The new voice's slots merge and split chords, selected ones too.
    Walk walk(view->selection());
    while (MnElement* element = walk.next(true)) {
        MnNote* note = as<MnNote>(element);
        if (!note)
            continue;
        MnChord* chord = note->chord();
        MnMeasure* measure = chord->measure();
        if (!measure || chord->voice() == voice || chord->isGrace())
            continue;
        const int time = chord->time();
        if (inTuplet(measure, chord->voice(), time) || inTuplet(measure, voice, time))
            continue;
        EdPointer<MnNote> held;
        held.set(note);
        MnNote* made = measure->addNote(voice, time, note->step(), note->octave(), note->accidental(),
                                        chord->duration(), note->isTied());
        if (!made || !held.element())
            continue;
        if (note->chord()->removeChild(note))
            edit.markModified();
    }
}

void EdNoteInputCommands::cmdGraceNote()
{
    EdContext& context = EdContext::current();
    bool found = false;
    {
        EdCommand edit;
        EdView* view = context.activeView();
        if (!view)
            return;
        const EdSelection& selection = view->selection();
        const int voice = context.noteInput().inputVoice;
        // Adding grace chords deletes nothing, so the selection is read as it is.
        for (int i = 0; i < selection.count(); ++i) {
            MnElement* element = selection.element(i);
            if (MnNote* note = as<MnNote>(element)) {
                found = true;
                MnChord* chord = note->chord();
                if (chord->measure() &&
                    chord->measure()->addGraceNote(chord, note->step(), note->octave(), MnAccidentalNone,
                                                   MnTicksEighth))
                    edit.markModified();
                continue;
            }
            MnMeasure* measure = as<MnMeasure>(element);
            if (!measure || measure->index() < 2 || !measure->staff() || voice < 0 ||
                voice >= MnMeasure::voiceCount)
                continue;
            MnMeasure* previous = measure->previousMeasure();
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            if (!previous || chords.isEmpty())
                continue;
            found = true;
            MnChord* main = chords[0];
            int step = 0;
            int octave = 4;
            if (!main->isRest()) {
                step = main->note(0)->step();
                octave = main->note(0)->octave();
            } else {
                // The middle line under the clef that ends the previous measure.
                const MnStaffDefinition* definition = measure->staff()->definitionAt(measure->startTime() - 1, false);
                switch (definition ? definition->clef() : MnClefTreble) {
                case MnClefBass:
                    step = 1, octave = 3;
                    break;
                case MnClefAlto:
                    step = 0, octave = 4;
                    break;
                case MnClefTenor:
                    step = 5, octave = 3;
                    break;
                default:
                    step = 6, octave = 4;
                    break;
                }
            }
            if (previous->addGraceNote(main, step, octave, MnAccidentalNone, MnTicksEighth))
                edit.markModified();
        }
    }
    if (!found)
        context.showHint(graceNoteId);
}

void EdNoteInputCommands::cmdTuplet()
{
    EdContext& context = EdContext::current();
    bool found = false;
    {
        EdCommand edit;
        EdView* view = context.activeView();
        if (!view)
            return;
        EdSelection& selection = view->selection();
        EdSelection made;
        Walk walk(selection);
        while (MnElement* element = walk.next()) {
            MnChord* chord = as<MnChord>(element);
            if (MnNote* note = as<MnNote>(element))
                chord = note->chord();
            if (!chord || chord->isGrace() || !chord->measure())
                continue;
            found = true;
            MnMeasure* measure = chord->measure();
            const int voice = chord->voice();
            const int time = chord->time();
            if (inTuplet(measure, voice, time))
                continue;
            if (!measure->makeTuplet(voice, time, chord->soundingDuration(), 3, false))
                continue;
            if (MnChord* first = measure->tupletChordAt(voice, time))
                made.add(first->tuplet());
            edit.markModified();
            context.runSelectionObserver();
        }
        if (found)
            selection.addAll(made);
    }
    if (!found)
        context.showHint(tupletId);
}

namespace {

EdCommandState inputState(unsigned id, const EdCommandInputs& inputs)
{
    const EdContext::NoteInput& input = inputs.noteInput;
    bool checked = false;
    switch (id) {
    case EdNoteInputCommands::clearInputId:
        checked = input.inputDuration == 0;
        break;
    case EdNoteInputCommands::dottedId:
        checked = input.inputDotted;
        break;
    case EdNoteInputCommands::restId:
        checked = input.inputRest;
        break;
    case EdNoteInputCommands::secondVoiceId:
        checked = input.inputVoice == 1;
        break;
    default:
        checked = input.inputDuration == EdNoteInputCommands::durationOfCommand(id);
        break;
    }
    return EdCommandState{inputs.document, checked};
}

}

void EdNoteInputCommands::addRows()
{
    using T = EdCommandTable;
    for (const DurationRow& row : durationRows)
        T::add({row.id, [](unsigned id) { cmdDuration(durationOfCommand(id)); }, &inputState});
    T::add({clearInputId, [](unsigned) { cmdClearInput(); }, &inputState});
    T::add({dottedId, [](unsigned) { cmdDotted(); }, &inputState});
    T::add({restId, [](unsigned) { cmdRest(); }, &inputState});
    T::add({secondVoiceId, [](unsigned) { cmdSecondVoice(); }, &inputState});
    T::add({graceNoteId, [](unsigned) { cmdGraceNote(); }, &T::whenScore});
    T::add({tupletId, [](unsigned) { cmdTuplet(); }, &T::whenScore});
}
