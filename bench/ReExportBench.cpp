#include "BenchScores.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "model/MnCache.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "render/ReBitmap.h"
#include "render/ReExportSheets.h"
#include "render/RePDF.h"
#include "tests/common/RecordingRenderer.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

// Composing and exporting the benchmark sheet (10 staves x 500 measures,
// about 126 pages). Goals: every page composed through a recording
// renderer, one frame a page in one cache scope, under 300 ms; the whole
// sheet as one PDF under 700 ms; one page as a 300-dpi PNG under 500 ms.

static std::unique_ptr<QuorvaneDocument> documentOf(std::unique_ptr<MnSheetMusic> sheet)
{
    std::unique_ptr<QuorvaneDocument> document(new QuorvaneDocument);
    document->addWork(sheet.release());
    return document;
}

static MnSheetMusic* onlySheet(QuorvaneDocument& document)
{
    return static_cast<MnSheetMusic*>(document.works()[0]);
}

static void BM_ComposeEveryPage(benchmark::State& state)
{
    std::unique_ptr<QuorvaneDocument> document = documentOf(makeBenchSheet());
    MnSheetMusic* sheet = onlySheet(*document);
    RecordingRenderer renderer;
    int pages = 0;
    long calls = 0;
    for (auto _ : state) {
        MnCache scope;
        ReSpreadOut spreadOut(sheet);
        pages = ReExportSheets::pageCount(sheet);
        const double width = sheet->pageWidth();
        const double height = sheet->pageHeight();
        calls = 0;
        for (int page = 0; page < pages; ++page) {
            GePoint2d origin;
            if (!ReExportSheets::pageOrigin(sheet, page, origin))
                continue;
            renderer.clear();
            renderer.render(document.get(), origin.x + width / 2, origin.y - height / 2, width, width, height, 0, 0);
            calls += renderer.countOf("fillQuad") + renderer.countOf("fillMesh") + renderer.countOf("drawText");
        }
    }
    state.counters["pages"] = pages;
    state.counters["fills per pass"] = double(calls);
}
BENCHMARK(BM_ComposeEveryPage)->Unit(benchmark::kMillisecond);

static void BM_PdfOfTheWholeSheet(benchmark::State& state)
{
    std::unique_ptr<QuorvaneDocument> document = documentOf(makeBenchSheet());
    std::string path = "/tmp/qrv-bench-" + std::to_string(::getpid()) + ".pdf";
    for (auto _ : state) {
        RePDF pdf;
        if (!pdf.exportDocument(BcString(path.c_str()), document.get())) {
            state.SkipWithError("the file was not written");
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PdfOfTheWholeSheet)->Unit(benchmark::kMillisecond);

// The measures the first page of the benchmark sheet holds.
static int measuresOnTheFirstPage()
{
    std::unique_ptr<MnSheetMusic> sheet = makeBenchSheet();
    MnCache scope;
    const int measures = sheet->score()->staff(0)->measureCount();
    int measure = 0;
    for (int s = 0; s < sheet->systemsOnPage(0) && measure < measures; ++s) {
        double stretch = 1.0;
        measure += sheet->fitSystem(measure, stretch);
    }
    return measure;
}

// One A4 page of the benchmark sheet at 300 dots per inch: drawn twice the
// size in bands, read back, averaged, encoded and written. The sheet is cut
// to the measures of its first page, so the export writes that page alone.
static void BM_PngPageAt300Dpi(benchmark::State& state)
{
    std::unique_ptr<QuorvaneDocument> document = documentOf(makeBenchSheet(10, measuresOnTheFirstPage()));
    {
        MnCache scope;
        if (onlySheet(*document)->pageCount() != 1) {
            state.SkipWithError("the cut sheet is not one page");
            return;
        }
    }
    std::string path = "/tmp/qrv-bench-" + std::to_string(::getpid()) + ".png";
    for (auto _ : state) {
        ReBitmap bitmap;
        if (!bitmap.exportImages(BcString(path.c_str()), document.get(), false, 300 / 25.4)) {
            state.SkipWithError("the page was not written");
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PngPageAt300Dpi)->Unit(benchmark::kMillisecond);
