#pragma once

#include "foundation/BcThing.h"
#include <SDL.h>
