#pragma once

// Edit/Go to, which puts the cursor and the selection on a measure chosen
// by number, and the two switches of dragging: Snap guide lines and Ortho
// mode.
class EdGoToCommands
{
public:
    static void cmdGoTo();
    // Each flips its switch inside a transaction that records nothing.
    static void cmdSnapGuideLines();
    static void cmdOrthoMode();

    static constexpr unsigned goToId = 33020;
    static constexpr unsigned snapGuideLinesId = 33069;
    static constexpr unsigned orthoModeId = 33070;

    // Adds the rows of the three commands.
    static void addRows();
};
