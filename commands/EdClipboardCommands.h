#pragma once

// Edit/Cut, Copy and Paste over the application's clipboard and the active
// score view. Paste writes music at the view's cursor; without a usable
// cursor a copied work joins the document as a new work that the user
// places with the pointer.
class EdClipboardCommands
{
public:
    // Copies the view's selection into the clipboard. Nothing changes in
    // the document, so nothing is recorded.
    static void cmdCopy();
    // Copy, then Delete: two transactions, of which only Delete records.
    static void cmdCut();
    static void cmdPaste();

    // Adds the rows of Cut (57635), Copy (57634) and Paste (57637).
    static void addRows();
};
