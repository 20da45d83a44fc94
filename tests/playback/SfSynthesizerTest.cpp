#include "playback/SfTestBanks.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace SfTestBanks;
using Generator = SfBankWriter::Generator;

namespace {

constexpr int second = 44100;

std::unique_ptr<SfSynthesizer> loaded(const SfBankWriter& bank)
{
    std::string reason;
    std::unique_ptr<SfSynthesizer> synthesizer = load(bank, &reason);
    EXPECT_TRUE(synthesizer) << reason;
    return synthesizer;
}

// A sample of a looped sine followed by a tail of constant level, for the
// loop modes: the loop is points 0..440, the tail 441..881.
SfBankWriter::Sample sineWithTail()
{
    SfBankWriter::Sample sample = loopedSine("tail", 4);
    for (int i = 0; i < loopPoints; ++i)
        sample.points.push_back(8000);
    return sample;
}

} // namespace

TEST(SfSynthesizer, KeySixtySoundsThePresetsFrequencyAndAnOctaveUpTwiceIt)
{
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(sineBank());
    ASSERT_TRUE(synthesizer);
    for (int preset : {0, 3, 9}) {
        for (int key : {60, 72, 48}) {
            synthesizer->noteOn(preset, key, 1.0f);
            std::vector<float> left = channel(render(*synthesizer, second / 4), 0);
            double expected = sineFrequency(preset) * std::exp2((key - 60) / 12.0);
            EXPECT_NEAR(frequencyOf(left), expected, expected * 1e-3) << preset << " " << key;
            synthesizer->noteOffAll();
            render(*synthesizer, 1024);
            EXPECT_EQ(synthesizer->activeVoiceCount(), 0);
        }
    }
}

TEST(SfSynthesizer, TuningShiftsThePitch)
{
    // +1 semitone, -50 cents over a sample corrected by +10 cents, and a key
    // tracking of 50 cents per key.
    struct Row
    {
        std::vector<Generator> generators;
        int correction;
        int key;
        double semitones;
    } rows[] = {
        {{{51, 1}}, 0, 60, 1.0},
        {{{52, -50}}, 10, 60, -0.4},
        {{{56, 50}}, 0, 72, 6.0},
    };
    for (const Row& row : rows) {
        SfBankWriter::Sample sample = loopedSine("sine", 4);
        sample.pitchCorrection = row.correction;
        std::vector<Generator> generators = row.generators;
        generators.push_back({54, 1});
        std::unique_ptr<SfSynthesizer> synthesizer = loaded(oneRegionBank({}, generators, sample));
        synthesizer->noteOn(0, row.key, 1.0f);
        double expected = 400.0 * std::exp2(row.semitones / 12.0);
        EXPECT_NEAR(frequencyOf(channel(render(*synthesizer, second / 4), 0)), expected, expected * 1e-3);
    }
}

TEST(SfSynthesizer, PanSplitsAsSquareRoots)
{
    for (int pan : {-500, -300, 0, 400}) {
        std::unique_ptr<SfSynthesizer> synthesizer = loaded(oneRegionBank({}, {{17, pan}, {54, 1}}));
        synthesizer->outputMode = SfSynthesizer::mono;
        synthesizer->noteOn(0, 60, 1.0f);
        std::vector<float> mono = render(*synthesizer, 4096);

        std::unique_ptr<SfSynthesizer> stereo = loaded(oneRegionBank({}, {{17, pan}, {54, 1}}));
        stereo->noteOn(0, 60, 1.0f);
        std::vector<float> frames = render(*stereo, 4096);
        double p = pan / 1000.0;
        for (int i = 0; i < 4096; i += 97) {
            EXPECT_NEAR(frames[2 * i], mono[i] * std::sqrt(0.5 - p), 1e-6) << pan;
            EXPECT_NEAR(frames[2 * i + 1], mono[i] * std::sqrt(0.5 + p), 1e-6) << pan;
        }
    }
}

TEST(SfSynthesizer, SeparateChannelsHoldTheLeftFramesThenTheRight)
{
    std::unique_ptr<SfSynthesizer> interleaved = loaded(oneRegionBank({}, {{17, -200}, {54, 1}}));
    std::unique_ptr<SfSynthesizer> separate = loaded(oneRegionBank({}, {{17, -200}, {54, 1}}));
    separate->outputMode = SfSynthesizer::separateChannels;
    interleaved->noteOn(0, 62, 0.7f);
    separate->noteOn(0, 62, 0.7f);
    const int frames = 1000;
    std::vector<float> a = render(*interleaved, frames);
    std::vector<float> b = render(*separate, frames);
    for (int i = 0; i < frames; ++i) {
        ASSERT_EQ(a[2 * i], b[i]);
        ASSERT_EQ(a[2 * i + 1], b[frames + i]);
    }
}

