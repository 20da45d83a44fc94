#pragma once

#include "panels/UiPropertiesDlg.h"

// The font page of every text element (plain texts and every element that
// shows a text): the font family, bold, italic, underline and the height in
// points.
class UiTextDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 105;
    UiTextDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // The families of the list, in font-number order. Drawing maps each to
    // the metric-compatible font it has.
    static const char* const families[3];

    int font = 0;  // -1 mixed
    int bold = 0;  // checks: 0, 1, 2 mixed
    int italic = 0;
    int underline = 0;
    int height = 12;  // points
    bool heightMixed = false;

protected:
    void setupAnchors() override;
    void initDialog() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
