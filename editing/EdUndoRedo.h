#pragma once

// The Edit/Undo and Edit/Redo commands: one step through the active
// document's history inside an edit transaction, which redraws the views,
// tells the observers, refreshes the project browser and hands a playing
// player the restored score.
class EdUndoRedo
{
public:
    // False when there was no step to take.
    static bool undo();
    static bool redo();

private:
    static bool step(bool forward);
};
