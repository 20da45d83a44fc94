#include "app/UiTuningControls.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "panels/UiPropertiesDlg.h"

#include <algorithm>

const int UiTuningControls::labelIds[FretboardTuning::maxStrings] = {1355, 1356, 1357, 1358, 1370, 1371, 1372, 1373};
const int UiTuningControls::letterIds[FretboardTuning::maxStrings] = {1347, 1348, 1349, 1350, 1351, 1352, 1366, 1368};
const int UiTuningControls::octaveIds[FretboardTuning::maxStrings] = {1359, 1360, 1361, 1362, 1363, 1364, 1367, 1369};

namespace {

std::string text(unsigned id)
{
    return BcStringResources::current().loadString(id).toNarrow(BcString::utf8CodePage);
}

constexpr unsigned customNameId = 10111;

}

UiTuningControls::UiTuningControls(UiControlHost& host) : host(host) {}

std::vector<std::string> UiTuningControls::presetNames(bool withCustom) const
{
    std::vector<std::string> names;
    for (int i = 0; i < FretboardTuning::presetCount; ++i)
        names.push_back(text(FretboardTuning::presetNameId(i)));
    if (withCustom)
        names.push_back(text(customNameId));
    return names;
}

void UiTuningControls::init(const FretboardTuning& start)
{
    host.setItems(presetList, presetNames(true));
    static const char* const letters[FretboardTuning::letterCount] = {
        "A",   "B",   "C",   "D",   "E",   "F",   "G",   "A b", "B b", "C b", "D b",
        "E b", "F b", "G b", "A #", "B #", "C #", "D #", "E #", "F #", "G #"};
    const std::vector<std::string> letterItems(letters, letters + FretboardTuning::letterCount);
    std::vector<std::string> octaveItems;
    for (int octave = 0; octave <= FretboardTuning::maxOctave; ++octave)
        octaveItems.push_back(std::to_string(octave));
    for (int s = 0; s < FretboardTuning::maxStrings; ++s) {
        host.setItems(letterIds[s], letterItems);
        host.setItems(octaveIds[s], octaveItems);
    }
    host.setTextLimit(fretsEdit, 2);
    host.setRange(fretsUpDown, 1, fretLimit);
    tuning = start;
    presetIndex = -1;
    exchange(false);
    initialised = true;
}

bool UiTuningControls::exchange(bool fromControls)
{
    UiDataExchange dx(host, fromControls);
    return exchange(dx);
}

bool UiTuningControls::exchange(UiDataExchange& dx)
{
    FretboardTuning edited = tuning;
    int preset = presetIndex;
    dx.listIndex(presetList, preset);
    int frets = edited.frets;
    if (fretsMixed) {
        if (!dx.fromControls())
            host.setText(fretsEdit, UiPropertiesDlg::various);
    } else if (checksFields) {
        dx.unsignedInteger(fretsEdit, frets);
        dx.range(fretsEdit, frets, 1, fretLimit);
    } else if (!dx.fromControls()) {
        host.setText(fretsEdit, std::to_string(frets));
    } else {
        const std::string typed = host.text(fretsEdit);
        if (!typed.empty() && typed.size() <= 2 && std::all_of(typed.begin(), typed.end(), [](char c) {
                return c >= '0' && c <= '9';
            }))
            frets = std::stoi(typed);
    }
    for (int s = 0; s < FretboardTuning::maxStrings; ++s) {
        dx.listIndex(letterIds[s], edited.pitch[s]);
        dx.listIndex(octaveIds[s], edited.octave[s]);
    }
    if (!dx.ok())
        return false;
    edited.frets = frets;
    tuning = edited;
    presetIndex = preset;
    const int strings = tuning.strings;
    for (int s = 0; s < FretboardTuning::maxStrings; ++s) {
        const bool used = !stringsMixed && s < strings;
        host.enable(labelIds[s], used);
        host.show(letterIds[s], used);
        host.show(octaveIds[s], used);
    }
    host.enable(plusButton, !stringsMixed && strings < FretboardTuning::maxStrings);
    host.enable(minusButton, !stringsMixed && strings > minStrings);
    updatePresetSelection();
    return true;
}

bool UiTuningControls::updatePresetSelection()
{
    const int before = presetIndex;
    // Strings past the count are not part of the tuning: a mixed one there
    // does not hide the preset the used strings make.
    bool unset = stringsMixed || fretsMixed;
    for (int s = 0; s < tuning.strings && s < FretboardTuning::maxStrings; ++s)
        unset = unset || tuning.pitch[s] < 0 || tuning.octave[s] < 0;
    if (unset) {
        presetIndex = -1;
    } else {
        const int preset = FretboardTuning::presetIndex(tuning);
        presetIndex = preset >= 0 ? preset : customIndex;
    }
    const int items = host.itemCount(presetList);
    if (presetIndex != customIndex && items > FretboardTuning::presetCount)
        host.setItems(presetList, presetNames(false));
    else if (presetIndex == customIndex && items == FretboardTuning::presetCount)
        host.setItems(presetList, presetNames(true));
    // Remaking the list clears its selection: it is set again either way.
    host.setSelection(presetList, presetIndex);
    return presetIndex != before;
}

void UiTuningControls::choosePreset(int index)
{
    // The preset's strings; those past its count keep what they held.
    const FretboardTuning chosen = FretboardTuning::preset(index);
    tuning.strings = chosen.strings;
    for (int s = 0; s < chosen.strings; ++s) {
        tuning.pitch[s] = chosen.pitch[s];
        tuning.octave[s] = chosen.octave[s];
    }
    tuning.frets = chosen.frets;
    stringsMixed = false;
    fretsMixed = false;
}

void UiTuningControls::userChanged()
{
    if (changed)
        changed();
}

bool UiTuningControls::notified(int id, UiControlHost::Notification what)
{
    if (id == presetList && what == UiControlHost::selectionChanged) {
        const int chosen = host.selection(presetList);
        if (chosen == presetIndex)
            return true;
        const bool isPreset = chosen >= 0 && chosen < FretboardTuning::presetCount;
        if (isPreset)
            choosePreset(chosen);
        exchange(false);
        if (isPreset)
            userChanged();
        return true;
    }
    for (int s = 0; s < FretboardTuning::maxStrings; ++s) {
        if ((id == letterIds[s] || id == octaveIds[s]) && what == UiControlHost::selectionChanged) {
            if (exchange(true))
                userChanged();
            return true;
        }
    }
    if (id == plusButton && what == UiControlHost::clicked) {
        if (!stringsMixed && tuning.strings < FretboardTuning::maxStrings) {
            ++tuning.strings;
            exchange(false);
            userChanged();
        }
        return true;
    }
    if (id == minusButton && what == UiControlHost::clicked) {
        if (!stringsMixed && tuning.strings > minStrings) {
            --tuning.strings;
            exchange(false);
            userChanged();
        }
        return true;
    }
    if (id == fretsEdit && what == UiControlHost::textChanged) {
        fretsChanged();
        return true;
    }
    return id == fretsUpDown;
}

void UiTuningControls::fretsChanged()
{
    if (!initialised)
        return;
    fretsMixed = false;
    const std::string typed = host.text(fretsEdit);
    std::string digits;
    for (char c : typed)
        if (c >= '0' && c <= '9')
            digits += c;
    if (digits != typed)
        host.setText(fretsEdit, digits);
    // A count the neck cannot have waits for OK to be refused; the letters
    // and octaves are taken meanwhile.
    if (digits.empty() || digits.size() > 2 || std::stoi(digits) < 1)
        return;
    if (exchange(true))
        userChanged();
}
