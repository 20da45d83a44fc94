#include "render/ReServices.h"

#include <atomic>

static std::atomic<const ReServices*> installed{nullptr};

ReServices::~ReServices() = default;

bool ReServices::isNotePlaying(const MnChord*, int) const
{
    return false;
}

const ReServices& ReServices::current()
{
    static const ReServices defaults;
    const ReServices* services = installed.load(std::memory_order_acquire);
    return services ? *services : defaults;
}

void ReServices::install(const ReServices* services)
{
    installed.store(services, std::memory_order_release);
}
