#pragma once

// Sheet music/New, Sheet music/Unfold repeats, Sheet music/Credit, Staff/New
// and Measure/New: the commands that add structure to the document. New
// works and credits go to the view's placing tool, whose transaction records
// them when the user places them and drops them when cancelled.
class EdStructureCommands
{
public:
    static void cmdNewSheetMusic();
    static void cmdUnfoldRepeats();
    static void cmdCredit();
    static void cmdNewStaff();
    static void cmdNewMeasure();

    static constexpr unsigned newSheetMusicId = 32819;
    static constexpr unsigned unfoldRepeatsId = 33086;
    static constexpr unsigned creditId = 32840;
    static constexpr unsigned newStaffId = 32817;
    static constexpr unsigned newMeasureId = 32818;

    static void addRows();
};
