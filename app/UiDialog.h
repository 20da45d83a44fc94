#pragma once

#include <wx/dialog.h>

// The base of the program's own modal tool dialogs: each carries the
// application icon in its caption.
class UiDialog : public wxDialog
{
public:
    UiDialog(wxWindow* parent, unsigned templateId, const wxString& title);

    unsigned templateId() const { return dialogTemplate; }

    // Puts picture bitmapId, stretched to the control's size times the
    // display scale over a white ground, into the picture control controlId.
    // False when the control or the picture is missing.
    bool loadScaledBitmap(int controlId, unsigned bitmapId);

private:
    unsigned dialogTemplate;
};
