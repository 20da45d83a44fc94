#include "BenchScores.h"

#include "foundation/BcString.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "playback/MpAudioOutput.h"
#include "playback/MpPlayer.h"
#include "playback/SfSynthesizer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

// The audio callback fills a 4096-frame buffer (92.9 ms of sound) on the
// audio thread: over a 30-staff score it should take under 2 ms at 64
// voices sounding. An edit during playback swaps the edited score in under
// playbackLock, which the audio thread waits for: on 20 staves of 500
// measures the lock should be held under 1 ms.

namespace {

constexpr int bufferFrames = 4096;

// An output that never calls back: the benchmark calls the callback itself.
class BenchOutput : public MpAudioOutput
{
public:
    static MpAudioOutput* create() { return new BenchOutput(); }
    bool initialize(BcString&) override { return true; }
    int deviceCount() const override { return 1; }
    bool open(Callback, void*, BcString&) override { return true; }
    void pause(bool) override {}
    void lockDevice() override {}
    void unlockDevice() override {}
    void close() override {}
    unsigned volume() const override { return word; }
    void setVolume(unsigned volume) override { word = volume; }

private:
    unsigned word = 0xFFFFFFFFu;
};

// The player on the program's bank; null when the bank is not built.
std::unique_ptr<MpPlayer> openPlayer()
{
    MpAudioOutput::installFactory(&BenchOutput::create);
    std::unique_ptr<MpPlayer> player(new MpPlayer());
    player->setBankPath(BcString(QRV_INSTRUMENT_BANK));
    if (!player->open())
        return nullptr;
    player->setPlaybackTempo(120);
    return player;
}

// 30 staves x measures of 4/4: in the first playing staves, every quarter a
// chord of the notes, each staff an instrument of the bank in turn, in its
// middle range; the other staves rest.
std::unique_ptr<MnScore> choirScore(int measures, int playing, int notes)
{
    static const int instruments[] = {0, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    static const int lowest[] = {24, 19, 19, 7, 19, 10, 39, 34, 28, 27};
    std::unique_ptr<MnScore> score(new MnScore());
    for (int s = 1; s < 30; ++s)
        score->insertStaff(-1);
    for (int m = 1; m < measures; ++m)
        score->insertMeasure(-1);
    for (int s = 0; s < playing; ++s) {
        score->part(s)->setInstrument(instruments[s % 10]);
        for (int m = 0; m < measures; ++m) {
            MnMeasure* measure = score->staff(s)->measure(m);
            BcArray<MnChord*>& chords = measure->voiceChords(0);
            for (int i = 0; i < chords.count(); ++i)
                delete chords[i];
            chords.removeAll();
            for (int q = 0; q < 4; ++q) {
                MnChord* chord = new MnChord(measure, 0, q * MnTicksQuarter, MnTicksQuarter);
                for (int n = 0; n < notes; ++n)
                    chord->addNoteByKey(lowest[s % 10] + 12 + (m + q) % 5 + 4 * n, false);
                chords.add(chord);
            }
        }
    }
    return score;
}

// One callback per iteration. The counter voices is the mean of the voices
// that the synthesizer renders; worst_ms the slowest buffer.
void BM_AudioCallback(benchmark::State& state)
{
    std::unique_ptr<MpPlayer> player = openPlayer();
    if (!player) {
        state.SkipWithError("the program's bank is not built");
        return;
    }
    std::unique_ptr<MnScore> score = choirScore(100, int(state.range(0)), int(state.range(1)));
    std::vector<float> buffer(2 * bufferFrames);
    player->play(score.get(), 0, 0);
    double voices = 0.0;
    double worst = 0.0;
    for (auto _ : state) {
        if (!player->isPlaying()) {
            state.PauseTiming();
            player->play(score.get(), 0, 0);
            state.ResumeTiming();
        }
        const auto before = std::chrono::steady_clock::now();
        MpPlayer::audioCallback(player.get(), reinterpret_cast<unsigned char*>(buffer.data()),
                                int(buffer.size() * sizeof(float)));
        worst = std::max(worst,
                         std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count());
        voices += player->synthesizer()->activeVoiceCount();
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["voices"] = voices / double(state.iterations());
    state.counters["worst_ms"] = worst;
    player->close();
    MpAudioOutput::installFactory(nullptr);
}
// Playing staves and notes per chord, for about 16, 64, 128 and 170 voices.
BENCHMARK(BM_AudioCallback)
    ->Args({6, 1})
    ->Args({22, 1})
    ->Args({23, 2})
    ->Args({30, 2})
    ->Unit(benchmark::kMillisecond);

// An edit of the played score during playback: update serialises and
// compares outside the lock, then swaps the copy in under it. The iteration
// time is the whole update; lock_ms the part under playbackLock.
void BM_UpdateWhilePlaying(benchmark::State& state)
{
    std::unique_ptr<MpPlayer> player = openPlayer();
    if (!player) {
        state.SkipWithError("the program's bank is not built");
        return;
    }
    std::unique_ptr<MnSheetMusic> sheet = makeBenchSheet(20, 500);
    MnScore* score = sheet->score();
    std::vector<float> buffer(2 * bufferFrames);
    player->play(score, 0, 0);
    for (int i = 0; i < 20; ++i)
        MpPlayer::audioCallback(player.get(), reinterpret_cast<unsigned char*>(buffer.data()),
                                int(buffer.size() * sizeof(float)));
    MnMeasure* measure = score->staff(0)->measure(2);
    double locked = 0.0;
    double worst = 0.0;
    bool toggle = false;
    for (auto _ : state) {
        state.PauseTiming();
        toggle = !toggle;
        score->part(19)->setInstrument(toggle ? 6 : 7);
        state.ResumeTiming();
        player->update(measure);
        const double ms = double(player->updateLockNanoseconds()) / 1e6;
        locked += ms;
        worst = std::max(worst, ms);
    }
    state.counters["lock_ms"] = locked / double(state.iterations());
    state.counters["lock_worst_ms"] = worst;
    player->close();
    MpAudioOutput::installFactory(nullptr);
}
BENCHMARK(BM_UpdateWhilePlaying)->Unit(benchmark::kMillisecond);

} // namespace
