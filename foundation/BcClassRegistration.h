#pragma once

#include "foundation/BcObject.h"
#include "foundation/BcString.h"

// One registration as recorded at start-up, before linking.
struct BcClassRegistration
{
    BcString name;
    // "NULL" for a root.
    BcString baseName;
    BcClassFactory factory = nullptr;
};
