#pragma once

class MnElement;
class UiContextMenuList;

// One source of the context palette's entries: it looks at every element
// of the selection in turn, counting what it sees, then adds the entries
// that those counts allow.
class UiElementContextMenu
{
public:
    virtual ~UiElementContextMenu() = default;

    // Forgets everything counted.
    virtual void reset() = 0;
    virtual void visit(MnElement* element) = 0;
    virtual void build(UiContextMenuList& list) = 0;

protected:
    // An entry with the string table's text; the list refuses a command it
    // holds already.
    static void offer(UiContextMenuList& list, unsigned textId, int icon, int command);
};
