#pragma once

#include "foundation/BcObject.h"
#include "foundation/BcString.h"

// The class object of one registered class.
class BcClass : public BcObject
{
    BC_DECLARE_CLASS(BcClass)
public:
    ~BcClass() override;
    virtual BcString name() const = 0;
    // Null for a root.
    virtual const BcClass* baseClass() const = 0;
    // A class is not derived from itself.
    virtual bool isDerivedFrom(const BcClass* cls) const = 0;
    // This class or one derived from it.
    virtual bool isKindOf(const BcClass* cls) const = 0;
    // A new default instance, or null when the class has no factory.
    virtual BcObject* createObject() const = 0;
};
