#include "foundation/BcThing.h"

#include <cstdio>
