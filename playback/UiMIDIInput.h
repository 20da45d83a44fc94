#pragma once

#include "foundation/BcObject.h"
#include "foundation/BcString.h"
#include "foundation/BcStringResources.h"

class MpMidiHandOff;
class MpMidiInputDriver;
class UiMIDIInputHost;

// Connects one MIDI input device to the program. Its notes sound at once
// through the player, light the keys of the instrument panels, and enter
// notes at the cursor (close onsets form a chord) or, while recording, go
// to the recorder. The application owns the one input: it opens it at
// start-up, runs pollDevices on every idle pass and closes it at exit.
//
// Two threads take part. The driver calls midiInProc on its own thread,
// which sounds the note and posts the message through the hand-off; it
// touches nothing else. Everything else runs on the user-interface thread,
// in onData, in the order the messages were posted.
class UiMIDIInput : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(UiMIDIInput)
public:
    // A device counts as gone after more than this many milliseconds of
    // silence once it has sent active sensing; polls are as far apart.
    static constexpr unsigned long long silenceMilliseconds = 3999;
    static constexpr int lowestNote = 21; // A0, key index 0
    static constexpr int keyCount = 88;

    // Why open failed: the ids of the string table.
    static constexpr unsigned noDeviceString = BcStringResources::noMidiInputDevice;
    static constexpr unsigned unavailableString = BcStringResources::midiInputUnavailable;
    static constexpr unsigned deviceFailedString = BcStringResources::midiInputDeviceFailed;

    UiMIDIInput();
    // Closes the input and deletes its driver.
    ~UiMIDIInput() override;
    UiMIDIInput(const UiMIDIInput&) = delete;
    UiMIDIInput& operator=(const UiMIDIInput&) = delete;

    // What the input works with; each refused while a device is open.
    // The driver is owned; without one, the first open or poll makes one
    // through MpMidiInputDriver::create. Host and hand-off are not owned.
    bool setDriver(MpMidiInputDriver* driver);
    bool setHost(UiMIDIInputHost* host);
    bool setHandOff(MpMidiHandOff* handOff);

    // Opens and starts the first device whose capabilities, open and start
    // succeed. False when none does, the input closed and
    // openFailureReason saying why (no device, no MIDI service, or the
    // device that would not open or start). True at once when open.
    bool open();
    // Stops (as reset) and closes the device. True when nothing is open, and
    // when a failed reset leaves the device open and started; false when
    // the device would not close.
    bool close();
    // The MIDI input command's stop, the first half of close: synthesizer
    // notes off, lit keys released, delivery stopped. False when no device
    // is open and started, or the reset failed (the device stays started).
    bool reset();
    // The MIDI input command's restart of a stopped device.
    bool start();

    // The hot-plug rules, run on every idle pass: an open device that no
    // longer enumerates (polled every 4 s) or that has gone silent after
    // active sensing is closed; with none open, a poll that finds devices
    // opens one. Quiet: a failed open keeps its reason and nothing more.
    void pollDevices();

    // The driver's callback, on the driver's thread; userdata is the input's
    // route to its host and hand-off.
    static void midiInProc(void* userdata, unsigned message, unsigned timestamp);
    // A posted message, on the user-interface thread.
    void onData(unsigned timestamp, unsigned message);

    bool isOpen() const { return deviceOpen; }
    bool isStarted() const { return started; }
    // The product name of the open device, for display.
    const BcString& deviceName() const { return name; }
    // Empty after a successful open.
    const BcString& openFailureReason() const { return failureReason; }

private:
    // What the driver's thread may reach; fixed while a device is open.
    struct Route
    {
        UiMIDIInputHost* host = nullptr;
        MpMidiHandOff* handOff = nullptr;
    };

    bool ensureDriver();
    bool fail(unsigned stringId, const BcString& device = BcString());
    void noteOn(int key, unsigned timestamp);
    void noteOff(int key);

    MpMidiInputDriver* driver = nullptr;
    Route route;
    bool deviceOpen = false;
    BcString name;
    bool started = false;
    unsigned long long lastPollTick = 0;
    unsigned long long lastActiveSensingTick = 0;
    unsigned lastNoteOnTimestamp = 0;
    BcString failureReason;
};
