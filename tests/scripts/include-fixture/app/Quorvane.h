#pragma once

#include "commands/EdThingCommand.h"
#include "panels/UiPane.h"
#include "platform/gui/PfFrame.h"
#include <wx/app.h>
