#include "panels/UiTempoDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnTempo.h"

namespace {

enum Control
{
    beatUnitGroup = 1159,
    bpmEdit = 1167,
    bpmUpDown = 1168,
    termGroup = 1229,
    lastTerm = 1249,
    moltoCheck = 1085,
    maNonTroppoCheck = 1087,
    customEdit = 1086,
    metronomeCheck = 1088,
};

// The beat-unit pictures, in radio order, with their bitmaps.
const int beatUnitPictures[UiTempoDlg::beatUnitCount][2] = {
    {1153, 282}, {1154, 284}, {1155, 286}, {1156, 281}, {1157, 283}, {1158, 285},
};

// Half, quarter, eighth, dotted half, dotted quarter, dotted eighth.
const int beatUnits[UiTempoDlg::beatUnitCount] = {120960, 60480, 30240, 181440, 90720, 45360};

// The beats per minute each term spans, in term order. Some ranges overlap
// or do not rise with the term: they are kept as musicians quote them.
const int termRanges[MnTempo::termCount][2] = {
    {24, 24},   {24, 40},   {25, 45},   {45, 60},   {40, 60},   {60, 66},   {66, 76},
    {70, 80},   {76, 108},  {80, 108},  {92, 112},  {108, 120}, {112, 120}, {116, 120},
    {120, 156}, {172, 176}, {156, 176}, {172, 176}, {168, 200}, {200, 200},
};

// The edit holds three digits, as the up-down's 1..999.
constexpr int bpmDigits = 3;
constexpr int lowestBpm = 1;
constexpr int highestBpm = 999;

const UiAnchorSpec pageAnchors[] = {
    {1169, UiAnchorSpec::sizeX, 100},
    {1084, UiAnchorSpec::sizeX, 100},
    {1153, UiAnchorSpec::moveX, 5},
    {1154, UiAnchorSpec::moveX, 23},
    {1155, UiAnchorSpec::moveX, 41},
    {1156, UiAnchorSpec::moveX, 59},
    {1157, UiAnchorSpec::moveX, 77},
    {1158, UiAnchorSpec::moveX, 95},
    {1159, UiAnchorSpec::moveX, 5},
    {1160, UiAnchorSpec::moveX, 23},
    {1161, UiAnchorSpec::moveX, 41},
    {1162, UiAnchorSpec::moveX, 59},
    {1163, UiAnchorSpec::moveX, 77},
    {1164, UiAnchorSpec::moveX, 95},
    {1229, UiAnchorSpec::moveX, 5},
    {1230, UiAnchorSpec::moveX, 5},
    {1231, UiAnchorSpec::moveX, 5},
    {1232, UiAnchorSpec::moveX, 5},
    {1233, UiAnchorSpec::moveX, 5},
    {1234, UiAnchorSpec::moveX, 5},
    {1235, UiAnchorSpec::moveX, 5},
    {1236, UiAnchorSpec::moveX, 5},
    {1237, UiAnchorSpec::moveX, 5},
    {1238, UiAnchorSpec::moveX, 5},
    {1239, UiAnchorSpec::moveX, 59},
    {1240, UiAnchorSpec::moveX, 59},
    {1241, UiAnchorSpec::moveX, 59},
    {1242, UiAnchorSpec::moveX, 59},
    {1243, UiAnchorSpec::moveX, 59},
    {1244, UiAnchorSpec::moveX, 59},
    {1245, UiAnchorSpec::moveX, 59},
    {1246, UiAnchorSpec::moveX, 59},
    {1247, UiAnchorSpec::moveX, 59},
    {1248, UiAnchorSpec::moveX, 59},
    {1249, UiAnchorSpec::moveX, 5},
    {1085, UiAnchorSpec::moveX, 15},
    {1088, UiAnchorSpec::moveX, 15},
    {1087, UiAnchorSpec::moveX, 45},
    {1086, UiAnchorSpec::moveX, 5},
    {1086, UiAnchorSpec::sizeX, 95},
};

}

BcString UiTempoDlg::title() const
{
    return BcStringResources::current().loadString(10027);
}

const BcClass* UiTempoDlg::elementClass() const
{
    return MnTempo::staticClass();
}

int UiTempoDlg::beatUnitTicks(int index)
{
    return index >= 0 && index < beatUnitCount ? beatUnits[index] : 0;
}

int UiTempoDlg::beatUnitIndex(int ticks)
{
    for (int i = 0; i < beatUnitCount; ++i)
        if (beatUnits[i] == ticks)
            return i;
    return -1;
}

void UiTempoDlg::tempoFromMarking()
{
    if (term < 0 || term >= MnTempo::termCount)
        return;
    bool moltoOn = molto != 0;
    bool troppoOn = maNonTroppo != 0;
    double factor = moltoOn ? (troppoOn ? 0.75 : 1.0) : (troppoOn ? 0.0 : 0.5);
    int low = termRanges[term][0];
    int high = termRanges[term][1];
    beatsPerMinute = low + int((high - low) * factor);
    // The number just set holds for every loaded mark.
    beatsPerMinuteMixed = false;
}

void UiTempoDlg::scaleBitmaps()
{
    for (const auto& picture : beatUnitPictures)
        setScaledBitmap(picture[0], picture[1]);
}

void UiTempoDlg::setupAnchors()
{
    addAnchors(pageAnchors, int(sizeof pageAnchors / sizeof pageAnchors[0]));
}

