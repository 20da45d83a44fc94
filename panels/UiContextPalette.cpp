#include "panels/UiContextPalette.h"

#include "app/Quorvane.h"
#include "app/UiMainFrame.h"
#include "panels/UiContextMenu.h"

namespace {

UiContextPalette* livePalette = nullptr;

class Forwarder : public EdSelectionObserver
{
public:
    void selectionChanged() override
    {
        if (livePalette)
            livePalette->selectionChanged();
    }
};

}  // namespace

EdSelectionObserver* UiContextPalette::viewObserver()
{
    static Forwarder forwarder;
    return &forwarder;
}

UiContextPalette::UiContextPalette(wxWindow* parent, wxWindowID id) : wxPanel(parent, id)
{
    menu = new UiContextMenu(this, 1);
    Bind(wxEVT_SIZE, &UiContextPalette::onSize, this);
    menu->Bind(wxEVT_LEAVE_WINDOW, &UiContextPalette::onLeave, this);
    livePalette = this;
}

UiContextPalette::~UiContextPalette()
{
    if (livePalette == this)
        livePalette = nullptr;
}

void UiContextPalette::selectionChanged()
{
    if (!builder.rebuild(menu->list()))
        return;
    menu->updateScroll(GetClientSize().y, true);
    menu->Refresh(false);
}

void UiContextPalette::onSize(wxSizeEvent& event)
{
    event.Skip();
    if (Quorvane::exists() && Quorvane::instance().mainFrame() && Quorvane::instance().mainFrame()->IsIconized())
        return;
    const wxSize size = GetClientSize();
    menu->SetSize(0, 0, size.x, size.y);
    menu->Refresh(false);
}

// The highlight goes with the pointer.
void UiContextPalette::onLeave(wxMouseEvent& event)
{
    event.Skip();
    if (menu->list().setHovered(-1))
        menu->Refresh(false);
}
