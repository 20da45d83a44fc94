#pragma once

#include "app/AutoSave.h"

class Quorvane;

// The backups' view of the running program: the document manager's
// documents and the active document window.
class UiAutoSaveWorkspace : public AutoSave::Workspace
{
public:
    explicit UiAutoSaveWorkspace(Quorvane& app) : app(app) {}

    void documents(std::vector<QuorvaneDocument*>& out) override;
    void keepCamera(QuorvaneDocument* document) override;
    QuorvaneDocument* activeDocument() override;
    QuorvaneDocument* openFile(const BcString& path) override;
    QuorvaneDocument* newDocument() override;
    void closeDocument(QuorvaneDocument* document) override;
    void setTitle(QuorvaneDocument* document, const BcString& title) override;
    void restored(QuorvaneDocument* document) override;

private:
    Quorvane& app;
};
