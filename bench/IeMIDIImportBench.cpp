#include "editing/QuorvaneDocument.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcMidiBytes.h"
#include "interchange/IeMIDIImporter.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

// Importing a format-1 file of a conductor track and sixteen instrument
// tracks, the notes shared evenly among them. The time per note must stay
// about the same from 10,000 to 100,000 notes (items_per_second).

static const int channels = 16;
static const int division = 480;

static void quantity(std::vector<unsigned char>& out, std::uint32_t value)
{
    BcMemoryFiler filer;
    BcMidiBytes::writeQuantity(filer, value);
    out.insert(out.end(), filer.bytes().data(), filer.bytes().data() + filer.bytes().count());
}

static void chunk(std::vector<unsigned char>& file, const char* type, const std::vector<unsigned char>& data)
{
    file.insert(file.end(), type, type + 4);
    BcMemoryFiler length;
    BcMidiBytes::writeBigEndian(length, static_cast<std::uint32_t>(data.size()), 4);
    file.insert(file.end(), length.bytes().data(), length.bytes().data() + 4);
    file.insert(file.end(), data.begin(), data.end());
}

// Each instrument plays eighths, quarters and halves, every fourth one a
// two-note chord, over three octaves, so that keyboard channels fill both
// staves of their pair. Channels 0..3 are pianos, 4..5 organs, the rest
// single-staff instruments.
static std::vector<unsigned char> makeFile(int notes)
{
    std::vector<unsigned char> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, channels + 1, 0, 0};
    file[12] = static_cast<unsigned char>(division >> 8);
    file[13] = static_cast<unsigned char>(division & 0xFF);

    std::vector<unsigned char> conductor = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,
                                            0x00, 0xFF, 0x58, 0x04, 4, 2, 24, 8,
                                            0x00, 0xFF, 0x59, 0x02, 0x01, 0x00,
                                            0x00, 0xFF, 0x2F, 0x00};
    chunk(file, "MTrk", conductor);

    static const int lengths[] = {division / 2, division / 2, division, 2 * division, division};
    for (int c = 0; c < channels; ++c) {
        std::vector<unsigned char> track;
        const int program = c < 4 ? 0 : c < 6 ? 16 : 40 + c;
        track.insert(track.end(), {0x00, static_cast<unsigned char>(0xC0 | c), static_cast<unsigned char>(program)});
        const int count = notes / channels + (c < notes % channels ? 1 : 0);
        int played = 0;
        for (int i = 0; played < count; ++i) {
            const int key = 48 + (i * 7 + c) % 36;
            const int length = lengths[i % 5];
            const bool chord = i % 4 == 3 && played + 2 <= count;
            const unsigned char on = static_cast<unsigned char>(0x90 | c);
            track.insert(track.end(), {0x00, on, static_cast<unsigned char>(key), 100});
            if (chord)
                track.insert(track.end(), {0x00, static_cast<unsigned char>(key + 4), 100});
            quantity(track, static_cast<std::uint32_t>(length));
            // Running status: note ons of velocity 0 end them.
            track.insert(track.end(), {static_cast<unsigned char>(key), 0});
            if (chord)
                track.insert(track.end(), {0x00, static_cast<unsigned char>(key + 4), 0});
            played += chord ? 2 : 1;
        }
        track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
        chunk(file, "MTrk", track);
    }
    return file;
}

static void BM_ImportMidiFile(benchmark::State& state)
{
    const int notes = static_cast<int>(state.range(0));
    const std::vector<unsigned char> file = makeFile(notes);
    for (auto _ : state) {
        auto document = std::make_unique<QuorvaneDocument>();
        document->OnNewDocument();
        IeMIDIImporter importer;
        const bool ok = importer.importBytes(file.data(), static_cast<int>(file.size()), *document);
        if (!ok)
            state.SkipWithError("the import failed");
        benchmark::DoNotOptimize(ok);
        // The document's teardown is not the import.
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * notes);
}
BENCHMARK(BM_ImportMidiFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
