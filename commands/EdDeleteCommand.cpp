#include "commands/EdDeleteCommand.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdNotePath.h"
#include "editing/EdPointer.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

// Whether deleting the element changes a time signature, which re-bars its
// staff: a time-changing staff change, or a measure (not the staff's first)
// that starts where one stands.
static bool changesTime(MnElement* element)
{
    if (element->isKindOf(MnStaffChange::staticClass()))
        return static_cast<MnStaffChange*>(element)->changesTime();
    if (!element->isKindOf(MnMeasure::staticClass()))
        return false;
    MnMeasure* measure = static_cast<MnMeasure*>(element);
    MnStaff* staff = measure->staff();
    if (!staff || staff->measureCount() == 0 || staff->measure(0) == measure)
        return false;
    const MnStaffDefinition* change = staff->definitionAt(measure->startTime(), true);
    return change && change != staff && change->changesTime();
}

// Re-barring deletes and remakes measures, so every time change goes after
// the other elements: measures before staff changes, each in selection
// order, so that a measure and the change that starts it go measure first.
static void putTimeChangesLast(EdSelection& selection)
{
    BcArray<MnElement*> measures;
    BcArray<MnElement*> changes;
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* element = selection.element(i);
        if (!changesTime(element))
            continue;
        if (element->isKindOf(MnMeasure::staticClass()))
            measures.add(element);
        else
            changes.add(element);
    }
    for (int i = 0; i < measures.count(); ++i) {
        selection.remove(measures[i]);
        selection.add(measures[i]);
    }
    for (int i = 0; i < changes.count(); ++i) {
        selection.remove(changes[i]);
        selection.add(changes[i]);
    }
}

// The note to select when a grace chord goes with its last note: the first
// note of the grace chord before it, else of the chord after it.
static MnNote* noteAfterGraceChord(const MnChord* grace)
{
    const MnChord* before = grace->previousChord();
    if (before && before->isGrace() && before->noteCount() > 0)
        return before->note(0);
    const MnChord* after = grace->nextChord();
    if (after && after->noteCount() > 0)
        return after->note(0);
    return nullptr;
}

// What one counted deletion does to the transaction and the note input.
static void countDeletion(EdCommand& edit, EdContext& context, const EdNotePath& path,
                          const EdPointer<MnElement>& parent, EdSelection& keep)
{
    edit.markModified();
    edit.playbackPosition.adjustForRemoval(path);
    MnElement* held = parent.element();
    if (held && held->isKindOf(MnStaff::staticClass())) {
        // A measure leaves every staff of its score.
        MnScore* score = static_cast<MnStaff*>(held)->score();
        const int staves = score ? score->staffCount() : 0;
        for (int s = 0; s < staves; ++s) {
            EdNotePath inStaff = path;
            inStaff.staffIndex = s;
            edit.playbackPosition.adjustForRemoval(inStaff);
        }
    }
    edit.keepPlaybackPosition = true;
    context.noteInput().inputDuration = 0;
    if (held && held->isKindOf(MnChord::staticClass()) && static_cast<MnChord*>(held)->isRest())
        keep.add(held);
}

void EdDeleteCommand::cmdDelete()
{
    EdContext& context = EdContext::current();
    if (context.projectBrowserHasFocus() && context.deleteSelectedVoice())
        return;
    QuorvaneDocument* document = context.activeDocument();
    if (!document)
        return;
    EdCommand edit;
    EdView* view = context.activeView();
    if (!view)
        return;
    EdSelection& selection = view->selection();
    putTimeChangesLast(selection);

    EdSelection keep;
    // Every pass takes its element out of the selection, deleted or kept,
    // so the loop ends; elements that die on the way leave it by themselves.
    while (!selection.isEmpty()) {
        MnElement* element = selection.element(0);
        EdNotePath path(element, document->works());
        EdPointer<MnElement> parent;
        parent.set(element->parent());
        EdPointer<MnElement> alive;
        alive.set(element);

        MnElement* owner = element->parent();
        if (!owner) {
            selection.remove(element);
            if (document->removeWork(element)) {
                delete element;
                countDeletion(edit, context, path, parent, keep);
            } else {
                keep.add(element);
            }
            continue;
        }

        EdPointer<MnNote> chosen;
        if (owner->isKindOf(MnChord::staticClass())) {
            MnChord* chord = static_cast<MnChord*>(owner);
            if (chord->isGrace() && chord->noteCount() == 1)
                chosen.set(noteAfterGraceChord(chord));
        }

        if (owner->removeChild(element)) {
            if (alive.element())
                selection.remove(element);
            keep.add(chosen.element());
            countDeletion(edit, context, path, parent, keep);
            continue;
        }

        if (element->isKindOf(MnStaff::staticClass()) && owner->isKindOf(MnScore::staticClass())
            && static_cast<MnScore*>(owner)->staffCount() == 1) {
            const EdNotePath scorePath(owner, document->works());
            if (document->removeWork(owner)) {
                delete owner;
                countDeletion(edit, context, scorePath, parent, keep);
                continue;
            }
        }

        // Refused, and the only staff of a sheet's score too, which is no
        // work of its own: it stays selected.
        selection.remove(element);
        keep.add(element);
    }
    selection.addAll(keep);
}

void EdDeleteCommand::addRows()
{
    EdCommandTable::add({57632, [](unsigned) { cmdDelete(); }, &EdCommandTable::whenSelection});
}
