#include "foundation/GeVector3d.h"

#include "foundation/BcClassManager.h"

BC_IMPLEMENT_CREATABLE_CLASS(GeVector3d)

constinit const GeVector3d GeVector3d::zero;
constinit const GeVector3d GeVector3d::xAxis(1.0, 0.0, 0.0);
constinit const GeVector3d GeVector3d::yAxis(0.0, 1.0, 0.0);
constinit const GeVector3d GeVector3d::zAxis(0.0, 0.0, 1.0);
