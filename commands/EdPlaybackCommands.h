#pragma once

class MnScore;

// The Play menu's commands that start, pause and stop playback, make the
// view follow it, record notes played on the instruments and switch the
// MIDI input on and off; and the rule that decides which score is played
// and from where, which the tool windows share.
class EdPlaybackCommands
{
public:
    // The score to play, where sound begins (startTime, below 0 when grace
    // chords lead) and where the user's place is (cursorTime), in ticks from
    // the staff's start: the cursor's score, else the one score of the
    // selection, else the main score. False, with score null, when none.
    static bool startPosition(MnScore*& score, int& startTime, int& cursorTime);

    static void cmdPlayScore();
    static void cmdPlaybackTracking();
    static void cmdRecord();
    static void cmdMidiInput();

    static constexpr unsigned playScoreId = 32786;
    static constexpr unsigned playbackTrackingId = 33023;
    static constexpr unsigned recordId = 33025;
    static constexpr unsigned midiInputId = 32964;

    static void addRows();
};
