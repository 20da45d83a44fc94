#include "app/UiAboutDialog.h"

#include "app/Quorvane.h"
#include "app/UiTexts.h"
#include "platform/PlLauncher.h"
#include "platform/gui/UiScale.h"

#include <wx/button.h>
#include <wx/hyperlink.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

static wxString dialogText(Quorvane& app, const char* context)
{
    return app.shellText(context, UiTexts::dialogText(context));
}

UiAboutDialog::UiAboutDialog(wxWindow* parent, Quorvane& app)
    : UiDialog(parent, 100, dialogText(app, "dialog 100")), app(app)
{
    // The logo's control is 300 x 100 at 96 dpi; the picture fills it.
    wxStaticBitmap* picture = new wxStaticBitmap(this, logo, wxBitmap(), wxDefaultPosition, wxSize(300, 100));
    loadScaledBitmap(logo, 231);
    picture->SetMinSize(picture->GetBitmap().GetSize());

    const wchar_t* word = app.loadString(10002);
    wxString version = wxString::Format("%ls %d.%d.%d.%d", word ? word : L"", Quorvane::versionMajor,
                                        Quorvane::versionMinor, Quorvane::versionRevision, Quorvane::versionBuild);
    wxString year = dialogText(app, "dialog 100 1195");
    year.Replace("Year", "2023");

    wxHyperlinkCtrl* link = new wxHyperlinkCtrl(this, homePageLink, dialogText(app, "dialog 100 1321"),
                                                Quorvane::homePage(app.settings.language));
    link->Bind(wxEVT_HYPERLINK, [this](wxHyperlinkEvent&) { openHomePage(); });

    wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
    column->Add(picture, 0, wxALIGN_CENTER | wxALL, UiScale::pixels(10));
    column->Add(new wxStaticText(this, versionLine, version), 0, wxALIGN_CENTER | wxALL, UiScale::pixels(4));
    column->Add(new wxStaticText(this, yearLine, year), 0, wxALIGN_CENTER | wxALL, UiScale::pixels(4));
    column->Add(link, 0, wxALIGN_CENTER | wxALL, UiScale::pixels(4));
    column->Add(new wxButton(this, wxID_OK, dialogText(app, "dialog 100 1")), 0, wxALIGN_CENTER | wxALL,
                UiScale::pixels(10));
    SetSizerAndFit(column);
    CentreOnParent();
}

void UiAboutDialog::openHomePage()
{
    PlLauncher::current().open(Quorvane::homePage(app.settings.language));
}
