#pragma once

#include <wx/dialog.h>
#include <wx/font.h>

class Quorvane;
class wxStaticBitmap;
class wxStaticText;

// The back of the main window: a card without caption that covers the
// window exactly and shows the program's picture, its name and a credit
// line with the version and the build date. A click anywhere, or Escape,
// closes it.
class UiBackSideDialog : public wxDialog
{
public:
    enum { picture = 1269, nameLine = 1270, creditLine = 1271 };
    static constexpr unsigned templateId = 115;

    // Where the three controls go on a card of the given size: the credit
    // centred with its bottom 10 pixels (at scale s) above the card's, the
    // name 20 pixels above the credit, the picture in the middle of the
    // space above the name.
    struct Layout
    {
        wxRect picture;
        wxRect name;
        wxRect credit;
    };
    static Layout place(const wxSize& card, const wxSize& pictureSize, const wxSize& nameSize,
                        const wxSize& creditSize, double s);
    // The credit line with the version and the date put in.
    static wxString fillCredit(const wxString& text);

    // Covers `area` of the screen; without a border when the main window is
    // maximised.
    UiBackSideDialog(wxWindow* parent, const wxRect& area, bool maximized);

    wxStaticBitmap* pictureControl() const { return pictureWindow; }
    wxStaticText* nameControl() const { return nameWindow; }
    wxStaticText* creditControl() const { return creditWindow; }
    const wxFont& nameFont() const { return namingFont; }
    const wxFont& textFont() const { return creditFont; }

    // Ends the card, modal or not.
    void close();

    // The shell's back-side command: the card over the main window, modal.
    static void run(Quorvane& app);

private:
    wxStaticBitmap* pictureWindow = nullptr;
    wxStaticText* nameWindow = nullptr;
    wxStaticText* creditWindow = nullptr;
    wxFont namingFont;
    wxFont creditFont;
};
