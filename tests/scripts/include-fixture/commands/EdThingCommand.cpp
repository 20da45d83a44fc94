#include "interchange/IeThing.h"
#include "playback/MpThing.h"
#include "render/ReThing.h"
