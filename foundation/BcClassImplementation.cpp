#include "foundation/BcClassImplementation.h"

BcClassImplementation::BcClassImplementation(const BcString& name, BcClassFactory factory)
    : className(name), factory(factory)
{
}

BcString BcClassImplementation::name() const
{
    return className;
}

const BcClass* BcClassImplementation::baseClass() const
{
    return base;
}

bool BcClassImplementation::isDerivedFrom(const BcClass* cls) const
{
    if (!base || !cls)
        return false;
    if (base == cls)
        return true;
    return base->isDerivedFrom(cls);
}

bool BcClassImplementation::isKindOf(const BcClass* cls) const
{
    if (!cls)
        return false;
    return cls == this || isDerivedFrom(cls);
}

BcObject* BcClassImplementation::createObject() const
{
    return factory ? factory() : nullptr;
}

void BcClassImplementation::setBase(const BcClass* newBase)
{
    base = newBase;
}

bool BcClassImplementation::hasName(const BcString& name) const
{
    return className == name;
}
