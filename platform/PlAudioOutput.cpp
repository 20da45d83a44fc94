#include "platform/PlAudioOutput.h"

#include <SDL.h>

#include <atomic>

static std::atomic<unsigned> outputVolume{PlAudioOutput::fullVolume};

PlAudioOutput* PlAudioOutput::create()
{
    return new PlAudioOutput();
}

PlAudioOutput::~PlAudioOutput()
{
    close();
}

bool PlAudioOutput::initialize(BcString& error)
{
    if (started)
        return true;
    // Not SDL_AudioInit: that would try the drivers in SDL's own order and
    // lose the one that SDL_AUDIODRIVER chose.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = BcString(SDL_GetError());
        return false;
    }
    started = true;
    return true;
}

int PlAudioOutput::deviceCount() const
{
    return started ? SDL_GetNumAudioDevices(0) : 0;
}

bool PlAudioOutput::open(Callback deliverTo, void* data, BcString& error)
{
    if (!started) {
        error = BcString("audio is not started");
        return false;
    }
    if (device != 0) {
        error = BcString("the device is open already");
        return false;
    }
    callback = deliverTo;
    userdata = data;
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = sampleRate;
    want.format = AUDIO_F32LSB;
    want.channels = channels;
    want.samples = bufferFrames;
    want.callback = &PlAudioOutput::deliver;
    want.userdata = this;
    SDL_AudioSpec have;
    // No changes allowed: SDL converts, so the callback always gets what
    // was asked for.
    SDL_AudioDeviceID opened = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (opened == 0) {
        error = BcString(SDL_GetError());
        callback = nullptr;
        userdata = nullptr;
        return false;
    }
    device = opened;
    return true;
}

void PlAudioOutput::pause(bool paused)
{
    if (device != 0)
        SDL_PauseAudioDevice(device, paused ? 1 : 0);
}

void PlAudioOutput::lockDevice()
{
    if (device != 0)
        SDL_LockAudioDevice(device);
}

void PlAudioOutput::unlockDevice()
{
    if (device != 0)
        SDL_UnlockAudioDevice(device);
}

void PlAudioOutput::close()
{
    if (device != 0) {
        SDL_CloseAudioDevice(device);
        device = 0;
    }
    callback = nullptr;
    userdata = nullptr;
    if (started) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        started = false;
    }
}

unsigned PlAudioOutput::volume()
{
    return outputVolume.load(std::memory_order_relaxed);
}

void PlAudioOutput::setVolume(unsigned volume)
{
    outputVolume.store(volume, std::memory_order_relaxed);
}

// The volume is applied after the callback, as a mixer would.
void PlAudioOutput::deliver(void* self, unsigned char* buffer, int byteLength)
{
    PlAudioOutput* output = static_cast<PlAudioOutput*>(self);
    if (output->callback)
        output->callback(output->userdata, buffer, byteLength);
    else
        SDL_memset(buffer, 0, static_cast<size_t>(byteLength));
    const unsigned volume = outputVolume.load(std::memory_order_relaxed);
    if (volume == fullVolume)
        return;
    const float left = float(volume & 0xFFFFu) / 65535.0f;
    const float right = float(volume >> 16) / 65535.0f;
    float* samples = reinterpret_cast<float*>(buffer);
    const int frames = byteLength / int(channels * sizeof(float));
    for (int i = 0; i < frames; ++i) {
        samples[2 * i] *= left;
        samples[2 * i + 1] *= right;
    }
}
