#include "tests/editing/EdTestScores.h"

#include "editing/EdSelection.h"
#include "editing/QuorvaneDocument.h"

#include <benchmark/benchmark.h>

// Two staves of 1250 measures, four chords of five notes a measure in the
// first voice: 50,000 notes, plus the half notes of the second voice.
static MnScore* makeFiftyThousandNoteScore()
{
    return makeScore(2, 1250, 5);
}

// One committed edit writes the whole document; one undo reads it back.
static void BM_UndoSnapshotWrite(benchmark::State& state)
{
    QuorvaneDocument document;
    document.OnNewDocument();
    document.addWork(makeFiftyThousandNoteScore());
    for (auto _ : state) {
        document.pushUndoSnapshot();
        state.PauseTiming();
        document.clearUndo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoSnapshotWrite)->Unit(benchmark::kMillisecond);

static void BM_UndoSnapshotRead(benchmark::State& state)
{
    QuorvaneDocument document;
    document.OnNewDocument();
    document.addWork(makeFiftyThousandNoteScore());
    document.clearUndo();
    document.pushUndoSnapshot();
    for (auto _ : state)
        benchmark::DoNotOptimize(document.reloadCurrentSnapshot());
}
BENCHMARK(BM_UndoSnapshotRead)->Unit(benchmark::kMillisecond);

// Collects every note of the score into the selection, in score order, as
// select-all does.
static void selectAllNotes(MnScore* score, EdSelection& selection)
{
    for (int s = 0; s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        for (int m = 0; m < staff->measureCount(); ++m) {
            MnMeasure* measure = staff->measure(m);
            for (int v = 0; v < MnMeasure::voiceCount; ++v) {
                BcArray<MnChord*>& chords = measure->voiceChords(v);
                for (int c = 0; c < chords.count(); ++c) {
                    for (int n = 0; n < chords[c]->noteCount(); ++n)
                        selection.add(chords[c]->note(n));
                }
            }
        }
    }
}

// Select all, then the whole score dies, as an undo reload deletes it: each
// dying note leaves the selection in score order, front first.
static void BM_SelectAllThenDeleteTheScore(benchmark::State& state)
{
    EdSelection selection;
    for (auto _ : state) {
        state.PauseTiming();
        MnScore* score = makeFiftyThousandNoteScore();
        state.ResumeTiming();
        selectAllNotes(score, selection);
        delete score;
        benchmark::DoNotOptimize(selection.count());
    }
}
BENCHMARK(BM_SelectAllThenDeleteTheScore)->Unit(benchmark::kMillisecond);

// Select all, then delete the notes one by one from the first, reading the
// selection between deletions as a command walking it would.
static void BM_SelectAllThenDeleteEachNote(benchmark::State& state)
{
    EdSelection selection;
    for (auto _ : state) {
        state.PauseTiming();
        MnScore* score = makeFiftyThousandNoteScore();
        state.ResumeTiming();
        selectAllNotes(score, selection);
        while (!selection.isEmpty()) {
            MnNote* note = static_cast<MnNote*>(selection.element(0));
            note->chord()->removeChild(note);
        }
        state.PauseTiming();
        delete score;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAllThenDeleteEachNote)->Unit(benchmark::kMillisecond);
