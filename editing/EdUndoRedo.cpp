#include "editing/EdUndoRedo.h"

#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"

bool EdUndoRedo::undo()
{
    return step(false);
}

bool EdUndoRedo::redo()
{
    return step(true);
}

bool EdUndoRedo::step(bool forward)
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    bool selectionWasEmpty = view && view->selection().isEmpty();
    EdContext::NoteInput kept = context.noteInput();

    bool stepped = false;
    {
        EdCommand edit;
        QuorvaneDocument* document = context.activeDocument();
        if (document && (forward ? document->stepRedo() : document->stepUndo())) {
            edit.modified = true;
            edit.layoutChanged = true;
            edit.noUndo = true;
            stepped = true;
        }
    }

    // The observers derived a new input state from the restored selection; a
    // note value chosen with nothing selected survives an undo that restores
    // nothing selected.
    view = context.activeView();
    if (selectionWasEmpty && kept.inputDuration != 0 && view && view->selection().isEmpty()) {
        EdContext::NoteInput& input = context.noteInput();
        input.inputDuration = kept.inputDuration;
        input.inputDotted = kept.inputDotted;
        input.inputRest = kept.inputRest;
    }
    return stepped;
}
