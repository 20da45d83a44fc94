#include "foundation/BcString.h"
#include "model/MnText.h"
#include "render/ReFontMetrics.h"

#include <benchmark/benchmark.h>

// Every label, lyric syllable and tempo drag measures text; measuring must
// stay a walk over the metric table, with nothing allocated per character.
static void BM_MeasureTextExtent(benchmark::State& state)
{
    BcString text("Allegro ma non troppo, con brio");
    ReFontMetrics::shared();  // the table loads once, outside the loop
    for (auto _ : state) {
        double x, y, width, height;
        benchmark::DoNotOptimize(measureTextExtent(text, 12, 1, true, &x, &y, &width, &height));
        benchmark::DoNotOptimize(width);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * text.length());
}
BENCHMARK(BM_MeasureTextExtent);

// A text's extents run the text composer through a measuring picker.
static void BM_TextExtents(benchmark::State& state)
{
    MnText text;
    text.setText(BcString("Sonata in C"));
    text.setAlignment(4);
    for (auto _ : state) {
        GeBox2d box = text.extents();
        benchmark::DoNotOptimize(box.b.x);
    }
}
BENCHMARK(BM_TextExtents);
