#include "foundation/GeUtil.h"

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CLASS(GeUtil)
