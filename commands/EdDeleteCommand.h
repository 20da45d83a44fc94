#pragma once

// Edit/Delete: deletes every selected element of the active score view in
// one edit transaction. What an element turns into is its parent's
// business (MnElement::removeChild); the command itself tells apart only
// works, a score's last staff and everything else. What is refused stays
// selected.
class EdDeleteCommand
{
public:
    static void cmdDelete();

    // Adds the row of Delete (57632).
    static void addRows();
};
