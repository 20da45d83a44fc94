#pragma once

#include "panels/UiPropertiesDlg.h"

// The page of selected pedal marks and lines: one of the nine forms, whose
// radio index is the pedal's kind.
class UiPedalDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 119;
    UiPedalDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    int marking = 2;  // the kind, -1 mixed

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
