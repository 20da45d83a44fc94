#include "app/UiWindowsDialog.h"

#include "app/Quorvane.h"
#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "app/UiTexts.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>

enum { activateButton = wxID_HIGHEST + 1, saveButton, closeButton };

static wxString dialogText(Quorvane& app, const char* context)
{
    return app.shellText(context, UiTexts::dialogText(context));
}

UiWindowsDialog::UiWindowsDialog(UiMainFrame* frame, Quorvane& app)
    : wxDialog(frame, wxID_ANY, dialogText(app, "dialog 131")), frame(frame)
{
    documents = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(320, 200));
    wxBoxSizer* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(new wxButton(this, activateButton, dialogText(app, "dialog 131 1")), 0, wxEXPAND | wxBOTTOM, 4);
    buttons->Add(new wxButton(this, saveButton, dialogText(app, "dialog 131 2")), 0, wxEXPAND | wxBOTTOM, 4);
    buttons->Add(new wxButton(this, closeButton, dialogText(app, "dialog 131 3")), 0, wxEXPAND | wxBOTTOM, 4);
    buttons->Add(new wxButton(this, wxID_OK, dialogText(app, "dialog 131 4")), 0, wxEXPAND);
    wxBoxSizer* all = new wxBoxSizer(wxHORIZONTAL);
    all->Add(documents, 1, wxEXPAND | wxALL, 8);
    all->Add(buttons, 0, wxALL, 8);
    SetSizerAndFit(all);
    fill();
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { activateSelected(); EndModal(wxID_OK); }, activateButton);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { saveSelected(); }, saveButton);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { closeSelected(); }, closeButton);
    documents->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { activateSelected(); EndModal(wxID_OK); });
}

void UiWindowsDialog::fill()
{
    documents->Clear();
    for (wxDocument* document : frame->GetDocumentManager()->GetDocumentsVector())
        documents->Append(document->GetUserReadableName(), document);
    if (!documents->IsEmpty())
        documents->SetSelection(0);
}

static wxDocument* selectedDocument(wxListBox* list)
{
    int selection = list->GetSelection();
    return selection == wxNOT_FOUND ? nullptr : static_cast<wxDocument*>(list->GetClientData(unsigned(selection)));
}

void UiWindowsDialog::activateSelected()
{
    if (wxDocument* document = selectedDocument(documents))
        if (wxView* view = document->GetFirstView())
            if (wxAuiMDIChildFrame* child = wxDynamicCast(view->GetFrame(), wxAuiMDIChildFrame))
                child->Activate();
}

void UiWindowsDialog::saveSelected()
{
    if (wxDocument* document = selectedDocument(documents))
        document->Save();
    fill();
}

void UiWindowsDialog::closeSelected()
{
    if (wxDocument* document = selectedDocument(documents))
        frame->GetDocumentManager()->CloseDocument(document, false);
    fill();
}
