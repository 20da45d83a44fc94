#include "BenchScores.h"

#include "commands/EdSelectAll.h"
#include "commands/UiSelectWindowCmd.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnSheetMusic.h"
#include "panels/UiContextMenuList.h"
#include "panels/UiContextPaletteBuilder.h"

#include <benchmark/benchmark.h>

#include <memory>

// The rubber band over a document of about 100 pages: each movement lays
// out the whole document through the band's picker. Goal: under 30 ms a
// movement. The context palette rebuilt after Select All on 20 staves of
// 500 measures. Goal: under 50 ms.

namespace {

// A view that keeps its tool, with a client pixel a millimetre of the
// document from its origin, y upward.
class PaletteBenchView : public EdView
{
public:
    ~PaletteBenchView() override { discardPendingTool(); }
    QuorvaneDocument* document() override { return shown; }
    EdSelection& selection() override { return viewSelection; }
    EdCursor& cursor() override { return viewCursor; }
    bool hasPendingTool() override { return tool != nullptr; }
    bool discardPendingTool() override
    {
        if (!tool)
            return false;
        EdTool* dropped = tool;
        tool = nullptr;
        dropped->transaction().cancel = true;
        dropped->end();
        delete &dropped->transaction();
        return true;
    }
    bool startTool(EdTool* started) override
    {
        discardPendingTool();
        tool = started;
        tool->begin();
        return true;
    }
    void releaseTool(EdTool* released) override
    {
        if (released == tool)
            tool = nullptr;
    }
    GePoint2d clientToModel(int x, int y) override { return GePoint2d(origin.x + x, origin.y - y); }
    bool redraw(bool) override { return true; }
    void camera(GePoint2d&, double&) override {}
    void goTo(MnMeasure*, EdCommand*, bool) override {}
    bool placeElement(MnElement*, const GeMatrix2d&) override { return false; }

    QuorvaneDocument* shown = nullptr;
    EdSelection viewSelection;
    EdCursor viewCursor;
    EdTool* tool = nullptr;
    GePoint2d origin;
};

class PaletteBenchContext : public EdContext
{
public:
    PaletteBenchContext() { previous = EdContext::install(this); }
    ~PaletteBenchContext() override { EdContext::install(previous); }
    QuorvaneDocument* activeDocument() override { return view.shown; }
    EdView* activeView() override { return &view; }

    PaletteBenchView view;

private:
    EdContext* previous = nullptr;
};

}  // namespace

static void BM_WindowSelectionMove(benchmark::State& state)
{
    PaletteBenchContext context;
    QuorvaneDocument document;
    document.OnNewDocument();
    MnSheetMusic* sheet = makeBenchSheet(10, int(state.range(0))).release();
    document.addWork(sheet);
    context.view.shown = &document;
    sheet->pageOrigin(0, context.view.origin, false);
    context.view.origin = GePoint2d(context.view.origin.x + 20.0, context.view.origin.y - 20.0);
    UiSelectWindowCmd::start(context.view, UiCommand::Point{0, 0});
    UiSelectWindowCmd* tool = static_cast<UiSelectWindowCmd*>(context.view.tool);
    int step = 0;
    for (auto _ : state) {
        // Back and forth over the first systems of the first page.
        const int reach = 60 + (step++ % 2) * 40;
        tool->onMouseMove(UiCommand::leftButtonFlag, UiCommand::Point{reach, reach});
    }
    state.counters["pages"] = sheet->pageCount();
    state.counters["selected"] = context.view.viewSelection.count();
    context.view.discardPendingTool();
}
BENCHMARK(BM_WindowSelectionMove)->Arg(650)->Unit(benchmark::kMillisecond);

static void BM_PaletteAfterSelectAll(benchmark::State& state)
{
    PaletteBenchContext context;
    QuorvaneDocument document;
    document.OnNewDocument();
    MnSheetMusic* sheet = makeBenchSheet(20, 500).release();
    document.addWork(sheet);
    context.view.shown = &document;
    {
        EdSelectAll all(&context.view.viewSelection, nullptr);
        all.composeDocument(&document);
    }
    UiContextPaletteBuilder builder;
    UiContextMenuList list;
    for (auto _ : state) {
        builder.rebuild(list);
        benchmark::DoNotOptimize(list.count());
    }
    state.counters["selected"] = context.view.viewSelection.count();
    state.counters["entries"] = list.count();
}
BENCHMARK(BM_PaletteAfterSelectAll)->Unit(benchmark::kMillisecond);
