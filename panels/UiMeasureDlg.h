#pragma once

#include "panels/UiPropertiesDlg.h"

#include <string>

class MnMeasure;

// The page of selected measures: the bar line at the end with its repeat
// count, the joins to the next staff and to the tablature, the volta
// bracket, the repeat marker and jump, and the break after the measure.
// All but the two joins are kept equal across the staves of a score: they
// are written into the measure of that number in every staff.
class UiMeasureDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 104;
    UiMeasureDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // The volta kind the endings (0, 1, 2 mixed each), the custom text and
    // the closed state (0, 1, 2 mixed) show: 0 none, 1 first time, 2 second
    // time open, 3 second time closed, 4 custom.
    static int classifyEndings(const int endings[10], const std::string& text, int closed);

    int barline = 0;         // bar-line code, -1 mixed
    int toNextStaff = 1;
    int toTablature = 1;
    int repeatCount = 2;
    bool repeatCountMixed = false;
    int voltaKind = 0;
    int endings[10] = {};
    std::string voltaText;
    int voltaClosed = 0;
    int repeatMarker = 0;
    int repeatJump = 0;
    int systemBreak = 0;
    int hasTablature = 0;

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    void initDialog() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;

private:
    void setEndings(int only, bool closed, int kind);
};
