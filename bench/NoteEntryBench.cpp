#include "BenchScores.h"

#include "app/UiNewNoteCmd.h"
#include "app/UiQuorvaneViewCore.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"

#include <benchmark/benchmark.h>

#include <memory>

// The note-entry tool's hit test, run on every pointer move, over a sheet of
// about 100 pages with the pointer on a system of the last page. Goal: under
// 10 ms a move.

namespace {

class StillWindow : public UiViewWindow
{
public:
    unsigned long long tickCount() override { return 1; }
    void clientSize(int& w, int& h) override
    {
        w = 1280;
        h = 900;
    }
    void pointer(int& x, int& y) override { x = y = -1; }
    void present(const UiViewFrame&) override {}
};

}  // namespace

static void BM_NoteEntryHitTestLastPage(benchmark::State& state)
{
    std::unique_ptr<QuorvaneDocument> document(new QuorvaneDocument);
    document->OnNewDocument();
    MnSheetMusic* sheet = makeBenchSheet(10, 650).release();
    document->addWork(sheet);
    StillWindow window;
    UiViewCore core(window, document.get());
    int pages = 0;
    GePoint2d origin;
    GePoint2d content;
    {
        MnCache cache;
        pages = sheet->pageCount();
        sheet->pageOrigin(pages - 1, origin, false);
        content = sheet->pageContentOrigin(pages - 1);
    }
    // On the first system's top staff of the last page.
    core.view.setCamera(origin.x + sheet->leftMargin(pages - 1) + sheet->pageWidth() / 3,
                        origin.y + content.y - sheet->topMargin() - 2 * sheet->score()->scale(), 300);
    UiNewNoteCmd tool(core);
    int found = 0;
    for (auto _ : state) {
        EdNotePath target;
        found += tool.hitTest(target, UiCommand::Point{640, 450}) ? 1 : 0;
        benchmark::DoNotOptimize(target);
    }
    state.counters["pages"] = pages;
    state.counters["hits"] = double(found) / double(state.iterations());
}
BENCHMARK(BM_NoteEntryHitTestLastPage)->Unit(benchmark::kMillisecond);
