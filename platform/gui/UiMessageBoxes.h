#pragma once

#include <wx/string.h>

// Every message box of the program: information with an OK button, and the
// questions. Tests install their own, which records the texts and answers.
class UiMessageBoxes
{
public:
    enum Answer { yes, no, cancel };

    virtual ~UiMessageBoxes();

    // Owned by the main window, with the information icon.
    virtual void information(const wxString& text, const wxString& caption);
    virtual bool askYesNo(const wxString& text, const wxString& caption);
    // The close prompt of a modified document.
    virtual Answer askYesNoCancel(const wxString& text, const wxString& caption);

    // The installed boxes, or the default; never null.
    static UiMessageBoxes& current();
    // Installs boxes (not owned) and answers the ones replaced; null
    // restores the default.
    static UiMessageBoxes* install(UiMessageBoxes* boxes);
};
