#include "editing/EdClipboard.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <benchmark/benchmark.h>

#include <memory>

// The clipboard and the re-barring walk a score once: copying and pasting
// every measure or every note of a score, and changing its meter, must cost
// about twice as much for twice the measures. Compare the rows of 250, 500
// and 1000 measures.

static const int staves = 10;

// A score of ten staves of 4/4 with the measures; with music, each measure
// holds a quarter of one note, two eighths of two, a triplet of eighths of
// one to three notes and a quarter of three.
static std::unique_ptr<MnScore> makeScore(int measures, bool music)
{
    std::unique_ptr<MnScore> score(new MnScore());
    score->staff(0)->setTimeType(MnTime4_4);
    for (int s = 1; s < staves; ++s)
        score->insertStaff(-1);
    for (int m = 1; m < measures; ++m)
        score->insertMeasure(-1);
    if (!music)
        return score;
    for (int s = 0; s < staves; ++s) {
        for (int m = 0; m < measures; ++m) {
            MnMeasure* measure = score->staff(s)->measure(m);
            const int seed = s + m;
            measure->setNote(0, 0, seed % 7, 4, MnAccidentalNone, MnTicksQuarter, false);
            for (int e = 0; e < 2; ++e) {
                const int time = MnTicksQuarter + e * MnTicksEighth;
                measure->setNote(0, time, (seed + e) % 7, 4, MnAccidentalNone, MnTicksEighth, false);
                measure->addNote(0, time, (seed + e + 2) % 7, 4, MnAccidentalSharp, MnTicksEighth, false);
            }
            measure->makeTuplet(0, MnTicksHalf, MnTicksQuarter, 3, false);
            for (int j = 0; j < 3; ++j) {
                const int time = MnTicksHalf + j * 20160;
                measure->setNote(0, time, (seed + j) % 7, 5, MnAccidentalNone, MnTicksEighth, false);
                for (int k = 0; k < j; ++k)
                    measure->addNote(0, time, (seed + j + 2 * k + 2) % 7, 5, MnAccidentalNone, MnTicksEighth, false);
            }
            for (int k = 0; k < 3; ++k)
                measure->addNote(0, 3 * MnTicksQuarter, (seed + 2 * k) % 7, 3, MnAccidentalFlat, MnTicksQuarter, false);
        }
    }
    return score;
}

// Every measure of the score, or every note.
static void selectAll(const MnScore* score, bool notes, EdSelection& selection)
{
    for (int s = 0; s < score->staffCount(); ++s) {
        const MnStaff* staff = score->staff(s);
        for (int m = 0; m < staff->measureCount(); ++m) {
            if (!notes) {
                selection.add(staff->measure(m));
                continue;
            }
            const BcArray<MnChord*>& chords = staff->measure(m)->voiceChords(0);
            for (int i = 0; i < chords.count(); ++i) {
                for (int n = 0; n < chords[i]->noteCount(); ++n)
                    selection.add(chords[i]->note(n));
            }
        }
    }
}

// Copies every measure (a score clone) or every note (records).
static void copyAll(benchmark::State& state, bool notes)
{
    const int measures = int(state.range(0));
    std::unique_ptr<MnScore> score = makeScore(measures, true);
    EdSelection selection;
    selectAll(score.get(), notes, selection);
    for (auto _ : state) {
        EdClipboard clipboard;
        benchmark::DoNotOptimize(clipboard.copy(selection));
        state.PauseTiming();
        clipboard.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * measures * staves);
}

// Pastes every measure or every note at the start of an empty score of the
// same size.
static void pasteAll(benchmark::State& state, bool notes)
{
    const int measures = int(state.range(0));
    std::unique_ptr<MnScore> score = makeScore(measures, true);
    EdSelection selection;
    selectAll(score.get(), notes, selection);
    EdClipboard clipboard;
    clipboard.copy(selection);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<MnScore> target = makeScore(measures, false);
        state.ResumeTiming();
        benchmark::DoNotOptimize(clipboard.paste(target->staff(0), 0, nullptr));
        state.PauseTiming();
        target.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * measures * staves);
}

static void BM_CopyMeasures(benchmark::State& state)
{
    copyAll(state, false);
}
BENCHMARK(BM_CopyMeasures)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

static void BM_PasteMeasures(benchmark::State& state)
{
    pasteAll(state, false);
}
BENCHMARK(BM_PasteMeasures)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

static void BM_CopyNotes(benchmark::State& state)
{
    copyAll(state, true);
}
BENCHMARK(BM_CopyNotes)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

static void BM_PasteNotes(benchmark::State& state)
{
    pasteAll(state, true);
}
BENCHMARK(BM_PasteNotes)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

// The meter of the whole score from its first measure on: every staff is
// re-barred.
static void BM_SetTimeThreeFour(benchmark::State& state)
{
    const int measures = int(state.range(0));
    std::unique_ptr<MnScore> source = makeScore(measures, true);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<MnScore> score(new MnScore());
        score->copyFrom(source.get());
        state.ResumeTiming();
        benchmark::DoNotOptimize(score->staff(0)->setTime(MnTime3_4));
        state.PauseTiming();
        score.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * measures * staves);
}
BENCHMARK(BM_SetTimeThreeFour)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
