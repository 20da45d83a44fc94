#include "editing/QuorvaneDocument.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "panels/UiBrowserModel.h"
#include "tests/panels/BrowserFakeTree.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

// The project browser over a score of 200 staves, every fourth using both
// voices, every fifth with a tablature, groups of eight: what every edit's
// commit costs when the structure stayed (collecting, comparing the
// signature and refreshing the texts; goal under 5 ms) and when the tree is
// rebuilt (goal under 50 ms). The tree is held in memory.

namespace {

QuorvaneDocument* makeDocument()
{
    QuorvaneDocument* document = new QuorvaneDocument;
    document->OnNewDocument();
    MnScore* score = new MnScore();
    for (int i = 1; i < 200; ++i)
        score->insertStaff(-1);
    for (int i = 0; i < 200; ++i) {
        MnStaff* staff = score->staff(i);
        score->part(i)->setName(("Staff " + std::to_string(i + 1)).c_str());
        score->part(i)->setInstrument(i % 12);
        if (i % 4 == 0)
            staff->measure(0)->addNote(1, 0, 0, 4, 0, 60480, false);
        if (i % 5 == 0)
            staff->setTablature(new MnTablature(staff));
    }
    for (int first = 0; first + 8 <= 200; first += 8)
        score->addPartGroup(first, 8);
    document->addWork(score);
    document->setMainScoreIndex(1);
    return document;
}

}  // namespace

static void BM_ProjectBrowserRefreshWithoutRebuild(benchmark::State& state)
{
    std::unique_ptr<QuorvaneDocument> document(makeDocument());
    UiBrowserModel model;
    BrowserFakeTree tree;
    model.refresh(document.get(), tree);
    for (auto _ : state) {
        const bool rebuilt = model.refresh(document.get(), tree);
        benchmark::DoNotOptimize(rebuilt);
    }
}
BENCHMARK(BM_ProjectBrowserRefreshWithoutRebuild)->Unit(benchmark::kMillisecond);

static void BM_ProjectBrowserRebuild(benchmark::State& state)
{
    std::unique_ptr<QuorvaneDocument> document(makeDocument());
    UiBrowserModel model;
    BrowserFakeTree tree;
    for (auto _ : state)
        model.rebuild(document.get(), tree);
}
BENCHMARK(BM_ProjectBrowserRebuild)->Unit(benchmark::kMillisecond);
