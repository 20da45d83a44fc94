#include "app/UiAutoSaveWorkspace.h"

#include "app/Quorvane.h"
#include "app/UiDocument.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdView.h"
#include "foundation/GePoint2d.h"

namespace {

QuorvaneDocument* scoreOf(wxDocument* document)
{
    UiDocument* adapter = wxDynamicCast(document, UiDocument);
    return adapter ? &adapter->document() : nullptr;
}

}

void UiAutoSaveWorkspace::documents(std::vector<QuorvaneDocument*>& out)
{
    out.clear();
    if (!app.documentManager())
        return;
    for (wxDocument* document : app.documentManager()->GetDocumentsVector())
        if (QuorvaneDocument* score = scoreOf(document))
            out.push_back(score);
}

void UiAutoSaveWorkspace::keepCamera(QuorvaneDocument* document)
{
    EdView* view = EdContext::current().activeView();
    if (!view || view->document() != document)
        return;
    GePoint2d scroll;
    double zoom = 1.0;
    view->camera(scroll, zoom);
    document->setCamera(scroll, zoom);
}

QuorvaneDocument* UiAutoSaveWorkspace::activeDocument()
{
    return EdContext::current().activeDocument();
}

QuorvaneDocument* UiAutoSaveWorkspace::openFile(const BcString& path)
{
    if (!app.documentManager())
        return nullptr;
    wxString name = wxString::FromUTF8(path.toNarrow(BcString::utf8CodePage));
    return scoreOf(app.documentManager()->CreateDocument(name, wxDOC_SILENT));
}

QuorvaneDocument* UiAutoSaveWorkspace::newDocument()
{
    if (!app.documentManager())
        return nullptr;
    return scoreOf(app.documentManager()->CreateDocument(wxEmptyString, wxDOC_NEW));
}

void UiAutoSaveWorkspace::closeDocument(QuorvaneDocument* document)
{
    UiDocument* adapter = UiDocument::of(document);
    if (adapter && app.documentManager())
        app.documentManager()->CloseDocument(adapter, true);
}

void UiAutoSaveWorkspace::setTitle(QuorvaneDocument* document, const BcString& title)
{
    if (UiDocument* adapter = UiDocument::of(document))
        adapter->rename(title);
}

void UiAutoSaveWorkspace::restored(QuorvaneDocument* document)
{
    // The restored content is an edit of the document: it is marked
    // modified, and undo leads back to what the file held.
    if (EdContext::current().activeDocument() == document) {
        EdCommand edit;
        edit.markModified();
        edit.close();
    } else {
        document->pushUndoSnapshot();
        document->SetModifiedFlag(true);
    }
    if (UiDocument* adapter = UiDocument::of(document)) {
        adapter->Modify(true);
        adapter->UpdateAllViews();
    }
}
