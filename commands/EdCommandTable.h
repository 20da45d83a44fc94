#pragma once

#include "editing/EdContext.h"

// The command table: every menu command, accelerator and toolbar button of
// the application is an id that this table maps to its handler and to its
// state function. The shell's menus ask nothing but this table, so every
// command and its enabled and checked state can be run and tested headless.
//
// Handlers reach what they work on through EdContext. A state function is
// pure: it decides from the inputs alone, which one gather call fills from
// the context before menus are shown and at idle time.
//
// Rows are added at start-up by the layer that owns the handler: the
// editing commands here in commands/, the shell's own commands (New, Open,
// About, the View commands...) by the application.

// What the state functions decide from. Each field says what it is when
// nothing is open; a layer that needs more adds a field and fills it in
// gather (or, for what only the shell knows, the shell fills it after).
struct EdCommandInputs
{
    // The main window's active document window has an active document.
    bool document = false;
    // The document holds a score or a sheet music besides its work information.
    bool score = false;
    // The document has changes not saved.
    bool modified = false;
    // The number of works, the work information included.
    int workCount = 0;

    // The active score view's selection (0 without a view) and how many of
    // its elements are of some classes (or derived ones).
    int selectionCount = 0;
    int selectedStaves = 0;
    int selectedMeasures = 0;
    int selectedChords = 0;
    int selectedNotes = 0;

    // The application's clipboard: note records and copied works.
    int clipboardRecords = 0;
    int clipboardWorks = 0;

    // The document's undo history: current snapshot index and snapshot count.
    int undoIndex = -1;
    int snapshotCount = 0;

    EdContext::NoteInput noteInput;
    EdContext::Toggles toggles;
    // The modifier keys that the active view's pending tool accepts (bit 0
    // Ctrl, bit 1 Shift; 0 without one) and the keys held down.
    unsigned toolModifiers = 0;
    bool ctrlDown = false;
    bool shiftDown = false;

    // Filled by the shell: which of its panes are visible, one bit each
    // (the shell numbers them), and how many panes it has.
    unsigned visiblePanes = 0;
    int paneCount = 0;
    // The player: opened, playing (a paused player counts), paused, muted,
    // and the instrument of the preview notes.
    bool playerOpen = false;
    bool playing = false;
    bool paused = false;
    bool muted = false;
    int previewInstrument = 0;
    // EdContext::MidiInputState.
    int midiInput = 0;
    // The preset the fretboard's tuning equals (-1 none, or no pane), and
    // its capo.
    int fretboardPreset = -1;
    bool capoOn = false;
};

struct EdCommandState
{
    bool enabled = false;
    bool checked = false;
};

class EdCommandTable
{
public:
    using Handler = void (*)(unsigned id);
    using StateFunction = EdCommandState (*)(unsigned id, const EdCommandInputs& inputs);

    struct Row
    {
        unsigned id;
        Handler handler;
        // Null: always enabled, never checked.
        StateFunction state;
    };

    // Adds a row, or replaces the row of the same id. A row without a handler
    // is refused.
    static bool add(const Row& row);
    static void addRange(unsigned firstId, unsigned lastId, Handler handler, StateFunction state);
    // Takes a row out; false when there was none.
    static bool remove(unsigned id);
    static void clear();

    // The row of an id, or null.
    static const Row* find(unsigned id);

    // The state of a command; a command without a row is greyed.
    static EdCommandState state(unsigned id, const EdCommandInputs& inputs);

    // Runs the command's handler when it has a row and is enabled; false
    // otherwise. A disabled command is refused whatever sent it: a menu, an
    // accelerator or another window.
    static bool execute(unsigned id, const EdCommandInputs& inputs);

    // The inputs, from the installed editing context.
    static EdCommandInputs gather();

    // State functions shared by many rows.
    static EdCommandState always(unsigned id, const EdCommandInputs& inputs);
    static EdCommandState whenDocument(unsigned id, const EdCommandInputs& inputs);
    static EdCommandState whenScore(unsigned id, const EdCommandInputs& inputs);
    static EdCommandState whenSelection(unsigned id, const EdCommandInputs& inputs);
};
