#include "editing/EdVerticalGuideLine.h"

BC_IMPLEMENT_CLASS(EdVerticalGuideLine)
