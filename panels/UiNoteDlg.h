#pragma once

#include "panels/UiPropertiesDlg.h"

class MnChord;

// The page of selected notes: what belongs to the note (written accidental,
// tie and its side, arpeggio and its type) and, through its chord, what
// belongs to the chord (stem, slash, beam, slur, articulations). Two notes
// of one chord write the chord's values twice, to the same effect.
class UiNoteDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 103;
    UiNoteDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // A chord's value with the six dotted values counted as two thirds.
    static int undottedValue(const MnChord& chord);
    // Eighths and shorter.
    static bool isBeamable(const MnChord& chord);

    // Radio members: the checked index, -1 mixed. Check members: 0, 1, 2 mixed.
    int accidental = 0;  // written accidental + 2; 5 none
    int stem = 0;        // 0 automatic, 1 up, 2 down
    int invertStem = 0;
    int graceSlash = 0;
    int beam = 0;        // beam mode + 1
    int tie = 0;
    int tieSide = 0;     // 0 automatic, 1 below, 2 above
    int slur = 0;
    int slurSide = 0;    // 0 automatic, 1 below, 2 above
    int slurStart = 0;
    int articulations[6] = {};  // staccatissimo, staccato, tenuto, accent, strong accent, fermata
    int arpeggio = 0;
    int arpeggioType = 0;
    int grace = 0;       // read only
    int beamable = 0;    // read only

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;

private:
    void enableGroups();
};
