#include "app/UiManuscriptPaper.h"

#include "app/Quorvane.h"
#include "app/UiGLPane.h"
#include "app/UiMainFrame.h"
#include "app/UiManuscriptPaperViewport.h"
#include "app/UiViewPrint.h"
#include "app/UiWxControlHost.h"
#include "foundation/BcMemoryFiler.h"
#include "foundation/BcStringResources.h"
#include "model/MnCredit.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffDefinition.h"
#include "platform/PlLauncher.h"
#include "platform/gui/UiMessageBoxes.h"
#include "render/RePDF.h"

#include <wx/button.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filename.h>

#include <algorithm>
#include <cctype>

namespace {

UiManuscriptPaper::Chooser chooser = nullptr;
std::function<void(UiManuscriptPaper&)> openedHook;

bool chooseWithToolkit(std::string& path)
{
    wxString filter = wxString::FromUTF8(BcStringResources::current().loadString(10004).toNarrow(BcString::utf8CodePage));
    while (filter.EndsWith("|"))
        filter.RemoveLast();
    wxFileDialog dialog(nullptr, wxEmptyString, wxEmptyString, wxEmptyString, filter,
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = dialog.GetPath().utf8_string();
    return true;
}

// A new first measure in every staff, of the meter in effect at the start
// of the staff's present first measure, ending its system; false when a
// staff refused it.
bool insertFirstMeasure(MnScore* score)
{
    for (int s = 0; s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        int time = staff->measureCount() > 0 ? staff->measure(0)->startTime() : 0;
        const MnStaffDefinition* definition = staff->definitionAt(time, false);
        int timeType = definition ? definition->time() : staff->time();
        if (!staff->insertMeasure(0, timeType))
            return false;
        staff->measure(0)->setSystemBreak(1);
    }
    return true;
}

int measuresOfFirstStaff(const MnScore* score)
{
    return score->staffCount() > 0 ? score->staff(0)->measureCount() : 0;
}

wxString fromUtf8(const BcString& text)
{
    return wxString::FromUTF8(text.toNarrow(BcString::utf8CodePage));
}

}

MnSheetMusic* UiManuscriptPaper::buildPage(MnScore* score)
{
    if (!score)
        return nullptr;
    MnSheetMusic* copy = new MnSheetMusic;
    MnElement* parent = score->parent();
    BcMemoryFiler filer(BcMemoryFiler::currentVersion);
    bool copied = false;
    if (parent && parent->isKindOf(MnSheetMusic::staticClass())) {
        if (parent->write(filer)) {
            filer.rewind();
            copied = copy->read(filer);
        }
    } else if (score->write(filer) && copy->score()) {
        filer.rewind();
        copied = copy->score()->read(filer);
        if (copied) {
            copy->score()->moveTo(GePoint2d(0, 0));
            copy->setSystemSpacing(0);
        }
    }
    MnScore* paper = copy->score();
    if (!copied || !paper) {
        delete copy;
        return nullptr;
    }

    while (copy->creditCount() > 0)
        if (!copy->removeChild(copy->credit(0)))
            break;
    paper->setShowStartingTempo(false);

    if (!insertFirstMeasure(paper)) {
        delete copy;
        return nullptr;
    }
    while (measuresOfFirstStaff(paper) > 1 && paper->removeMeasure(1)) {
    }

    // Fill the page: one more empty system while everything still fits on
    // one page. A score without staves adds nothing and stops at once.
    int systems = 1;
    while (systems < maxSystems && copy->pageCount() == 1) {
        int before = measuresOfFirstStaff(paper);
        if (!insertFirstMeasure(paper) || measuresOfFirstStaff(paper) != before + 1)
            break;
        ++systems;
        for (int s = 0; s < paper->staffCount() && s < score->staffCount(); ++s) {
            if (score->staff(s)->measureCount() == 0)
                continue;
            const MnMeasure* source = score->staff(s)->measure(0);
            MnMeasure* target = paper->staff(s)->measure(0);
            target->setToNextStaff(source->isToNextStaff());
            target->setToTablature(source->isToTablature());
        }
    }
    if (copy->pageCount() > 1)
        paper->removeMeasure(measuresOfFirstStaff(paper) - 1);
    return copy;
}

std::string UiManuscriptPaper::pdfPathFor(const std::string& chosen)
{
    if (chosen.empty())
        return std::string();
    wxFileName name(wxString::FromUTF8(chosen));
    if (name.GetName().empty())
        return std::string();
    if (!name.HasExt())
        return chosen + ".pdf";
    return name.GetExt().Lower() == "pdf" ? chosen : std::string();
}

UiManuscriptPaper::Chooser UiManuscriptPaper::setChooser(Chooser newChooser)
{
    Chooser old = chooser;
    chooser = newChooser;
    return old;
}

void UiManuscriptPaper::setOpenedHook(std::function<void(UiManuscriptPaper&)> hook)
{
    openedHook = std::move(hook);
}

UiManuscriptPaper::UiManuscriptPaper(wxWindow* parent, MnScore* score)
    : UiDialog(parent, templateId,
               Quorvane::exists() ? Quorvane::instance().shellText("dialog 124", "Manuscript Paper")
                                  : wxString("Manuscript Paper")),
      sheetCopy(buildPage(score)), renderer(new UiManuscriptPaperViewport)
{
    SetWindowStyleFlag(GetWindowStyleFlag() | wxRESIZE_BORDER);
    const UiDialogTemplate* layout = UiDialogTemplates::find(templateId);
    if (!sheetCopy || !layout)
        return;
    host = std::make_unique<UiWxControlHost>(this, *layout, [](const char* context, const char* english) {
        return Quorvane::exists() ? Quorvane::instance().shellText(context, english) : wxString::FromUTF8(english);
    });
    SetClientSize(ConvertDialogToPixels(wxSize(layout->width, layout->height)));

    host->setRange(barSlider, 0, 5);
    host->setPosition(barSlider, 0);
    host->setRadioIndex(clefGroup, 0);
    host->setSteps(barSlider, 1, 1);
    host->setTicks(barSlider, {1, 2, 3, 4});

    // The preview takes the place of its template control.
    wxWindow* placeholder = host->window(preview);
    previewRect = placeholder ? placeholder->GetRect() : wxRect(0, 0, 100, 100);
    if (placeholder)
        placeholder->Hide();
    pane = new UiGLPane(this, wxID_ANY, true);
    pane->SetSize(previewRect);
    initialClient = GetClientSize();
    pane->paint = [this] { redraw(); };

    host->setHandler([this](int id, UiControlHost::Notification what) {
        if (id == barSlider && what == UiControlHost::scrolled)
            onOptionsChanged();
        else if (id == savePdfButton && what == UiControlHost::clicked)
            onExportPdf();
        else if (id == printButton && what == UiControlHost::clicked)
            onPrintPaper();
        else if (what == UiControlHost::clicked && (id == 1070 || id == 1000 || id == 1002 || id == 1001))
            onOptionsChanged();
    });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        layoutPreview();
    });

    // 95 % of the work area high; as wide as the page's proportions want.
    wxRect area = wxDisplay(wxDisplay::GetFromWindow(parent ? parent : this) == wxNOT_FOUND
                                ? 0u
                                : unsigned(wxDisplay::GetFromWindow(parent ? parent : this)))
                      .GetClientArea();
    wxSize size = GetSize();
    int height = int(area.height * 0.95);
    double pageWidth = sheetCopy->pageWidth();
    double pageHeight = sheetCopy->pageHeight();
    int width = size.x;
    if (pageWidth > 0 && pageHeight > 0)
        width = int(size.x - previewRect.width + pageWidth / pageHeight * (previewRect.height + height - size.y));
    width = std::min(width, area.width);
    SetSize(area.x + (area.width - width) / 2, area.y + (area.height - height) / 2, width, height);
    layoutPreview();
}

