#include "panels/UiElementContextMenu.h"

#include "foundation/BcStringResources.h"
#include "panels/UiContextMenuList.h"

void UiElementContextMenu::offer(UiContextMenuList& list, unsigned textId, int icon, int command)
{
    list.addItem(new UiContextMenuItem(BcStringResources::current().loadString(textId), icon, command));
}
