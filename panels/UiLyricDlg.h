#pragma once

#include "panels/UiPropertiesDlg.h"

#include <string>

// The page of selected lyric lines: the text, split into syllables as it is
// typed, and the pass of a repeat on which the line is sung.
class UiLyricDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 125;
    UiLyricDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    std::string text;
    int pass = 0;  // 0 always, 1..10 that pass; -1 mixed

protected:
    void setupAnchors() override;
    void initDialog() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
