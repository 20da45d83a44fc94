#pragma once

// Adds the rows of the editing commands to the command table: Undo and
// Redo, Cut, Copy, Paste, Delete, the Select commands, the rest, tuplet,
// voice and beat commands, Go to, the two switches, the note-input,
// interval and transposition commands, the moves, the group, lyrics and
// tablature commands, the line commands and the commands that add sheet
// music, staves, measures and credits. EdStartup::install
// calls it; a command class of a later theme adds its addRows here.
class EdCommandRows
{
public:
    static void install();
};
