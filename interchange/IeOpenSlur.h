#pragma once

// A slur whose start the MusicXML importer has read and whose stop it has
// not met yet.
struct IeOpenSlur
{
    int number = 1;
    // 1-based index of the staff in the score.
    int staff = 1;
    int measureIndex = 0;
    // Model voice, 0 or 1.
    int voice = 0;
    // Start of the slur's first chord, in ticks from the measure's start.
    int startTime = 0;
};
