#include "playback/UiMIDIInput.h"

#include "editing/EdContext.h"
#include "playback/MpMidiHandOff.h"
#include "playback/MpMidiInputDriver.h"
#include "playback/MrRecorder.h"
#include "playback/UiMIDIInputHost.h"

BC_IMPLEMENT_CREATABLE_CLASS(UiMIDIInput)

UiMIDIInputHost::~UiMIDIInputHost() = default;

namespace {

constexpr unsigned activeSensing = 0xFE;

struct Message
{
    unsigned status;
    unsigned key;
    unsigned velocity;

    explicit Message(unsigned message)
        : status(message & 0xFF), key((message >> 8) & 0xFF), velocity((message >> 16) & 0xFF)
    {
    }
    bool isNoteOn() const { return (status & 0xF0) == 0x90 && velocity > 0; }
    // A note on with velocity 0 ends the note, as many keyboards send it.
    bool isNoteOff() const { return (status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && velocity == 0); }
};

} // namespace

UiMIDIInput::UiMIDIInput() = default;

UiMIDIInput::~UiMIDIInput()
{
    close();
    delete driver;
}

bool UiMIDIInput::setDriver(MpMidiInputDriver* newDriver)
{
    if (deviceOpen)
        return false;
    delete driver;
    driver = newDriver;
    return true;
}

bool UiMIDIInput::setHost(UiMIDIInputHost* host)
{
    if (deviceOpen)
        return false;
    route.host = host;
    return true;
}

bool UiMIDIInput::setHandOff(MpMidiHandOff* handOff)
{
    if (deviceOpen)
        return false;
    route.handOff = handOff;
    return true;
}

bool UiMIDIInput::ensureDriver()
{
    if (!driver)
        driver = MpMidiInputDriver::create();
    return driver != nullptr;
}

bool UiMIDIInput::fail(unsigned stringId, const BcString& device)
{
    BcString text = BcStringResources::current().loadString(stringId);
    text.replaceAll(BcString("%1"), device);
    failureReason = text;
    return false;
}

bool UiMIDIInput::open()
{
    if (deviceOpen)
        return true;
    if (!ensureDriver() || !driver->isAvailable())
        return fail(unavailableString);
    const int count = driver->deviceCount();
    bool anyFailed = false;
    BcString firstFailed;
    for (int device = 0; device < count; ++device) {
        BcString product;
        if (!driver->productName(device, product))
            continue;
        if (!driver->open(device, &UiMIDIInput::midiInProc, &route)) {
            if (!anyFailed)
                firstFailed = product;
            anyFailed = true;
            continue;
        }
        deviceOpen = true;
        name = product;
        started = driver->start();
        if (started) {
            failureReason = BcString();
            return true;
        }
        if (!anyFailed)
            firstFailed = product;
        anyFailed = true;
        // A device that will not close cannot make way for the next one.
        if (!close())
            break;
    }
    return anyFailed ? fail(deviceFailedString, firstFailed) : fail(noDeviceString);
}

bool UiMIDIInput::reset()
{
    if (!deviceOpen || !started)
        return false;
    // Delivery stops first: a note struck on the driver's thread in
    // between would otherwise sound on after every note was released.
    const bool stopped = driver->reset();
    started = !stopped;
    if (route.host) {
        route.host->noteOffAll();
        route.host->releaseMidiInputKeys();
    }
    if (stopped) {
        lastActiveSensingTick = 0;
        lastNoteOnTimestamp = 0;
    }
    return stopped;
}

bool UiMIDIInput::start()
{
    if (!deviceOpen || started)
        return started;
    started = driver->start();
    return started;
}

bool UiMIDIInput::close()
{
    if (!deviceOpen)
        return true;
    // A failed reset leaves the device started; the next poll that finds it
    // gone tries again.
    if (started && !reset())
        return true;
    if (!driver->close())
        return false;
    deviceOpen = false;
    name = BcString();
    return true;
}

void UiMIDIInput::pollDevices()
{
    const unsigned long long now = EdContext::current().tickCount();
    const bool pollDue = now - lastPollTick > silenceMilliseconds;
    if (pollDue)
        lastPollTick = now;
    if (deviceOpen) {
        // The count alone misses a keyboard unplugged beside a second one.
        bool gone = pollDue && (driver->deviceCount() == 0 || !driver->isOpenDevicePresent());
        if (!gone && started && lastActiveSensingTick != 0 && now - lastActiveSensingTick > silenceMilliseconds)
            gone = true;
        if (gone)
            close();
        return;
    }
    if (pollDue && ensureDriver() && driver->deviceCount() > 0)
        open();
}

void UiMIDIInput::midiInProc(void* userdata, unsigned message, unsigned timestamp)
{
    const Route* route = static_cast<const Route*>(userdata);
    if (!route)
        return;
    const Message data(message);
    if (data.status != activeSensing) {
        if (data.isNoteOn()) {
            if (route->host)
                route->host->keyDown(int(data.key) - lowestNote);
        } else if (data.isNoteOff()) {
            if (route->host)
                route->host->keyUp(int(data.key) - lowestNote);
        } else {
            return;
        }
    }
    if (route->handOff)
        route->handOff->post(timestamp, message);
}

void UiMIDIInput::onData(unsigned timestamp, unsigned message)
{
    const Message data(message);
    if (data.status == activeSensing) {
        if (started)
            lastActiveSensingTick = EdContext::current().tickCount();
        return;
    }
    if (data.status >= 0xF0)
        return;
    // Notes beyond the piano sounded on the driver's thread; the key table,
    // note entry and the recorder know only its 88 keys.
    const int key = int(data.key) - lowestNote;
    if (key < 0 || key >= keyCount || !route.host)
        return;
    if (data.isNoteOff())
        noteOff(key);
    else if (data.isNoteOn())
        noteOn(key, timestamp);
}

void UiMIDIInput::noteOff(int key)
{
    UiMIDIInputHost& host = *route.host;
    if (host.isHeldByMidiInput(key)) {
        host.setHeldByMidiInput(key, false);
        host.invalidatePanels();
    }
    MrRecorder* recorder = host.recorder();
    if (recorder && recorder->isRecording())
        recorder->releaseKey(EdContext::current().tickCount(), key);
}

void UiMIDIInput::noteOn(int key, unsigned timestamp)
{
    UiMIDIInputHost& host = *route.host;
    if (!host.isHeldByMidiInput(key)) {
        host.setHeldByMidiInput(key, true);
        host.invalidatePanels();
    }
    MrRecorder* recorder = host.recorder();
    if (recorder && recorder->isRecording()) {
        recorder->addEvent(EdContext::current().tickCount(), key);
        return;
    }
    const int threshold = host.chordThreshold();
    const unsigned window = threshold > 0 ? unsigned(threshold) : 0u;
    host.enterNote(key, timestamp - lastNoteOnTimestamp < window);
    lastNoteOnTimestamp = timestamp;
}
