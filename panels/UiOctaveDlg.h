#pragma once

#include "panels/UiPropertiesDlg.h"

// The page of selected octave lines: one or two octaves down or up, or loco.
class UiOctaveDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 118;
    UiOctaveDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // The radio of a kind (-2..2) and back: two down, one down, one up, two
    // up, then loco.
    static int signIndex(int kind);
    static int kindOf(int index);

    int sign = 0;  // radio index, -1 mixed

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
