#include "foundation/BcMemoryFiler.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"

#include <benchmark/benchmark.h>

// Opening a large file, every undo snapshot and the player's private copy
// all go through the score's record.
static const int staffCount = 10;
static const int measureCount = 500;

// Every measure holds four quarter chords of two notes in the first voice
// and a whole rest in the second.
static MnScore* buildLargeScore()
{
    MnScore* score = new MnScore;
    while (score->staffCount() < staffCount)
        score->insertStaff(-1);
    for (int i = 1; i < measureCount; ++i)
        score->insertMeasure(-1);
    for (int s = 0; s < staffCount; ++s) {
        MnStaff* staff = score->staff(s);
        for (int m = 0; m < staff->measureCount(); ++m) {
            MnMeasure* measure = staff->measure(m);
            BcArray<MnChord*>& chords = measure->voiceChords(0);
            for (int i = 0; i < chords.count(); ++i)
                delete chords[i];
            chords.removeAll();
            for (int beat = 0; beat < 4; ++beat) {
                MnChord* chord = new MnChord(measure, 0, beat * MnTicksQuarter, MnTicksQuarter);
                chord->addNote((beat + m) % 7, 4, 3, false);
                chord->addNote((beat + m + 2) % 7, 4, beat == 1 ? 1 : 3, beat == 0);
                chords.add(chord);
            }
        }
    }
    return score;
}

static void BM_ScoreRecordWrite(benchmark::State& state)
{
    MnScore* score = buildLargeScore();
    int64_t bytes = 0;
    for (auto _ : state) {
        BcMemoryFiler filer;
        score->write(filer);
        bytes = filer.bytes().count();
        benchmark::DoNotOptimize(filer.bytes().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
    delete score;
}
BENCHMARK(BM_ScoreRecordWrite)->Unit(benchmark::kMillisecond);

static void BM_ScoreRecordRead(benchmark::State& state)
{
    MnScore* source = buildLargeScore();
    BcMemoryFiler filer;
    source->write(filer);
    delete source;
    for (auto _ : state) {
        filer.rewind();
        MnScore score;
        benchmark::DoNotOptimize(score.read(filer));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * filer.bytes().count());
}
BENCHMARK(BM_ScoreRecordRead)->Unit(benchmark::kMillisecond);
