#include "model/EdGuideLine.h"

BC_IMPLEMENT_CLASS(EdGuideLine)
