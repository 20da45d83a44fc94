#include "BenchScores.h"

#include "foundation/BcMemoryFiler.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <benchmark/benchmark.h>

#include <memory>

// Pagination of the benchmark sheet (10 staves x 500 measures): every
// column laid out, measured and fitted into systems and pages. Goals: a
// cold pass over a sheet just read from its record, with the font metrics
// loaded, under 100 ms; a pass after one note was entered, under 16 ms
// (the columns that did not change keep their layout).

static int paginate(const MnSheetMusic& sheet)
{
    MnCache scope;
    return sheet.pageCount();
}

static void BM_PageCountCold(benchmark::State& state)
{
    std::unique_ptr<MnSheetMusic> original = makeBenchSheet();
    paginate(*original); // loads the font metrics
    BcMemoryFiler record;
    original->write(record);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<MnSheetMusic> sheet(new MnSheetMusic);
        record.rewind();
        sheet->read(record);
        state.ResumeTiming();
        benchmark::DoNotOptimize(paginate(*sheet));
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PageCountCold)->Unit(benchmark::kMillisecond);

static void BM_PageCountAfterANote(benchmark::State& state)
{
    std::unique_ptr<MnSheetMusic> sheet = makeBenchSheet();
    paginate(*sheet);
    MnChord* chord = sheet->score()->staff(5)->measure(249)->voiceChords(0)[0];
    MnNote* entered = nullptr;
    for (auto _ : state) {
        state.PauseTiming();
        // One note in, one out: every pass follows an edit of one column.
        if (entered) {
            chord->removeChild(entered);
            entered = nullptr;
        } else {
            entered = chord->addNoteByKey(75, false);
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(paginate(*sheet));
    }
}
BENCHMARK(BM_PageCountAfterANote)->Unit(benchmark::kMillisecond);

static void BM_PageCountUnchanged(benchmark::State& state)
{
    std::unique_ptr<MnSheetMusic> sheet = makeBenchSheet();
    paginate(*sheet);
    for (auto _ : state)
        benchmark::DoNotOptimize(paginate(*sheet));
    MnCache scope;
    state.counters["pages"] = sheet->pageCount();
    state.counters["systems"] = sheet->systemCount();
}
BENCHMARK(BM_PageCountUnchanged)->Unit(benchmark::kMillisecond);
