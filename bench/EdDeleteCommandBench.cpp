#include "BenchEditing.h"
#include "commands/EdDeleteCommand.h"

#include <benchmark/benchmark.h>

// Edit/Delete of every note of a score of ten staves of four quarter notes a
// measure, the transaction and its undo snapshot included. The goal: under
// 200 ms for 500 measures (20,000 notes); compare the rows of 50 and 500
// measures for linear growth.

static void BM_DeleteEveryNote(benchmark::State& state)
{
    runOnEveryNote(state, &EdDeleteCommand::cmdDelete);
}
BENCHMARK(BM_DeleteEveryNote)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);
