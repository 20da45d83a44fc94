#pragma once

// Note/Interval: a second note a diatonic interval above or below every
// selected note, in the same chord. The sixteen commands share one
// operation; the new notes take no written accidental (the key and the
// measure decide), but the octave keeps the one written, and notes that
// would leave the piano's range (A0..C8) are not made.
class EdIntervalCommands
{
public:
    // The ids of the commands above (second .. ninth) and below.
    static constexpr unsigned firstAboveId = 32901;
    static constexpr unsigned lastAboveId = 32908;
    static constexpr unsigned firstBelowId = 32917;
    static constexpr unsigned lastBelowId = 32924;
    // The hint that all sixteen show.
    static constexpr unsigned hintId = 32908;

    // 2..9 above, -2..-9 below; 0 for any other id.
    static int intervalOfCommand(unsigned id);

    // Any other interval does nothing.
    static void addIntervalNote(int interval);

    // The new pitch for one note, or false when it leaves the range.
    static bool intervalPitch(int interval, int& step, int& octave, int& accidental);

    static void addRows();
};
