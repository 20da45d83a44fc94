#pragma once

#include "foundation/BcClass.h"

// The one implementation of the class object. Not registered itself, so it
// answers the class object of BcClass.
class BcClassImplementation : public BcClass
{
public:
    BcClassImplementation(const BcString& name, BcClassFactory factory);

    BcString name() const override;
    const BcClass* baseClass() const override;
    bool isDerivedFrom(const BcClass* cls) const override;
    bool isKindOf(const BcClass* cls) const override;
    BcObject* createObject() const override;

    void setBase(const BcClass* base);
    // Compares without copying the name.
    bool hasName(const BcString& name) const;

private:
    BcString className;
    const BcClass* base = nullptr;
    BcClassFactory factory = nullptr;
};
