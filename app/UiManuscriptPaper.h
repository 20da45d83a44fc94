#pragma once

#include "app/UiDialog.h"

#include <functional>
#include <memory>
#include <string>

class MnScore;
class MnSheetMusic;
class UiGLPane;
class UiManuscriptPaperViewport;
class UiWxControlHost;

// Manuscript paper: the staff structure of a score as one page of blank
// staff paper, each system one empty measure over the full width. The
// dialog shows the page, lets the user choose where clefs go and how many
// bars divide a system, and writes it as a PDF file or opens it for
// printing. It works on a private copy and never changes the document.
class UiManuscriptPaper : public UiDialog
{
public:
    static constexpr unsigned templateId = 124;
    enum Control
    {
        clefGroup = 1070,
        barSlider = 1337,
        savePdfButton = 1336,
        printButton = 1334,
        preview = 1335,
    };
    // At most this many systems are put on the page.
    static constexpr int maxSystems = 1000;

    UiManuscriptPaper(wxWindow* parent, MnScore* score);
    ~UiManuscriptPaper() override;

    // The stripped copy of the score's sheet (or of the score on a sheet
    // of its own), filled with one-measure systems while they fit on one
    // page; null when the score could not be copied. The caller owns it.
    static MnSheetMusic* buildPage(MnScore* score);

    // The file a chosen name writes: a name without extension gets ".pdf",
    // one ending in ".pdf" in any case stays, any other writes nothing
    // (empty).
    static std::string pdfPathFor(const std::string& chosen);

    MnSheetMusic* sheet() const { return sheetCopy; }
    UiManuscriptPaperViewport& viewport() { return *renderer; }
    UiGLPane* canvas() const { return pane; }
    UiWxControlHost* controls() const { return host.get(); }

    int clefMode = 0;
    int barCount = 0;

    // Writes the page; a file that cannot be written is reported, naming it.
    bool exportTo(const std::string& path);
    // "Save as PDF...": asks for a file, then exports.
    void onExportPdf();
    // "Print": the private file, opened by the system.
    bool onPrintPaper();
    // Reads the clef mode and bar count from the controls and redraws.
    void onOptionsChanged();
    // Fits the page to the preview and draws it.
    void refit();
    bool redraw();

    // The file chooser of "Save as PDF..."; false when cancelled. Tests put
    // in their own; null restores the toolkit's.
    using Chooser = bool (*)(std::string& path);
    static Chooser setChooser(Chooser chooser);
    // Called with the dialog once it shows, inside its modal loop (tests).
    static void setOpenedHook(std::function<void(UiManuscriptPaper&)> hook);

    // Tools/Manuscript paper: the dialog, modal, over the main window.
    static void run(MnScore* score);

private:
    void layoutPreview();
    bool ensureContext();

    MnSheetMusic* sheetCopy = nullptr;
    std::unique_ptr<UiWxControlHost> host;
    UiGLPane* pane = nullptr;
    UiManuscriptPaperViewport* renderer = nullptr;
    wxSize initialClient;
    wxRect previewRect;
};
