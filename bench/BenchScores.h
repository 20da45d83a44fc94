#pragma once

#include <memory>

class MnSheetMusic;

// The sheet music that the layout, composing, back-end and export
// benchmarks measure: staves x measures of quarters, eighths, triplets and
// chords with accidentals, a second voice in every other measure, lyrics
// under every third staff, a change to three flats after the first third
// and to 3/4 after the second third; the score at half size.
std::unique_ptr<MnSheetMusic> makeBenchSheet(int staves = 10, int measures = 500);
