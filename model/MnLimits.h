#pragma once

#include "model/MnTicks.h"

// Bounds that the record readers check before a value read from a file
// indexes, divides or drives a loop. They lie far beyond anything the editor
// makes, and keep the tick arithmetic of a whole staff inside 32 bits.

constexpr int MnMaxBeats = 255;
constexpr int MnMaxBeatTicks = MnTicksPerWhole;
// The longest measure, and so the longest written value or tuplet span.
constexpr int MnMaxMeasureTicks = MnMaxBeats * MnMaxBeatTicks;
// The sum of a staff's measure lengths.
constexpr int MnMaxStaffTicks = 1 << 30;
// Chords of one voice of a measure, grace chords included.
constexpr int MnMaxChordsPerVoice = 1 << 16;
// Any other list of a record: staves, measures, staff changes, lines, lyrics,
// part groups, tempo marks.
constexpr int MnMaxRecordCount = 1 << 20;
// A tuplet ratio's two numbers are filed in four bits each.
constexpr int MnMaxTupletRatio = 15;
