#include "BenchPages.h"
#include "panels/UiDynamicDlg.h"
#include "tests/editing/EdTestScores.h"

#include "model/MnDynamic.h"
#include "model/MnTicks.h"

#include <benchmark/benchmark.h>

// Loading 10,000 selected dynamics of mixed kinds into the dynamic page, as
// the pane reloads it: the list cleared, every dynamic merged and taken,
// the values shown.
static void BM_DynamicPageLoadTenThousand(benchmark::State& state)
{
    MnScore* score = makeScore(2, 1250, 1);
    BenchDocument bench{score};
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
    KeystrokeHost* controls = nullptr;
    auto page = makeBenchPage<UiDynamicDlg>(controls);
    for (auto _ : state) {
        page->elementList().clear();
        page->loadElements(list);
    }
    state.counters["dynamics"] = double(page->elementList().count());
}
BENCHMARK(BM_DynamicPageLoadTenThousand)->Unit(benchmark::kMillisecond);
