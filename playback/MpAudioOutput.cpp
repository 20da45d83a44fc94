#include "playback/MpAudioOutput.h"

#include <atomic>

static std::atomic<MpAudioOutput::Factory> installedFactory{nullptr};

MpAudioOutput::~MpAudioOutput() = default;

MpAudioOutput* MpAudioOutput::create()
{
    Factory factory = installedFactory.load(std::memory_order_acquire);
    return factory ? factory() : nullptr;
}

void MpAudioOutput::installFactory(Factory factory)
{
    installedFactory.store(factory, std::memory_order_release);
}
