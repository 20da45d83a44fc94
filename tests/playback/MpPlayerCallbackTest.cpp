#include "playback/MpPerformer.h"
#include "playback/MpPlayerTestSupport.h"
#include "playback/MpRandomScore.h"
#include "playback/TestAllocations.h"

#include "model/MnPart.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

// The audio callback, driven buffer by buffer through the fake output.

namespace {

double peak(const std::vector<float>& samples, size_t from = 0, size_t to = SIZE_MAX)
{
    double most = 0.0;
    for (size_t i = from; i < samples.size() && i < to; ++i)
        most = std::max(most, double(std::fabs(samples[i])));
    return most;
}

TEST_F(MpPlayerTest, theFirstStepSoundsInTheFirstBlock)
{
    std::unique_ptr<MnScore> score = quarterScore(2);
    play(*score);
    EXPECT_TRUE(player.isPlaying());
    EXPECT_EQ(player.nextEventTime(), 1.0);
    EXPECT_EQ(context.toolbarTempos, std::vector<int>{120});
    EXPECT_EQ(context.adoptedTunings, std::vector<MnScore*>{score.get()});

    const std::vector<float> block = deliver();
    EXPECT_NEAR(player.playClock(), 64 * 1000.0 / 44100, 1e-9);
    EXPECT_DOUBLE_EQ(player.nextEventTime(), 1.0 + stepMilliseconds);
    EXPECT_EQ(soundingVoices(player, midiOf(quarterKey(0, 0))), 1);
    EXPECT_GT(peak(block), 0.01);
}

struct ScheduleCase
{
    const char* name;
    int beatUnit;
    int steps;          // performer steps of a 64th
    double milliseconds; // that they last at 120 beats per minute
};

class MpPlayerScheduleTest : public MpPlayerTest, public ::testing::WithParamInterface<ScheduleCase>
{
};

// Each step is due a step's length after the previous one was due, not
// after the block it ran in: at 120 a quarter of 16 steps lasts 500 ms, and
// a measure 2 s exactly, while every step still runs in the first block
// past its due time.
TEST_P(MpPlayerScheduleTest, stepsAreDueWhenThePreviousWasDue)
{
    const ScheduleCase& row = GetParam();
    std::unique_ptr<MnScore> score = quarterScore(2);
    ASSERT_TRUE(score->tempo(0)->setBeatUnit(row.beatUnit));
    play(*score);
    std::vector<double> due{player.nextEventTime()};
    const double blockMilliseconds = 64 * 1000.0 / 44100;
    while (player.isPlaying() && due.size() < 64 + 1) {
        deliver();
        const double next = player.nextEventTime();
        if (next == due.back())
            continue;
        // The step ran in the block that first passed its due time.
        const double late = player.playClock() - due.back();
        EXPECT_GT(late, 0.0);
        EXPECT_LE(late, blockMilliseconds + 1e-9);
        due.push_back(next);
    }
    ASSERT_EQ(due.size(), 64u + 1);
    EXPECT_DOUBLE_EQ(due[size_t(row.steps)] - due[0], row.milliseconds);
    EXPECT_NEAR(due[64] - due[0], 64 / row.steps * row.milliseconds, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Beats, MpPlayerScheduleTest,
    ::testing::Values(ScheduleCase{"quarterBeat", MnTicksQuarter, 16, 500.0},
                      ScheduleCase{"eighthBeat", MnTicksEighth, 16, 1000.0},
                      ScheduleCase{"sixtyFourthBeat", MnTicks64th, 1, 500.0}),
    [](const ::testing::TestParamInfo<ScheduleCase>& info) { return std::string(info.param.name); });

TEST_F(MpPlayerTest, aTempoChangeActsAtTheNextStep)
{
    std::unique_ptr<MnScore> score = quarterScore(1);
    play(*score);
    deliver();
    const double due = 1.0 + stepMilliseconds;
    ASSERT_DOUBLE_EQ(player.nextEventTime(), due);
    player.setPlaybackTempo(60);
    EXPECT_EQ(player.playbackTempo(), 60);
    EXPECT_DOUBLE_EQ(player.nextEventTime(), due) << "the step already due stays";
    while (player.nextEventTime() == due)
        deliver();
    EXPECT_DOUBLE_EQ(player.nextEventTime(), due + 2 * stepMilliseconds);

    player.setPlaybackTempo(0);
    EXPECT_EQ(player.playbackTempo(), 60) << "no tempo of 0";
}

TEST_F(MpPlayerTest, playThenStopBeforeABufferSoundsNothing)
{
    std::unique_ptr<MnScore> score = quarterScore(1);
    play(*score);
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(peak(deliver(4096)), 0.0);
    EXPECT_EQ(soundingVoices(player), 0);
    EXPECT_FALSE(player.isPlaying());
}

TEST_F(MpPlayerTest, pausedTheCallbackLetsNotesFadeAndAdvancesNothing)
{
    std::unique_ptr<MnScore> score = quarterScore(1);
    play(*score);
    performTo(quarter + 3780);
    ASSERT_EQ(soundingVoices(player, midiOf(quarterKey(0, 1))), 1);
    EdNotePath before;
    player.playingPosition(before, 0);
    const double clock = player.playClock();
    const double due = player.nextEventTime();

    player.pause();
    EXPECT_TRUE(player.isPaused());
    EXPECT_TRUE(player.isPlaying());
    EXPECT_EQ(soundingVoices(player), 0);
    const std::vector<float> buffer = deliver(4096);
    EXPECT_GT(peak(buffer, 0, 2 * 16), 0.0) << "the released note fades";
    EXPECT_EQ(peak(buffer, 2 * 2048), 0.0);
    deliver(4096, 5);
    EXPECT_EQ(player.playClock(), clock);
    EXPECT_EQ(player.nextEventTime(), due);
    EdNotePath after;
    EXPECT_EQ(player.playingPosition(after, 0), before);

    player.resume();
    EXPECT_FALSE(player.isPaused());
    performTo(2 * quarter);
    EXPECT_EQ(soundingVoices(player, midiOf(quarterKey(0, 2))), 1);
}

// At the end of the staff the callback releases everything and ends
// playback, freeing nothing: the copy stays for the next play.
TEST_F(MpPlayerTest, theStaffsEndReleasesEverythingAndFreesNothing)
{
    std::unique_ptr<MnScore> score = restScore(1);
    MpVoiceWriter(score->staff(0)->measure(0), 0).chord(whole, {keyC4, keyE4, keyG4});
    play(*score);
    deliver();
    ASSERT_EQ(soundingVoices(player), 3);
    unsigned char keys[MpPlayer::keyCount];
    player.keysDown(keys);
    EXPECT_EQ(keys[keyE4], 1);

    std::vector<float> buffer(2 * 4096);
    long long heapCalls = 0;
    {
        TestAllocations counted;
        for (int guard = 0; guard < 1000 && player.isPlaying(); ++guard)
            output()->deliverInto(buffer.data(), 4096);
        heapCalls = counted.allocations() + counted.frees();
    }
    EXPECT_EQ(heapCalls, 0);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(soundingVoices(player), 0);
    player.keysDown(keys);
    for (unsigned char key : keys)
        EXPECT_EQ(key, 0);

    play(*score);
    deliver();
    EXPECT_EQ(soundingVoices(player), 3);
}

// Over whole performances with repeats, endings, jumps, graces and pedals,
// and a tapped key released on the way, the callback allocates and frees
// nothing.
TEST_F(MpPlayerTest, theCallbackNeitherAllocatesNorFrees)
{
    for (unsigned seed = 200; seed < 206; ++seed) {
        std::unique_ptr<MnScore> score = RandomScore(seed).make();
        player.play(score.get(), MpPerformer::firstGridTime(score.get()), 0);
        player.setPlaybackTempo(208);
        ASSERT_TRUE(player.keyTap(keyC5));
        std::vector<float> buffer(2 * 4096);
        long long heapCalls = 0;
        int buffers = 0;
        {
            TestAllocations counted;
            for (; buffers < 100000 && player.isPlaying(); ++buffers) {
                output()->deliverInto(buffer.data(), 4096);
                if (buffers == 3)
                    context.clock += 1000;
            }
            heapCalls = counted.allocations() + counted.frees();
        }
        EXPECT_EQ(heapCalls, 0) << "seed " << seed;
        EXPECT_GT(buffers, 10) << "seed " << seed;
        EXPECT_FALSE(player.isPlaying()) << "seed " << seed;
        EXPECT_EQ(soundingVoices(player, midiOf(keyC5)), 0) << "seed " << seed;
        orderViolations += output()->orderViolations.exchange(0);
    }
}

// The fake device delivers buffers on a thread of its own while the
// interface thread plays, edits, asks and presses keys: they meet only
// under playbackLock, and no one takes the device lock inside it.
TEST_F(MpPlayerTest, theAudioThreadAndTheInterfaceThreadMeetOnlyUnderTheLock)
{
    std::unique_ptr<MnScore> score = RandomScore(300).make();
    MpFakeAudioOutput* device = output();
    std::atomic<bool> running{true};
    std::thread audio([device, &running] {
        std::vector<float> buffer(2 * 512);
        while (running.load())
            device->deliverInto(buffer.data(), 512);
    });
    player.setPlaybackTempo(10000);
    MnChord* chord = score->staff(0)->measure(0)->voiceChords(0)[0];
    for (int round = 0; round < 40; ++round) {
        if (round % 8 == 0)
            player.play(score.get(), 0, round % 16 == 0 ? -1 : quarter);
        player.keyTap(keyC4 + round % 12);
        player.keyDown(keyE4);
        player.setPreviewInstrument(round % 3 == 0 ? MnInstrumentViolin : MnInstrumentPiano);
        player.keyUp(keyE4);
        EdNotePath position;
        player.playingPosition(position, 250);
        unsigned char keys[MpPlayer::keyCount];
        player.keysDown(keys);
        player.isNotePlaying(chord, round % 3);
        int time = 0;
        unsigned long long tick = 0;
        player.lastOnset(time, tick);
        score->part(0)->setInstrument(round % 2 ? MnInstrumentGuitar : MnInstrumentPiano);
        player.update(round % 7 == 6 ? nullptr : score->staff(0)->measure(0));
        if (round % 4 == 1) {
            player.pause();
            player.resume();
        }
        if (round % 8 == 7)
            player.stop();
        player.noteOffAll();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    running = false;
    audio.join();
    EXPECT_EQ(device->orderViolations.load(), 0);
}

} // namespace