TEST(SfSynthesizer, VelocitySetsTheGainAndZeroReleases)
{
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(sineBank());
    synthesizer->noteOn(0, 60, 1.0f);
    double full = peakOf(render(*synthesizer, 2048));
    synthesizer->noteOffAll();
    render(*synthesizer, 1024);
    synthesizer->noteOn(0, 60, 0.5f);
    double half = peakOf(render(*synthesizer, 2048));
    EXPECT_NEAR(half / full, 0.5, 1e-3);

    synthesizer->noteOn(0, 60, 0.0f);
    EXPECT_TRUE(synthesizer->voices[0].isReleased());
    render(*synthesizer, 512);
    EXPECT_EQ(synthesizer->activeVoiceCount(), 0);
}

TEST(SfSynthesizer, NoteOffReleasesOnlyTheOldestNoteOnOfTheKey)
{
    // Two regions per note, so each note on has two voices.
    SfBankWriter bank = sineBank();
    bank.instruments[2].zones.push_back(sampleZone(5, {{54, 1}}));
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(bank);
    synthesizer->noteOn(2, 64, 1.0f);
    synthesizer->noteOn(2, 64, 1.0f);
    synthesizer->noteOn(3, 64, 1.0f);
    ASSERT_EQ(synthesizer->activeVoiceCount(), 5);
    synthesizer->noteOff(2, 64);
    for (const SfVoice& voice : synthesizer->voices) {
        if (voice.isFree())
            continue;
        bool first = voice.playingPreset == 2 && voice.playIndex == 0;
        EXPECT_EQ(voice.isReleased(), first) << voice.playingPreset << " " << voice.playIndex;
    }
    render(*synthesizer, 1024);
    EXPECT_EQ(synthesizer->activeVoiceCount(), 3);
    synthesizer->noteOff(2, 64);
    synthesizer->noteOff(2, 64);
    render(*synthesizer, 1024);
    EXPECT_EQ(synthesizer->activeVoiceCount(), 1);
}

TEST(SfSynthesizer, ReleaseZeroFadesWithinTenMilliseconds)
{
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(sineBank());
    synthesizer->noteOn(4, 60, 1.0f);
    render(*synthesizer, 1000);
    synthesizer->noteOff(4, 60);
    std::vector<float> tail = channel(render(*synthesizer, 1024), 0);
    // 441 frames of release, ended by the block in which they run out.
    EXPECT_GT(peakOf(tail, 0, 64), 0.3);
    EXPECT_LT(peakOf(tail, 384, 448), 0.35 * 1e-3);
    EXPECT_EQ(peakOf(tail, 448), 0.0);
    EXPECT_EQ(synthesizer->activeVoiceCount(), 0);
}

TEST(SfSynthesizer, LoopModesDecideWhatHappensAtTheSamplesEnd)
{
    // Release of one second, so that only the sample can end a voice early.
    struct Row
    {
        int sampleModes;
        bool soundsWhileHeld;
        bool tailAfterRelease;
    } rows[] = {{0, false, false}, {1, true, false}, {3, true, true}};
    for (const Row& row : rows) {
        SfBankWriter::Sample sample = sineWithTail();
        sample.loopEnd = loopPoints;
        std::unique_ptr<SfSynthesizer> synthesizer = loaded(oneRegionBank({}, {{54, row.sampleModes}, {38, 0}}, sample));
        synthesizer->noteOn(0, 60, 1.0f);
        std::vector<float> held = channel(render(*synthesizer, second), 0);
        EXPECT_EQ(peakOf(held, second - 4410) > 0.2, row.soundsWhileHeld) << row.sampleModes;
        EXPECT_EQ(synthesizer->activeVoiceCount(), row.soundsWhileHeld ? 1 : 0) << row.sampleModes;
        if (!row.soundsWhileHeld)
            continue;
        synthesizer->noteOff(0, 60);
        std::vector<float> released = channel(render(*synthesizer, 4410), 0);
        // The tail is a constant level: a stretch of equal frames.
        int flat = 0;
        for (size_t i = 1; i < released.size(); ++i)
            flat += released[i] == released[i - 1] && released[i] > 0.1f ? 1 : 0;
        EXPECT_EQ(flat > 300, row.tailAfterRelease) << row.sampleModes;
        // Looping on, the voice lasts as long as its release; with its tail
        // played, it ends with the sample.
        EXPECT_EQ(synthesizer->activeVoiceCount(), row.tailAfterRelease ? 0 : 1) << row.sampleModes;
    }
}

