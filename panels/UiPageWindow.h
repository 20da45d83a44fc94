#pragma once

#include "panels/UiAnchorList.h"

// What a property page asks of the window it lives in: where its controls
// are, moving them, scrolling its content and its scroll bar, and its
// pictures. The pane's page window does it with toolkit windows; tests use
// a recording fake, so the page's layout rules run headless.
class UiPageWindow
{
public:
    virtual ~UiPageWindow() = default;
    // The control's rectangle in the page's client pixels, as it is now.
    virtual bool controlRect(int controlId, UiAnchorRect& rect) = 0;
    virtual void placeControl(int controlId, const UiAnchorPlacement& placement) = 0;
    // The lowest bottom edge of a shown control, client pixels; 0 for none.
    virtual int lowestShownBottom() = 0;
    // Moves the whole content down by dy pixels (up when negative).
    virtual void scrollContent(int dy) = 0;
    virtual bool scrollBarShown() = 0;
    virtual void showScrollBar(bool shown) = 0;
    virtual void setScrollBar(int maximum, int page, int position) = 0;
    // The picture bitmapId drawn into the picture control by the rule of
    // UiPropertiesDlg::bitmapLayout.
    virtual void setScaledBitmap(int controlId, int bitmapId) = 0;
    // Draws the picture control as a frame of that colour (0x00BBGGRR).
    virtual void frameControl(int controlId, int color) = 0;
    // Shows the picture iconId on a push button, at the small icon's size
    // of the display.
    virtual void setButtonIcon(int, int) {}
};
