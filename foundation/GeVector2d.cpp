#include "foundation/GeVector2d.h"

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CREATABLE_CLASS(GeVector2d)

constinit const GeVector2d GeVector2d::zero;
constinit const GeVector2d GeVector2d::xAxis(1.0, 0.0);
constinit const GeVector2d GeVector2d::yAxis(0.0, 1.0);
