#include "app/UiDialogTemplates.h"
#include "app/UiMemoryControlHost.h"
#include "panels/UiPartDlg.h"
#include "tests/common/EdFakeContext.h"
#include "tests/editing/EdTestScores.h"

#include "editing/QuorvaneDocument.h"
#include "model/MnPart.h"
#include "model/MnSheetMusic.h"

#include <benchmark/benchmark.h>

namespace {

// The memory host with single keystrokes: the text grows by one letter and
// tells of it, as an edit does.
class NameKeystrokeHost : public UiMemoryControlHost
{
public:
    using UiMemoryControlHost::UiMemoryControlHost;
    void keystroke(int id, char letter)
    {
        setText(id, text(id) + letter);
        notify(id, textChanged);
    }
};

}

// One keystroke in the name of a part of a sheet music's score of 50,000
// notes: the name, the labels laid out again, one undo step.
static void BM_PartNameKeystroke(benchmark::State& state)
{
    EdFakeContext context;
    QuorvaneDocument document;
    document.OnNewDocument();
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
    document.addWork(sheet);
    context.activate(&document);
    auto page = std::make_unique<UiPartDlg>();
    auto host = std::make_unique<NameKeystrokeHost>(*UiDialogTemplates::find(page->templateId()));
    NameKeystrokeHost* controls = host.get();
    page->create(std::move(host), nullptr, 1.0);
    BcArray<MnElement*> list;
    list.add(score->part(0));
    page->loadElements(list);
    int letters = 0;
    for (auto _ : state) {
        if (++letters > 30) {
            state.PauseTiming();
            controls->setText(1094, "");
            letters = 0;
            state.ResumeTiming();
        }
        controls->keystroke(1094, 'a');
    }
    state.counters["notes"] = double(notes);
}
BENCHMARK(BM_PartNameKeystroke)->Unit(benchmark::kMillisecond);
