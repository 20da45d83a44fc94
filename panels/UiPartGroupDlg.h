#pragma once

#include "panels/UiPropertiesDlg.h"

#include <string>

// The page of selected part groups: name, abbreviation and bracket.
class UiPartGroupDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 107;
    UiPartGroupDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    std::string name;
    std::string abbreviation;
    int bracket = 0;  // bracket type 0..3, -1 mixed

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
