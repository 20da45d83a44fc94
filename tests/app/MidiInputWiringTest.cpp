#include "ShellFixture.h"

#include "app/UiMidi.h"
#include "common/MpFakeMidiInput.h"
#include "editing/EdContext.h"
#include "foundation/BcStringResources.h"
#include "model/MnScore.h"

#include <memory>

namespace {

using Driver = MpFakeMidiInputDriver;

// The program's MIDI input and recorder inside the running application: the
// driver's thread hands its notes over the application's event loop, and the
// Record and MIDI input commands reach both through the editing context.
class MidiInputWiringTest : public ShellTest
{
protected:
    MidiInputWiringTest()
    {
        midi.input().setDriver(driver);
        midiService = &midi;
    }

    // Sends from the driver's thread and lets the interface thread take it.
    void play(const std::vector<Driver::Timed>& messages)
    {
        driver->inject(messages);
        pump(10);
    }

    UiMidi midi{nullptr};
    Driver* driver = new Driver; // owned by the input
};

TEST_F(MidiInputWiringTest, startUpOpensTheKeyboardAndItsNotesLightKeysThroughTheEventLoop)
{
    driver->devices = {Driver::Device{"Keyboard"}};
    ASSERT_TRUE(start());
    EdContext& context = EdContext::current();
    EXPECT_EQ(context.midiInputState(), EdContext::midiInputOn);

    play({{Driver::noteOn(60), 10}});
    EXPECT_TRUE(midi.isHeldByMidiInput(60 - 21));
    play({{Driver::noteOff(60), 20}});
    EXPECT_FALSE(midi.isHeldByMidiInput(60 - 21));

    // The command's stop and restart, then shut-down closes the device.
    EXPECT_TRUE(context.midiInputReset());
    EXPECT_EQ(context.midiInputState(), EdContext::midiInputOff);
    EXPECT_TRUE(context.midiInputStart());
    EXPECT_EQ(context.midiInputState(), EdContext::midiInputOn);
    stop();
    EXPECT_FALSE(midi.input().isOpen());
}

TEST_F(MidiInputWiringTest, withoutADeviceStartGoesOnQuietlyAndTheCommandLearnsWhy)
{
    ASSERT_TRUE(start());
    EdContext& context = EdContext::current();
    EXPECT_EQ(context.midiInputState(), EdContext::midiInputClosed);
    EXPECT_TRUE(boxes.texts.empty());
    BcString failure;
    EXPECT_FALSE(context.midiInputOpen(failure));
    EXPECT_TRUE(failure == BcString(BcStringResources::current().loadString(BcStringResources::noMidiInputDevice)));
    stop();
}

TEST_F(MidiInputWiringTest, notesPlayedWhileRecordingGoToTheRecorder)
{
    driver->devices = {Driver::Device{"Keyboard"}};
    ASSERT_TRUE(start());
    EdContext& context = EdContext::current();
    context.recorderStart(context.tickCount());
    ASSERT_TRUE(context.recorderIsRecording());
    play({{Driver::noteOn(60), 0}, {Driver::noteOff(60), 100}});
    play({{Driver::noteOn(62), 500}, {Driver::noteOff(62), 600}});
    context.recorderStop();
    EXPECT_FALSE(context.recorderIsRecording());
    EXPECT_EQ(midi.recorder()->events().count(), 2);
    stop();
}

}
