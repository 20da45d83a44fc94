#include "panels/UiScoreDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "panels/UiPageAnchors.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

enum Control
{
    startingTempoCheck = 1178,
    showStaffCheck = 1194,
    durationValue = 1180,
    stavesValue = 1182,
    measuresValue = 1184,
    notesValue = 1186,
    systemsValue = 1191,
    chordsValue = 1193,
    untiedValue = 1189,
    scaleSlider = 1329,
    scaleEdit = 1086,
    scaleUpDown = 1333,
    resetButton = 1330,
};

// The picture of the reset button.
constexpr int resetIcon = 149;

constexpr int lowestPercent = 50;
constexpr int highestPercent = 150;

// A note tied from a note of the same pitch in the chord before it.
bool continuesTie(const MnNote& note)
{
    if (!note.isTied())
        return false;
    const MnChord* previous = note.chord() ? note.chord()->previousChord() : nullptr;
    if (!previous)
        return false;
    for (int i = 0; i < previous->noteCount(); ++i) {
        const MnNote* other = previous->note(i);
        if (other->step() == note.step() && other->octave() == note.octave() &&
            other->keyNumber() == note.keyNumber())
            return true;
    }
    return false;
}

}

BcString UiScoreDlg::title() const
{
    return BcStringResources::current().loadString(10019);
}

const BcClass* UiScoreDlg::elementClass() const
{
    return MnScore::staticClass();
}

std::string UiScoreDlg::duration(long long ticks, int beatUnit, int beatsPerMinute)
{
    if (beatUnit <= 0 || beatsPerMinute <= 0 || ticks < 0)
        return "-";
    long long ms = ticks / beatUnit * 60000 / beatsPerMinute;
    long long s = ms / 1000;
    char text[64];
    if (s > 59)
        std::snprintf(text, sizeof text, "%lld:%02lld:%03lld", ms / 60000, s - 60 * (ms / 60000), ms % 1000);
    else
        std::snprintf(text, sizeof text, "%lld:%03lld", s, ms % 1000);
    return text;
}

UiScoreDlg::Statistics UiScoreDlg::statistics(const MnScore& score)
{
    Statistics out;
    out.staves = score.staffCount();
    const MnStaff* first = score.staffCount() > 0 ? score.staff(0) : nullptr;
    if (!first)
        return out;
    const MnTempo* start = score.tempoCount() > 0 ? score.tempo(0) : nullptr;
    if (start)
        out.duration = duration(first->totalTicks(), start->beatUnit(), start->beatsPerMinute());
    if (MnSheetMusic* sheet = score.sheetMusic())
        out.systems = first->measureCount() > 0 ? sheet->systemCount() : 0;
    out.measures = first->measureCount();
    std::vector<int> onsets;
    for (int m = 0; m < out.measures; ++m) {
        onsets.clear();
        for (int s = 0; s < score.staffCount(); ++s) {
            const MnStaff* staff = score.staff(s);
            if (m >= staff->measureCount())
                continue;
            const MnMeasure* measure = staff->measure(m);
            for (int v = 0; v < MnMeasure::voiceCount; ++v) {
                const BcArray<MnChord*>& chords = measure->voiceChords(v);
                for (int c = 0; c < chords.count(); ++c) {
                    const MnChord* chord = chords[c];
                    for (int n = 0; n < chord->noteCount(); ++n) {
                        ++out.untied;
                        if (continuesTie(*chord->note(n)))
                            continue;
                        ++out.notes;
                        onsets.push_back(chord->time());
                    }
                }
            }
        }
        std::sort(onsets.begin(), onsets.end());
        out.chords += int(std::unique(onsets.begin(), onsets.end()) - onsets.begin());
    }
    return out;
}

void UiScoreDlg::setupAnchors()
{
    addAnchors(UiPageAnchors::score, UiPageAnchors::scoreCount);
}

void UiScoreDlg::initDialog()
{
    host().setRange(scaleSlider, lowestPercent, highestPercent);
    host().setPosition(scaleSlider, scalePercent);
    host().setSteps(scaleSlider, 1, 10);
    host().setTicks(scaleSlider, {100});
    host().setRange(scaleUpDown, lowestPercent, highestPercent);
    setButtonIcon(resetButton, resetIcon);
}

bool UiScoreDlg::loadElement(MnElement* element, bool merge)
{
    MnScore* score = static_cast<MnScore*>(element);
    MnCache scope;
    int tempo = score->showsStartingTempo() ? 1 : 0;
    int staff = score->hidesStaves() ? 0 : 1;
    int percent = int(score->scale() * 100);
    if (!merge) {
        showStartingTempo = tempo;
        showStaff = staff;
        scalePercent = percent;
        scaleMixed = false;
    } else {
        mergeCheck(showStartingTempo, tempo);
        mergeCheck(showStaff, staff);
        if (percent != scalePercent)
            scaleMixed = true;
    }
    // With several scores the labels show the last one's.
    Statistics numbers = statistics(*score);
    UiControlHost& h = host();
    h.setText(durationValue, numbers.duration);
    h.setText(stavesValue, std::to_string(numbers.staves));
    h.setText(systemsValue, std::to_string(numbers.systems));
    h.setText(measuresValue, std::to_string(numbers.measures));
    h.setText(notesValue, std::to_string(numbers.notes));
    h.setText(chordsValue, std::to_string(numbers.chords));
    h.setText(untiedValue, std::to_string(numbers.untied));
    return true;
}

bool UiScoreDlg::applyToElement(MnElement* element)
{
    MnScore* score = static_cast<MnScore*>(element);
    if (showStartingTempo != 2)
        score->setShowStartingTempo(showStartingTempo == 1);
    if (showStaff != 2)
        score->setHideStaves(showStaff == 0);
    if (!scaleMixed)
        score->setScale(std::clamp(scalePercent, lowestPercent, highestPercent) / 100.0);
    return true;
}

void UiScoreDlg::exchange(UiDataExchange& dx)
{
    dx.check(startingTempoCheck, showStartingTempo);
    dx.check(showStaffCheck, showStaff);
    exchangeNumber(dx, scaleEdit, scalePercent, scaleMixed);
    if (!scaleMixed && host().position(scaleSlider) != scalePercent)
        host().setPosition(scaleSlider, scalePercent);
}

void UiScoreDlg::notified(int controlId, UiControlHost::Notification what)
{
    switch (controlId) {
    case startingTempoCheck:
    case showStaffCheck:
        if (what == UiControlHost::clicked) {
            int& member = controlId == startingTempoCheck ? showStartingTempo : showStaff;
            // A mixed box turns on.
            member = member == 1 ? 0 : 1;
            updateData(false);
            apply(true);
        }
        break;
    case scaleEdit:
        if (what == UiControlHost::textChanged)
            numberTyped(scaleEdit, scaleMixed);
        break;
    case resetButton:
        if (what == UiControlHost::clicked) {
            scalePercent = 100;
            scaleMixed = false;
            updateData(false);
            apply(true);
        }
        break;
    case scaleSlider:
        if (what == UiControlHost::scrolled) {
            int position = host().position(scaleSlider);
            if (position == scalePercent && !scaleMixed)
                break;
            scalePercent = position;
            scaleMixed = false;
            updateData(false);
            apply(true);
        }
        break;
    default:
        break;
    }
}
