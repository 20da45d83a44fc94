#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <benchmark/benchmark.h>

#include <memory>

// Note entry touches one measure and, for a tie, the next one: entering n
// notes into a staff of n / 4 measures must cost about n times one entry,
// however long the staff is. Compare the 1k and 10k rows: the time per note
// should stay about the same (the 1k staff stays in the processor's caches,
// which makes its row somewhat faster per note).

static std::unique_ptr<MnScore> longScore(int measures)
{
    std::unique_ptr<MnScore> score(new MnScore());
    for (int i = 1; i < measures; ++i)
        score->insertMeasure(-1);
    return score;
}

// Four quarter notes into every measure, a scale going up and down.
static void BM_EnterQuarterNotes(benchmark::State& state)
{
    const int notes = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<MnScore> score = longScore(notes / 4);
        MnStaff* staff = score->staff(0);
        state.ResumeTiming();
        for (int i = 0; i < notes; ++i) {
            MnMeasure* measure = staff->measure(i / 4);
            const int step = i % 14 < 7 ? i % 7 : 6 - i % 7;
            benchmark::DoNotOptimize(measure->addNote(0, (i % 4) * 60480, step, 4, MnAccidentalNone, 60480, false));
        }
        state.PauseTiming();
        score.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * notes);
}
BENCHMARK(BM_EnterQuarterNotes)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Syncopated half notes on the last beat of every measure, each tied over
// the bar line into the next one: every entry reaches into two measures.
// The long row stays within the longest staff (MnMaxStaffTicks, some 4400
// measures of 4/4).
static void BM_EnterTiedHalfNotes(benchmark::State& state)
{
    const int notes = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<MnScore> score = longScore(notes + 1);
        MnStaff* staff = score->staff(0);
        state.ResumeTiming();
        for (int i = 0; i < notes; ++i)
            benchmark::DoNotOptimize(
                staff->measure(i)->setNote(0, 3 * 60480, i % 7, 4, MnAccidentalNone, 2 * 60480, false));
        state.PauseTiming();
        score.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * notes);
}
BENCHMARK(BM_EnterTiedHalfNotes)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// A staff added to a score of n measures, as importers build scores: the
// cost must grow with n, not with n squared. Compare the 1k and 8k rows.
static void BM_InsertStaffIntoLongScore(benchmark::State& state)
{
    const int measures = int(state.range(0));
    std::unique_ptr<MnScore> score = longScore(measures);
    for (auto _ : state) {
        benchmark::DoNotOptimize(score->insertStaff(-1));
        state.PauseTiming();
        score->removeStaff(score->staffCount() - 1);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * measures);
}
BENCHMARK(BM_InsertStaffIntoLongScore)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);
