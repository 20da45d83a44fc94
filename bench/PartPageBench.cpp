#include "BenchPages.h"
#include "panels/UiPartDlg.h"
#include "tests/editing/EdTestScores.h"

#include "model/MnPart.h"
#include "model/MnSheetMusic.h"

#include <benchmark/benchmark.h>

// One keystroke in the name of a part of a sheet music's score of 50,000
// notes: the name, the labels laid out again, one undo step.
static void BM_PartNameKeystroke(benchmark::State& state)
{
    auto* sheet = new MnSheetMusic();
    MnScore* score = sheet->score();
    score->insertStaff(-1);
    for (int m = 1; m < 1250; ++m)
        score->insertMeasure(-1);
    int notes = 0;
    for (int s = 0; s < score->staffCount(); ++s)
        for (int m = 0; m < score->staff(s)->measureCount(); ++m) {
            fillVoice(score->staff(s)->measure(m), 0, 5);
            fillVoice(score->staff(s)->measure(m), 1, 1, 120960);
            notes += 4 * 5 + 2;
        }
    BenchDocument bench{sheet};
    KeystrokeHost* controls = nullptr;
    auto page = makeBenchPage<UiPartDlg>(controls);
    BcArray<MnElement*> list;
    list.add(score->part(0));
    page->loadElements(list);
    typeLetters(state, *controls, 1094, 30);  // the name box
    state.counters["notes"] = double(notes);
}
BENCHMARK(BM_PartNameKeystroke)->Unit(benchmark::kMillisecond);
