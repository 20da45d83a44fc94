#pragma once

#include <wx/dialog.h>

class Quorvane;
class UiMainFrame;
class wxListBox;

// Windows...: the open documents, to activate, save or close.
class UiWindowsDialog : public wxDialog
{
public:
    UiWindowsDialog(UiMainFrame* frame, Quorvane& app);

    wxListBox* list() { return documents; }
    void activateSelected();
    void saveSelected();
    void closeSelected();

private:
    void fill();
    UiMainFrame* frame;
    wxListBox* documents;
};
