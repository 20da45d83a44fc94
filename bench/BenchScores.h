#pragma once

#include <memory>

class MnMeasure;
class MnScore;
class MnSheetMusic;

// The sheet music that the layout, composing, back-end and export
// benchmarks measure: staves x measures of quarters, eighths, triplets and
// chords with accidentals, a second voice in every other measure, lyrics
// under every third staff, a change to three flats after the first third
// and to 3/4 after the second third; the score at half size.
std::unique_ptr<MnSheetMusic> makeBenchSheet(int staves = 10, int measures = 500);

// Staves x measures of 4/4 whose voices hold whole rests.
std::unique_ptr<MnScore> makeRestScore(int staves, int measures);
// Voice 0 of the measure as count chords of the value, chord i one note of
// key firstKey + (i x keyStep) mod keySpan.
void writeEvenNotes(MnMeasure* measure, int count, int value, int firstKey, int keyStep, int keySpan);
