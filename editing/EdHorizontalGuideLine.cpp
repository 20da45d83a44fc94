#include "editing/EdHorizontalGuideLine.h"

BC_IMPLEMENT_CLASS(EdHorizontalGuideLine)
