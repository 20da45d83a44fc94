#include "foundation/BcObject.h"

#include "foundation/BcClass.h"
#include "foundation/BcClassManager.h"
#include "foundation/BcString.h"

BcObject::~BcObject() = default;

BC_IMPLEMENT_CLASS(BcObject)

const BcClass* BcObject::registeredClass(const char* name)
{
    return BcClassManager::instance()->findClass(BcString(name));
}

bool BcObject::isKindOf(const BcClass* cls) const
{
    if (!cls)
        return false;
    const BcClass* own = dynamicClass();
    if (!own)
        return false;
    return own == cls || own->isDerivedFrom(cls);
}
