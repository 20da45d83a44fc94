#pragma once

#include "model/MnTicks.h"

// The range of every value that a record keeps: the record readers check
// each value against its rule before it indexes, divides or drives a loop,
// and the setters hold the same rule, so that the editor never saves a file
// that it then refuses to open. The bounds lie far beyond anything the
// editor makes, and keep the tick arithmetic of a whole staff inside 32 bits.

constexpr int MnMaxBeats = 255;
constexpr int MnMaxBeatTicks = MnTicksPerWhole;
// The longest measure, and so the longest written value or tuplet span.
constexpr int MnMaxMeasureTicks = MnMaxBeats * MnMaxBeatTicks;
// The sum of a staff's measure lengths.
constexpr int MnMaxStaffTicks = 1 << 30;
// Chords of one voice of a measure, grace chords included.
constexpr int MnMaxChordsPerVoice = 1 << 16;
// Any other list of a record: staves, measures, staff changes, lines, lyrics,
// part groups, tempo marks, credits, page layouts, works.
constexpr int MnMaxRecordCount = 1 << 20;
// A tuplet ratio's two numbers are filed in four bits each.
constexpr int MnMaxTupletRatio = 15;
// A measure's repeat count is filed in the seven value bits of a byte.
constexpr int MnMaxRepeatCount = 63;

// A written value of a chord or a beat: a whole note doubled or halved any
// number of times (down to the 256th, the shortest whole number of ticks),
// or one of the six dotted standard values. Every value has a notehead and
// divides the whole note's grid.
constexpr bool mnIsNoteValue(int ticks)
{
    // Every value is a whole number of 256ths: a power of two of them for
    // the plain values, three times one for the dotted ones.
    if (ticks < MnShortestValue || ticks > MnMaxMeasureTicks || ticks % MnShortestValue != 0)
        return false;
    const int shortest = ticks / MnShortestValue;
    return (shortest & (shortest - 1)) == 0 || mnIsDottedDuration(ticks);
}

// A beat is a note value no longer than a whole note; so every measure is a
// whole number of the shortest value long, and rests can always fill it.
constexpr bool mnIsBeatTicks(int ticks)
{
    return ticks <= MnMaxBeatTicks && mnIsNoteValue(ticks);
}

// A time on a staff: ticks from its start.
constexpr bool mnIsStaffTime(int ticks)
{
    return ticks >= 0 && ticks <= MnMaxStaffTicks;
}

// A value filed in one signed byte.
constexpr bool mnIsSignedByte(int value)
{
    return value >= -128 && value <= 127;
}

// A value filed in the seven value bits of a byte-and-flag.
constexpr bool mnIsByteAndFlagValue(int value)
{
    return value >= -64 && value <= 63;
}

// Written pitch: the notes and open strings that the pitch rules, the
// composers and playback handle. C8 written two octaves down under an octave
// line is the highest written note the spelling of a key index makes.
constexpr int MnHighestOctave = 10;

constexpr bool mnIsWrittenPitch(int step, int octave)
{
    return step >= 0 && step <= 6 && octave >= 0 && octave <= MnHighestOctave;
}

// Positions, offsets and lengths on paper and in staff steps. The bound
// keeps every sum and product of the layout finite; NaN fails every test.
constexpr double MnMaxCoordinate = 1e9;

constexpr bool mnIsCoordinate(double value)
{
    return value >= -MnMaxCoordinate && value <= MnMaxCoordinate;
}

// The distance from one staff to the next: staves stand below each other.
constexpr bool mnIsStaffSpacing(double spacing)
{
    return spacing > 0.0 && spacing <= MnMaxCoordinate;
}

// The extra room between systems; the pagination divides by the systems'
// distance, which it never lets shrink below the score's height.
constexpr bool mnIsSystemSpacing(double spacing)
{
    return spacing >= 0.0 && spacing <= MnMaxCoordinate;
}

// Scales of a score and of a part: positions are divided by them.
constexpr double MnMinScale = 0.01;
constexpr double MnMaxScale = 100.0;

constexpr bool mnIsScale(double scale)
{
    return scale >= MnMinScale && scale <= MnMaxScale;
}

// Text sizes: the record keeps whole sizes in a signed byte, and a text of
// no size cannot be measured. Sizes outside are brought to the nearest end
// (NaN to the smallest).
constexpr double MnMinTextSize = 1.0;
constexpr double MnMaxTextSize = 127.0;

constexpr double mnClampedTextSize(double size)
{
    return !(size >= MnMinTextSize) ? MnMinTextSize : size > MnMaxTextSize ? MnMaxTextSize : size;
}

// Pages of a sheet music: credits and page layouts name one by its index,
// and the views count pages with one more. A sheet never lays out more
// pages than a staff may have measures.
constexpr int MnMaxPages = MnMaxRecordCount;

constexpr bool mnIsPage(int page)
{
    return page >= 0 && page < MnMaxPages;
}

// Paper dimensions and margins in millimetres.
constexpr int MnMaxPaperLength = 10000;

constexpr bool mnIsPaperLength(int millimetres)
{
    return millimetres >= 1 && millimetres <= MnMaxPaperLength;
}

// Margins: negative ones become 0 and longer ones the longest paper.
constexpr int mnClampedMargin(int millimetres)
{
    return millimetres < 0 ? 0 : millimetres > MnMaxPaperLength ? MnMaxPaperLength : millimetres;
}

// Pages side by side in one row; five or more put every page in one row.
constexpr int MnMaxPagesPerRow = 5;

// Metronome numbers: playback counts milliseconds per beat.
constexpr int MnMaxBeatsPerMinute = 10000;

constexpr bool mnIsBeatsPerMinute(int beatsPerMinute)
{
    return beatsPerMinute >= 1 && beatsPerMinute <= MnMaxBeatsPerMinute;
}
