#include "app/Quorvane.h"
#include <wx/panel.h>
