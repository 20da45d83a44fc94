#include "panels/UiTablatureDlg.h"

#include "app/UiDataExchange.h"
#include "app/UiTuningControls.h"
#include "foundation/BcStringResources.h"
#include "model/MnTablature.h"

#include <vector>

namespace {

enum Control
{
    nameEdit = 1094,
    abbreviationEdit = 1111,
    stringsGroup = 1354,
    fretsLabel = 1374,
    capoGroup = 1376,
    capoCheck = 1084,
    capoSlider = 1379,
    capoEdit = 1380,
    capoUpDown = 1381,
    nutPicture = 1384,
    capoPicture = 1385,
    nutRadio = 1382,
    capoRadio = 1383,
};

// The pictures of numbers counted from the nut and from the capo.
constexpr int nutBitmap = 346;
constexpr int capoBitmap = 345;

constexpr unsigned titleId = 10107;

using T = UiTuningControls;

}

const UiAnchorSpec UiTablatureDlg::anchors[] = {
    {nameEdit, UiAnchorSpec::sizeX, 65},
    {abbreviationEdit, UiAnchorSpec::moveX, 65},
    {abbreviationEdit, UiAnchorSpec::sizeX, 35},
    {stringsGroup, UiAnchorSpec::sizeX, 100},
    {T::presetList, UiAnchorSpec::sizeX, 100},
    {1355, UiAnchorSpec::sizeX, 10},
    {1356, UiAnchorSpec::sizeX, 10},
    {1357, UiAnchorSpec::sizeX, 10},
    {1358, UiAnchorSpec::sizeX, 10},
    {1370, UiAnchorSpec::sizeX, 10},
    {1371, UiAnchorSpec::sizeX, 10},
    {1372, UiAnchorSpec::sizeX, 10},
    {1373, UiAnchorSpec::sizeX, 10},
    {1347, UiAnchorSpec::moveX, 10},
    {1347, UiAnchorSpec::sizeX, 25},
    {1348, UiAnchorSpec::moveX, 10},
    {1348, UiAnchorSpec::sizeX, 25},
    {1349, UiAnchorSpec::moveX, 10},
    {1349, UiAnchorSpec::sizeX, 25},
    {1350, UiAnchorSpec::moveX, 10},
    {1350, UiAnchorSpec::sizeX, 25},
    {1351, UiAnchorSpec::moveX, 10},
    {1351, UiAnchorSpec::sizeX, 25},
    {1352, UiAnchorSpec::moveX, 10},
    {1352, UiAnchorSpec::sizeX, 25},
    {1366, UiAnchorSpec::moveX, 10},
    {1366, UiAnchorSpec::sizeX, 25},
    {1368, UiAnchorSpec::moveX, 10},
    {1368, UiAnchorSpec::sizeX, 25},
    {1359, UiAnchorSpec::moveX, 35},
    {1359, UiAnchorSpec::sizeX, 15},
    {1360, UiAnchorSpec::moveX, 35},
    {1360, UiAnchorSpec::sizeX, 15},
    {1361, UiAnchorSpec::moveX, 35},
    {1361, UiAnchorSpec::sizeX, 15},
    {1362, UiAnchorSpec::moveX, 35},
    {1362, UiAnchorSpec::sizeX, 15},
    {1363, UiAnchorSpec::moveX, 35},
    {1363, UiAnchorSpec::sizeX, 15},
    {1364, UiAnchorSpec::moveX, 35},
    {1364, UiAnchorSpec::sizeX, 15},
    {1367, UiAnchorSpec::moveX, 35},
    {1367, UiAnchorSpec::sizeX, 15},
    {1369, UiAnchorSpec::moveX, 35},
    {1369, UiAnchorSpec::sizeX, 15},
    {T::minusButton, UiAnchorSpec::moveX, 50},
    {T::minusButton, UiAnchorSpec::sizeX, 5},
    {T::plusButton, UiAnchorSpec::moveX, 50},
    {T::plusButton, UiAnchorSpec::sizeX, 5},
    {fretsLabel, UiAnchorSpec::moveX, 50},
    {fretsLabel, UiAnchorSpec::sizeX, 10},
    {T::fretsEdit, UiAnchorSpec::moveX, 60},
    {T::fretsEdit, UiAnchorSpec::sizeX, 40},
    {T::fretsUpDown, UiAnchorSpec::moveX, 100},
    {capoGroup, UiAnchorSpec::sizeX, 100},
    {capoSlider, UiAnchorSpec::moveX, 10},
    {capoSlider, UiAnchorSpec::sizeX, 50},
    {capoEdit, UiAnchorSpec::moveX, 60},
    {capoEdit, UiAnchorSpec::sizeX, 40},
    {capoUpDown, UiAnchorSpec::moveX, 100},
    {nutPicture, UiAnchorSpec::moveX, 10},
    {capoPicture, UiAnchorSpec::moveX, 60},
    {nutRadio, UiAnchorSpec::moveX, 10},
    {capoRadio, UiAnchorSpec::moveX, 60},
};
const int UiTablatureDlg::anchorCount = int(sizeof anchors / sizeof anchors[0]);

