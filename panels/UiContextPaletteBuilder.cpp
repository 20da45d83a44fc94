#include "panels/UiContextPaletteBuilder.h"

#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "model/MnCache.h"
#include "panels/UiContextMenuList.h"
#include "panels/UiMeasureContextMenu.h"
#include "panels/UiSheetMusicContextMenu.h"
#include "panels/UiStaffContextMenu.h"

UiContextPaletteBuilder::UiContextPaletteBuilder() : providers(8)
{
    providers.add(new UiSheetMusicContextMenu);
    providers.add(new UiStaffContextMenu);
    providers.add(new UiMeasureContextMenu);
}

UiContextPaletteBuilder::~UiContextPaletteBuilder()
{
    for (int i = 0; i < providers.count(); ++i)
        delete providers[i];
}

bool UiContextPaletteBuilder::rebuild(UiContextMenuList& list)
{
    EdView* view = EdContext::current().activeView();
    if (view && view->hasPendingTool())
        return false;
    MnCache cache;
    const UiContextMenuItem* highlighted = list.item(list.hovered());
    const int remembered = highlighted ? highlighted->command : -1;
    list.clear();
    if (view) {
        const EdSelection& selection = view->selection();
        for (int p = 0; p < providers.count(); ++p)
            providers[p]->reset();
        // Each element is shown to every provider while it is at hand: one
        // pass over a large selection instead of one per provider.
        for (int i = 0; i < selection.count(); ++i) {
            MnElement* element = selection.element(i);
            for (int p = 0; p < providers.count(); ++p)
                providers[p]->visit(element);
        }
        for (int p = 0; p < providers.count(); ++p)
            providers[p]->build(list);
    }
    const int hovered = list.hovered();
    if (hovered >= list.count()) {
        list.setHovered(-1);
    } else if (hovered >= 0) {
        const int found = list.indexOfCommand(remembered);
        if (found >= 0 && found != hovered)
            list.moveItem(found, hovered);
    }
    return true;
}
