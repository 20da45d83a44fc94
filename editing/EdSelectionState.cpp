#include "editing/EdSelectionState.h"

EdSelectionState::EdSelectionState() : selectedPaths(32) {}

void EdSelectionState::clear()
{
    selectedPaths.removeAll();
    cursorStaff = EdNotePath();
    cursorVoice = -1;
    cursorTime = 0;
}
