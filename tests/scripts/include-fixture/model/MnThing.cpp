#include "MnThing.h"

#include "../foundation/BcThing.h"
#include <model/MnThing.h>

// #include "render/ReThing.h" is what the composers use.
/* A block comment may name
#include "editing/EdThing.h"
   without including it. */
