#pragma once

#include "foundation/BcObject.h"

// Registered for the completeness of the geometry family; it has no state
// and no operations of its own.
class GeUtil : public BcObject
{
    BC_DECLARE_CLASS(GeUtil)
};
