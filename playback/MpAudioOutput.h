#pragma once

class BcString;

// The audio output device as the player needs it: 44100 Hz stereo buffers
// of 32-bit floats, about 4096 frames each, filled by a callback on the
// device's own thread; pause, the device lock that the device holds around
// every callback, close; and the output volume (low word left, high word
// right, 0xFFFF full). The platform implements it; the application installs
// a factory at start-up, and tests install fakes:
//
//     MpAudioOutput::installFactory(&MpAudioOutputOver<PlAudioOutput>::create);
class MpAudioOutput
{
public:
    using Callback = void (*)(void* userdata, unsigned char* buffer, int byteLength);

    virtual ~MpAudioOutput();

    // Starts the audio library; false with its reason.
    virtual bool initialize(BcString& error) = 0;
    virtual int deviceCount() const = 0;
    // Opens the default device, paused; false with the library's reason.
    virtual bool open(Callback callback, void* userdata, BcString& error) = 0;
    virtual void pause(bool paused) = 0;
    virtual void lockDevice() = 0;
    virtual void unlockDevice() = 0;
    // Closes the device, waiting for a running callback, and stops the
    // library.
    virtual void close() = 0;
    virtual unsigned volume() const = 0;
    virtual void setVolume(unsigned volume) = 0;

    // A new output (the caller owns it), or null when no factory is
    // installed or the output could not be made.
    using Factory = MpAudioOutput* (*)();
    static MpAudioOutput* create();
    // Not owned; null uninstalls.
    static void installFactory(Factory factory);
};

// An output over a platform device that offers the same operations under
// the same names, its volume as static functions, so that the playback
// layer never includes the platform.
template <class Device>
class MpAudioOutputOver : public MpAudioOutput
{
public:
    explicit MpAudioOutputOver(Device* device) : device(device) {}
    ~MpAudioOutputOver() override { delete device; }

    static MpAudioOutput* create()
    {
        Device* device = Device::create();
        return device ? new MpAudioOutputOver(device) : nullptr;
    }

    bool initialize(BcString& error) override { return device->initialize(error); }
    int deviceCount() const override { return device->deviceCount(); }
    bool open(Callback callback, void* userdata, BcString& error) override
    {
        return device->open(callback, userdata, error);
    }
    void pause(bool paused) override { device->pause(paused); }
    void lockDevice() override { device->lockDevice(); }
    void unlockDevice() override { device->unlockDevice(); }
    void close() override { device->close(); }
    unsigned volume() const override { return Device::volume(); }
    void setVolume(unsigned volume) override { Device::setVolume(volume); }

private:
    Device* device;
};
