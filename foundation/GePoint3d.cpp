#include "foundation/GePoint3d.h"

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CREATABLE_CLASS(GePoint3d)

constinit const GePoint3d GePoint3d::origin;
