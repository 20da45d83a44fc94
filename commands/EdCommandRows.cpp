#include "commands/EdCommandRows.h"

#include "commands/EdClipboardCommands.h"
#include "commands/EdCommandTable.h"
#include "commands/EdCursorCommands.h"
#include "commands/EdDeleteCommand.h"
#include "commands/EdFileCommands.h"
#include "commands/EdGoToCommands.h"
#include "commands/EdIntervalCommands.h"
#include "commands/EdLineCommands.h"
#include "commands/EdMoveCommands.h"
#include "commands/EdNoteInputCommands.h"
#include "commands/EdPlayMenuCommands.h"
#include "commands/EdPlaybackCommands.h"
#include "commands/EdSelectCommands.h"
#include "commands/EdStaffCommands.h"
#include "commands/EdStructureCommands.h"
#include "commands/EdToolCommands.h"
#include "commands/EdTransposeCommands.h"
#include "commands/EdVoiceCommands.h"
#include "editing/EdUndoRedo.h"

static EdCommandState undoState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.document && inputs.undoIndex > 0, false};
}

static EdCommandState redoState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.document && inputs.snapshotCount - inputs.undoIndex - 1 > 0, false};
}

void EdCommandRows::install()
{
    EdCommandTable::add({57643, [](unsigned) { EdUndoRedo::undo(); }, &undoState});
    EdCommandTable::add({57644, [](unsigned) { EdUndoRedo::redo(); }, &redoState});
    EdClipboardCommands::addRows();
    EdDeleteCommand::addRows();
    EdSelectCommands::addRows();
    EdVoiceCommands::addRows();
    EdGoToCommands::addRows();
    EdNoteInputCommands::addRows();
    EdIntervalCommands::addRows();
    EdTransposeCommands::addRows();
    EdMoveCommands::addRows();
    EdStaffCommands::addRows();
    EdLineCommands::addRows();
    EdStructureCommands::addRows();
    EdCursorCommands::addRows();
    EdPlaybackCommands::addRows();
    EdPlayMenuCommands::addRows();
    EdToolCommands::addRows();
    EdFileCommands::addRows();
}
