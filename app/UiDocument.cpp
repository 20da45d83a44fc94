#include "app/UiDocument.h"

#include "app/Quorvane.h"
#include "app/UiMainFrame.h"
#include "app/UiMenus.h"
#include "platform/gui/UiMessageBoxes.h"

#include <wx/tokenzr.h>

wxIMPLEMENT_DYNAMIC_CLASS(UiDocument, wxDocument);

static BcString toBc(const wxString& text)
{
    return BcString(text.utf8_str().data());
}

static wxString toWx(const BcString& text)
{
    return wxString::FromUTF8(text.toNarrow(BcString::utf8CodePage));
}

// --- Document ------------------------------------------------------------------

UiDocument* UiDocument::of(QuorvaneDocument* document)
{
    if (!document || !Quorvane::exists() || !Quorvane::instance().documentManager())
        return nullptr;
    for (wxDocument* candidate : Quorvane::instance().documentManager()->GetDocumentsVector()) {
        UiDocument* adapter = wxDynamicCast(candidate, UiDocument);
        if (adapter && &adapter->score == document)
            return adapter;
    }
    return nullptr;
}

void UiDocument::rename(const BcString& title)
{
    SetTitle(toWx(title));
    score.setTitle(QuorvaneDocument::titleForModified(title, score.IsModified()));
    titleChanged();
}

bool UiDocument::OnNewDocument()
{
    if (!wxDocument::OnNewDocument() || !score.OnNewDocument())
        return false;
    score.setTitle(toBc(GetTitle()));
    titleChanged();
    return true;
}

bool UiDocument::OnOpenDocument(const wxString& path)
{
    if (!wxDocument::OnOpenDocument(path))
        return false;
    titleChanged();
    return true;
}

bool UiDocument::DoOpenDocument(const wxString& path)
{
    UiContext* context = dynamic_cast<UiContext*>(&EdContext::current());
    int messagesBefore = context ? context->messagesShown() : 0;
    if (score.OnOpenDocument(toBc(path)))
        return true;
    // The reader names some failures itself (a newer format); the rest get
    // a message naming the file, so nobody wonders why nothing opened.
    if (!context || context->messagesShown() == messagesBefore) {
        Quorvane& app = Quorvane::instance();
        const wchar_t* format = app.loadString(10201);
        wxString text = format ? wxString::Format(wxString(format), path) : path;
        UiMessageBoxes::current().information(text, wxString(app.loadString(57344)));
    }
    return false;
}

bool UiDocument::DoSaveDocument(const wxString& path)
{
    if (score.OnSaveDocument(toBc(path)))
        return true;
    // The old file is still there: the score file is written beside it and
    // renamed into place.
    Quorvane& app = Quorvane::instance();
    const wchar_t* format = app.loadString(10204);
    UiMessageBoxes::current().information(format ? wxString::Format(wxString(format), path) : path,
                                          wxString(app.loadString(57344)));
    return false;
}

bool UiDocument::OnCloseDocument()
{
    score.OnCloseDocument();
    if (Quorvane::exists())
        Quorvane::instance().autoSave.removeBackup(&score, true);
    return wxDocument::OnCloseDocument();
}

bool UiDocument::OnSaveModified()
{
    return score.SaveModified([this] {
        if (!IsModified())
            return true;
        Quorvane& app = Quorvane::instance();
        const wchar_t* format = app.loadString(10200);
        wxString name = GetUserReadableName();
        wxString text = format ? wxString::Format(wxString(format), name) : name;
        switch (UiMessageBoxes::current().askYesNoCancel(text, wxString(app.loadString(57344)))) {
        case UiMessageBoxes::yes:
            return Save();
        case UiMessageBoxes::no:
            Modify(false);
            return true;
        default:
            return false;
        }
    });
}

bool UiDocument::Save()
{
    bool saved = score.OnFileSave([this] { return wxDocument::Save(); });
    titleChanged();
    if (saved && Quorvane::exists())
        Quorvane::instance().autoSave.removeBackup(&score, false);
    return saved;
}

