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