void UiTempoDlg::initDialog()
{
    host().setTextLimit(bpmEdit, 3);
    host().setRange(bpmUpDown, lowestBpm, highestBpm);
}

bool UiTempoDlg::loadElement(MnElement* element, bool merge)
{
    MnTempo* mark = static_cast<MnTempo*>(element);
    int unit = beatUnitIndex(mark->beatUnit());
    int bpm = mark->beatsPerMinute();
    int code = mark->term() < 0 ? otherTerm : mark->term();
    int moltoValue = mark->isMolto() ? 1 : 0;
    int troppoValue = mark->isMaNonTroppo() ? 1 : 0;
    std::string custom = mark->customText().toNarrow(BcString::utf8CodePage);
    int metronome = mark->showsMetronome() ? 1 : 0;
    if (!merge) {
        beatUnit = unit;
        beatsPerMinute = bpm;
        beatsPerMinuteMixed = false;
        term = code;
        molto = moltoValue;
        maNonTroppo = troppoValue;
        customText = custom;
        showMetronome = metronome;
        return true;
    }
    mergeChoice(beatUnit, unit);
    if (bpm != beatsPerMinute)
        beatsPerMinuteMixed = true;
    mergeChoice(term, code);
    mergeCheck(molto, moltoValue);
    mergeCheck(maNonTroppo, troppoValue);
    mergeText(customText, custom);
    mergeCheck(showMetronome, metronome);
    return true;
}

bool UiTempoDlg::applyToElement(MnElement* element)
{
    MnTempo* mark = static_cast<MnTempo*>(element);
    bool changed = false;
    // Each change rebuilds the text the mark shows from its values.
    int ticks = beatUnitTicks(beatUnit);
    if (ticks > 0 && ticks != mark->beatUnit() && mark->setBeatUnit(ticks)) {
        mark->relayout();
        changed = true;
    }
    // Playback and the score page divide by the number: 0 or nothing typed
    // leaves the marks as they are.
    if (!beatsPerMinuteMixed && beatsPerMinute >= lowestBpm && beatsPerMinute <= highestBpm &&
        beatsPerMinute != mark->beatsPerMinute() && mark->setBeatsPerMinute(beatsPerMinute)) {
        mark->buildTempoText();
        changed = true;
    }
    if (term >= 0) {
        int code = term == otherTerm ? -1 : term;
        if (code != mark->term()) {
            mark->setTerm(code);
            mark->buildTempoText();
            changed = true;
        }
    }
    if (molto != 2 && (molto == 1) != mark->isMolto()) {
        mark->setMolto(molto == 1);
        mark->buildTempoText();
        changed = true;
    }
    if (maNonTroppo != 2 && (maNonTroppo == 1) != mark->isMaNonTroppo()) {
        mark->setMaNonTroppo(maNonTroppo == 1);
        mark->buildTempoText();
        changed = true;
    }
    if (customText != various) {
        BcString custom(customText.c_str());
        if (custom != mark->customText()) {
            mark->setCustomText(custom);
            mark->buildTempoText();
            changed = true;
        }
    }
    if (showMetronome != 2 && (showMetronome == 1) != mark->showsMetronome()) {
        mark->setShowMetronome(showMetronome == 1);
        mark->buildTempoText();
        changed = true;
    }
    // Nothing written (a refused number, a value as it was), no undo step.
    return changed;
}

void UiTempoDlg::exchange(UiDataExchange& dx)
{
    dx.radio(beatUnitGroup, beatUnit);
    exchangeNumber(dx, bpmEdit, beatsPerMinute, beatsPerMinuteMixed);
    dx.radio(termGroup, term);
    dx.check(moltoCheck, molto);
    dx.check(maNonTroppoCheck, maNonTroppo);
    dx.text(customEdit, customText);
    dx.check(metronomeCheck, showMetronome);
}

void UiTempoDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (controlId == bpmEdit) {
        if (what != UiControlHost::textChanged)
            return;
        // At most three digits fit.
        std::string digits = digitsOnly(bpmEdit);
        if (digits.size() > size_t(bpmDigits))
            host().setText(bpmEdit, digits.substr(0, bpmDigits));
        numberTyped(bpmEdit, beatsPerMinuteMixed);
        return;
    }
    if (controlId == customEdit) {
        if (what == UiControlHost::textChanged)
            onControlChange();
        return;
    }
    if (what != UiControlHost::clicked)
        return;
    for (int k = 0; k < beatUnitCount; ++k) {
        if (controlId == beatUnitPictures[k][0] || controlId == beatUnitGroup + k) {
            beatUnit = k;
            updateData(false);
            apply(true);
            return;
        }
    }
    if (controlId >= termGroup && controlId <= lastTerm) {
        updateData(true);
        tempoFromMarking();
        updateData(false);
        apply(true);
        return;
    }
    switch (controlId) {
    case moltoCheck:
    case maNonTroppoCheck: {
        int& member = controlId == moltoCheck ? molto : maNonTroppo;
        member = toggled(member);
        tempoFromMarking();
        updateData(false);
        apply(true);
        break;
    }
    case metronomeCheck:
        // A mixed box turns on.
        showMetronome = showMetronome == 1 ? 0 : 1;
        updateData(false);
        apply(true);
        break;
    default:
        break;
    }
}
