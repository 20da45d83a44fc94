#include "render/ReThing.h"
#include "model/MnThing.h"