UiTablatureDlg::UiTablatureDlg() : UiPropertiesDlg(pageTemplateId) {}

UiTablatureDlg::~UiTablatureDlg() = default;

BcString UiTablatureDlg::title() const
{
    return BcStringResources::current().loadString(titleId);
}

const BcClass* UiTablatureDlg::elementClass() const
{
    return MnTablature::staticClass();
}

void UiTablatureDlg::scaleBitmaps()
{
    setScaledBitmap(nutPicture, nutBitmap);
    setScaledBitmap(capoPicture, capoBitmap);
}

void UiTablatureDlg::setupAnchors()
{
    addAnchors(anchors, anchorCount);
}

void UiTablatureDlg::initDialog()
{
    tuningControls = std::make_unique<UiTuningControls>(host());
    // Every keystroke applies what it can: a count the model cannot keep is
    // left unread rather than refused.
    tuningControls->checksFields = false;
    tuningControls->fretLimit = MnTablature::maxFrets;
    tuningControls->changed = [this] { changedByUser(); };
    tuningControls->init(FretboardTuning::preset(0));
    UiControlHost& h = host();
    h.setRange(capoSlider, 1, maxCapoFret);
    h.setPosition(capoSlider, 5);
    h.setSteps(capoSlider, 1, 1);
    std::vector<int> ticks;
    for (int fret = 1; fret <= maxCapoFret; ++fret)
        ticks.push_back(fret);
    h.setTicks(capoSlider, ticks);
    h.setTextLimit(capoEdit, 2);
    h.setRange(capoUpDown, 1, maxCapoFret);
}

bool UiTablatureDlg::loadElement(MnElement* element, bool merge)
{
    if (!tuningControls)
        return false;
    const MnTablature* tablature = static_cast<MnTablature*>(element);
    UiTuningControls& group = *tuningControls;
    FretboardTuning& shown = group.tuning;
    const std::string ownName = tablature->name().toNarrow(BcString::utf8CodePage);
    const std::string ownAbbreviation = tablature->abbreviation().toNarrow(BcString::utf8CodePage);
    const int fromCapo = tablature->fretsFromCapo() ? 1 : 0;
    if (!merge) {
        name = ownName;
        abbreviation = ownAbbreviation;
        shown.strings = tablature->stringCount();
        group.stringsMixed = false;
        for (int s = 0; s < FretboardTuning::maxStrings; ++s) {
            const MnTablature::Tuning& open = tablature->tuning(s);
            shown.pitch[s] = FretboardTuning::letterOf(open.step, open.accidental);
            shown.octave[s] = open.octave;
        }
        shown.frets = tablature->frets();
        group.fretsMixed = false;
        capoOn = tablature->isCapoOn() ? 1 : 0;
        capoFret = tablature->capoFret();
        capoFretMixed = false;
        fretNumbering = fromCapo;
        return true;
    }
    mergeText(name, ownName);
    mergeText(abbreviation, ownAbbreviation);
    if (shown.strings != tablature->stringCount())
        group.stringsMixed = true;
    // Strings past the counts too: "+" may bring them in.
    for (int s = 0; s < FretboardTuning::maxStrings; ++s) {
        const MnTablature::Tuning& open = tablature->tuning(s);
        mergeChoice(shown.pitch[s], FretboardTuning::letterOf(open.step, open.accidental));
        mergeChoice(shown.octave[s], open.octave);
    }
    if (shown.frets != tablature->frets())
        group.fretsMixed = true;
    mergeCheck(capoOn, tablature->isCapoOn() ? 1 : 0);
    if (capoFret != tablature->capoFret())
        capoFretMixed = true;
    mergeChoice(fretNumbering, fromCapo);
    return true;
}

