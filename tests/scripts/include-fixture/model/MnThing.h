#pragma once

#include "foundation/BcThing.h"
