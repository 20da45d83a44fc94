#pragma once

// What moves the user's place without changing the music: the Left and
// Right keys move the view's cursor by chord (Ctrl: by measure) and select
// from the cursor's anchor to its new place (Shift keeps the anchor), Tab
// steps the selection through the notes of a chord (Shift: backwards), and
// Previous and Next page turn the pages of a sheet music shown as a book.
class EdCursorCommands
{
public:
    // Called by the main frame's key handler.
    static void moveCursorLeft();
    static void moveCursorRight();
    static void selectNextNoteInChord();

    static void cmdPreviousPage();
    static void cmdNextPage();

    static constexpr unsigned previousPageId = 32874;
    static constexpr unsigned nextPageId = 32873;
    // How long a page turn takes, in milliseconds.
    static constexpr int pageTurnMilliseconds = 500;

    static void addRows();
};
