#pragma once

// Staff/Octave, Staff/Dynamic and Staff/Pedal. When the selection covers a
// time span of one staff (or, for pedals, whole measures), the line is made
// over it at once and selected; otherwise the line tool starts, with which
// the user points at the chords where the line goes.
class EdLineCommands
{
public:
    static void cmdOctave();
    static void cmdDynamic();
    static void cmdPedal();

    static constexpr unsigned octaveId = 32893;
    static constexpr unsigned dynamicId = 32854;
    static constexpr unsigned pedalId = 32932;

    static void addRows();
};
