#include "BenchScores.h"

#include "app/UiQuorvaneViewCore.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnSheetMusic.h"
#include "render/ReGLHost.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

// A camera flight over a sheet of about 20 pages, drawn through the screen
// renderer into an offscreen context of the window's size. Goal: every
// frame after the first under 40 ms.

namespace {

class OffscreenWindow : public UiViewWindow
{
public:
    unsigned long long tickCount() override { return clock += 16; }
    void clientSize(int& w, int& h) override
    {
        w = width;
        h = height;
    }
    void pointer(int& x, int& y) override
    {
        x = -1;
        y = -1;
    }
    void present(const UiViewFrame& frame) override
    {
        auto start = std::chrono::steady_clock::now();
        if (core && host && host->makeCurrent()) {
            if (core->renderer.host() != host)
                core->renderer.createContext(host);
            core->renderFrame(frame);
        }
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (frames++ > 0) {
            laterMs += ms;
            ++laterFrames;
        }
    }

    UiViewCore* core = nullptr;
    ReGLHost* host = nullptr;
    unsigned long long clock = 1;
    int width = 1280;
    int height = 900;
    int frames = 0;
    double laterMs = 0.0;
    int laterFrames = 0;
};

}  // namespace

static void BM_FlightFrames(benchmark::State& state)
{
    std::unique_ptr<QuorvaneDocument> document(new QuorvaneDocument);
    document->OnNewDocument();
    MnSheetMusic* sheet = makeBenchSheet(10, 130).release();
    document->addWork(sheet);
    OffscreenWindow window;
    std::unique_ptr<ReGLHost> host(ReGLHost::newOffscreen(window.width, window.height));
    if (!host) {
        state.SkipWithError("no offscreen OpenGL context");
        return;
    }
    UiViewCore core(window, document.get());
    window.core = &core;
    window.host = host.get();
    GePoint2d origin;
    sheet->pageOrigin(0, origin, false);
    GePoint2d far;
    int pages = sheet->pageCount();
    sheet->pageOrigin(pages - 1, far, false);
    bool out = false;
    for (auto _ : state) {
        window.frames = 0;
        // Each flight from one end of the sheet to the other, the whole first page in view.
        GePoint2d from = out ? far : origin;
        out = !out;
        core.view.flyTo(from, GePoint2d(from.x + sheet->pageWidth(), from.y - sheet->pageHeight()), 1.1, false);
    }
    state.counters["pages"] = pages;
    state.counters["ms_per_later_frame"] = window.laterFrames ? window.laterMs / window.laterFrames : 0.0;
}
BENCHMARK(BM_FlightFrames)->Unit(benchmark::kMillisecond);

// Chord picking and element boxes on a score of about 100 pages. Goals:
// chordAtPoint under 10 ms, findElementBox under 5 ms.
namespace {

struct HundredPages
{
    HundredPages()
    {
        document.OnNewDocument();
        sheet = makeBenchSheet(10, 650).release();
        document.addWork(sheet);
        GePoint2d page;
        sheet->pageOrigin(0, page, false);
        point = GePoint2d(page.x + sheet->pageWidth() / 2, page.y - sheet->pageHeight() / 3);
    }
    QuorvaneDocument document;
    MnSheetMusic* sheet = nullptr;
    GePoint2d point;
};

}  // namespace

static void BM_ChordAtPoint(benchmark::State& state)
{
    HundredPages fixture;
    OffscreenWindow window;
    UiViewCore core(window, &fixture.document);
    int hits = 0;
    for (auto _ : state) {
        GePoint2d where;
        hits += core.chordAtPoint(fixture.point, &where, 0, true) != nullptr;
    }
    state.counters["pages"] = fixture.sheet->pageCount();
    state.counters["hits"] = hits;
}
BENCHMARK(BM_ChordAtPoint)->Unit(benchmark::kMillisecond);

static void BM_FindElementBox(benchmark::State& state)
{
    HundredPages fixture;
    OffscreenWindow window;
    UiViewCore core(window, &fixture.document);
    GePoint2d corner1;
    GePoint2d corner2;
    for (auto _ : state)
        benchmark::DoNotOptimize(core.findElementBox(corner1, corner2, fixture.point, nullptr));
    state.counters["pages"] = fixture.sheet->pageCount();
}
BENCHMARK(BM_FindElementBox)->Unit(benchmark::kMillisecond);
