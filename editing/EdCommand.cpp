#include "editing/EdCommand.h"

#include "editing/EdContext.h"
#include "editing/EdSelectionObserver.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CREATABLE_CLASS(EdCommand)

EdCommand::EdCommand()
{
    EdContext& context = EdContext::current();
    if (EdView* view = context.activeView()) {
        // A running tool is cancelled first, so what this transaction records
        // is the model after the tool's changes were undone.
        view->discardPendingTool();
        const EdSelection& selection = view->selection();
        int count = selection.count();
        selectionAtStart.setCapacity(count);
        for (int i = 0; i < count; ++i)
            selectionAtStart.add(selection.element(i));
    }
    if (context.playerIsPlaying())
        context.playerPosition(0, playbackPosition);
    if (QuorvaneDocument* document = context.activeDocument()) {
        BcArray<MnElement*> folded;
        document->browserItems(folded, true);
        for (int i = 0; i < folded.count(); ++i)
            collapsedAtStart.add(folded[i]);
        document->captureSelectionState(&document->startState(), nullptr);
    }
}

EdCommand::~EdCommand()
{
    close();
}

bool EdCommand::close()
{
    if (closed)
        return recorded;
    closed = true;
    EdContext& context = EdContext::current();
    QuorvaneDocument* document = context.activeDocument();
    if (!document)
        return true;
    EdView* view = context.activeView();
    bool selectionChanged = view && selectionDiffersFromStart();

    if (modified && !noUndo) {
        if (!cancel && !document->pushUndoSnapshot()) {
            // Without its snapshot the edit could be neither undone nor
            // redone: it is taken back as if cancelled.
            recorded = false;
            cancel = true;
        }
        if (cancel) {
            document->reloadCurrentSnapshot();
        } else {
            document->SetModifiedFlag(true);
            rebuildCollapsedItems();
        }
    }

    if (refreshViews || layoutChanged || selectionChanged) {
        if (view)
            view->redraw(true);
        context.updateAllViews(document, view);
    }

    if ((selectionChanged || modified) && view)
        view->selection().notifyObservers();

    if (modified)
        context.refreshProjectBrowser();

    if (modified && !cancel && context.playerPlays(document)) {
        if (!keepPlaybackPosition) {
            EdNotePath now;
            context.playerPosition(0, now);
            playbackPosition = now;
        }
        context.playerUpdate(playbackPosition.resolve(document->works()));
    }
    return recorded;
}

bool EdCommand::selectionDiffersFromStart() const
{
    EdView* view = EdContext::current().activeView();
    if (!view)
        return false;
    const EdSelection& selection = view->selection();
    int count = selection.count();
    if (count != selectionAtStart.count())
        return true;
    for (int i = 0; i < count; ++i) {
        if (selection.element(i) != selectionAtStart[i])
            return true;
    }
    return false;
}

// Folded items are kept by element identity, because inserting or removing
// works, parts or groups shifts their paths.
void EdCommand::rebuildCollapsedItems()
{
    QuorvaneDocument* document = EdContext::current().activeDocument();
    if (!document)
        return;
    BcArray<MnElement*> items;
    document->browserItems(items, false);
    document->clearCollapsed();
    for (int i = 0; i < items.count(); ++i) {
        if (collapsedAtStart.contains(items[i]))
            document->addCollapsed(items[i]);
    }
}
