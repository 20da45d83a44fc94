#include "panels/UiPartDlg.h"

#include "app/UiDataExchange.h"
#include "app/UiImages.h"
#include "foundation/BcStringResources.h"
#include "model/MnCodes.h"
#include "model/MnGeneralMidi.h"
#include "model/MnPart.h"
#include "panels/UiPartPageLayouts.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

enum Control
{
    nameEdit = 1094,
    abbreviationEdit = 1111,
    instrumentGroup = 1000,
    generalMidiRadio = 1019,
    programList = 1292,
    volumeSlider = 1335,
    volumeEdit = 1087,
    volumeUpDown = 1336,
    scaleSlider = 1329,
    scaleEdit = 1086,
    scaleUpDown = 1333,
    resetButton = 1330,
};

constexpr int resetIcon = 149;
constexpr int programNames = 10071;
constexpr int programCount = 128;
constexpr int lowestVolume = 0;
constexpr int highestVolume = 100;
constexpr int lowestScale = 50;
constexpr int highestScale = 150;

// The radios of the instruments in index order: the twelve named ones, then
// "Default" (12); "General MIDI" (13) is generalMidiRadio.
const int instrumentRadios[13] = {1000, 1001, 1006, 1002, 1003, 1014, 1004, 1013, 1005, 1015, 1016, 1017, 1018};

// The icon over each named instrument's radio, with its icon (those of the
// project browser's parts).
const int instrumentIcons[12][2] = {
    {1293, 135}, {1294, 135}, {1295, 148}, {1296, 137}, {1297, 138}, {1298, 138},
    {1299, 139}, {1300, 139}, {1301, 139}, {1302, 147}, {1303, 144}, {1304, 145},
};

// The instrument a click on a radio or an icon picks; -1 for neither.
int instrumentClicked(int controlId)
{
    for (int k = 0; k < 13; ++k)
        if (instrumentRadios[k] == controlId)
            return k;
    for (int k = 0; k < 12; ++k)
        if (instrumentIcons[k][0] == controlId)
            return k;
    return -1;
}

std::string narrow(const BcString& text)
{
    return text.toNarrow(BcString::utf8CodePage);
}

}

BcString UiPartDlg::title() const
{
    return BcStringResources::current().loadString(10021);
}

const BcClass* UiPartDlg::elementClass() const
{
    return MnPart::staticClass();
}

void UiPartDlg::instrumentChoice(int code, int& choice, int& shownProgram)
{
    if (code >= MnInstrumentProgram) {
        choice = generalMidi;
        shownProgram = code & 0x7F;
    } else if (code >= MnInstrumentPiano && code <= MnInstrumentSaxophone) {
        choice = code;
        shownProgram = instrumentToProgram(code);
    } else {
        // Below 0, and the codes between the named instruments and the
        // programs, which the part never keeps: the default sound.
        choice = defaultSound;
        shownProgram = instrumentToProgram(MnInstrumentNone);
    }
}

void UiPartDlg::scaleBitmaps()
{
    for (const auto& icon : instrumentIcons)
        setScaledBitmap(icon[0], int(UiImages::iconBase) + icon[1]);
}

void UiPartDlg::setupAnchors()
{
    addAnchors(UiPartPageLayouts::partAnchors, UiPartPageLayouts::partAnchorCount);
}

