#include "foundation/BcClass.h"

#include "foundation/BcClassManager.h"

BcClass::~BcClass() = default;

BC_IMPLEMENT_CLASS(BcClass)
