#include "playback/MpPlayerTestSupport.h"
#include "playback/SfPerformer.h"

#include <functional>
#include <memory>
#include <string>

// Preview keys: held keys, and taps that the callback releases by the
// process's clock.

namespace {

constexpr int piano = 0;
constexpr int guitar = 1; // presets of the bank
constexpr int violin = 6;

TEST_F(MpPlayerTest, aSecondTapReleasesTheFirstAndEndsHalfASecondLater)
{
    context.clock = 1000;
    ASSERT_TRUE(player.keyTap(keyC4));
    EXPECT_EQ(soundingVoices(player, midiOf(keyC4), piano), 1);
    context.clock = 1200;
    ASSERT_TRUE(player.keyTap(keyE4));
    EXPECT_EQ(soundingVoices(player, midiOf(keyC4)), 0) << "released at the second strike";
    EXPECT_EQ(soundingVoices(player, midiOf(keyE4), piano), 1);

    // Due at 1700: a buffer that starts at 1699 does not pass it in its
    // first block, one at 1701 does.
    context.clock = 1699;
    deliver(64);
    EXPECT_EQ(soundingVoices(player, midiOf(keyE4)), 1);
    context.clock = 1701;
    deliver(64);
    EXPECT_EQ(soundingVoices(player, midiOf(keyE4)), 0);
}

TEST_F(MpPlayerTest, aTapEndsWithinTheBufferThatPassesItsTime)
{
    context.clock = 5000;
    ASSERT_TRUE(player.keyTap(keyC4));
    context.clock = 5450;
    deliver(4096); // up to 92.9 ms of audio: past 5500 from block 35 on
    EXPECT_EQ(soundingVoices(player, midiOf(keyC4)), 0);
}

// The deadline and the time compared with it are 64-bit: a tap struck just
// before the 32-bit tick count turns over sounds its half second.
TEST_F(MpPlayerTest, aTapAcrossTheTurnOfA32BitClockLastsItsTime)
{
    const unsigned long long turn = 1ULL << 32;
    context.clock = turn - 100;
    ASSERT_TRUE(player.keyTap(keyC4));
    context.clock = turn + 10;
    deliver(64);
    EXPECT_EQ(soundingVoices(player, midiOf(keyC4)), 1);
    context.clock = turn + 401;
    deliver(64);
    EXPECT_EQ(soundingVoices(player, midiOf(keyC4)), 0);
}

TEST_F(MpPlayerTest, aTapEndsWhilePlaybackIsPaused)
{
    std::unique_ptr<MnScore> score = quarterScore(1);
    play(*score);
    deliver();
    player.pause();
    ASSERT_TRUE(player.keyTap(keyC5));
    context.clock += 600;
    deliver(64);
    EXPECT_EQ(soundingVoices(player, midiOf(keyC5)), 0);
}

struct PreviewCase
{
    const char* name;
    std::function<void(MpPlayer&, MpTestContext&)> act;
};

class MpPlayerPreviewTest : public MpPlayerTest, public ::testing::WithParamInterface<PreviewCase>
{
};

// Whatever the preview instrument does in between, a released key leaves no
// voice of any preset sounding.
TEST_P(MpPlayerPreviewTest, releasedKeysLeaveNothingSounding)
{
    GetParam().act(player, context);
    context.clock += 1000;
    deliver(64);
    EXPECT_EQ(soundingVoices(player), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, MpPlayerPreviewTest,
    ::testing::Values(
        PreviewCase{"downChangeUp",
                    [](MpPlayer& player, MpTestContext&) {
                        player.keyDown(keyC4);
                        player.setPreviewInstrument(MnInstrumentGuitar);
                        ASSERT_EQ(soundingVoices(player, midiOf(keyC4), piano), 1);
                        player.keyUp(keyC4);
                    }},
        PreviewCase{"twoInstrumentsOnOneKey",
                    [](MpPlayer& player, MpTestContext&) {
                        player.keyDown(keyC4);
                        player.setPreviewInstrument(MnInstrumentViolin);
                        player.keyDown(keyC4);
                        ASSERT_EQ(soundingVoices(player, midiOf(keyC4), violin), 1);
                        player.setPreviewInstrument(MnInstrumentGuitar);
                        player.keyUp(keyC4);
                        player.keyUp(keyC4);
                    }},
        PreviewCase{"tapChangeTap",
                    [](MpPlayer& player, MpTestContext& context) {
                        player.keyTap(keyC4);
                        player.setPreviewInstrument(MnInstrumentGuitar);
                        context.clock += 100;
                        player.keyTap(keyC4);
                        ASSERT_EQ(soundingVoices(player, midiOf(keyC4), piano), 0);
                        ASSERT_EQ(soundingVoices(player, midiOf(keyC4), guitar), 1);
                        player.setPreviewInstrument(MnInstrumentViolin);
                    }},
        PreviewCase{"changeAfterATap",
                    [](MpPlayer& player, MpTestContext&) {
                        player.setPreviewInstrument(MnInstrumentTrumpet);
                        player.keyTap(keyE4);
                        player.setPreviewInstrument(MnInstrumentPiano);
                    }}),
    [](const ::testing::TestParamInfo<PreviewCase>& info) { return std::string(info.param.name); });

TEST_F(MpPlayerTest, keysOutsideTheirRangeAreRefused)
{
    for (int key : {-1, MpPlayer::keyCount})
        EXPECT_FALSE(player.keyTap(key)) << key;
    for (int key : {SfPerformer::lowestPreviewKey - 1, SfPerformer::highestPreviewKey + 1}) {
        EXPECT_FALSE(player.keyDown(key)) << key;
        EXPECT_FALSE(player.keyUp(key)) << key;
    }
    EXPECT_EQ(soundingVoices(player), 0);
}

// A MIDI keyboard reaches notes off the piano: held keys sound every note
// number and release it again.
TEST_F(MpPlayerTest, heldKeysReachEveryNoteNumber)
{
    for (int note : {0, 20, 109, 127}) {
        const int key = note - SfPerformer::lowestMidiKey;
        EXPECT_TRUE(player.keyDown(key)) << note;
        EXPECT_EQ(soundingVoices(player, note, piano), 1) << note;
        EXPECT_TRUE(player.keyUp(key)) << note;
        EXPECT_EQ(soundingVoices(player, note), 0) << note;
    }
    EXPECT_EQ(soundingVoices(player), 0);
}

} // namespace
