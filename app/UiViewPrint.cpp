#include "app/UiViewPrint.h"

#include "app/Quorvane.h"
#include "app/UiDCPageDevice.h"
#include "app/UiMainFrame.h"
#include "app/UiQuorvaneViewCore.h"
#include "commands/EdCommandTable.h"
#include "commands/EdFileCommands.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcStringResources.h"
#include "model/MnCache.h"
#include "model/MnSheetMusic.h"
#include "platform/PlLauncher.h"
#include "render/ReGDI.h"
#include "render/RePDF.h"

#include <wx/dc.h>
#include <wx/printdlg.h>

#include <cmath>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr unsigned exportFailedString = 10116;
const char* const printFileName = "QuorvaneFilePrint.pdf";

// A real folder (no link) of this user that nobody else may enter.
bool isPrivateFolder(const std::string& path)
{
    struct stat status;
    if (path.empty() || ::lstat(path.c_str(), &status) != 0)
        return false;
    return S_ISDIR(status.st_mode) && status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

UiViewCore* activeCore()
{
    return dynamic_cast<UiViewCore*>(EdContext::current().activeView());
}

void printCommand(unsigned)
{
    UiViewCore* core = activeCore();
    if (!core) {
        EdFileCommands::cmdExport();
        return;
    }
    UiViewPrint::printPdf(core->document(), core->selection());
}

void previewCommand(unsigned)
{
    UiViewCore* core = activeCore();
    if (!core || !Quorvane::exists())
        return;
    UiViewPrint::showPreview(*core, Quorvane::instance().mainFrame());
}

// The toolkit's preview whose Print button prints as File/Print does: into
// the PDF file, not through the toolkit's printer dialog.
class UiViewPreview : public wxPrintPreview
{
public:
    UiViewPreview(wxPrintout* preview, UiViewCore& core) : wxPrintPreview(preview, nullptr), core(core) {}
    bool Print(bool) override { return UiViewPrint::printPdf(core.document(), core.selection()); }

private:
    UiViewCore& core;
};

}  // namespace

std::string UiViewPrint::privateFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && isPrivateFolder(runtime))
        return runtime;
    static std::string made;
    if (isPrivateFolder(made))
        return made;
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") + "/quorvane-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        return std::string();
    made = buffer.data();
    return isPrivateFolder(made) ? made : std::string();
}

std::string UiViewPrint::filePath()
{
    std::string folder = privateFolder();
    return folder.empty() ? folder : folder + "/" + printFileName;
}

bool UiViewPrint::printPdf(QuorvaneDocument* document, const EdSelection& selection)
{
    if (!document)
        return false;
    const std::string path = filePath();
    if (path.empty())
        return false;
    RePDF pdf;
    pdf.outputKind = 1;
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* element = selection.element(i);
        if (element && element->isKindOf(MnSheetMusic::staticClass()))
            pdf.add(element);
    }
    const BcString file(path.c_str());
    if (!pdf.exportDocument(file, document)) {
        // A document without sheet music has nothing to print: no message.
        if (!firstSheet(document))
            return false;
        BcString text = BcStringResources::current().loadString(exportFailedString);
        text.replaceAll(BcString(u"%ls"), file);
        EdContext::current().showInformationText(text);
        return false;
    }
    return PlLauncher::current().open(path);
}

MnSheetMusic* UiViewPrint::firstSheet(QuorvaneDocument* document)
{
    if (!document)
        return nullptr;
    const BcArray<MnElement*>& order = document->displayOrder();
    for (int i = 0; i < order.count(); ++i)
        if (order[i] && order[i]->isKindOf(MnSheetMusic::staticClass()))
            return static_cast<MnSheetMusic*>(order[i]);
    return nullptr;
}

bool UiViewPrint::pageCamera(MnSheetMusic* sheet, int page, double& x, double& y, double& zoom)
{
    if (!sheet)
        return false;
    MnCache cache;
    if (page < 1 || page > sheet->pageCount())
        return false;
    const double width = sheet->pageWidth();
    const double height = sheet->pageHeight();
    GePoint2d origin;
    if (!sheet->pageOrigin(page - 1, origin, false)) {
        const GePoint2d position = sheet->position();
        origin = GePoint2d(position.x + (page - 1) * width, position.y);
    }
    x = origin.x + width / 2;
    y = origin.y - height / 2;
    zoom = width;
    return true;
}

void UiViewPrint::addRows()
{
    EdCommandTable::add({printId, &printCommand, &EdCommandTable::whenDocument});
    EdCommandTable::add({quickPrintId, &printCommand, &EdCommandTable::whenDocument});
    EdCommandTable::add({previewId, &previewCommand, &EdCommandTable::whenDocument});
}

bool UiViewPrint::showPreview(UiViewCore& core, wxWindow* parent)
{
    UiViewPreview* preview = new UiViewPreview(new UiViewPrintout(core), core);
    if (!preview->IsOk()) {
        delete preview;
        return false;
    }
    wxPreviewFrame* frame = new wxPreviewFrame(preview, parent, _("Print Preview"));
    // Modal to the application: the view and its document outlive it.
    frame->InitializeWithModality(wxPreviewFrame_AppModal);
    frame->Centre(wxBOTH);
    frame->Show();
    return true;
}

UiViewPrintout::UiViewPrintout(UiViewCore& core) : wxPrintout("Quorvane"), core(core) {}

void UiViewPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo)
{
    wxPrintout::GetPageInfo(minPage, maxPage, pageFrom, pageTo);
    MnSheetMusic* sheet = UiViewPrint::firstSheet(core.document());
    if (!sheet)
        return;
    MnCache cache;
    const int count = sheet->pageCount();
    *minPage = 1;
    *maxPage = count;
    *pageFrom = 1;
    *pageTo = count;
}

bool UiViewPrintout::HasPage(int page)
{
    MnSheetMusic* sheet = UiViewPrint::firstSheet(core.document());
    if (!sheet)
        return wxPrintout::HasPage(page);
    MnCache cache;
    return page >= 1 && page <= sheet->pageCount();
}

bool UiViewPrintout::OnPrintPage(int page)
{
    wxDC* dc = GetDC();
    QuorvaneDocument* document = core.document();
    if (!dc || !document)
        return false;
    MnSheetMusic* sheet = UiViewPrint::firstSheet(document);
    double x = 0.0;
    double y = 0.0;
    double zoom = 0.0;
    if (UiViewPrint::pageCamera(sheet, page, x, y, zoom))
        core.view.setCamera(x, y, zoom);
    // The back end maps the shown width onto 210 mm, the page's height in
    // proportion.
    const double aspect = sheet && sheet->pageWidth() > 0 ? sheet->pageHeight() / sheet->pageWidth() : 297.0 / 210.0;
    FitThisSizeToPaper(wxSize(21000, int(std::lround(21000 * aspect))));
    UiDCPageDevice device(*dc);
    ReGDI gdi;
    gdi.outputKind = 1;
    gdi.setDevice(&device);
    // The frame takes the page's proportions, so that the whole page counts
    // as visible whatever the window's shape.
    const double pixelWidth = 1000.0;
    return gdi.render(document, core.view.scrollX, core.view.scrollY, core.view.zoom, pixelWidth,
                      pixelWidth * aspect, 0, 0);
}