UiManuscriptPaper::~UiManuscriptPaper()
{
    // The renderer's lists belong to the canvas's context: let the renderer
    // go before the canvas does.
    delete renderer;
    renderer = nullptr;
    delete sheetCopy;
}

void UiManuscriptPaper::layoutPreview()
{
    if (!pane || initialClient.x <= 0 || initialClient.y <= 0)
        return;
    wxSize client = GetClientSize();
    pane->SetSize(previewRect.x, previewRect.y, std::max(0, previewRect.width + client.x - initialClient.x),
                  std::max(0, previewRect.height + client.y - initialClient.y));
    refit();
    pane->Refresh(false);
}

bool UiManuscriptPaper::ensureContext()
{
    // The canvas's context can be made current only once it shows.
    return pane && (renderer->host() || renderer->createContext(pane->host()));
}

void UiManuscriptPaper::refit()
{
    if (!ensureContext())
        return;
    wxSize client = pane->GetClientSize();
    renderer->fitPage(sheetCopy, client.x, client.y);
}

bool UiManuscriptPaper::redraw()
{
    if (!pane || !sheetCopy)
        return false;
    wxSize client = pane->GetClientSize();
    if (client.x <= 0 || client.y <= 0 || !ensureContext())
        return false;
    if (!(renderer->width > 0))
        refit();
    if (!pane->host()->makeCurrent())
        return false;
    return renderer->redraw(sheetCopy, clefMode, barCount, client.x, client.y);
}

void UiManuscriptPaper::onOptionsChanged()
{
    if (!host)
        return;
    clefMode = host->radioIndex(clefGroup);
    barCount = host->position(barSlider);
    redraw();
}

bool UiManuscriptPaper::exportTo(const std::string& path)
{
    if (!sheetCopy || path.empty())
        return false;
    RePDF pdf;
    BcString target(path.c_str());
    if (pdf.exportSheetPage(target, sheetCopy, clefMode, barCount))
        return true;
    BcString text = BcStringResources::current().loadString(10116);
    text.replaceAll(BcString(u"%ls"), target);
    UiMessageBoxes::current().information(fromUtf8(text), "Quorvane");
    return false;
}

void UiManuscriptPaper::onExportPdf()
{
    std::string chosen;
    if (!(chooser ? chooser : &chooseWithToolkit)(chosen))
        return;
    std::string path = pdfPathFor(chosen);
    if (!path.empty())
        exportTo(path);
}

bool UiManuscriptPaper::onPrintPaper()
{
    // The score view's print file, in a folder only this user can enter.
    std::string path = UiViewPrint::filePath();
    if (!sheetCopy || path.empty())
        return false;
    RePDF pdf;
    if (!pdf.exportSheetPage(BcString(path.c_str()), sheetCopy, clefMode, barCount))
        return false;
    return PlLauncher::current().open(path);
}

void UiManuscriptPaper::run(MnScore* score)
{
    wxWindow* parent = Quorvane::exists() ? static_cast<wxWindow*>(Quorvane::instance().mainFrame()) : nullptr;
    UiManuscriptPaper dialog(parent, score);
    if (!dialog.sheet())
        return;
    if (openedHook)
        dialog.CallAfter([&dialog] {
            if (openedHook)
                openedHook(dialog);
        });
    dialog.ShowModal();
}
