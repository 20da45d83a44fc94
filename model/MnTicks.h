#pragma once

// Musical time in ticks: 32-bit signed integers, a whole note 241920 ticks.
// The number is divisible by every tuplet ratio the editor makes.

constexpr int MnTicksPerWhole = 241920;
constexpr int MnTicksHalf = 120960;
constexpr int MnTicksQuarter = 60480;
constexpr int MnTicksEighth = 30240;
constexpr int MnTicksSixteenth = 15120;
constexpr int MnTicks32nd = 7560;
constexpr int MnTicks64th = 3780;

// The shortest note value, a 256th: the shortest whole number of ticks that
// halving a whole note reaches.
constexpr int MnShortestValue = MnTicksPerWhole / 256;

// Note input places onsets on multiples of a 128th.
constexpr int MnEditGrid = 1890;

// Records of format versions below 2 counted 384 ticks per whole note; their
// durations, times, spans and beat lengths are multiplied by this on reading.
constexpr int MnOldTicksFactor = 630;

// The thirteen standard note values, longest first; the dotted ones are 1.5
// times their plain value, and there is no dotted whole.
constexpr int MnStandardDurationCount = 13;
constexpr int MnStandardDurations[MnStandardDurationCount] = {
    241920, 181440, 120960, 90720, 60480, 45360, 30240,
    22680, 15120, 11340, 7560, 5670, 3780,
};

constexpr bool mnIsStandardDuration(int ticks)
{
    for (int value : MnStandardDurations) {
        if (value == ticks)
            return true;
    }
    return false;
}

// One of the six dotted standard values.
constexpr bool mnIsDottedDuration(int ticks)
{
    return ticks == 5670 || ticks == 11340 || ticks == 22680 || ticks == 45360 || ticks == 90720 ||
           ticks == 181440;
}
