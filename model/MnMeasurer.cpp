#include "model/MnMeasurer.h"

#include <atomic>

static std::atomic<const MnMeasurer*> installed{nullptr};
static std::atomic<unsigned int> installations{1};

MnMeasurer::~MnMeasurer() = default;

GeBox2d MnMeasurer::textExtents(const MnText&) const
{
    return GeBox2d();
}

double MnMeasurer::labelsLeftmostX(const MnScore&, bool) const
{
    return 0.0;
}

double MnMeasurer::textWidth(const BcString&, int, double, bool) const
{
    return 0.0;
}

unsigned int MnMeasurer::generation()
{
    return installations.load(std::memory_order_acquire);
}

const MnMeasurer& MnMeasurer::current()
{
    static const MnMeasurer neutral;
    const MnMeasurer* measurer = installed.load(std::memory_order_acquire);
    return measurer ? *measurer : neutral;
}

const MnMeasurer* MnMeasurer::install(const MnMeasurer* measurer)
{
    const MnMeasurer* previous = installed.exchange(measurer, std::memory_order_acq_rel);
    installations.fetch_add(1, std::memory_order_acq_rel);
    return previous;
}
