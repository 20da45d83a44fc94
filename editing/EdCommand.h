#pragma once

#include "editing/EdNotePath.h"
#include "editing/EdSelection.h"
#include "foundation/BcArray.h"
#include "foundation/BcObject.h"

class MnElement;

// The edit transaction and unit of undo. A command opens one on the stack
// before it touches the model and sets the flags for what it did; closing
// commits the edit (an undo snapshot, the modified flag, the folded browser
// items), redraws the views, tells the selection observers, refreshes the
// project browser and lets a playing player take the edited score. An
// interactive tool of the view is a transaction that stays open while it runs;
// cancelling it reloads the last snapshot. An edit whose snapshot cannot be
// written is undone: the last snapshot is read back and the modified flag
// stays as it was, so the model never holds a change that undo cannot reach.
class EdCommand : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(EdCommand)
public:
    EdCommand();
    ~EdCommand() override;
    EdCommand(const EdCommand&) = delete;
    EdCommand& operator=(const EdCommand&) = delete;

    // Closes the transaction before the end of its scope, so that the caller
    // learns whether the edit was recorded: false when its undo snapshot could
    // not be written (the edit is then undone). Closing again, or the
    // destructor after it, does nothing.
    bool close();

    // Marks a change of the model: take a snapshot and lay out again.
    void markModified()
    {
        modified = true;
        layoutChanged = true;
        noUndo = false;
    }

    // The elements of the active view's selection when the transaction opened.
    BcArray<MnElement*> selectionAtStart;

    bool modified = false;       // the model changed: commit it
    bool layoutChanged = false;  // lay out and redraw the views
    bool noUndo = false;         // the model came from the history: push nothing
    bool cancel = false;         // discard the edit: reload the current snapshot
    bool refreshViews = false;   // redraw even when nothing else asks for it

    // Where the player was when the transaction opened; unset when it was not
    // playing. A command that adjusts it sets keepPlaybackPosition.
    EdNotePath playbackPosition;
    bool keepPlaybackPosition = false;

    // The folded browser items at the start. Held in a live selection, so an
    // item that dies during the edit is forgotten and a new element born at
    // its address is not taken for it.
    EdSelection collapsedAtStart;

private:
    bool selectionDiffersFromStart() const;
    bool closed = false;
    bool recorded = true;
    void rebuildCollapsedItems();
};
