#include "playback/MpMidiInputDriver.h"

#include <atomic>

namespace {

std::atomic<MpMidiInputDriver::Factory> installedFactory{nullptr};

} // namespace

MpMidiInputDriver::~MpMidiInputDriver() = default;

MpMidiInputDriver* MpMidiInputDriver::create()
{
    Factory factory = installedFactory.load(std::memory_order_acquire);
    return factory ? factory() : nullptr;
}

void MpMidiInputDriver::installFactory(Factory factory)
{
    installedFactory.store(factory, std::memory_order_release);
}
