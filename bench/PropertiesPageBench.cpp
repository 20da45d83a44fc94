#include "BenchPages.h"
#include "panels/UiNoteDlg.h"
#include "panels/UiScoreDlg.h"
#include "panels/UiWorkDlg.h"
#include "tests/editing/EdTestScores.h"

#include "model/MnSheetMusic.h"
#include "model/MnWork.h"

#include <benchmark/benchmark.h>

// One check-box click on the note page with 10,000 notes selected: the
// values written into every note's chord, one undo step.
static void BM_NotePageClickOnTenThousandNotes(benchmark::State& state)
{
    MnScore* score = makeScore(2, 1250, 1);
    BenchDocument bench{score};
    BcArray<MnElement*> notes;
    for (int s = 0; s < score->staffCount(); ++s)
        for (int m = 0; m < score->staff(s)->measureCount(); ++m) {
            const BcArray<MnChord*>& chords = score->staff(s)->measure(m)->voiceChords(0);
            for (int c = 0; c < chords.count(); ++c)
                notes.add(chords[c]->note(0));
        }
    KeystrokeHost* controls = nullptr;
    auto page = makeBenchPage<UiNoteDlg>(controls);
    page->loadElements(notes);
    for (auto _ : state)
        controls->click(1093);  // staccato, on and off
    state.counters["notes"] = double(notes.count());
}
BENCHMARK(BM_NotePageClickOnTenThousandNotes)->Unit(benchmark::kMillisecond);

// One keystroke in the work title of a document of 50,000 notes, with a
// sheet music whose title credit follows.
static void BM_WorkTitleKeystroke(benchmark::State& state)
{
    BenchDocument bench{makeScore(2, 1250, 5), new MnSheetMusic()};
    MnWork* work = static_cast<MnWork*>(bench.document.works()[0]);
    KeystrokeHost* controls = nullptr;
    auto page = makeBenchPage<UiWorkDlg>(controls);
    BcArray<MnElement*> list;
    list.add(work);
    page->loadElements(list);
    typeLetters(state, *controls, 1171, 60);  // the title box
}
BENCHMARK(BM_WorkTitleKeystroke)->Unit(benchmark::kMillisecond);

// The score page's reload (values and statistics) of a score of 20 staves
// and 500 measures.
static void BM_ScorePageReload(benchmark::State& state)
{
    MnScore* score = makeScore(20, 500, 1);
    BenchDocument bench{score};
    KeystrokeHost* controls = nullptr;
    auto page = makeBenchPage<UiScoreDlg>(controls);
    BcArray<MnElement*> list;
    list.add(score);
    for (auto _ : state) {
        page->elementList().clear();
        page->loadElements(list);
    }
}
BENCHMARK(BM_ScorePageReload)->Unit(benchmark::kMillisecond);
