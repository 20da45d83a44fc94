#include "foundation/BcStringResources.h"

#include <atomic>

static std::atomic<const BcStringResources*> installed{nullptr};

BcStringResources::~BcStringResources() = default;

BcString BcStringResources::loadString(unsigned id) const
{
    switch (id) {
    case untitled:
        return BcString("Untitled");
    case unknown:
        return BcString("Unknown");
    case newText:
        return BcString("New text");
    case noInstrumentBank:
        return BcString("Quorvane plays no sound: there is no instrument bank at %1.");
    case damagedInstrumentBank:
        return BcString("Quorvane plays no sound: the instrument bank %1 is damaged (%2).");
    case noAudioDevice:
        return BcString("Quorvane plays no sound: there is no audio output device.");
    case audioDeviceFailed:
        return BcString("Quorvane plays no sound: the audio output device would not open (%1).");
    default:
        return BcString();
    }
}

const BcStringResources& BcStringResources::current()
{
    static const BcStringResources defaults;
    const BcStringResources* resources = installed.load(std::memory_order_acquire);
    return resources ? *resources : defaults;
}

void BcStringResources::install(const BcStringResources* resources)
{
    installed.store(resources, std::memory_order_release);
}
