#pragma once

#include "panels/UiPropertiesDlg.h"

// The page of selected tuplets: the bracket, the side of the number and
// the ratio, which rebuilds the tuplet's run in its measure.
class UiTupletDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 114;
    UiTupletDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // The ratio table: index 0..10 to the tuplet's number and alternative
    // flag, and back (-1 for a number the table lacks).
    static constexpr int ratioCount = 11;
    static bool ratioOf(int index, int& number, bool& alternative);
    static int ratioIndex(int number, bool alternative);

    int bracket = 0;    // 0 automatic, 1 number alone, 2 bracket; -1 mixed
    int direction = 0;  // 0 automatic, 1 above, 2 below; -1 mixed
    int ratio = 0;      // ratio index, -1 mixed or none of the table

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;

private:
    void showStoredRatio();
};
