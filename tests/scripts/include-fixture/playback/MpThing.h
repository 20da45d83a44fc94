#pragma once

#include "render/ReThing.h"
