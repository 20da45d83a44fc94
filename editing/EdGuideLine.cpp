#include "editing/EdGuideLine.h"

BC_IMPLEMENT_CLASS(EdGuideLine)
