#include "BenchScores.h"

#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnMeasure.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "playback/MpUnfolder.h"

#include <benchmark/benchmark.h>

#include <memory>

// Unfolding repeats: a 10-staff score of 200 measures with repeats that a
// D.S. plays again (about 500 measures out) should take well under half a
// second, and grow linearly with the measures.

namespace {

// Blocks of ten measures whose last five repeat; a segno in measure 11, a
// Fine at 60% of the score and a D.S. al Fine at its end, so the repeats
// between the segno and the Fine are played again in full. A pedal line
// across every second bar line and a dynamic every fourth measure.
std::unique_ptr<MnScore> repeatedScore(int staves, int measures)
{
    std::unique_ptr<MnScore> score = makeRestScore(staves, measures);
    const int fine = measures * 6 / 10 - 1;
    for (int s = 0; s < staves; ++s) {
        MnStaff* staff = score->staff(s);
        for (int m = 0; m < measures; ++m) {
            MnMeasure* measure = staff->measure(m);
            writeEvenNotes(measure, 4, MnTicksQuarter, 30 + s, 1, 4);
            if (m % 10 == 4)
                measure->setBarline(MnBarlineStartRepeat);
            else if (m % 10 == 9)
                measure->setBarline(MnBarlineEndRepeat);
            if (m == 10)
                measure->setRepeatMarker(MnRepeatMarkerSegno);
            if (m == fine)
                measure->setRepeatJump(MnRepeatJumpFine);
            if (m == measures - 1)
                measure->setRepeatJump(MnRepeatJumpDalSegnoAlFine);
        }
        for (int m = 0; m + 1 < measures; m += 2) {
            MnPedal* pedal = new MnPedal();
            pedal->setKind(MnPedalSignLineHook);
            if (!staff->insertLine(pedal, staff->measureStartTime(m) + 2 * MnTicksQuarter))
                delete pedal;
            else
                pedal->setLength(MnTicksPerWhole);
        }
        for (int m = 0; m < measures; m += 4) {
            MnDynamic* dynamic = new MnDynamic();
            dynamic->setKind((m / 4) % 8);
            if (!staff->insertLine(dynamic, staff->measureStartTime(m)))
                delete dynamic;
            else
                dynamic->setLength(4 * MnTicksPerWhole);
        }
    }
    return score;
}

void BM_Unfold(benchmark::State& state)
{
    const int measures = int(state.range(0));
    std::unique_ptr<MnScore> score = repeatedScore(10, measures);
    int out = 0;
    for (auto _ : state) {
        MpUnfolder unfolder;
        std::unique_ptr<MnScore> unfolded(unfolder.unfold(score.get()));
        out = unfolded->staff(0)->measureCount();
        state.PauseTiming();
        unfolded.reset();
        state.ResumeTiming();
    }
    state.counters["measures_in"] = measures;
    state.counters["measures_out"] = out;
}
BENCHMARK(BM_Unfold)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace
