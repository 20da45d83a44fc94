#include "common/EdFakeContext.h"
#include "common/MpFakeMidiInput.h"
#include "foundation/BcStringResources.h"
#include "playback/MpMidiHandOff.h"
#include "playback/UiMIDIInput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using Driver = MpFakeMidiInputDriver;
using Device = MpFakeMidiInputDriver::Device;
using Entered = MpFakeMidiInputHost::Entered;

constexpr int noteC4 = 60;
constexpr int keyC4 = noteC4 - 21;

std::string narrow(const BcString& text)
{
    return text.toNarrow(BcString::utf8CodePage);
}

std::string reasonText(unsigned id, const char* device = "")
{
    BcString text = BcStringResources::current().loadString(id);
    text.replaceAll(BcString("%1"), BcString(device));
    return narrow(text);
}

class UiMIDIInputTest : public ::testing::Test
{
protected:
    UiMIDIInputTest()
    {
        driver->devices = {Device{"Keyboard"}};
        input.setDriver(driver);
        input.setHost(&host);
        input.setHandOff(&queue);
    }

    // Opens the first device, as start-up does.
    void openKeyboard() { ASSERT_TRUE(input.open()) << narrow(input.openFailureReason()); }
    // Sends from the driver's thread, then hands everything to onData.
    void play(const std::vector<Driver::Timed>& messages)
    {
        driver->inject(messages);
        queue.drain(input);
    }
    void pollAt(unsigned long long tick)
    {
        context.clock = tick;
        input.pollDevices();
    }

    EdFakeContext context;
    Driver* driver = new Driver; // owned by the input
    MpFakeMidiInputHost host;
    MpMidiHandOffQueue queue;
    UiMIDIInput input;
};

struct OpenCase
{
    const char* name;
    std::vector<Device> devices;
    bool available;
    bool opens;
    const char* device;  // the device open, or the one named in the reason
    unsigned reason;     // 0: none
};

class UiMIDIInputOpenTest : public UiMIDIInputTest, public ::testing::WithParamInterface<OpenCase>
{
};

TEST_P(UiMIDIInputOpenTest, usesTheFirstDeviceThatWorks)
{
    const OpenCase& row = GetParam();
    driver->devices = row.devices;
    driver->available = row.available;
    EXPECT_EQ(input.open(), row.opens);
    EXPECT_EQ(input.isOpen(), row.opens);
    EXPECT_EQ(input.isStarted(), row.opens);
    EXPECT_EQ(driver->isOpen(), row.opens);
    if (row.opens) {
        EXPECT_EQ(narrow(input.deviceName()), row.device);
        EXPECT_EQ(driver->openDeviceName(), row.device);
        EXPECT_TRUE(input.openFailureReason().isEmpty());
    } else {
        EXPECT_TRUE(input.deviceName().isEmpty());
        EXPECT_EQ(narrow(input.openFailureReason()), reasonText(row.reason, row.device));
        EXPECT_FALSE(input.openFailureReason().isEmpty());
    }
    // Nothing is ever left open but the device in use.
    EXPECT_TRUE(input.close());
    EXPECT_FALSE(driver->isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Devices, UiMIDIInputOpenTest,
    ::testing::Values(
        OpenCase{"theFirst", {Device{"A"}, Device{"B"}}, true, true, "A", 0},
        OpenCase{"pastFailuresAtEachStep",
                 {Device{"caps", true}, Device{"open", false, true}, Device{"start", false, false, true}, Device{"D"}},
                 true, true, "D", 0},
        OpenCase{"noDevice", {}, true, false, "", UiMIDIInput::noDeviceString},
        OpenCase{"noReadableDevice", {Device{"caps", true}}, true, false, "", UiMIDIInput::noDeviceString},
        OpenCase{"noSequencer", {Device{"A"}}, false, false, "", UiMIDIInput::unavailableString},
        OpenCase{"noneOpensOrStarts", {Device{"First", false, false, true}, Device{"Second", false, true}}, true, false,
                 "First", UiMIDIInput::deviceFailedString}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

TEST_F(UiMIDIInputTest, aDeviceThatWouldNotStartIsClosedBeforeTheNext)
{
    driver->devices = {Device{"A", false, false, true}, Device{"B"}};
    openKeyboard();
    EXPECT_EQ(driver->calls, (std::vector<std::string>{"open 0", "start", "close", "open 1", "start"}));
}

TEST_F(UiMIDIInputTest, aNoteSoundsOnTheDriversThreadAndLightsItsKeyOnlyWhenHandled)
{
    openKeyboard();
    const std::thread::id sender = driver->inject({{Driver::noteOn(noteC4), 1000}});
    const std::vector<MpFakeMidiInputHost::Sound> sounds = host.soundsSoFar();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_TRUE(sounds[0].down);
    EXPECT_EQ(sounds[0].key, keyC4);
    EXPECT_EQ(sounds[0].thread, sender);
    EXPECT_NE(sender, std::this_thread::get_id());
    EXPECT_FALSE(host.heldKey(keyC4));
    EXPECT_TRUE(host.entered.empty());
    EXPECT_EQ(queue.pending(), 1);

    EXPECT_EQ(queue.drain(input), 1);
    EXPECT_TRUE(host.heldKey(keyC4));
    EXPECT_EQ(host.invalidations, 1);
    EXPECT_EQ(host.entered, (std::vector<Entered>{{keyC4, false}}));
}

TEST_F(UiMIDIInputTest, aNoteOnOfVelocityZeroEndsTheNote)
{
    for (bool recording : {false, true}) {
        SCOPED_TRACE(recording ? "recording" : "entering notes");
        MpFakeMidiInputHost fresh;
        Driver* keyboard = new Driver;
        keyboard->devices = {Device{"Keyboard"}};
        UiMIDIInput other;
        other.setDriver(keyboard);
        other.setHost(&fresh);
        other.setHandOff(&queue);
        ASSERT_TRUE(other.open());
        if (recording)
            fresh.recording.start(context.clock);
        context.clock += 100;
        keyboard->inject({{Driver::noteOn(noteC4), 1000}});
        queue.drain(other);
        context.clock += 250;
        keyboard->inject({{Driver::noteOn(noteC4, 0), 1250}});
        queue.drain(other);

        const std::vector<MpFakeMidiInputHost::Sound> sounds = fresh.soundsSoFar();
        ASSERT_EQ(sounds.size(), 2u);
        EXPECT_FALSE(sounds[1].down) << "the synthesizer note is released";
        EXPECT_EQ(sounds[1].key, keyC4);
        EXPECT_FALSE(fresh.heldKey(keyC4));
        EXPECT_EQ(fresh.invalidations, 2);
        if (recording) {
            EXPECT_TRUE(fresh.entered.empty());
            ASSERT_EQ(fresh.recording.events().count(), 1);
            EXPECT_EQ(fresh.recording.events()[0], (MrEvent{100, 350, keyC4}));
        } else {
            EXPECT_EQ(fresh.entered, (std::vector<Entered>{{keyC4, false}}));
        }
    }
}

// The driver posts while the interface drains: every message arrives, in
// the order posted.
TEST_F(UiMIDIInputTest, messagesAreHandledInTheOrderPosted)
{
    openKeyboard();
    host.threshold = 0;
    std::vector<Driver::Timed> messages;
    std::vector<Entered> expected;
    for (int i = 0; i < 3000; ++i) {
        const int key = (i * 7) % 88;
        messages.push_back({Driver::noteOn(key + 21), unsigned(i)});
        messages.push_back({Driver::noteOff(key + 21), unsigned(i)});
        expected.push_back(Entered{key, false});
    }
    std::atomic<bool> done{false};
    std::thread sender([&] {
        driver->deliver(messages);
        done = true;
    });
    while (!done)
        queue.drain(input);
    sender.join();
    queue.drain(input);
    EXPECT_EQ(host.entered, expected);
    EXPECT_EQ(host.heldCount(), 0);
}

struct ChordCase
{
    const char* name;
    std::vector<unsigned> timestamps;
    std::vector<bool> addToChord;
};

class UiMIDIInputChordTest : public UiMIDIInputTest, public ::testing::WithParamInterface<ChordCase>
{
};

TEST_P(UiMIDIInputChordTest, notesCloserThanTheThresholdFormAChord)
{
    const ChordCase& row = GetParam();
    host.threshold = 64;
    openKeyboard();
    std::vector<Entered> expected;
    for (size_t i = 0; i < row.timestamps.size(); ++i) {
        const int key = 30 + int(i);
        play({{Driver::noteOn(key + 21), row.timestamps[i]}});
        expected.push_back(Entered{key, row.addToChord[i]});
    }
    EXPECT_EQ(host.entered, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Timestamps, UiMIDIInputChordTest,
    ::testing::Values(ChordCase{"30msApart", {1000, 1030}, {false, true}},
                      ChordCase{"100msApart", {1000, 1100}, {false, false}},
                      ChordCase{"63and64msApart", {1000, 1063, 1127}, {false, true, false}},
                      // The time before the first note is 0, the start.
                      ChordCase{"firstNoteBelowTheThreshold", {40}, {true}},
                      ChordCase{"firstNoteAtTheThreshold", {64}, {false}}),
    [](const ::testing::TestParamInfo<ChordCase>& info) { return std::string(info.param.name); });

TEST_F(UiMIDIInputTest, aStopAndStartBeginsTheChordTimingAfresh)
{
    openKeyboard();
    play({{Driver::noteOn(noteC4), 5000}});
    ASSERT_TRUE(input.reset());
    ASSERT_TRUE(input.start());
    play({{Driver::noteOn(noteC4 + 2), 30}});
    EXPECT_EQ(host.entered, (std::vector<Entered>{{keyC4, false}, {keyC4 + 2, true}}));
}

TEST_F(UiMIDIInputTest, whileRecordingNotesGoOnlyToTheRecorder)
{
    openKeyboard();
    host.recording.start(context.clock);
    context.clock += 40;
    play({{Driver::noteOn(noteC4), 40}, {Driver::noteOn(noteC4 + 4), 45}});
    context.clock += 500;
    play({{Driver::noteOff(noteC4), 540}, {Driver::noteOff(noteC4 + 4), 540}});
    EXPECT_TRUE(host.entered.empty());
    ASSERT_EQ(host.recording.events().count(), 2);
    EXPECT_EQ(host.recording.events()[0], (MrEvent{40, 540, keyC4}));
    EXPECT_EQ(host.recording.events()[1], (MrEvent{40, 540, keyC4 + 4}));

    // Once it stops, notes are entered again.
    host.recording.stop();
    play({{Driver::noteOn(noteC4), 600}});
    EXPECT_EQ(host.entered, (std::vector<Entered>{{keyC4, false}}));
    EXPECT_EQ(host.recording.events().count(), 2);
}

// Notes off the piano sound; the key table, note entry and the recorder
// never see them (the fake host fails the test on any key outside 0..87).
TEST_F(UiMIDIInputTest, notesOffThePianoSoundButTouchNoTable)
{
    openKeyboard();
    host.recording.start(context.clock);
    const std::vector<int> notes = {0, 20, 109, 127};
    for (int note : notes)
        play({{Driver::noteOn(note), 1}, {Driver::noteOff(note), 2}});
    host.recording.stop();
    for (int note : notes)
        play({{Driver::noteOn(note), 1}, {Driver::noteOn(note, 0), 2}});

    const std::vector<MpFakeMidiInputHost::Sound> sounds = host.soundsSoFar();
    ASSERT_EQ(sounds.size(), 4 * notes.size());
    for (size_t i = 0; i < sounds.size(); ++i)
        EXPECT_EQ(sounds[i].key, notes[(i / 2) % notes.size()] - 21) << i;
    EXPECT_EQ(host.heldCount(), 0);
    EXPECT_EQ(host.invalidations, 0);
    EXPECT_TRUE(host.entered.empty());
    EXPECT_EQ(host.recording.events().count(), 0);
}

TEST_F(UiMIDIInputTest, otherMessagesSoundNothingAndAreNotPosted)
{
    openKeyboard();
    driver->inject({{0xB0u | 64u << 8 | 127u << 16, 1}, {0xC0u | 5u << 8, 2}, {0xF8u, 3}, {0xE0u | 0x40u << 16, 4}});
    EXPECT_TRUE(host.soundsSoFar().empty());
    EXPECT_EQ(queue.pending(), 0);
    // Active sensing is posted, and sounds nothing.
    driver->inject({{Driver::activeSensing, 5}});
    EXPECT_TRUE(host.soundsSoFar().empty());
    EXPECT_EQ(queue.pending(), 1);
}

TEST_F(UiMIDIInputTest, silenceAfterActiveSensingClosesTheDevice)
{
    context.clock = 1000;
    openKeyboard();
    context.clock = 2000;
    play({{Driver::activeSensing, 1000}, {Driver::noteOn(noteC4), 1001}});
    ASSERT_TRUE(host.heldKey(keyC4));
    pollAt(5999);
    EXPECT_TRUE(input.isOpen()) << "3999 ms of silence";
    pollAt(6000);
    EXPECT_FALSE(input.isOpen());
    EXPECT_FALSE(driver->isOpen());
    EXPECT_EQ(host.notesOff, 1);
    EXPECT_EQ(host.releases, 1);
    EXPECT_FALSE(host.heldKey(keyC4));
}

TEST_F(UiMIDIInputTest, withoutActiveSensingSilenceKeepsTheDeviceOpen)
{
    context.clock = 1000;
    openKeyboard();
    for (unsigned long long tick = 2000; tick < 60000; tick += 1000)
        pollAt(tick);
    EXPECT_TRUE(input.isOpen());
    EXPECT_EQ(host.notesOff, 0);
}

struct UnplugCase
{
    const char* name;
    std::vector<Device> devices;
    const char* pulled;
};

class UiMIDIInputUnplugTest : public UiMIDIInputTest, public ::testing::WithParamInterface<UnplugCase>
{
};

// A poll finding no device, or no longer finding the open one, closes the
// input; a device still there is opened at the poll 4 s later.
TEST_P(UiMIDIInputUnplugTest, aPollClosesAGoneDeviceAndOpensAPresentOne)
{
    const UnplugCase& row = GetParam();
    driver->devices = row.devices;
    context.clock = 1000;
    openKeyboard();
    pollAt(4000);
    ASSERT_TRUE(input.isOpen()) << "a poll that finds the device";
    play({{Driver::noteOn(noteC4), 10}});
    driver->unplug(row.pulled);
    pollAt(7999);
    EXPECT_TRUE(input.isOpen()) << "no poll yet";
    pollAt(8000);
    EXPECT_FALSE(input.isOpen());
    EXPECT_EQ(host.notesOff, 1);
    EXPECT_FALSE(host.heldKey(keyC4));

    pollAt(11999);
    EXPECT_FALSE(input.isOpen());
    pollAt(12000);
    EXPECT_EQ(input.isOpen(), !driver->devices.empty());
    if (input.isOpen()) {
        EXPECT_EQ(driver->openDeviceName(), driver->devices[0].name);
    }
    EXPECT_TRUE(input.openFailureReason().isEmpty() || driver->devices.empty());
}

INSTANTIATE_TEST_SUITE_P(Devices, UiMIDIInputUnplugTest,
                         ::testing::Values(UnplugCase{"theOnlyDevice", {Device{"A"}}, "A"},
                                           UnplugCase{"besideASecondKeyboard", {Device{"A"}, Device{"B"}}, "A"}),
                         [](const ::testing::TestParamInfo<UnplugCase>& info) { return std::string(info.param.name); });

TEST_F(UiMIDIInputTest, aClosedInputOpensAtTheNextPollThatFindsADevice)
{
    driver->devices.clear();
    context.clock = 1000;
    EXPECT_FALSE(input.open());
    pollAt(4000); // due: the first poll finds nothing
    driver->devices = {Device{"Late"}};
    pollAt(7999);
    EXPECT_FALSE(input.isOpen()) << "not yet due";
    pollAt(8000);
    EXPECT_TRUE(input.isOpen());
    EXPECT_EQ(narrow(input.deviceName()), "Late");
}

TEST_F(UiMIDIInputTest, aFailedResetLeavesTheDeviceOpenAndStarted)
{
    openKeyboard();
    driver->failReset = true;
    EXPECT_TRUE(input.close());
    EXPECT_TRUE(input.isOpen());
    EXPECT_TRUE(input.isStarted());
    EXPECT_TRUE(driver->isStarted());
    EXPECT_EQ(host.notesOff, 1);
    EXPECT_FALSE(input.reset());
    EXPECT_TRUE(input.isStarted());

    driver->failReset = false;
    EXPECT_TRUE(input.close());
    EXPECT_FALSE(input.isOpen());
}

TEST_F(UiMIDIInputTest, closeTwiceIsSafeAndAFailedCloseKeepsTheDevice)
{
    openKeyboard();
    driver->failClose = true;
    EXPECT_FALSE(input.close());
    EXPECT_TRUE(input.isOpen());
    EXPECT_FALSE(input.isStarted());
    driver->failClose = false;
    EXPECT_TRUE(input.close());
    EXPECT_TRUE(input.close());
    EXPECT_FALSE(input.isOpen());
    EXPECT_EQ(driver->calls, (std::vector<std::string>{"open 0", "start", "reset", "close", "close"}));
    // Nothing reaches the closed input.
    driver->inject({{Driver::noteOn(noteC4), 1}});
    EXPECT_TRUE(host.soundsSoFar().empty());
}

TEST_F(UiMIDIInputTest, aStoppedDeviceDeliversNothingUntilStarted)
{
    openKeyboard();
    play({{Driver::noteOn(noteC4), 1}});
    ASSERT_TRUE(input.reset());
    EXPECT_FALSE(input.isStarted());
    EXPECT_EQ(host.notesOff, 1);
    EXPECT_FALSE(host.heldKey(keyC4)) << "lit keys released";
    driver->inject({{Driver::noteOn(noteC4 + 1), 2}});
    EXPECT_EQ(host.soundsSoFar().size(), 1u);
    EXPECT_TRUE(input.start());
    driver->inject({{Driver::noteOn(noteC4 + 1), 3}});
    EXPECT_EQ(host.soundsSoFar().size(), 2u);
}

TEST_F(UiMIDIInputTest, withoutADriverOpenFailsQuietly)
{
    UiMIDIInput bare;
    EXPECT_FALSE(bare.open());
    EXPECT_EQ(narrow(bare.openFailureReason()), reasonText(UiMIDIInput::unavailableString));
    bare.pollDevices();
    EXPECT_FALSE(bare.isOpen());
    EXPECT_TRUE(bare.close());
}

} // namespace

namespace {

// The shell's event loop learns of every post on the posting thread, and
// what it drains arrives in order even when posts outrun the drains.
TEST(MpMidiHandOffQueueTest, wakesAfterEveryPostAndKeepsEverything)
{
    struct Woken
    {
        std::atomic<int> count{0};
        std::thread::id thread;
    } woken;
    MpMidiHandOffQueue queue;
    queue.setWake(
        [](void* data) {
            Woken& w = *static_cast<Woken*>(data);
            w.thread = std::this_thread::get_id();
            ++w.count;
        },
        &woken);
    std::thread::id poster;
    std::thread sender([&] {
        poster = std::this_thread::get_id();
        for (unsigned i = 0; i < 500; ++i)
            queue.post(i, 0x90u | (i % 128) << 8);
    });
    sender.join();
    EXPECT_EQ(woken.count, 500);
    EXPECT_EQ(woken.thread, poster);
    EXPECT_EQ(queue.pending(), 500);
    unsigned timestamp = 0;
    unsigned message = 0;
    for (unsigned i = 0; i < 500; ++i) {
        ASSERT_TRUE(queue.take(timestamp, message));
        EXPECT_EQ(timestamp, i);
        EXPECT_EQ(message, 0x90u | (i % 128) << 8);
    }
    EXPECT_FALSE(queue.take(timestamp, message));
}

} // namespace
