#include "foundation/BcMemoryFiler.h"
#include "foundation/BcString.h"

#include <benchmark/benchmark.h>

#include <vector>

// A large document's undo snapshot is megabytes of small writes; the filer's
// buffer must not be copied once per kilobyte on the way there.
static const int tenMegabytes = 10 * 1024 * 1024;

static void BM_MemoryFilerWriteInts(benchmark::State& state)
{
    for (auto _ : state) {
        BcMemoryFiler filer;
        for (int i = 0; i < tenMegabytes / 4; ++i)
            filer.writeInt(i);
        benchmark::DoNotOptimize(filer.bytes().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * tenMegabytes);
}
BENCHMARK(BM_MemoryFilerWriteInts)->Unit(benchmark::kMillisecond);

static void BM_MemoryFilerWriteMixedRecords(benchmark::State& state)
{
    // Roughly the shape of a note record: small values and a short text.
    BcString text("Allegro ma non troppo");
    const int recordBytes = 1 + 2 + 4 + 8 + 2 * text.length() + 2;
    for (auto _ : state) {
        BcMemoryFiler filer;
        for (int written = 0; written < tenMegabytes; written += recordBytes) {
            filer.writeByteAndFlag(3, true);
            filer.writeShort(-2);
            filer.writeInt(60480);
            filer.writeDouble(1.25);
            filer.writeString(text);
        }
        benchmark::DoNotOptimize(filer.bytes().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * tenMegabytes);
}
BENCHMARK(BM_MemoryFilerWriteMixedRecords)->Unit(benchmark::kMillisecond);

static void BM_MemoryFilerWriteBlocks(benchmark::State& state)
{
    std::vector<unsigned char> block(size_t(state.range(0)), 0x5A);
    for (auto _ : state) {
        BcMemoryFiler filer;
        for (int written = 0; written < tenMegabytes; written += int(block.size()))
            filer.writeBytes(block.data(), int(block.size()));
        benchmark::DoNotOptimize(filer.bytes().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * tenMegabytes);
}
BENCHMARK(BM_MemoryFilerWriteBlocks)->Arg(100)->Arg(64 * 1024)->Unit(benchmark::kMillisecond);

static void BM_MemoryFilerReadInts(benchmark::State& state)
{
    BcMemoryFiler filer;
    for (int i = 0; i < tenMegabytes / 4; ++i)
        filer.writeInt(i);
    for (auto _ : state) {
        filer.rewind();
        int value = 0;
        int64_t sum = 0;
        while (filer.readInt(value))
            sum += value;
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * tenMegabytes);
}
BENCHMARK(BM_MemoryFilerReadInts)->Unit(benchmark::kMillisecond);