TEST(SfSynthesizer, AnExclusiveClassCutsTheEarlierVoiceButNotItsOwnStereoPartner)
{
    SfBankWriter bank;
    bank.samples.push_back(loopedSine("left", 3));
    bank.samples.push_back(loopedSine("right", 3));
    bank.samples.push_back(loopedSine("other", 5));
    bank.instruments.push_back({"Kit",
                                {sampleZone(0, {SfBankWriter::range(43, 60, 60), {17, -500}, {57, 1}, {54, 1}}),
                                 sampleZone(1, {SfBankWriter::range(43, 60, 60), {17, 500}, {57, 1}, {54, 1}}),
                                 sampleZone(2, {SfBankWriter::range(43, 62, 62), {57, 1}, {54, 1}})}});
    bank.presets.push_back({"Kit", 0, 0, {instrumentZone(0)}});
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(bank);
    synthesizer->noteOn(0, 60, 1.0f);
    ASSERT_EQ(synthesizer->activeVoiceCount(), 2);
    EXPECT_FALSE(synthesizer->voices[0].isReleased());
    EXPECT_FALSE(synthesizer->voices[1].isReleased());
    render(*synthesizer, 256);
    synthesizer->noteOn(0, 62, 1.0f);
    EXPECT_TRUE(synthesizer->voices[0].isReleased());
    EXPECT_TRUE(synthesizer->voices[1].isReleased());
    render(*synthesizer, 512);
    EXPECT_EQ(synthesizer->activeVoiceCount(), 1);
    EXPECT_NEAR(frequencyOf(channel(render(*synthesizer, 4096), 0)), 500.0 * std::exp2(2.0 / 12.0), 1.0);
}

TEST(SfSynthesizer, SixtyNotesGrowTheVoicesInStepsOfFourAndAllSound)
{
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(sineBank());
    EXPECT_EQ(synthesizer->voiceCount(), 0);
    for (int note = 0; note < 60; ++note) {
        synthesizer->noteOn(note % presetsInSineBank, 30 + note, 0.5f);
        EXPECT_EQ(synthesizer->voiceCount(), (note / 4 + 1) * 4);
    }
    render(*synthesizer, 128);
    EXPECT_EQ(synthesizer->activeVoiceCount(), 60);
    for (const SfVoice& voice : synthesizer->voices)
        EXPECT_GT(voice.sourceSamplePosition, 0.0);
}

TEST(SfSynthesizer, APresetIndexOutsideTheBankIsIgnored)
{
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(sineBank());
    synthesizer->noteOn(-1, 60, 1.0f);
    synthesizer->noteOn(presetsInSineBank, 60, 1.0f);
    synthesizer->noteOff(presetsInSineBank, 60);
    EXPECT_EQ(synthesizer->voiceCount(), 0);
    EXPECT_EQ(peakOf(render(*synthesizer, 256)), 0.0);
}

TEST(SfSynthesizer, WithAllVoicesBusyTheOldestGivesWayAReleasedOneFirst)
{
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(sineBank());
    for (int note = 0; note < SfSynthesizer::maxVoices; ++note)
        synthesizer->noteOn(note % presetsInSineBank, note / presetsInSineBank + 40, 0.5f);
    ASSERT_EQ(synthesizer->activeVoiceCount(), SfSynthesizer::maxVoices);
    synthesizer->noteOff(7 % presetsInSineBank, 7 / presetsInSineBank + 40); // note 7
    synthesizer->noteOn(0, 100, 0.5f);
    synthesizer->noteOn(1, 100, 0.5f);
    EXPECT_EQ(synthesizer->voiceCount(), SfSynthesizer::maxVoices);
    EXPECT_EQ(synthesizer->voices[7].playingKey, 100);
    EXPECT_EQ(synthesizer->voices[7].playingPreset, 0);
    EXPECT_EQ(synthesizer->voices[0].playingKey, 100);
    EXPECT_EQ(synthesizer->voices[0].playingPreset, 1);
    EXPECT_EQ(synthesizer->voices[1].playIndex, 1u);
}

