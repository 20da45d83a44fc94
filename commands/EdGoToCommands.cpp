#include "commands/EdGoToCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

namespace {

// A score to go to, and its staff, or null for every staff.
struct Target
{
    MnScore* score = nullptr;
    MnStaff* staff = nullptr;
};

MnScore* scoreOfWork(MnElement* work)
{
    if (!work)
        return nullptr;
    if (work->isKindOf(MnSheetMusic::staticClass()))
        return static_cast<MnSheetMusic*>(work)->score();
    if (work->isKindOf(MnScore::staticClass()))
        return static_cast<MnScore*>(work);
    return nullptr;
}

// The first selected score, sheet music or staff decides; a sheet or staff
// without a score ends the search in the selection.
bool targetFromSelection(const EdSelection& selection, Target& target)
{
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* element = selection.element(i);
        if (element->isKindOf(MnScore::staticClass()) || element->isKindOf(MnSheetMusic::staticClass())) {
            target.score = scoreOfWork(element);
            return target.score != nullptr;
        }
        if (element->isKindOf(MnStaff::staticClass())) {
            MnStaff* staff = static_cast<MnStaff*>(element);
            target.score = staff->score();
            target.staff = target.score ? staff : nullptr;
            return target.score != nullptr;
        }
    }
    return false;
}

Target findTarget(EdContext& context)
{
    Target target;
    EdView* view = context.activeView();
    if (view && targetFromSelection(view->selection(), target))
        return target;
    if (view) {
        EdCursor& cursor = view->cursor();
        MnStaff* staff = cursor.staff();
        if (staff && cursor.time() < staff->totalTicks() && staff->score()) {
            target.score = staff->score();
            target.staff = staff;
            return target;
        }
    }
    QuorvaneDocument* document = context.activeDocument();
    const int main = document ? document->mainScoreIndex() : -1;
    if (main >= 0 && main < document->works().count())
        target.score = scoreOfWork(document->works()[main]);
    return target;
}

}

void EdGoToCommands::cmdGoTo()
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    Target target = findTarget(context);
    if (!target.score || target.score->staffCount() == 0) {
        context.showHint(goToId);
        return;
    }
    const int highest = target.score->staff(0)->measureCount();
    int number = 1;
    if (!context.runGoToDialog(highest, number))
        return;
    // A number the dialog should not have let through, or a measure the
    // chosen staff lacks, goes nowhere.
    MnStaff* staff = target.staff ? target.staff : target.score->staff(0);
    if (number < 1 || number > highest || number > staff->measureCount())
        return;
    const int index = number - 1;
    MnMeasure* measure = staff->measure(index);

    EdView* view = context.activeView();
    if (!view)
        return;
    EdSelection& selection = view->selection();
    selection.clear();
    if (target.staff) {
        selection.add(measure);
    } else {
        for (int s = 0; s < target.score->staffCount(); ++s) {
            MnStaff* each = target.score->staff(s);
            if (index < each->measureCount())
                selection.add(each->measure(index));
        }
    }
    view->cursor().setAtMeasureStart(measure, context.noteInput().inputVoice);
    view->goTo(measure, &edit, true);
}

void EdGoToCommands::cmdSnapGuideLines()
{
    EdCommand edit;
    EdContext::Toggles& toggles = EdContext::current().toggles();
    toggles.snapGuideLines = !toggles.snapGuideLines;
}

void EdGoToCommands::cmdOrthoMode()
{
    EdCommand edit;
    EdContext::Toggles& toggles = EdContext::current().toggles();
    toggles.orthoMode = !toggles.orthoMode;
}

// The check mark shows the switch as a drag would use it now: a tool that
// takes the modifier inverts it while the key is down.
static EdCommandState snapState(unsigned, const EdCommandInputs& inputs)
{
    const bool inverted = (inputs.toolModifiers & 1u) != 0 && inputs.ctrlDown;
    return EdCommandState{true, inputs.toggles.snapGuideLines != inverted};
}

static EdCommandState orthoState(unsigned, const EdCommandInputs& inputs)
{
    const bool inverted = (inputs.toolModifiers & 2u) != 0 && inputs.shiftDown;
    return EdCommandState{true, inputs.toggles.orthoMode != inverted};
}

void EdGoToCommands::addRows()
{
    EdCommandTable::add({goToId, [](unsigned) { cmdGoTo(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({snapGuideLinesId, [](unsigned) { cmdSnapGuideLines(); }, &snapState});
    EdCommandTable::add({orthoModeId, [](unsigned) { cmdOrthoMode(); }, &orthoState});
}
