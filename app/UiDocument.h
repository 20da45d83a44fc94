#pragma once

#include "editing/QuorvaneDocument.h"

#include <wx/aui/tabmdi.h>
#include <wx/docview.h>

// The framework's side of a score document: it forwards the document
// manager's calls to QuorvaneDocument and keeps the window titles in step.
class UiDocument : public wxDocument
{
    wxDECLARE_DYNAMIC_CLASS(UiDocument);
public:
    UiDocument() = default;

    QuorvaneDocument& document() { return score; }

    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& path) override;
    bool OnCloseDocument() override;
    bool OnSaveModified() override;
    bool Save() override;
    bool SaveAs() override;
    bool IsModified() const override { return score.IsModified(); }
    void Modify(bool modified) override;
    wxString GetUserReadableName() const override;

    // Gives a document that has no file a title of its own.
    void rename(const BcString& title);

    // The adapter of the active document window's document, or null.
    static UiDocument* of(QuorvaneDocument* document);

protected:
    bool DoSaveDocument(const wxString& path) override;
    bool DoOpenDocument(const wxString& path) override;

private:
    void titleChanged();
    QuorvaneDocument score;
};

// The document windows are tabs of the main frame.
class UiChildFrame : public wxDocChildFrameAny<wxAuiMDIChildFrame, wxAuiMDIParentFrame>
{
public:
    UiChildFrame(wxDocument* document, wxView* view, wxAuiMDIParentFrame* parent);
    ~UiChildFrame() override;
    void Activate() override;

private:
    void onActivate(wxActivateEvent& event);
};

// New documents are "New 1", "New 2"...; frame titles "name - Quorvane";
// the recent files are the application's four.
class UiDocManager : public wxDocManager
{
public:
    UiDocManager();

    wxString MakeNewDocumentName() override;
    wxString MakeFrameTitle(wxDocument* document) override;
    void AddFileToHistory(const wxString& file) override;
    void RemoveFileFromHistory(size_t i) override;
    size_t GetHistoryFilesCount() const override;
    wxString GetHistoryFile(size_t i) const override;
    void OnOpenFileFailure() override {}
    // Every file is offered to the one template: a score file is known by
    // its content, not its name.
    wxDocTemplate* FindTemplateForPath(const wxString& path) override;

    // The text of string 130's part: 0 title, 1 new-document name, 2 file
    // type, 3 filter, 4 extension.
    static wxString documentString(int part);

private:
    int newDocumentCount = 0;
};
