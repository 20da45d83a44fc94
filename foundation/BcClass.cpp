#include "foundation/BcClass.h"

BcClass::~BcClass() = default;

BC_IMPLEMENT_CLASS(BcClass)
