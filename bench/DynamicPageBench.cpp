#include "app/UiDialogTemplates.h"
#include "app/UiMemoryControlHost.h"
#include "panels/UiDynamicDlg.h"
#include "tests/common/EdFakeContext.h"
#include "tests/editing/EdTestScores.h"

#include "editing/QuorvaneDocument.h"
#include "model/MnDynamic.h"
#include "model/MnTicks.h"

#include <benchmark/benchmark.h>

#include <memory>

// Loading 10,000 selected dynamics of mixed kinds into the dynamic page, as
// the pane reloads it: the list cleared, every dynamic merged and taken,
// the values shown.
static void BM_DynamicPageLoadTenThousand(benchmark::State& state)
{
    EdFakeContext context;
    QuorvaneDocument document;
    document.OnNewDocument();
    MnScore* score = makeScore(2, 1250, 1);
    document.addWork(score);
    context.activate(&document);
    const int kinds[] = {MnDynamicP, MnDynamicCrescMolto, MnDynamicMF, MnDynamicPocoDim, MnDynamicCrescendoHairpin};
    BcArray<MnElement*> list;
    for (int s = 0; s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        for (int i = 0; i < 5000; ++i) {
            MnDynamic* dynamic = new MnDynamic(staff);
            dynamic->setKind(kinds[i % 5]);
            staff->insertLine(dynamic, i * MnTicksQuarter);
            list.add(dynamic);
        }
    }
    auto page = std::make_unique<UiDynamicDlg>();
    page->create(std::make_unique<UiMemoryControlHost>(*UiDialogTemplates::find(page->templateId())), nullptr, 1.0);
    for (auto _ : state) {
        page->elementList().clear();
        page->loadElements(list);
    }
    state.counters["dynamics"] = double(page->elementList().count());
}
BENCHMARK(BM_DynamicPageLoadTenThousand)->Unit(benchmark::kMillisecond);
