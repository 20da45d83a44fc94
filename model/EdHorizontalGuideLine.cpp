#include "model/EdHorizontalGuideLine.h"

BC_IMPLEMENT_CLASS(EdHorizontalGuideLine)
