// The whole-document undo history of QuorvaneDocument.
#include "editing/QuorvaneDocument.h"

#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "foundation/BcMemoryFiler.h"
#include "model/MnStaff.h"

#include <algorithm>
#include <cstring>
#include <new>

// The view whose selection and cursor belong to this document, if active.
static EdView* viewOf(const QuorvaneDocument* document)
{
    EdView* view = EdContext::current().activeView();
    return view && view->document() == document ? view : nullptr;
}

void QuorvaneDocument::dropHistoryAbove(int index)
{
    while (snapshots.count() > index + 1) {
        int last = snapshots.count() - 1;
        delete[] snapshots[last];
        delete afterStates[last];
        delete beforeStates[last];
        snapshots.removeAt(last);
        snapshotSizes.removeAt(last);
        afterStates.removeAt(last);
        beforeStates.removeAt(last);
    }
}

void QuorvaneDocument::clearUndo()
{
    dropHistoryAbove(-1);
    currentIndex = -1;
}

bool QuorvaneDocument::pushUndoSnapshot()
{
    // Written before anything is dropped, so a snapshot that cannot be made
    // leaves the whole history, redo steps included, as it was.
    BcMemoryFiler filer(BcMemoryFiler::currentVersion);
    // An edit rarely changes the size of the works much: room for the last
    // snapshot and an eighth more is taken at once. Grown from nothing, a
    // large score's buffer is reallocated, cleared and copied a dozen times
    // per edit, and that traffic, not the writing, grows faster than the
    // score once it no longer fits in the processor caches.
    if (currentIndex >= 0 && currentIndex < snapshotSizes.count()) {
        const long long last = snapshotSizes[currentIndex];
        filer.bytes().setCapacity(int(std::min(last + last / 8 + 1024, 0x7FFFFFFFLL)));
    }
    if (!writeWorks(filer))
        return false;
    int size = filer.bytes().count();
    unsigned char* block = new (std::nothrow) unsigned char[size > 0 ? size : 1];
    if (!block)
        return false;
    if (size > 0)
        std::memcpy(block, filer.bytes().data(), static_cast<size_t>(size));

    // The saved state is among the redo steps about to be dropped.
    if (savedSnapshot > currentIndex)
        savedSnapshot = -1;
    dropHistoryAbove(currentIndex);
    snapshots.add(block);
    snapshotSizes.add(size);
    afterStates.add(new EdSelectionState());
    beforeStates.add(new EdSelectionState());
    ++currentIndex;
    if (currentIndex > 0)
        *beforeStates[currentIndex - 1] = openingState;
    captureSelectionState(afterStates[currentIndex], nullptr);
    return true;
}

bool QuorvaneDocument::readSnapshot(int index)
{
    if (index < 0 || index >= snapshots.count())
        return false;
    BcMemoryFiler filer(BcMemoryFiler::currentVersion);
    int size = snapshotSizes[index];
    filer.bytes().setSize(size);
    if (size > 0)
        std::memcpy(filer.bytes().data(), snapshots[index], static_cast<size_t>(size));
    return readWorks(filer);
}

bool QuorvaneDocument::reloadCurrentSnapshot()
{
    return readSnapshot(currentIndex);
}

bool QuorvaneDocument::stepUndo()
{
    if (!canUndo() || !readSnapshot(currentIndex - 1))
        return false;
    --currentIndex;
    restoreSelectionState(*beforeStates[currentIndex]);
    SetModifiedFlag(savedSnapshot != currentIndex);
    return true;
}

bool QuorvaneDocument::stepRedo()
{
    if (!canRedo() || !readSnapshot(currentIndex + 1))
        return false;
    ++currentIndex;
    restoreSelectionState(*afterStates[currentIndex]);
    SetModifiedFlag(savedSnapshot != currentIndex);
    return true;
}

void QuorvaneDocument::captureSelectionState(EdSelectionState* out, const EdSelectionState* from)
{
    if (!out)
        return;
    if (from) {
        if (from != out)
            *out = *from;
        return;
    }
    out->clear();
    EdView* view = viewOf(this);
    if (!view)
        return;
    const EdSelection& selection = view->selection();
    int count = selection.count();
    out->selectedPaths.setCapacity(count);
    for (int i = 0; i < count; ++i)
        out->selectedPaths.add(EdNotePath(selection.element(i), workList));
    EdCursor& cursor = view->cursor();
    if (MnStaff* staff = cursor.staff())
        out->cursorStaff = EdNotePath(staff, workList);
    out->cursorVoice = cursor.voice();
    out->cursorTime = cursor.time();
}

void QuorvaneDocument::restoreSelectionState(const EdSelectionState& state)
{
    EdView* view = viewOf(this);
    if (!view)
        return;
    EdSelection& selection = view->selection();
    for (int i = 0; i < state.selectedPaths.count(); ++i) {
        if (MnElement* element = state.selectedPaths[i].resolve(workList))
            selection.add(element);
    }
    MnElement* staff = state.cursorStaff.resolve(workList);
    if (!staff || !staff->isKindOf(MnStaff::staticClass()))
        return;
    EdCursor& cursor = view->cursor();
    cursor.setAtStaffStart(static_cast<MnStaff*>(staff), state.cursorVoice);
    cursor.setPosition(state.cursorTime, 0, false);
}