bool UiTablatureDlg::applyToElement(MnElement* element)
{
    if (!tuningControls)
        return false;
    MnTablature* tablature = static_cast<MnTablature*>(element);
    const UiTuningControls& group = *tuningControls;
    const FretboardTuning& shown = group.tuning;
    if (name != various) {
        BcString typed(name.c_str());
        if (typed != tablature->name()) {
            tablature->setName(typed);
            tablature->relayout();
        }
    }
    if (abbreviation != various)
        tablature->setAbbreviation(BcString(abbreviation.c_str()));
    if (!group.stringsMixed) {
        if (shown.strings != tablature->stringCount() && shown.strings >= T::minStrings &&
            shown.strings <= MnTablature::maxStrings)
            tablature->setStringCount(shown.strings);
        for (int s = 0; s < tablature->stringCount() && s < FretboardTuning::maxStrings; ++s) {
            const MnTablature::Tuning open = tablature->tuning(s);
            int step = open.step, accidental = open.accidental, octave = open.octave;
            // The list names no double accidental: a string keeps its own
            // spelling until another letter is chosen for it.
            if (shown.pitch[s] != -1 && shown.pitch[s] != FretboardTuning::letterOf(open.step, open.accidental))
                FretboardTuning::stepOf(shown.pitch[s], step, accidental);
            if (shown.octave[s] >= 0 && shown.octave[s] <= FretboardTuning::maxOctave)
                octave = shown.octave[s];
            if (step != open.step || accidental != open.accidental || octave != open.octave)
                tablature->setTuning(s, step, octave, accidental);
        }
    }
    // The record keeps at most 63 frets: a larger count is not stored.
    if (!group.fretsMixed && shown.frets >= 1 && shown.frets <= MnTablature::maxFrets) {
        tablature->setFrets(shown.frets);
        if (tablature->capoFret() > tablature->frets())
            tablature->setCapoFret(tablature->frets());
    }
    if (capoOn != 2)
        tablature->setCapoOn(capoOn == 1);
    if (!capoFretMixed && capoFret >= 1 && capoFret <= tablature->frets())
        tablature->setCapoFret(capoFret);
    if (fretNumbering != -1)
        tablature->setFretsFromCapo(fretNumbering == 1);
    return true;
}

void UiTablatureDlg::exchange(UiDataExchange& dx)
{
    UiControlHost& h = host();
    dx.text(nameEdit, name);
    dx.text(abbreviationEdit, abbreviation);
    if (tuningControls)
        tuningControls->exchange(dx);
    dx.check(capoCheck, capoOn);
    exchangeNumber(dx, capoEdit, capoFret, capoFretMixed);
    if (!capoFretMixed && h.position(capoSlider) != capoFret)
        h.setPosition(capoSlider, capoFret);
    dx.radio(nutRadio, fretNumbering);
    // A mixed capo leaves its fret and numbering open to change.
    for (int id : {int(capoSlider), int(capoEdit), int(capoUpDown), int(nutPicture), int(capoPicture), int(nutRadio),
                   int(capoRadio)})
        h.enable(id, capoOn != 0);
}

void UiTablatureDlg::changedByUser()
{
    apply(true);
}

void UiTablatureDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (tuningControls && tuningControls->notified(controlId, what))
        return;
    switch (controlId) {
    case nameEdit:
    case abbreviationEdit:
        if (what == UiControlHost::textChanged)
            onControlChange();
        return;
    case capoEdit:
        if (what == UiControlHost::textChanged)
            numberTyped(capoEdit, capoFretMixed);
        return;
    case capoSlider: {
        if (what != UiControlHost::scrolled)
            return;
        const int position = host().position(capoSlider);
        if (position == capoFret && !capoFretMixed)
            return;
        capoFret = position;
        capoFretMixed = false;
        break;
    }
    case capoCheck:
        if (what != UiControlHost::clicked)
            return;
        capoOn = toggled(capoOn);
        break;
    case nutPicture:
    case nutRadio:
    case capoPicture:
    case capoRadio:
        if (what != UiControlHost::clicked)
            return;
        fretNumbering = controlId == nutPicture || controlId == nutRadio ? 0 : 1;
        break;
    default:
        return;
    }
    updateData(false);
    apply(true);
}
