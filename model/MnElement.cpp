#include "model/MnElement.h"

#include "foundation/BcMemoryFiler.h"
#include "model/MnLimits.h"

#include <atomic>
#include <cmath>

BC_IMPLEMENT_CLASS(MnElement)

// Elements die on the audio thread too (the player's private score).
static std::atomic<MnElement::DeathHook> deathHook{nullptr};

MnElement::~MnElement()
{
    DeathHook hook = deathHook.load(std::memory_order_acquire);
    if (hook)
        hook(this);
}

MnElement::DeathHook MnElement::installDeathHook(DeathHook hook)
{
    return deathHook.exchange(hook, std::memory_order_acq_rel);
}

bool MnElement::removeChild(MnElement*)
{
    return false;
}

bool MnElement::read(BcFiler&)
{
    return true;
}

bool MnElement::write(BcFiler&) const
{
    return true;
}

GePoint2d MnElement::dragPosition(const EdPath*) const
{
    return position();
}

bool MnElement::dragTo(const GePoint2d& point, const EdPath*)
{
    return moveTo(point);
}

bool MnElement::addGuideLines(BcArray<EdGuideLine*>&, const EdPath*)
{
    return true;
}

bool MnElement::addSnapPoints(BcArray<GePoint2d>& points)
{
    points.add(GePoint2d(0.0, 0.0));
    return true;
}

MnElement* MnElement::selectionTarget(const EdPath*)
{
    return this;
}

GePoint2d MnElement::toPageCoordinates(const GePoint2d& point, const EdPath*) const
{
    const MnElement* owner = parent();
    if (!owner)
        return point;
    GePoint2d origin = owner->toPageCoordinates(owner->position(), nullptr);
    return GePoint2d(origin.x + point.x, origin.y + point.y);
}

double MnElement::scale() const
{
    const MnElement* owner = parent();
    return owner ? owner->scale() : 1.0;
}

bool MnElement::isPosition(const GePoint2d& point)
{
    return mnIsCoordinate(point.x) && mnIsCoordinate(point.y);
}

bool MnElement::readPoint(BcFiler& filer, GePoint2d& point)
{
    double x = 0.0;
    double y = 0.0;
    if (!filer.readDouble(x) || !filer.readDouble(y))
        return false;
    const GePoint2d read(x, y);
    if (!isPosition(read))
        return false;
    point = read;
    return true;
}

bool MnElement::isMove(const GePoint2d& from, const GePoint2d& to)
{
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    return std::sqrt(dx * dx + dy * dy) > 1e-10;
}

bool MnElement::copyFrom(const MnElement* other)
{
    if (!other || other->dynamicClass() != dynamicClass())
        return false;
    BcMemoryFiler filer(BcMemoryFiler::currentVersion);
    if (!other->write(filer))
        return false;
    filer.rewind();
    return read(filer);
}
