#include "foundation/BcString.h"
#include "playback/SfBankWriter.h"
#include "playback/SfFileStream.h"
#include "playback/SfMemoryStream.h"
#include "playback/SfSynthesizer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

// The synthesizer renders on the audio thread in real time; offline, a dense
// score must render far faster than it plays.

namespace {

constexpr int outputRate = 44100;
constexpr int bufferFrames = 4096; // the audio device's buffer

std::unique_ptr<SfSynthesizer> loadInstruments()
{
    SfFileStream file;
    if (!file.open(QRV_INSTRUMENT_BANK))
        return nullptr;
    BcString reason;
    return SfSynthesizer::load(file.stream(), reason);
}

struct NoteEvent
{
    long frame;
    int preset;
    int key;
    float velocity; // 0: note off
};

// Ten parts over the ten presets, 500 measures of 4/4 at 120 per quarter:
// every part plays eighths, mostly chords of two or three notes, in the
// range of its instrument.
std::vector<NoteEvent> densePiece(int measures)
{
    const int lowest[10] = {48, 40, 40, 28, 60, 49, 55, 36, 28, 54};
    const int highest[10] = {84, 76, 76, 52, 96, 80, 91, 72, 55, 82};
    const long eighth = outputRate / 4; // 0.25 s at 120 per quarter
    std::mt19937 random(1000);
    std::vector<NoteEvent> events;
    for (int part = 0; part < 10; ++part) {
        for (long step = 0; step < measures * 8L; ++step) {
            long start = step * eighth;
            int notes = 1 + static_cast<int>(random() % 3);
            int root = lowest[part] + static_cast<int>(random() % static_cast<unsigned>(highest[part] - lowest[part] - 7));
            float velocity = 0.5f + static_cast<float>(random() % 40) / 100.0f;
            for (int n = 0; n < notes; ++n) {
                int key = root + n * 4 - (n == 2 ? 1 : 0);
                events.push_back({start, part, key, velocity});
                events.push_back({start + eighth - 400, part, key, 0.0f});
            }
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const NoteEvent& a, const NoteEvent& b) { return a.frame < b.frame; });
    return events;
}

void BM_SfDensePiece(benchmark::State& state)
{
    std::unique_ptr<SfSynthesizer> synthesizer = loadInstruments();
    if (!synthesizer) {
        state.SkipWithError("voices/Instruments.sf2 is missing: build the target instrument_bank");
        return;
    }
    const int measures = static_cast<int>(state.range(0));
    std::vector<NoteEvent> events = densePiece(measures);
    const long totalFrames = measures * 4L * outputRate / 2;
    std::vector<float> buffer(2 * bufferFrames);
    double voiceSum = 0.0;
    long buffers = 0;
    int mostVoices = 0;
    for (auto _ : state) {
        size_t next = 0;
        for (long frame = 0; frame < totalFrames;) {
            while (next < events.size() && events[next].frame <= frame) {
                const NoteEvent& event = events[next++];
                if (event.velocity > 0.0f)
                    synthesizer->noteOn(event.preset, event.key, event.velocity);
                else
                    synthesizer->noteOff(event.preset, event.key);
            }
            long until = next < events.size() ? std::min(events[next].frame, totalFrames) : totalFrames;
            int frames = static_cast<int>(std::min<long>(until - frame, bufferFrames));
            synthesizer->renderFloat(buffer.data(), frames);
            benchmark::DoNotOptimize(buffer.data());
            int voices = synthesizer->activeVoiceCount();
            voiceSum += voices;
            mostVoices = std::max(mostVoices, voices);
            ++buffers;
            frame += frames;
        }
        synthesizer->noteOffAll();
        synthesizer->renderFloat(buffer.data(), bufferFrames);
    }
    state.counters["audio_s_per_cpu_s"] =
        benchmark::Counter(static_cast<double>(totalFrames) / outputRate * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["mean_voices"] = voiceSum / static_cast<double>(buffers);
    state.counters["most_voices"] = mostVoices;
}
BENCHMARK(BM_SfDensePiece)->Arg(500)->Iterations(1)->Unit(benchmark::kSecond);

// A bank whose one preset uses the filter, both LFOs and the modulation
// envelope, on a sine looped over a second.
std::unique_ptr<SfSynthesizer> modulatedBank()
{
    SfBankWriter bank;
    SfBankWriter::Sample sample;
    sample.name = "sine";
    for (int i = 0; i < outputRate; ++i)
        sample.points.push_back(static_cast<short>(12000.0 * std::sin(2.0 * M_PI * 220.0 * i / outputRate)));
    sample.loopEnd = outputRate;
    sample.originalPitch = 57;
    bank.samples.push_back(sample);
    SfBankWriter::Zone zone;
    zone.generators = {{8, 7000}, {9, 100}, {5, 20}, {10, 800}, {13, 30}, {22, -800}, {6, 15}, {24, -400},
                       {11, 1200}, {26, -1200}, {28, 0}, {29, 400}, {34, -2400}, {38, -1200}, {54, 1}, {53, 0}};
    bank.instruments.push_back({"Modulated", {zone}});
    SfBankWriter::Zone presetZone;
    presetZone.generators = {{41, 0}};
    bank.presets.push_back({"Modulated", 0, 0, {presetZone}});
    std::vector<unsigned char> bytes;
    bank.write(bytes);
    SfMemoryStream memory(bytes.data(), bytes.size());
    BcString reason;
    return SfSynthesizer::load(memory.stream(), reason);
}

void BM_SfRenderVoices(benchmark::State& state)
{
    std::unique_ptr<SfSynthesizer> synthesizer = modulatedBank();
    const int voices = static_cast<int>(state.range(0));
    for (int v = 0; v < voices; ++v)
        synthesizer->noteOn(0, 36 + v % 60, 0.8f);
    std::vector<float> buffer(2 * bufferFrames);
    for (auto _ : state) {
        synthesizer->renderFloat(buffer.data(), bufferFrames);
        benchmark::DoNotOptimize(buffer.data());
    }
    if (synthesizer->activeVoiceCount() != voices)
        state.SkipWithError("a voice ended");
    state.counters["audio_s_per_cpu_s"] = benchmark::Counter(
        static_cast<double>(bufferFrames) / outputRate * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SfRenderVoices)->Arg(16)->Arg(64)->Arg(128)->Unit(benchmark::kMicrosecond);

void BM_SfLoadInstruments(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<SfSynthesizer> synthesizer = loadInstruments();
        if (!synthesizer) {
            state.SkipWithError("voices/Instruments.sf2 is missing: build the target instrument_bank");
            return;
        }
        benchmark::DoNotOptimize(synthesizer.get());
    }
}
BENCHMARK(BM_SfLoadInstruments)->Unit(benchmark::kMillisecond);

} // namespace
