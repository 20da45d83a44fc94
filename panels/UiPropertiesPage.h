#pragma once

#include "panels/UiPageWindow.h"
#include "panels/UiPropertiesDlg.h"

#include <wx/panel.h>

#include <memory>

class UiWxControlHost;

// The toolkit window of one property page inside the properties pane: white,
// the page's controls made from its template, the anchored controls
// following its width and a vertical scroll bar when the pane is shorter
// than the page. Enter and Escape do nothing here.
class UiPropertiesPage : public wxPanel, public UiPageWindow
{
public:
    UiPropertiesPage(wxWindow* parent, std::unique_ptr<UiPropertiesDlg> page);
    ~UiPropertiesPage() override;

    UiPropertiesDlg& page() { return *dialog; }
    UiWxControlHost* controls() { return host; }

    bool controlRect(int controlId, UiAnchorRect& rect) override;
    void placeControl(int controlId, const UiAnchorPlacement& placement) override;
    int lowestShownBottom() override;
    void scrollContent(int dy) override;
    bool scrollBarShown() override { return barShown; }
    void showScrollBar(bool shown) override;
    void setScrollBar(int maximum, int page, int position) override;
    void setScaledBitmap(int controlId, int bitmapId) override;
    void frameControl(int controlId, int color) override;
    void setButtonIcon(int controlId, int iconId) override;

private:
    void onSize(wxSizeEvent& event);
    void onScroll(wxScrollWinEvent& event);
    void onWheel(wxMouseEvent& event);

    std::unique_ptr<UiPropertiesDlg> dialog;
    UiWxControlHost* host = nullptr;  // owned by the page
    bool barShown = false;
};
