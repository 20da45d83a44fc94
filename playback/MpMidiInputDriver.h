#pragma once

class BcString;

// The MIDI input devices of the system as the MIDI input needs them: count,
// product names, one device open at a time with a callback, start, reset
// (stops delivery, the device stays open) and close. The callback runs on
// the driver's own thread with a short message packed as status | data1 << 8
// | data2 << 16 and its time stamp in milliseconds since the last start.
// Once reset or close returns no callback runs. The platform implements it;
// the application installs a factory at start-up, and tests install fakes:
//
//     MpMidiInputDriver::installFactory(&MpMidiInputDriverOver<PlMidiInput>::create);
class MpMidiInputDriver
{
public:
    using Callback = void (*)(void* userdata, unsigned message, unsigned timestamp);

    virtual ~MpMidiInputDriver();

    // False when the system's MIDI service cannot be reached (no sequencer):
    // there are then no devices.
    virtual bool isAvailable() = 0;
    virtual int deviceCount() = 0;
    // The device's capabilities: false when they cannot be read.
    virtual bool productName(int device, BcString& name) = 0;
    virtual bool open(int device, Callback callback, void* userdata) = 0;
    virtual bool start() = 0;
    virtual bool reset() = 0;
    virtual bool close() = 0;
    // Whether the open device still enumerates; false when none is open.
    virtual bool isOpenDevicePresent() = 0;

    // A new driver (the caller owns it), or null when no factory is
    // installed or the driver could not be made.
    using Factory = MpMidiInputDriver* (*)();
    static MpMidiInputDriver* create();
    // Not owned; null uninstalls.
    static void installFactory(Factory factory);
};

// A driver over a platform device list that offers the same operations
// under the same names, so that the playback layer never includes the
// platform.
template <class Device>
class MpMidiInputDriverOver : public MpMidiInputDriver
{
public:
    explicit MpMidiInputDriverOver(Device* device) : device(device) {}
    ~MpMidiInputDriverOver() override { delete device; }
    MpMidiInputDriverOver(const MpMidiInputDriverOver&) = delete;
    MpMidiInputDriverOver& operator=(const MpMidiInputDriverOver&) = delete;

    static MpMidiInputDriver* create()
    {
        Device* device = Device::create();
        return device ? new MpMidiInputDriverOver(device) : nullptr;
    }

    bool isAvailable() override { return device->isAvailable(); }
    int deviceCount() override { return device->deviceCount(); }
    bool productName(int index, BcString& name) override { return device->productName(index, name); }
    bool open(int index, Callback callback, void* userdata) override
    {
        return device->open(index, callback, userdata);
    }
    bool start() override { return device->start(); }
    bool reset() override { return device->reset(); }
    bool close() override { return device->close(); }
    bool isOpenDevicePresent() override { return device->isOpenDevicePresent(); }

private:
    Device* device;
};
