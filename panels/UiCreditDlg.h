#pragma once

#include "panels/UiPropertiesDlg.h"

#include <string>

// The page of selected credits: the text, the work text it shows (which
// fills the text from the work) and its alignment between the page's
// margins, or none for a credit placed freely.
class UiCreditDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 110;
    UiCreditDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    std::string text;
    int type = 0;       // credit type + 1: 0 none, 1 title .. 6 copyright; -1 mixed
    int alignment = 0;  // 0 left, 1 centre, 2 right, 3 none; -1 mixed

protected:
    void setupAnchors() override;
    void initDialog() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
