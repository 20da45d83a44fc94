#include "platform/gui/UiMessageBoxes.h"

#include "foundation/BcInstalled.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

static UiMessageBoxes defaultBoxes;
using Slot = BcInstalled<UiMessageBoxes>;

UiMessageBoxes::~UiMessageBoxes()
{
    Slot::forget(this);
}

static wxWindow* owner()
{
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

void UiMessageBoxes::information(const wxString& text, const wxString& caption)
{
    wxMessageDialog box(owner(), text, caption, wxOK | wxICON_INFORMATION);
    box.ShowModal();
}

bool UiMessageBoxes::askYesNo(const wxString& text, const wxString& caption)
{
    wxMessageDialog box(owner(), text, caption, wxYES_NO | wxICON_QUESTION);
    return box.ShowModal() == wxID_YES;
}

UiMessageBoxes::Answer UiMessageBoxes::askYesNoCancel(const wxString& text, const wxString& caption)
{
    wxMessageDialog box(owner(), text, caption, wxYES_NO | wxCANCEL | wxICON_QUESTION);
    int answer = box.ShowModal();
    return answer == wxID_YES ? yes : answer == wxID_NO ? no : cancel;
}

UiMessageBoxes& UiMessageBoxes::current()
{
    return Slot::current(defaultBoxes);
}

UiMessageBoxes* UiMessageBoxes::install(UiMessageBoxes* boxes)
{
    return Slot::install(boxes, &defaultBoxes);
}
