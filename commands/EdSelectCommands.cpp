#include "commands/EdSelectCommands.h"

#include "commands/EdCommandTable.h"
#include "commands/EdSelectAll.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "model/MnCredit.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnPedal.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "model/MnTuplet.h"

namespace {

struct SelectRow
{
    unsigned id;
    const BcClass* (*cls)();
};

// The Select submenu, in menu order.
const SelectRow selectRows[] = {
    {32975, &MnNote::staticClass},      {32976, &MnMeasure::staticClass},   {32977, &MnStaff::staticClass},
    {33096, &MnTablature::staticClass}, {32978, &MnSheetMusic::staticClass}, {32981, &MnCredit::staticClass},
    {32986, &MnPart::staticClass},      {32987, &MnPartGroup::staticClass}, {32982, &MnTuplet::staticClass},
    {32983, &MnOctave::staticClass},    {32984, &MnDynamic::staticClass},   {32985, &MnPedal::staticClass},
    {33093, &MnLyric::staticClass},
};

}

void EdSelectCommands::cmdSelectAllOfClass(const BcClass* cls)
{
    EdContext& context = EdContext::current();
    // The transaction refreshes and announces the changed selection.
    EdCommand edit;
    QuorvaneDocument* document = context.activeDocument();
    EdView* view = context.activeView();
    if (!document || !view)
        return;
    EdSelection& selection = view->selection();
    // The scope is taken before the selection is emptied.
    EdSelectAll picker(&selection, cls);
    selection.clear();
    picker.composeDocument(document);
}

void EdSelectCommands::cmdSelectAll()
{
    cmdSelectAllOfClass(nullptr);
}

void EdSelectCommands::cmdSelectSimilar()
{
    EdView* view = EdContext::current().activeView();
    if (!view || view->selection().isEmpty())
        return;
    const EdSelection& selection = view->selection();
    const BcClass* shared = selection.element(0)->dynamicClass();
    for (int i = 1; i < selection.count(); ++i) {
        if (selection.element(i)->dynamicClass() != shared)
            return;
    }
    cmdSelectAllOfClass(shared);
}

const BcClass* EdSelectCommands::classOfCommand(unsigned id)
{
    for (const SelectRow& row : selectRows) {
        if (row.id == id)
            return row.cls();
    }
    return nullptr;
}

void EdSelectCommands::addRows()
{
    EdCommandTable::add({57642, [](unsigned) { cmdSelectAll(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({32990, [](unsigned) { cmdSelectSimilar(); }, &EdCommandTable::whenSelection});
    for (const SelectRow& row : selectRows) {
        EdCommandTable::add(
            {row.id, [](unsigned id) { cmdSelectAllOfClass(classOfCommand(id)); }, &EdCommandTable::whenScore});
    }
}
