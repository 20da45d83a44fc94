#include "commands/EdCommandTable.h"

#include "editing/EdClipboard.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnStaff.h"

#include <map>

// Ordered by id; looked up at every menu update, so a map rather than a scan.
static std::map<unsigned, EdCommandTable::Row>& rows()
{
    static std::map<unsigned, EdCommandTable::Row> table;
    return table;
}

bool EdCommandTable::add(const Row& row)
{
    if (!row.handler)
        return false;
    rows()[row.id] = row;
    return true;
}

void EdCommandTable::addRange(unsigned firstId, unsigned lastId, Handler handler, StateFunction state)
{
    for (unsigned id = firstId; id <= lastId; ++id)
        add(Row{id, handler, state});
}

bool EdCommandTable::remove(unsigned id)
{
    return rows().erase(id) > 0;
}

void EdCommandTable::clear()
{
    rows().clear();
}

const EdCommandTable::Row* EdCommandTable::find(unsigned id)
{
    auto it = rows().find(id);
    return it != rows().end() ? &it->second : nullptr;
}

EdCommandState EdCommandTable::state(unsigned id, const EdCommandInputs& inputs)
{
    const Row* row = find(id);
    if (!row)
        return EdCommandState{};
    return row->state ? row->state(id, inputs) : always(id, inputs);
}

bool EdCommandTable::execute(unsigned id, const EdCommandInputs& inputs)
{
    const Row* row = find(id);
    if (!row || !state(id, inputs).enabled)
        return false;
    // The handler may add or remove rows; it is called through a copy.
    Handler handler = row->handler;
    handler(id);
    return true;
}

EdCommandInputs EdCommandTable::gather()
{
    EdCommandInputs inputs;
    EdContext& context = EdContext::current();
    QuorvaneDocument* document = context.activeDocument();
    inputs.document = document != nullptr;
    if (document) {
        inputs.workCount = document->works().count();
        inputs.score = inputs.workCount > 1;
        inputs.modified = document->IsModified();
        inputs.undoIndex = document->undoIndex();
        inputs.snapshotCount = document->snapshotCount();
    }
    if (EdView* view = context.activeView()) {
        const EdSelection& selection = view->selection();
        inputs.selectionCount = selection.count();
        inputs.selectedStaves = selection.countOfClass(MnStaff::staticClass());
        inputs.selectedMeasures = selection.countOfClass(MnMeasure::staticClass());
        inputs.selectedChords = selection.countOfClass(MnChord::staticClass());
        inputs.selectedNotes = selection.countOfClass(MnNote::staticClass());
        inputs.toolModifiers = view->pendingToolModifiers();
    }
    const EdClipboard& clipboard = context.clipboard();
    inputs.clipboardRecords = clipboard.notes().count();
    inputs.clipboardWorks = clipboard.cloneCount();
    inputs.noteInput = context.noteInput();
    inputs.toggles = context.toggles();
    inputs.ctrlDown = context.isCtrlDown();
    inputs.shiftDown = context.isShiftDown();
    inputs.playerOpen = context.playerIsOpen();
    inputs.playing = inputs.playerOpen && context.playerIsPlaying();
    inputs.paused = inputs.playing && context.playerIsPaused();
    inputs.muted = context.playerIsMuted();
    inputs.previewInstrument = context.playerPreviewInstrument();
    inputs.midiInput = context.midiInputState();
    FretboardTuning tuning;
    if (context.fretboardTuning(tuning))
        inputs.fretboardPreset = FretboardTuning::presetIndex(tuning);
    EdContext::FretboardCapo capo;
    inputs.capoOn = context.fretboardCapo(capo) && capo.on;
    return inputs;
}

EdCommandState EdCommandTable::always(unsigned, const EdCommandInputs&)
{
    return EdCommandState{true, false};
}

EdCommandState EdCommandTable::whenDocument(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.document, false};
}

EdCommandState EdCommandTable::whenScore(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.score, false};
}

EdCommandState EdCommandTable::whenSelection(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.selectionCount > 0, false};
}
