#pragma once

#include "model/MnThing.h"
