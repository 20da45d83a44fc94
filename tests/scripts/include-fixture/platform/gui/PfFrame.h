#pragma once

#include "app/Quorvane.h"
#include "platform/PfAudio.h"
#include <wx/frame.h>
