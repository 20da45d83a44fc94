#pragma once

#include <benchmark/benchmark.h>

// Runs an editing command on every note of a score of ten staves of four
// quarter notes a measure (state.range(0) measures), all selected in a view
// of their document, with the transaction and its undo snapshot included in
// the time. A transpose dialog the command opens answers C major to D major,
// upward.
void runOnEveryNote(benchmark::State& state, void (*command)());