TEST(SfSynthesizer, AnAttackRisesLinearly)
{
    // Attack of 0.1 s = 4410 frames; the level at the start of each block
    // sets the block's gain.
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(oneRegionBank({}, {{34, -3986}, {54, 1}}));
    synthesizer->outputMode = SfSynthesizer::mono;
    synthesizer->noteOn(0, 60, 1.0f);
    std::vector<float> out = render(*synthesizer, 6400);
    for (int block : {10, 35, 60}) {
        double expected = 0.5 * block * 64 / 4410.0;
        EXPECT_NEAR(peakOf(out, block * 64, block * 64 + 64), expected, 0.01) << block;
    }
    EXPECT_NEAR(peakOf(out, 5000), 0.5, 0.01);
}

TEST(SfSynthesizer, TheLowPassDampsAboveItsCutoff)
{
    // A sine of 1000 Hz through a cutoff of about 200 Hz (5535 cents), and
    // through the filter wide open at 13500 cents.
    std::unique_ptr<SfSynthesizer> damped = loaded(oneRegionBank({}, {{8, 5535}, {54, 1}}, loopedSine("sine", 10)));
    std::unique_ptr<SfSynthesizer> open = loaded(oneRegionBank({}, {{8, 13500}, {54, 1}}, loopedSine("sine", 10)));
    damped->noteOn(0, 60, 1.0f);
    open->noteOn(0, 60, 1.0f);
    double dampedPeak = peakOf(render(*damped, 8192), 8192);
    double openPeak = peakOf(render(*open, 8192), 8192);
    EXPECT_NEAR(openPeak, 0.5 * std::sqrt(0.5), 1e-3);
    // Two poles: about 24 dB down at five times the cutoff.
    EXPECT_LT(dampedPeak / openPeak, 0.1);
    EXPECT_GT(dampedPeak / openPeak, 0.02);
}

TEST(SfSynthesizer, AVibratoSwingsThePitchByItsDepth)
{
    // 100 cents of vibrato at 1 Hz (-3637 cents; 0 cents is 8.176 Hz): the
    // highest and lowest pitches lie a semitone up and down.
    std::unique_ptr<SfSynthesizer> synthesizer = loaded(oneRegionBank({}, {{6, 100}, {24, -3637}, {54, 1}}));
    synthesizer->noteOn(0, 60, 1.0f);
    std::vector<float> left = channel(render(*synthesizer, second), 0);
    double lowest = 1e9;
    double highest = 0.0;
    for (int at = 0; at + 2205 <= second; at += 2205) {
        double f = frequencyOf(std::vector<float>(left.begin() + at, left.begin() + at + 2205));
        lowest = std::min(lowest, f);
        highest = std::max(highest, f);
    }
    EXPECT_NEAR(highest, 400.0 * std::exp2(1.0 / 12.0), 8.0);
    EXPECT_NEAR(lowest, 400.0 * std::exp2(-1.0 / 12.0), 8.0);
}

TEST(SfSynthesizer, ReadingMatchesPlainLinearInterpolationAcrossTheLoop)
{
    // A loop of 100 points inside a sample of 441, read a fifth and a
    // tritone up and an octave down, the filter off: every frame is the
    // straight interpolation at its position, wrapped as the loop says.
    SfBankWriter::Sample sample = loopedSine("sine", 7);
    sample.loopStart = 200;
    sample.loopEnd = 300;
    for (int key : {67, 66, 48}) {
        std::unique_ptr<SfSynthesizer> synthesizer = loaded(oneRegionBank({}, {{8, 13501}, {54, 1}}, sample));
        synthesizer->outputMode = SfSynthesizer::mono;
        synthesizer->noteOn(0, key, 1.0f);
        std::vector<float> out = render(*synthesizer, 2000);
        const std::vector<float>& points = synthesizer->samples;
        double step = std::exp2((key - 60) / 12.0);
        double position = 0.0;
        for (int f = 0; f < 2000; ++f) {
            unsigned i = static_cast<unsigned>(position);
            unsigned j = i >= 299 ? 200 : i + 1;
            double expected = points[i] + (points[j] - points[i]) * (position - i);
            ASSERT_NEAR(out[f], expected, 2e-6) << key << " frame " << f;
            position += step;
            if (position >= 300.0)
                position -= 100.0;
        }
    }
}
