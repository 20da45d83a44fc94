#pragma once

#include "foundation/BcArray.h"

class UiContextMenuList;
class UiElementContextMenu;

// What the context palette does when the selection changes, without its
// window: the providers look at the active view's selection in turn and
// refill the list, and the entry under the pointer keeps its command.
class UiContextPaletteBuilder
{
public:
    // The providers in the order their entries stand: whole works, staves,
    // then measures and their contents.
    UiContextPaletteBuilder();
    ~UiContextPaletteBuilder();
    UiContextPaletteBuilder(const UiContextPaletteBuilder&) = delete;
    UiContextPaletteBuilder& operator=(const UiContextPaletteBuilder&) = delete;

    // False, with the list untouched, while the view runs a tool: its
    // selection is in flux, and the tool's end reports it again.
    bool rebuild(UiContextMenuList& list);

private:
    BcArray<UiElementContextMenu*> providers;
};
