#pragma once

#include "panels/UiPropertiesDlg.h"

class MnStaffDefinition;

// The page of selected staves and staff changes: clef, key signature and
// time signature. A time signature is edited only where it can start, on a
// staff or a change at the start of a measure.
class UiStaffDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 101;
    UiStaffDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // Between the time-signature radios (in the order of their pictures)
    // and MnTimeSignatureType codes; anything outside the table gives the
    // first entry's.
    static int timeIndexOfCode(int code);
    static int timeCodeOfIndex(int index);
    // A staff, or a change that stands at the start of one of its staff's
    // measures.
    static bool canTakeTime(const MnStaffDefinition& definition);

    int clef = 0;          // MnClef, -1 mixed
    int key = 7;           // fifths + 7, -1 mixed
    int time = 0;          // radio index, -1 mixed
    int timeEditable = 1;  // 0, 1, 2 mixed

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
