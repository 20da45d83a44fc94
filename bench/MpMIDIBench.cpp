#include "BenchScores.h"

#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "playback/MpMIDI.h"

#include <benchmark/benchmark.h>

#include <memory>

// Export of a Standard MIDI File: 20 staves of eighth notes with repeats and
// key changes should take well under half a second at 500 measures, and
// grow linearly with the measures.

namespace {

// Staves x measures of 4/4 eighth notes in blocks of eight measures: the
// last four of each block repeated, a new key every second block, and an
// instrument of its own for every other staff.
std::unique_ptr<MnScore> repeatedEighths(int staves, int measures)
{
    std::unique_ptr<MnScore> score = makeRestScore(staves, measures);
    for (int s = 0; s < staves; ++s) {
        MnStaff* staff = score->staff(s);
        score->part(s)->setInstrument((s / 2) % 12);
        for (int m = 0; m < measures; ++m) {
            MnMeasure* measure = staff->measure(m);
            writeEvenNotes(measure, 8, MnTicksEighth, 30 + s % 20, 5, 24);
            if (m % 8 == 3)
                measure->setBarline(MnBarlineStartRepeat);
            else if (m % 8 == 7)
                measure->setBarline(MnBarlineEndRepeat);
            if (m > 0 && m % 16 == 0) {
                const int time = staff->measureStartTime(m);
                staff->insertStaffChange(time);
                staff->definitionAt(time, true)->setKey((m / 16) % 7 - 3);
            }
        }
    }
    return score;
}

void BM_ExportMidi(benchmark::State& state)
{
    const int measures = int(state.range(0));
    std::unique_ptr<MnScore> score = repeatedEighths(20, measures);
    long long bytes = 0;
    for (auto _ : state) {
        MpMIDI midi;
        BcArray<unsigned char> file;
        midi.buildFile(score.get(), file);
        bytes = file.count();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["file_bytes"] = double(bytes);
    state.counters["measures"] = measures;
}
BENCHMARK(BM_ExportMidi)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace
