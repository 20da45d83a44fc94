#include "BenchScores.h"
#include "MusicXmlBenchFile.h"

#include "editing/QuorvaneDocument.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcString.h"
#include "interchange/IeMusicXmlExporter.h"
#include "interchange/IeMusicXmlImporter.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

// MusicXML export of the benchmark sheet with ties added: staves x
// measures of mixed values, chords, triplets, a key and a time change.
// Goals: 10 staves x 500 measures under 300 ms; per measure, 500 measures
// cost at most 1.25 times what 100 cost; 40 staves at most 4.5 times what 10
// cost. The score imported from the import benchmark's file, with its
// lyrics, ties, dynamics and key and time changes: 10 parts x 500 measures
// under 300 ms, and per measure 500 measures at most 1.25 times what 100
// cost.

// The bench sheet with a tie in every other measure: the second voice's
// half at the start of each even measure is tied from a quarter that ends
// the measure before.
static std::unique_ptr<MnSheetMusic> makeExportSheet(int staves, int measures)
{
    std::unique_ptr<MnSheetMusic> sheet = makeBenchSheet(staves, measures);
    MnScore* score = sheet->score();
    for (int s = 0; s < staves; ++s) {
        MnStaff* staff = score->staff(s);
        const int octave = 3 + s % 2;
        for (int i = 1; i + 1 < measures; i += 2) {
            MnMeasure* measure = staff->measure(i);
            measure->addNote(1, measure->length() - MnTicksQuarter, 4, octave, MnAccidentalNone, MnTicksQuarter,
                             false);
            MnChord* tied = staff->measure(i + 1)->voiceChords(1)[0];
            if (tied->noteCount() > 0)
                tied->note(0)->setTied(true);
        }
    }
    return sheet;
}

static std::unique_ptr<MnSheetMusic> readBack(const MnSheetMusic& original)
{
    BcMemoryFiler record;
    original.write(record);
    record.rewind();
    std::unique_ptr<MnSheetMusic> sheet(new MnSheetMusic);
    sheet->read(record);
    return sheet;
}

static std::string exportPath()
{
    return "/tmp/qrv-bench-export-" + std::to_string(getpid()) + ".musicxml";
}

static bool exportSheet(MnSheetMusic* sheet, const std::string& path)
{
    std::wstring wide(path.begin(), path.end());
    IeMusicXmlExporter exporter;
    return exporter.exportFile(wide.c_str(), nullptr, sheet);
}

// The sheet as the editor holds it after opening its file: read from its
// record and laid out once already, so the columns keep their layout.
static void BM_MusicXmlExport(benchmark::State& state)
{
    const int staves = int(state.range(0));
    const int measures = int(state.range(1));
    std::unique_ptr<MnSheetMusic> sheet = readBack(*makeExportSheet(staves, measures));
    const std::string path = exportPath();
    exportSheet(sheet.get(), path);
    for (auto _ : state)
        benchmark::DoNotOptimize(exportSheet(sheet.get(), path));
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file) {
        std::fseek(file, 0, SEEK_END);
        state.counters["bytes"] = double(std::ftell(file));
        std::fclose(file);
    }
    std::remove(path.c_str());
    state.counters["measures"] = double(staves) * measures;
}
BENCHMARK(BM_MusicXmlExport)
    ->Args({10, 100})
    ->Args({10, 500})
    ->Args({40, 500})
    ->Unit(benchmark::kMillisecond);

// A sheet just read from its record: every column laid out afresh.
static void BM_MusicXmlExportCold(benchmark::State& state)
{
    std::unique_ptr<MnSheetMusic> original = makeExportSheet(int(state.range(0)), int(state.range(1)));
    const std::string path = exportPath();
    exportSheet(original.get(), path); // loads the font metrics
    BcMemoryFiler record;
    original->write(record);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<MnSheetMusic> sheet(new MnSheetMusic);
        record.rewind();
        sheet->read(record);
        state.ResumeTiming();
        benchmark::DoNotOptimize(exportSheet(sheet.get(), path));
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_MusicXmlExportCold)->Args({10, 500})->Unit(benchmark::kMillisecond);


// The import benchmark's file of 10 parts, imported, then exported again
// and again.
static void BM_MusicXmlExportImported(benchmark::State& state)
{
    const int measures = int(state.range(0));
    const std::string source = "/tmp/qrv-bench-export-source-" + std::to_string(getpid()) + ".musicxml";
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        out << musicXmlBenchFile(10, measures);
    }
    BenchImportContext context;
    QuorvaneDocument document;
    document.OnNewDocument();
    context.document = &document;
    IeMusicXmlImporter importer;
    const bool imported = importer.importFile(BcString(source.c_str()));
    std::remove(source.c_str());
    context.document = nullptr;
    if (!imported || document.works().count() < 2) {
        state.SkipWithError("import failed");
        return;
    }
    auto* sheet = static_cast<MnSheetMusic*>(document.works()[document.works().count() - 1]);
    const std::string path = exportPath();
    exportSheet(sheet, path);
    for (auto _ : state)
        benchmark::DoNotOptimize(exportSheet(sheet, path));
    std::remove(path.c_str());
    state.counters["per_measure_us"] = benchmark::Counter(
        double(measures), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MusicXmlExportImported)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);