bool UiDocument::SaveAs()
{
    bool saved = score.OnFileSaveAs([this] {
        // The dialog offers the document's title as the file name.
        SetTitle(toWx(score.title()));
        return wxDocument::SaveAs();
    });
    titleChanged();
    if (saved && Quorvane::exists())
        Quorvane::instance().autoSave.removeBackup(&score, false);
    return saved;
}

void UiDocument::Modify(bool modified)
{
    bool changed = modified != score.IsModified();
    score.SetModifiedFlag(modified);
    wxDocument::Modify(modified);
    if (changed)
        titleChanged();
}

wxString UiDocument::GetUserReadableName() const
{
    return toWx(score.title());
}

void UiDocument::titleChanged()
{
    // The framework names the document after its file; the document keeps
    // its own title, with the star of a modified document.
    if (!GetFilename().empty() && GetDocumentSaved())
        score.setPathName(toBc(GetFilename()));
    for (wxView* view : GetViewsVector())
        view->OnChangeFilename();
}

// --- Child frame ---------------------------------------------------------------

UiChildFrame::UiChildFrame(wxDocument* document, wxView* view, wxAuiMDIParentFrame* parent)
    : wxDocChildFrameAny(document, view, parent, wxID_ANY, document->GetUserReadableName())
{
    SetMenuBar(UiMenus::build(130, Quorvane::instance()));
    SetAcceleratorTable(UiMenus::hiddenAccelerators());
    Bind(wxEVT_ACTIVATE, &UiChildFrame::onActivate, this);
}

UiChildFrame::~UiChildFrame() = default;

void UiChildFrame::Activate()
{
    wxDocChildFrameAny::Activate();
}

void UiChildFrame::onActivate(wxActivateEvent& event)
{
    event.Skip();
    if (event.GetActive() && Quorvane::exists() && Quorvane::instance().mainFrame())
        Quorvane::instance().mainFrame()->documentTitleChanged(this);
}

// --- Document manager ----------------------------------------------------------

UiDocManager::UiDocManager() : wxDocManager(0, true)
{
    SetMaxDocsOpen(1000000);
}

wxString UiDocManager::documentString(int part)
{
    const wchar_t* text = Quorvane::exists() ? Quorvane::instance().loadString(130) : nullptr;
    wxString all = text ? wxString(text) : wxString::FromUTF8(BcStringResources::english(130));
    wxArrayString parts = wxSplit(all, '\n', 0);
    return part >= 0 && size_t(part) < parts.size() ? parts[size_t(part)] : wxString();
}

wxString UiDocManager::MakeNewDocumentName()
{
    return documentString(1) + wxString::Format("%d", ++newDocumentCount);
}

wxString UiDocManager::MakeFrameTitle(wxDocument* document)
{
    wxString application = Quorvane::exists() ? wxString(Quorvane::instance().loadString(128)) : "Quorvane";
    if (!document)
        return application;
    return document->GetUserReadableName() + " - " + application;
}

wxDocTemplate* UiDocManager::FindTemplateForPath(const wxString& path)
{
    return GetTemplatesVector().empty() ? nullptr : GetTemplatesVector().front();
}

void UiDocManager::AddFileToHistory(const wxString& file)
{
    if (Quorvane::exists())
        Quorvane::instance().addRecentFile(file);
}

void UiDocManager::RemoveFileFromHistory(size_t i)
{
    if (Quorvane::exists() && i < Quorvane::instance().recentFiles().size())
        Quorvane::instance().removeRecentFile(Quorvane::instance().recentFiles()[i]);
}

size_t UiDocManager::GetHistoryFilesCount() const
{
    return Quorvane::exists() ? Quorvane::instance().recentFiles().size() : 0;
}

wxString UiDocManager::GetHistoryFile(size_t i) const
{
    if (!Quorvane::exists() || i >= Quorvane::instance().recentFiles().size())
        return wxString();
    return Quorvane::instance().recentFiles()[i];
}
