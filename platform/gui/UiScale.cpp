#include "platform/gui/UiScale.h"

#include <wx/display.h>

static double testScale = 0.0;

double UiScale::s()
{
    if (testScale > 0.0)
        return testScale;
    // The icon metric: 32 pixels at 96 dpi, growing with the display's dpi.
    int dpi = wxDisplay().GetPPI().y;
    int icon = dpi > 0 ? dpi * 32 / 96 : 32;
    return icon == 32 ? 1.0 : icon * 0.03125;
}

void UiScale::setForTests(double value)
{
    testScale = value;
}