void UiPartDlg::initDialog()
{
    UiControlHost& h = host();
    std::string names = narrow(BcStringResources::current().loadString(programNames));
    std::vector<std::string> items;
    size_t start = 0;
    while (int(items.size()) < programCount) {
        size_t end = names.find(';', start);
        items.push_back(names.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    h.setItems(programList, items);
    h.setRange(volumeSlider, lowestVolume, highestVolume);
    h.setPosition(volumeSlider, volume);
    h.setSteps(volumeSlider, 1, 25);
    h.setTicks(volumeSlider, {25, 50, 75});
    h.setRange(volumeUpDown, lowestVolume, highestVolume);
    h.setRange(scaleSlider, lowestScale, highestScale);
    h.setPosition(scaleSlider, scale);
    h.setSteps(scaleSlider, 1, 10);
    h.setTicks(scaleSlider, {100});
    h.setRange(scaleUpDown, lowestScale, highestScale);
    setButtonIcon(resetButton, resetIcon);
}

bool UiPartDlg::loadElement(MnElement* element, bool merge)
{
    MnPart* part = static_cast<MnPart*>(element);
    std::string partName = narrow(part->name());
    std::string partAbbreviation = narrow(part->abbreviation());
    int choice = 0, partProgram = 0;
    instrumentChoice(part->instrument(), choice, partProgram);
    int partVolume = volumeOf(part->volume());
    // Rounded: a scale of 1.15 is 115 per cent, not 114.
    int partScale = int(std::lround(part->partScale() * 100));
    if (!merge) {
        name = partName;
        abbreviation = partAbbreviation;
        instrument = choice;
        program = partProgram;
        volume = partVolume;
        volumeMixed = false;
        scale = partScale;
        scaleMixed = false;
        return true;
    }
    mergeText(name, partName);
    mergeText(abbreviation, partAbbreviation);
    mergeChoice(instrument, choice);
    mergeChoice(program, partProgram);
    if (volume != partVolume)
        volumeMixed = true;
    if (scale != partScale)
        scaleMixed = true;
    return true;
}

bool UiPartDlg::applyToElement(MnElement* element)
{
    MnPart* part = static_cast<MnPart*>(element);
    if (name != various)
        part->setName(BcString(name.c_str()));
    if (abbreviation != various)
        part->setAbbreviation(BcString(abbreviation.c_str()));
    if (instrument >= 0 && instrument < defaultSound)
        part->setInstrument(instrument);
    else if (instrument == defaultSound)
        part->setInstrument(MnInstrumentNone);
    // A mixed program leaves every part its own: there is no program to
    // write.
    else if (instrument == generalMidi && program >= 0 && program < programCount)
        part->setInstrument(MnInstrumentProgram + program);
    if (!volumeMixed && volume >= lowestVolume && volume <= highestVolume)
        part->setVolume(storedVolume(volume, part->volume()));
    if (!scaleMixed)
        part->setScale(std::clamp(scale, lowestScale, highestScale) / 100.0);
    return true;
}

void UiPartDlg::exchange(UiDataExchange& dx)
{
    UiControlHost& h = host();
    dx.text(nameEdit, name);
    dx.text(abbreviationEdit, abbreviation);
    dx.radio(instrumentGroup, instrument);
    dx.listIndex(programList, program);
    h.enable(programList, instrument == generalMidi);
    exchangeNumber(dx, volumeEdit, volume, volumeMixed);
    if (!volumeMixed && h.position(volumeSlider) != volume)
        h.setPosition(volumeSlider, volume);
    exchangeNumber(dx, scaleEdit, scale, scaleMixed);
    if (!scaleMixed && h.position(scaleSlider) != scale)
        h.setPosition(scaleSlider, scale);
}

void UiPartDlg::sliderMoved(int sliderId, int& value, bool& mixed, bool layoutChanged)
{
    int position = host().position(sliderId);
    if (position == value && !mixed)
        return;
    value = position;
    mixed = false;
    updateData(false);
    apply(layoutChanged);
}

void UiPartDlg::notified(int controlId, UiControlHost::Notification what)
{
    switch (what) {
    case UiControlHost::textChanged:
        if (controlId == nameEdit || controlId == abbreviationEdit)
            onControlChange();
        else if (controlId == volumeEdit)
            numberTyped(volumeEdit, volumeMixed);
        else if (controlId == scaleEdit)
            numberTyped(scaleEdit, scaleMixed);
        return;
    case UiControlHost::selectionChanged:
        if (controlId == programList)
            onControlChange();
        return;
    case UiControlHost::scrolled:
        // The volume changes nothing on the page: no new layout.
        if (controlId == volumeSlider)
            sliderMoved(volumeSlider, volume, volumeMixed, false);
        else if (controlId == scaleSlider)
            sliderMoved(scaleSlider, scale, scaleMixed, true);
        return;
    case UiControlHost::clicked:
        break;
    }
    if (controlId == resetButton) {
        scale = 100;
        scaleMixed = false;
    } else if (controlId == generalMidiRadio) {
        instrument = generalMidi;
    } else {
        int k = instrumentClicked(controlId);
        if (k < 0)
            return;
        instrument = k;
        program = instrumentToProgram(k == defaultSound ? MnInstrumentNone : k);
    }
    updateData(false);
    apply(true);
}
