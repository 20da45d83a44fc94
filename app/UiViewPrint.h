#pragma once

#include "foundation/BcString.h"

#include <wx/print.h>

#include <string>

class EdSelection;
class MnSheetMusic;
class QuorvaneDocument;
class UiViewCore;
class wxDC;
class wxWindow;

// Printing from the score view. Print and Quick print write the sheet music
// into a PDF file and open it with the user's viewer, who prints from there;
// the preview draws the pages of the first sheet music through the print
// back end.
class UiViewPrint
{
public:
    static constexpr unsigned printId = 57607;
    static constexpr unsigned quickPrintId = 57608;
    static constexpr unsigned previewId = 57609;

    // A folder only this user can enter: $XDG_RUNTIME_DIR when it is one,
    // else a folder of our own made once per process under $TMPDIR or /tmp.
    // Empty when there is none; a fixed name in a shared folder would let
    // another user plant a link that the print writes through.
    static std::string privateFolder();
    // The file each print overwrites; empty without a private folder.
    static std::string filePath();

    // Writes the sheet musics of the selection, or every one of the
    // document when none is selected, into the print file and opens it.
    // A file that cannot be written is told with the export's message
    // naming it, and nothing opens. False when nothing opened.
    static bool printPdf(QuorvaneDocument* document, const EdSelection& selection);

    // The first sheet music in display order, or null.
    static MnSheetMusic* firstSheet(QuorvaneDocument* document);
    // The camera that shows page (1 the first) of a sheet: the page's
    // centre and its width as laid. A page the sheet does not show is taken
    // as lying page widths to the right of the sheet's position. False for
    // no sheet or a page outside it.
    static bool pageCamera(MnSheetMusic* sheet, int page, double& x, double& y, double& zoom);

    // The command rows of Print, Quick print and Print preview: the active
    // score view takes them; without one Print goes to File/Export.
    static void addRows();
    // The preview of the view's document, over the parent window; false
    // when the toolkit could not make it.
    static bool showPreview(UiViewCore& core, wxWindow* parent);
};

// The pages of the view's first sheet music for the toolkit's preview: each
// page moves the view's camera onto it, where it stays afterwards, and is
// drawn through the print back end.
class UiViewPrintout : public wxPrintout
{
public:
    explicit UiViewPrintout(UiViewCore& core);

    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool HasPage(int page) override;
    bool OnPrintPage(int page) override;

private:
    UiViewCore& core;
};
