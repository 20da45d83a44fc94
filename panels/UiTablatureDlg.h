#pragma once

#include "panels/UiPropertiesDlg.h"

#include <memory>
#include <string>

class UiTuningControls;

// The page of selected tablatures: name and abbreviation, the tuning (the
// fretboard tuning dialog's controls, showing mixed values), the frets and
// the capo with its fret and whether tablature numbers count from it.
class UiTablatureDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 126;
    static constexpr int maxCapoFret = 10;
    static const UiAnchorSpec anchors[];
    static const int anchorCount;

    UiTablatureDlg();
    ~UiTablatureDlg() override;

    BcString title() const override;
    const BcClass* elementClass() const override;

    // The tuning group: preset, strings, letters, octaves and frets with
    // their mixed states. Null before the page is created.
    UiTuningControls* tuning() { return tuningControls.get(); }

    std::string name;
    std::string abbreviation;
    int capoOn = 0;  // 0 off, 1 on, 2 mixed
    int capoFret = 1;
    bool capoFretMixed = false;
    int fretNumbering = 1;  // 0 from the nut, 1 from the capo, -1 mixed

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    void initDialog() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;

private:
    void changedByUser();

    std::unique_ptr<UiTuningControls> tuningControls;
};
