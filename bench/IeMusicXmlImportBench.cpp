#include "MusicXmlBenchFile.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "interchange/IeMusicXmlImporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

// MusicXML import: 10 parts x 500 measures (about 4 MB) should import in
// under 400 ms, and the cost per measure should not grow with the length.

namespace
{
void BM_MusicXmlImport(benchmark::State& state)
{
    const int measures = static_cast<int>(state.range(0));
    const std::string path = "/tmp/qrv-import-bench-" + std::to_string(::getpid()) + "-" +
                             std::to_string(measures) + ".musicxml";
    const std::string text = musicXmlBenchFile(10, measures);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    BenchImportContext context;
    for (auto _ : state) {
        state.PauseTiming();
        auto* document = new QuorvaneDocument();
        document->OnNewDocument();
        context.document = document;
        state.ResumeTiming();
        IeMusicXmlImporter importer;
        if (!importer.importFile(BcString(path.c_str())))
            state.SkipWithError("import failed");
        state.PauseTiming();
        context.document = nullptr;
        delete document;
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    state.counters["bytes"] = static_cast<double>(text.size());
    state.counters["per_measure_us"] =
        benchmark::Counter(static_cast<double>(measures), benchmark::Counter::kIsIterationInvariantRate |
                                                               benchmark::Counter::kInvert);
}
BENCHMARK(BM_MusicXmlImport)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);
} // namespace
