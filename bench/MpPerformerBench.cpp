#include "editing/EdCursor.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "playback/MpPerformer.h"
#include "playback/MpPerformerListener.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

// A performer step runs inside the audio callback, up to 64 of them in one
// 4096-frame buffer: each step should take well under a tenth of a
// millisecond on average and never more than half a millisecond. The
// hardest case for the step grid is the finest one: 32nd-note triplets
// (a step of 1260 ticks) in every staff, where each step looks at the most
// grid times of its measure.

namespace {

class SilentListener : public MpPerformerListener
{
public:
    void noteOn(int, int key, double) override { benchmark::DoNotOptimize(key); }
    void noteOnTimed(int, int, double, unsigned) override {}
    void noteOff(int, int key) override { benchmark::DoNotOptimize(key); }
};

// Staves x measures of 4/4, voice 1 of every measure sixteen groups of
// 32nd-note triplets, each note a step of a scale.
std::unique_ptr<MnScore> tripletScore(int staves, int measures)
{
    std::unique_ptr<MnScore> score(new MnScore());
    for (int s = 1; s < staves; ++s)
        score->insertStaff(-1);
    for (int m = 1; m < measures; ++m)
        score->insertMeasure(-1);
    for (int s = 0; s < staves; ++s) {
        for (int m = 0; m < measures; ++m) {
            MnMeasure* measure = score->staff(s)->measure(m);
            for (int group = 0; group < 16; ++group)
                measure->makeTuplet(0, group * MnTicksSixteenth, MnTicksSixteenth, 3, false);
            BcArray<MnChord*>& chords = measure->voiceChords(0);
            for (int i = 0; i < chords.count(); ++i)
                chords[i]->addNoteByKey(27 + (s + i) % 36, false);
        }
    }
    return score;
}

class RescanningPerformer : public MpPerformer
{
public:
    RescanningPerformer() { setRescanning(true); }
};

template <typename Performer>
class TripletPerformance
{
public:
    explicit TripletPerformance(int measures) : score(tripletScore(30, measures))
    {
        cursor.setAtStaffStart(score->staff(0), -1);
        restart();
    }
    void restart()
    {
        cursor.setPosition(0, 0, false);
        performer.start(&listener, &cursor, true);
    }

    std::unique_ptr<MnScore> score;
    EdCursor cursor;
    SilentListener listener;
    Performer performer;
};

// One perform call per iteration, from the start again at the end. Besides
// the mean: the slowest call (worst_us; on a busy machine it includes the
// time the thread was not running), the 99.9th percentile (p999_us), and the
// mean of the calls that cross a bar line (barline_us), which find the
// measure's step and its played chords.
template <typename Performer>
void runSteps(benchmark::State& state, TripletPerformance<Performer>& performance)
{
    static const int buckets = 100000; // of 0.1 microseconds
    std::vector<long> histogram(buckets + 1, 0);
    double worst = 0.0;
    double barlineTotal = 0.0;
    long barlines = 0;
    for (auto _ : state) {
        if (performance.performer.isFinished()) {
            state.PauseTiming();
            performance.restart();
            state.ResumeTiming();
        }
        const bool barline = (performance.cursor.time() + performance.performer.lastStep()) % MnTicksPerWhole == 0;
        const auto before = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(performance.performer.perform());
        const double took = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - before).count();
        worst = took > worst ? took : worst;
        const long bucket = long(took * 10.0);
        ++histogram[bucket < buckets ? bucket : buckets];
        if (barline) {
            barlineTotal += took;
            ++barlines;
        }
    }
    long seen = 0;
    int percentile = 0;
    while (percentile < buckets && seen + histogram[percentile] < state.iterations() * 999 / 1000)
        seen += histogram[percentile++];
    state.counters["worst_us"] = worst;
    state.counters["p999_us"] = percentile / 10.0;
    state.counters["barline_us"] = barlines > 0 ? barlineTotal / barlines : 0.0;
    state.counters["step"] = performance.performer.lastStep();
    state.SetItemsProcessed(state.iterations());
}

// 30 staves x 200 measures.
void BM_PerformStep(benchmark::State& state)
{
    static TripletPerformance<MpPerformer> performance(200);
    runSteps(state, performance);
}
BENCHMARK(BM_PerformStep)->Unit(benchmark::kMicrosecond);

// The same steps found by asking every voice at every grid time, for
// comparison: what keeping the played chords per voice saves (2 measures).
void BM_PerformStepByRescanning(benchmark::State& state)
{
    static TripletPerformance<RescanningPerformer> performance(2);
    runSteps(state, performance);
}
BENCHMARK(BM_PerformStepByRescanning)->Unit(benchmark::kMicrosecond);

// start on the same score: it runs on the interface thread when playback
// starts and after every edit, under the player's lock.
void BM_StartPerformance(benchmark::State& state)
{
    static TripletPerformance<MpPerformer> performance(200);
    for (auto _ : state)
        performance.restart();
}
BENCHMARK(BM_StartPerformance)->Unit(benchmark::kMillisecond);

} // namespace
