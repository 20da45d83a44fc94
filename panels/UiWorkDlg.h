#pragma once

#include "panels/UiPropertiesDlg.h"

#include <string>

// The page of the document's work (the "Project" tab): its six texts. Every
// keystroke is one edit, carried at once into the credits of the document's
// sheet musics that show one of these texts.
class UiWorkDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 111;
    UiWorkDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // Title, subtitle, composer, arranger, lyricist, copyright: the order of
    // the work's fields and of the credit types that show them.
    std::string texts[6];

protected:
    void setupAnchors() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
