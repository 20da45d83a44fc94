#include "commands/EdStartup.h"

#include "commands/EdClassTable.h"
#include "commands/EdCommandRows.h"
#include "editing/EdClipboard.h"
#include "model/MnMeasurer.h"
#include "render/ReMeasurer.h"

void EdStartup::install()
{
    static const ReMeasurer measurer;
    EdClassTable::install();
    MnMeasurer::install(&measurer);
    EdClipboard::installModelClipboard();
    EdCommandRows::install();
}
