#pragma once

#include "editing/EdThing.h"
#include "foundation/BcThing.h"
#include <ft2build.h>
