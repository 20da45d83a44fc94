#include "app/UiBackSideDialog.h"

#include "app/Quorvane.h"
#include "app/UiDialogTemplates.h"
#include "app/UiImages.h"
#include "app/UiMainFrame.h"
#include "app/UiTexts.h"
#include "platform/gui/UiScale.h"

#include <wx/image.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace {

wxString cardText(const char* context)
{
    const char* english = UiTexts::dialogText(context);
    if (!english)
        english = "";
    return Quorvane::exists() ? Quorvane::instance().shellText(context, english) : wxString::FromUTF8(english);
}

wxFont cardFont(int pixelHeight)
{
    // Liberation Sans has the metrics of the font the card was drawn for.
    wxFont font(wxFontInfo(wxSize(0, pixelHeight)).FaceName("Liberation Sans"));
    if (!font.IsOk())
        font = wxFont(wxFontInfo(wxSize(0, pixelHeight)).Family(wxFONTFAMILY_SWISS));
    return font;
}

}

UiBackSideDialog::Layout UiBackSideDialog::place(const wxSize& card, const wxSize& pictureSize,
                                                 const wxSize& nameSize, const wxSize& creditSize, double s)
{
    Layout layout;
    layout.credit.SetSize(creditSize);
    layout.credit.x = (card.x - creditSize.x) / 2;
    layout.credit.y = card.y - int(10 * s) - creditSize.y;
    layout.name.SetSize(nameSize);
    layout.name.x = (card.x - nameSize.x) / 2;
    layout.name.y = layout.credit.y - int(20 * s) - nameSize.y;
    layout.picture.SetSize(pictureSize);
    layout.picture.x = (card.x - pictureSize.x) / 2;
    layout.picture.y = (layout.name.y - pictureSize.y) / 2;
    return layout;
}

wxString UiBackSideDialog::fillCredit(const wxString& text)
{
    wxString filled = text;
    filled.Replace("0.0.0.0", wxString::Format("%d.%d.%d.%d", Quorvane::versionMajor, Quorvane::versionMinor,
                                               Quorvane::versionRevision, Quorvane::versionBuild));
    filled.Replace("Month", "March");
    filled.Replace("Year", "2023");
    return filled;
}

UiBackSideDialog::UiBackSideDialog(wxWindow* parent, const wxRect& area, bool maximized)
    : wxDialog(parent, wxID_ANY, wxEmptyString, area.GetPosition(), area.GetSize(),
               maximized ? wxBORDER_NONE : wxBORDER_SIMPLE)
{
    SetBackgroundColour(*wxWHITE);
    const double s = UiScale::s();
    const UiDialogTemplate* layout = UiDialogTemplates::find(templateId);

    creditFont = cardFont(int(16 * s));
    creditWindow = new wxStaticText(this, creditLine, fillCredit(cardText("dialog 115 1271")), wxDefaultPosition,
                                    wxDefaultSize, wxALIGN_CENTRE_HORIZONTAL);
    creditWindow->SetFont(creditFont);
    namingFont = cardFont(int(32 * s));
    nameWindow = new wxStaticText(this, nameLine, cardText("dialog 115 1270"), wxDefaultPosition, wxDefaultSize,
                                  wxALIGN_CENTRE_HORIZONTAL);
    nameWindow->SetFont(namingFont);

    // The picture fills its control, whose size is given at 96 dpi.
    wxSize pictureSize(300, 100);
    if (layout)
        if (const UiControlTemplate* c = layout->control(picture))
            pictureSize = ConvertDialogToPixels(wxSize(c->width, c->height));
    pictureSize = wxSize(int(pictureSize.x * s), int(pictureSize.y * s));
    wxBitmap bitmap = UiImages::bitmap(310);
    if (bitmap.IsOk() && pictureSize.x > 0 && pictureSize.y > 0) {
        wxImage image = bitmap.ConvertToImage();
        image.Rescale(pictureSize.x, pictureSize.y, wxIMAGE_QUALITY_HIGH);
        bitmap = wxBitmap(image);
    }
    pictureWindow = new wxStaticBitmap(this, picture, bitmap, wxDefaultPosition, pictureSize);

    SetSize(area);
    wxSize card = GetClientSize();
    Layout placed = place(card, pictureSize, nameWindow->GetBestSize(), creditWindow->GetBestSize(), s);
    creditWindow->SetSize(placed.credit);
    nameWindow->SetSize(placed.name);
    pictureWindow->SetSize(placed.picture);

    for (wxWindow* w : {static_cast<wxWindow*>(this), static_cast<wxWindow*>(pictureWindow),
                        static_cast<wxWindow*>(nameWindow), static_cast<wxWindow*>(creditWindow)})
        w->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) { close(); });
}

void UiBackSideDialog::close()
{
    if (IsModal())
        EndModal(wxID_OK);
    else
        Hide();
}

void UiBackSideDialog::run(Quorvane& app)
{
    UiMainFrame* frame = app.mainFrame();
    if (!frame)
        return;
    UiBackSideDialog card(frame, frame->GetScreenRect(), frame->IsMaximized());
    card.ShowModal();
}
