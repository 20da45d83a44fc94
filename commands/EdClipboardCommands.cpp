#include "commands/EdClipboardCommands.h"

#include "commands/EdCommandTable.h"
#include "commands/EdDeleteCommand.h"
#include "editing/EdClipboard.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/GeMatrix2d.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

void EdClipboardCommands::cmdCopy()
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    if (EdView* view = context.activeView())
        context.clipboard().copy(view->selection());
}

void EdClipboardCommands::cmdCut()
{
    cmdCopy();
    EdDeleteCommand::cmdDelete();
}

// Pastes at the cursor when it stands inside its staff; false when nothing
// was written there.
static bool pasteAtCursor(EdContext& context, EdView& view)
{
    EdCursor& cursor = view.cursor();
    MnStaff* staff = cursor.staff();
    if (!staff || cursor.time() >= staff->totalTicks())
        return false;
    EdCommand edit;
    EdSelection pasted;
    if (!context.clipboard().paste(staff, cursor.time(), &pasted))
        return false;
    edit.markModified();
    EdSelection& selection = view.selection();
    selection.clear();
    selection.addAll(pasted);
    return true;
}

void EdClipboardCommands::cmdPaste()
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view || pasteAtCursor(context, *view))
        return;

    EdSelection made;
    if (!context.clipboard().pasteItems(&made))
        return;
    // One work is placed at a time; the others, and every work that finds
    // no document or view to go to, are deleted here, as no one owns them.
    MnElement* first = made.element(0);
    for (int i = made.count() - 1; i >= 1; --i)
        delete made.element(i);
    QuorvaneDocument* document = context.activeDocument();
    view = context.activeView();
    if (!document || !view) {
        delete first;
        return;
    }
    view->discardPendingTool();
    if (!document->addWork(first)) {
        delete first;
        return;
    }
    MnElement* placed = first;
    if (first->isKindOf(MnScore::staticClass())) {
        MnScore* score = static_cast<MnScore*>(first);
        if (score->staffCount() > 0)
            placed = score->staff(0);
    }
    // A view that cannot start the placing tool leaves no unrecorded work.
    if (!view->placeElement(placed, GeMatrix2d::identity) && document->removeWork(first))
        delete first;
}

static EdCommandState pasteState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.document && (inputs.clipboardRecords > 0 || inputs.clipboardWorks > 0), false};
}

void EdClipboardCommands::addRows()
{
    EdCommandTable::add({57635, [](unsigned) { cmdCut(); }, &EdCommandTable::whenSelection});
    EdCommandTable::add({57634, [](unsigned) { cmdCopy(); }, &EdCommandTable::whenSelection});
    EdCommandTable::add({57637, [](unsigned) { cmdPaste(); }, &pasteState});
}
