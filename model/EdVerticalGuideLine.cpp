#include "model/EdVerticalGuideLine.h"

BC_IMPLEMENT_CLASS(EdVerticalGuideLine)
