#include "app/UiDialog.h"

#include "app/UiImages.h"
#include "platform/gui/UiScale.h"

#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/statbmp.h>

UiDialog::UiDialog(wxWindow* parent, unsigned templateId, const wxString& title)
    : wxDialog(parent, wxID_ANY, title), dialogTemplate(templateId)
{
    wxIcon icon = UiImages::icon(128);
    if (icon.IsOk())
        SetIcon(icon);
}

bool UiDialog::loadScaledBitmap(int controlId, unsigned bitmapId)
{
    wxStaticBitmap* control = wxDynamicCast(FindWindow(controlId), wxStaticBitmap);
    if (!control)
        return false;
    double s = UiScale::s();
    wxSize size = control->GetSize();
    int width = int(size.x * s);
    int height = int(size.y * s);
    if (width <= 0 || height <= 0)
        return false;
    wxBitmap target(width, height, 24);
    {
        wxMemoryDC dc(target);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        wxBitmap picture = UiImages::bitmap(bitmapId);
        if (picture.IsOk()) {
            wxImage image = picture.ConvertToImage();
            image.Rescale(width, height, wxIMAGE_QUALITY_HIGH);
            dc.DrawBitmap(wxBitmap(image), 0, 0, true);
        }
    }
    control->SetBitmap(target);
    return UiImages::bitmap(bitmapId).IsOk();
}
