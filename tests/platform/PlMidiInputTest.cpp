#include "common/EdFakeContext.h"
#include "platform/PlMidiInput.h"
#include "playback/MpMidiHandOff.h"
#include "playback/MpMidiInputDriver.h"
#include "playback/UiMIDIInput.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <unistd.h>

namespace {

struct PortCase
{
    const char* port;
    bool device;
    const char* shown;
};

class PlMidiInputPortTest : public ::testing::TestWithParam<PortCase>
{
};

TEST_P(PlMidiInputPortTest, onlyOtherClientsPortsAreDevices)
{
    const PortCase& row = GetParam();
    EXPECT_EQ(PlMidiInput::isDevicePort(row.port, PlMidiInput::clientName), row.device) << row.port;
    EXPECT_EQ(PlMidiInput::displayName(row.port), row.shown) << row.port;
}

INSTANTIATE_TEST_SUITE_P(
    Ports, PlMidiInputPortTest,
    ::testing::Values(PortCase{"Midi Through:Midi Through Port-0 14:0", false, "Midi Through Port-0"},
                      PortCase{"Quorvane:Quorvane Input 128:0", false, "Quorvane Input"},
                      PortCase{"USB Keyboard:USB Keyboard MIDI 1 20:0", true, "USB Keyboard MIDI 1"},
                      PortCase{"Digital Piano:Digital Piano Port 2 24:1", true, "Digital Piano Port 2"},
                      // A client that merely starts like the through port.
                      PortCase{"Midi Throughput Box:Out 1 28:0", true, "Out 1"},
                      PortCase{"Quorvane Helper:Out 129:0", true, "Out"},
                      // Names without RtMidi's address are shown as they are.
                      PortCase{"Keys:Model 8", true, "Model 8"},
                      PortCase{"Synth", true, "Synth"}));

bool hasSequencer()
{
    return ::access("/dev/snd/seq", R_OK | W_OK) == 0;
}

// Where there is no sequencer (as on CI) the driver lists nothing and
// refuses to open, and the input says why, all without an exception.
TEST(PlMidiInputTest, withoutASequencerThereAreNoDevices)
{
    if (hasSequencer())
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    std::unique_ptr<PlMidiInput> driver(PlMidiInput::create());
    ASSERT_NE(driver, nullptr);
    EXPECT_FALSE(driver->isAvailable());
    EXPECT_EQ(driver->deviceCount(), 0);
    BcString name;
    EXPECT_FALSE(driver->productName(0, name));
    EXPECT_FALSE(driver->open(0, [](void*, unsigned, unsigned) {}, nullptr));
    EXPECT_FALSE(driver->start());
    EXPECT_FALSE(driver->reset());
    EXPECT_FALSE(driver->close());
    EXPECT_FALSE(driver->isOpenDevicePresent());

    EdFakeContext context;
    MpMidiHandOffQueue queue;
    UiMIDIInput input;
    input.setDriver(MpMidiInputDriverOver<PlMidiInput>::create());
    input.setHandOff(&queue);
    EXPECT_FALSE(input.open());
    EXPECT_FALSE(input.isOpen());
    EXPECT_EQ(input.openFailureReason(), BcStringResources::current().loadString(UiMIDIInput::unavailableString));
    context.clock += 10000;
    input.pollDevices();
    EXPECT_FALSE(input.isOpen());
}

// With a sequencer the driver lists only other clients' ports and answers
// every call; a keyboard itself is checked by hand.
TEST(PlMidiInputTest, withASequencerTheListHoldsNoOwnPort)
{
    if (!hasSequencer())
        GTEST_SKIP() << "no ALSA sequencer here";
    std::unique_ptr<PlMidiInput> driver(PlMidiInput::create());
    ASSERT_TRUE(driver->isAvailable());
    const int count = driver->deviceCount();
    for (int i = 0; i < count; ++i) {
        BcString name;
        EXPECT_TRUE(driver->productName(i, name));
    }
    EXPECT_FALSE(driver->open(count, [](void*, unsigned, unsigned) {}, nullptr));
    EXPECT_FALSE(driver->isOpenDevicePresent());
}

} // namespace
