#pragma once

class BcClass;

// Edit/Select all, Select similar and the Edit/Select submenu: every
// element of one class that the layout of the document draws, found by
// laying the document out through a collecting picker (EdSelectAll), not
// by walking the model. Selected containers confine the new selection.
class EdSelectCommands
{
public:
    // Null selects every class.
    static void cmdSelectAllOfClass(const BcClass* cls);
    static void cmdSelectAll();
    // The class shared by every selected element (the same class, not a
    // derived one); nothing when they differ.
    static void cmdSelectSimilar();

    // The class that a command of the Select submenu selects; null for
    // any other id.
    static const BcClass* classOfCommand(unsigned id);

    // Adds the rows of Select all (57642), Select similar (32990) and the
    // thirteen commands of the Select submenu.
    static void addRows();
};
