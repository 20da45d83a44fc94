#pragma once

#include "foundation/BcString.h"

// The default audio output device through SDL2: 44100 Hz, two channels of
// 32-bit floats, buffers of 4096 frames filled by a callback on SDL's own
// thread (SDL converts to whatever the device takes).
//
// The output volume is one word for the whole process, as a sound card's
// mixer would hold it: the low 16 bits scale the left channel, the high 16
// bits the right, 0xFFFF being full. Every run starts at full volume.
class PlAudioOutput
{
public:
    using Callback = void (*)(void* userdata, unsigned char* buffer, int byteLength);

    static constexpr int sampleRate = 44100;
    static constexpr int channels = 2;
    static constexpr int bufferFrames = 4096;
    static constexpr unsigned fullVolume = 0xFFFFFFFFu;

    // Nothing is started yet.
    static PlAudioOutput* create();
    ~PlAudioOutput();
    PlAudioOutput(const PlAudioOutput&) = delete;
    PlAudioOutput& operator=(const PlAudioOutput&) = delete;

    // Starts SDL's audio subsystem with the driver that SDL_AUDIODRIVER
    // names, or the first that works; false with SDL's reason.
    bool initialize(BcString& error);
    // Output devices that SDL knows of; 0 or less when it knows none.
    int deviceCount() const;
    // Opens the default output device, paused, with the callback; false
    // with SDL's reason when it will not open or one is open already.
    bool open(Callback callback, void* userdata, BcString& error);
    void pause(bool paused);
    // SDL holds the device lock around every callback.
    void lockDevice();
    void unlockDevice();
    // Closes the device (waiting for a callback that runs) and stops the
    // audio subsystem; safe when nothing was started.
    void close();

    static unsigned volume();
    static void setVolume(unsigned volume);

private:
    PlAudioOutput() = default;
    static void deliver(void* self, unsigned char* buffer, int byteLength);

    bool started = false;
    unsigned device = 0;
    Callback callback = nullptr;
    void* userdata = nullptr;
};
