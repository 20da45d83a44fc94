#pragma once

#include "editing/EdNotePath.h"
#include "foundation/BcArray.h"

// The selection and cursor of the active view as note paths, which survive
// the reload of every element that an undo or redo makes. A plain record,
// kept per undo step by the document.
class EdSelectionState
{
public:
    EdSelectionState();

    // Back to no paths and no cursor staff.
    void clear();

    // One path per selected element, in selection order; an element that no
    // path can name keeps its place as an unset path.
    BcArray<EdNotePath> selectedPaths;
    EdNotePath cursorStaff;
    int cursorVoice = -1;
    // Ticks from the start of the staff.
    int cursorTime = 0;
};
