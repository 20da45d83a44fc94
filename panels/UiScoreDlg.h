#pragma once

#include "panels/UiPropertiesDlg.h"

#include <string>

class MnScore;

// The page of selected scores: the starting tempo's and the staff's
// display flags, the scale, and the statistics of the score (duration at
// the starting tempo, staves, systems, measures, notes, chords, untied
// notes).
class UiScoreDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 112;
    UiScoreDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    struct Statistics
    {
        std::string duration = "-";
        int staves = 0;
        int systems = 1;
        int measures = 0;
        int notes = 0;    // each tied chain once
        int chords = 0;   // distinct onsets per measure across the staves
        int untied = 0;   // every written note
    };
    static Statistics statistics(const MnScore& score);
    // "s:mmm" below a minute, "m:ss:mmm" from a minute; "-" without a
    // beat unit or tempo above 0.
    static std::string duration(long long ticks, int beatUnit, int beatsPerMinute);

    int showStartingTempo = 1;
    int showStaff = 1;
    int scalePercent = 100;
    bool scaleMixed = false;

protected:
    void setupAnchors() override;
    void initDialog() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
