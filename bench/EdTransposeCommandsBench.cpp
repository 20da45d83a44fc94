#include "BenchEditing.h"
#include "commands/EdTransposeCommands.h"

#include <benchmark/benchmark.h>

// Transposing every note of a score of ten staves of four quarter notes a
// measure, the transaction and its undo snapshot included: Transpose
// key/interval from C major to D major, and Semitone up. The goal: each
// under 200 ms for 500 measures (20,000 notes); compare the rows of 50 and
// 500 measures for linear growth.

static void BM_TransposeKeyCToD(benchmark::State& state)
{
    runOnEveryNote(state, &EdTransposeCommands::cmdTransposeKeyInterval);
}
BENCHMARK(BM_TransposeKeyCToD)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

static void BM_TransposeSemitoneUp(benchmark::State& state)
{
    runOnEveryNote(state, &EdTransposeCommands::cmdTransposeSemitoneUp);
}
BENCHMARK(BM_TransposeSemitoneUp)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);
