#pragma once

#include "foundation/BcString.h"
#include "playback/MpAudioOutput.h"
#include "playback/MpPlayer.h"

#include <atomic>
#include <mutex>
#include <vector>

// An audio output with no device: the test delivers buffers itself, inside
// the fake's device lock as a real device would, and the fake counts every
// time someone takes its device lock while holding playbackLock.
class MpFakeAudioOutput : public MpAudioOutput
{
public:
    // How the next outputs made by the factory behave.
    struct Setup
    {
        bool initializes = true;
        int devices = 1;
        bool opens = true;
    };

    static Setup& setup()
    {
        static Setup values;
        return values;
    }
    // The output the factory made last, while it lives.
    static MpFakeAudioOutput*& latest()
    {
        static MpFakeAudioOutput* output = nullptr;
        return output;
    }
    static MpAudioOutput* create()
    {
        MpFakeAudioOutput* output = new MpFakeAudioOutput(setup());
        latest() = output;
        return output;
    }

    explicit MpFakeAudioOutput(const Setup& behaviour) : behaviour(behaviour) {}
    ~MpFakeAudioOutput() override
    {
        if (latest() == this)
            latest() = nullptr;
    }

    bool initialize(BcString& error) override
    {
        if (!behaviour.initializes)
            error = BcString("no driver works");
        return behaviour.initializes;
    }
    int deviceCount() const override { return behaviour.devices; }
    bool open(Callback deliverTo, void* data, BcString& error) override
    {
        if (!behaviour.opens) {
            error = BcString("device busy");
            return false;
        }
        std::lock_guard<std::mutex> hold(deviceLock);
        callback = deliverTo;
        userdata = data;
        paused = true;
        return true;
    }
    void pause(bool pause) override
    {
        checkOrder();
        std::lock_guard<std::mutex> hold(deviceLock);
        paused = pause;
    }
    void lockDevice() override
    {
        checkOrder();
        deviceLock.lock();
    }
    void unlockDevice() override { deviceLock.unlock(); }
    void close() override
    {
        checkOrder();
        std::lock_guard<std::mutex> hold(deviceLock);
        callback = nullptr;
        userdata = nullptr;
        ++closes;
    }
    unsigned volume() const override { return systemVolume(); }
    void setVolume(unsigned volume) override { systemVolume() = volume; }
    // One word for the process, as the system's volume would be.
    static std::atomic<unsigned>& systemVolume()
    {
        static std::atomic<unsigned> word{0xFFFFFFFFu};
        return word;
    }

    // One buffer of interleaved stereo frames as the device would ask for
    // it; silence while paused or closed.
    std::vector<float> deliver(int frames)
    {
        std::vector<float> samples(static_cast<size_t>(frames) * 2, 0.0f);
        deliverInto(samples.data(), frames);
        return samples;
    }
    void deliverInto(float* samples, int frames)
    {
        std::lock_guard<std::mutex> hold(deviceLock);
        if (callback && !paused)
            callback(userdata, reinterpret_cast<unsigned char*>(samples), frames * 2 * int(sizeof(float)));
    }

    bool isPaused()
    {
        std::lock_guard<std::mutex> hold(deviceLock);
        return paused;
    }

    // Device locks taken inside playbackLock.
    std::atomic<int> orderViolations{0};
    int closes = 0;

private:
    void checkOrder()
    {
        if (MpPlayer::holdsPlaybackLock())
            ++orderViolations;
    }

    Setup behaviour;
    std::mutex deviceLock;
    Callback callback = nullptr;
    void* userdata = nullptr;
    bool paused = true;
};

// Installs the fake's factory with the given behaviour while it lives.
class MpFakeOutputInstalled
{
public:
    explicit MpFakeOutputInstalled(MpFakeAudioOutput::Setup behaviour = {})
    {
        MpFakeAudioOutput::setup() = behaviour;
        MpFakeAudioOutput::systemVolume() = 0xFFFFFFFFu;
        MpAudioOutput::installFactory(&MpFakeAudioOutput::create);
    }
    ~MpFakeOutputInstalled()
    {
        MpAudioOutput::installFactory(nullptr);
        MpFakeAudioOutput::setup() = MpFakeAudioOutput::Setup();
    }
    MpFakeOutputInstalled(const MpFakeOutputInstalled&) = delete;
    MpFakeOutputInstalled& operator=(const MpFakeOutputInstalled&) = delete;
};
