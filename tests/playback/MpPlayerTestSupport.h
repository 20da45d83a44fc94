#pragma once

#include "editing/QuorvaneDocument.h"
#include "model/MnScore.h"
#include "model/MnTempo.h"
#include "playback/MpPlayer.h"
#include "playback/MpPlayerContext.h"
#include "playback/SfSynthesizer.h"
#include "playback/SfTestBanks.h"
#include "playback/MpFakeAudioOutput.h"
#include "playback/MpTestScores.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

// The editing context of the player's tests: its player calls reach an
// MpPlayer; it has an active document, a clock the test sets, and records
// what playback told the shell.
class MpTestContext : public MpPlayerContext
{
public:
    explicit MpTestContext(MpPlayer* player = nullptr) : MpPlayerContext(player) { previous = install(this); }
    ~MpTestContext() override { install(previous); }
    MpTestContext(const MpTestContext&) = delete;
    MpTestContext& operator=(const MpTestContext&) = delete;

    QuorvaneDocument* activeDocument() override { return document; }
    void setToolbarTempo(int beatsPerMinute) override { toolbarTempos.push_back(beatsPerMinute); }
    void adoptScoreTuning(MnScore* score) override { adoptedTunings.push_back(score); }
    unsigned long long clockMilliseconds() override { return clock.load(); }

    QuorvaneDocument* document = nullptr;
    std::atomic<unsigned long long> clock{1000};
    std::vector<int> toolbarTempos;
    std::vector<MnScore*> adoptedTunings;

private:
    EdContext* previous = nullptr;
};

// A file of this test process under the test output folder, removed when
// the object dies.
class MpTestFile
{
public:
    explicit MpTestFile(const std::string& name)
        : path(std::string(QRV_TEST_OUTPUT_DIR) + "/" + std::to_string(::getpid()) + "-" + name)
    {
    }
    ~MpTestFile() { std::remove(path.c_str()); }
    MpTestFile(const MpTestFile&) = delete;
    MpTestFile& operator=(const MpTestFile&) = delete;

    void write(const std::vector<unsigned char>& bytes) const
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    BcString bcPath() const { return BcString(path.c_str()); }

    const std::string path;
};

// Voices of the synthesizer that sound a key (MIDI number) and are not
// released; preset -1 counts every preset.
inline int soundingVoices(const MpPlayer& player, int midiKey, int preset = -1)
{
    const SfSynthesizer* synthesizer = player.synthesizer();
    if (!synthesizer)
        return 0;
    int count = 0;
    for (const SfVoice& voice : synthesizer->voices) {
        if (!voice.isFree() && !voice.isReleased() && voice.playingKey == midiKey &&
            (preset < 0 || voice.playingPreset == preset))
            ++count;
    }
    return count;
}

inline int soundingVoices(const MpPlayer& player)
{
    const SfSynthesizer* synthesizer = player.synthesizer();
    if (!synthesizer)
        return 0;
    int count = 0;
    for (const SfVoice& voice : synthesizer->voices)
        count += !voice.isFree() && !voice.isReleased() ? 1 : 0;
    return count;
}

// Staves x measures of 4/4 quarters; the quarter q of measure m (both from
// 0) sounds key firstKey + 4m + q, a step higher in every further staff.
inline std::unique_ptr<MnScore> quarterScore(int measures, int staves = 1, int firstKey = keyC4 - 12)
{
    std::unique_ptr<MnScore> score = restScore(measures, staves);
    for (int s = 0; s < staves; ++s) {
        for (int m = 0; m < measures; ++m) {
            MpVoiceWriter voice(score->staff(s)->measure(m), 0);
            for (int q = 0; q < 4; ++q)
                voice.chord(quarter, {firstKey + s + 4 * m + q});
        }
    }
    return score;
}

// The key of quarter q of measure m in staff 0 of a quarterScore.
constexpr int quarterKey(int m, int q, int firstKey = keyC4 - 12)
{
    return firstKey + 4 * m + q;
}

// The MIDI number of a piano key index.
constexpr int midiOf(int key)
{
    return key + 21;
}

// A player opened on the sine bank through the fake output, at 120 per
// quarter, with the test context installed.
class MpPlayerTest : public ::testing::Test
{
protected:
    // A quarter at 120 per minute in steps of a 64th.
    static constexpr double stepMilliseconds = 31.25;

    void SetUp() override
    {
        bank.write(SfTestBanks::bytesOf(SfTestBanks::sineBank()));
        player.setBankPath(bank.bcPath());
        ASSERT_TRUE(player.open()) << player.openFailureReason().toNarrow(BcString::utf8CodePage);
        ASSERT_NE(output(), nullptr);
        player.setPlaybackTempo(120);
    }
    void TearDown() override
    {
        player.close();
        EXPECT_EQ(orderViolations, 0) << "a device lock was taken inside playbackLock";
    }

    MpFakeAudioOutput* output() { return MpFakeAudioOutput::latest(); }

    // Delivers buffers of the frames and returns the last one.
    std::vector<float> deliver(int frames = MpPlayer::blockFrames, int buffers = 1)
    {
        std::vector<float> samples;
        for (int i = 0; i < buffers; ++i) {
            samples = output()->deliver(frames);
            orderViolations += output()->orderViolations.exchange(0);
        }
        return samples;
    }

    // Plays the score as the play command does: its tempo mark at 120.
    void play(MnScore& score, int startTime = 0, int displayFloor = 0)
    {
        score.tempo(0)->setBeatsPerMinute(120);
        player.play(&score, startTime, displayFloor);
    }

    // Delivers blocks until the performer has made the steps after the
    // first, at 120 per quarter in steps of a 64th: the cursor then stands
    // steps x 3780 ticks further on in play order.
    void performSteps(int steps)
    {
        const double due = 1.0 + stepMilliseconds * (steps + 1);
        for (int guard = 0; guard < 1000000 && player.isPlaying() && player.nextEventTime() < due - 1e-6; ++guard)
            deliver();
    }
    // The same up to a time, from a start, without jumps in between.
    void performTo(int time, int startTime = 0) { performSteps((time - startTime) / MnTicks64th); }

    // Delivers blocks until playback ends.
    void performToEnd()
    {
        for (int guard = 0; guard < 1000000 && player.isPlaying(); ++guard)
            deliver(4096);
    }

    MpTestFile bank{"bank.sf2"};
    MpFakeOutputInstalled fake;
    MpPlayer player;
    MpTestContext context{&player};
    int orderViolations = 0;
};
