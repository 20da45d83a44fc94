#pragma once

#include "panels/UiPropertiesDlg.h"

#include <string>

// The page of selected tempo marks: the metronome marking (beat unit and
// beats per minute), the tempo term with its qualifiers "Molto" and "Ma non
// troppo" or a text of one's own, and whether the metronome marking is
// shown. Choosing a term or a qualifier puts a typical number of beats per
// minute for it; typing the number leaves the term alone.
class UiTempoDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 109;
    UiTempoDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    static constexpr int beatUnitCount = 6;
    static constexpr int otherTerm = 20;
    // The beat unit in ticks of a radio index 0..5; the index of a beat unit,
    // -1 for one that has no radio.
    static int beatUnitTicks(int index);
    static int beatUnitIndex(int ticks);

    // The beats per minute typical of the term, moved toward the top of its
    // range by "Molto" and to its bottom by "Ma non troppo" (a mixed
    // qualifier counts as on). Nothing for "Other" or a mixed term.
    void tempoFromMarking();

    // Radio members: the index, -1 mixed; checks: 0, 1, 2 mixed.
    int beatUnit = -1;  // none checked
    int beatsPerMinute = 96;
    bool beatsPerMinuteMixed = false;
    int term = otherTerm;
    int molto = 0;
    int maNonTroppo = 0;
    std::string customText;
    int showMetronome = 1;

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    void initDialog() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
