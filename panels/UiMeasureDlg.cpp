#include "panels/UiMeasureDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "panels/UiPageAnchors.h"

namespace {

enum Control
{
    barlineGroup = 1078,
    nextStaffCheck = 1088,
    tablatureCheck = 1100,
    timesLabel = 1386,
    countEdit = 1387,
    countUpDown = 1388,
    voltaGroup = 1007,
    customRadio = 1008,
    voltaTextEdit = 1257,
    closedCheck = 1098,
    markerGroup = 1015,
    jumpGroup = 1016,
    breakGroup = 1006,
};

enum VoltaKind { noVolta, firstTime, secondTimeOpen, secondTimeClosed, customVolta };
constexpr int endRepeat = 3;
constexpr int endAndStartRepeat = 5;
constexpr int lowestRepeatCount = 2;
constexpr int highestRepeatCount = 50;

const int endingChecks[10] = {1258, 1085, 1086, 1087, 1091, 1092, 1093, 1094, 1095, 1096};

const int pictures[][2] = {
    {1072, 270}, {1073, 271}, {1074, 272}, {1075, 274}, {1076, 273}, {1077, 275}, {1228, 313},
    {1229, 314}, {1232, 315}, {1097, 332}, {1084, 333}, {1226, 311}, {1227, 312},
};

// The measure of the same number in another staff of the score, or null.
MnMeasure* sameNumberIn(MnStaff* staff, int number)
{
    if (!staff || number < 1 || number > staff->measureCount())
        return nullptr;
    return staff->measure(number - 1);
}

// Calls write on the measure of this number in every staff of its score
// (the measure alone when it has no score).
template <typename Write>
void inEveryStaff(MnMeasure* measure, Write write)
{
    MnStaff* own = measure->staff();
    MnScore* score = own ? own->score() : nullptr;
    if (!score) {
        write(measure);
        return;
    }
    for (int s = 0; s < score->staffCount(); ++s)
        if (MnMeasure* other = sameNumberIn(score->staff(s), measure->index()))
            write(other);
}

}

BcString UiMeasureDlg::title() const
{
    return BcStringResources::current().loadString(10023);
}

const BcClass* UiMeasureDlg::elementClass() const
{
    return MnMeasure::staticClass();
}

int UiMeasureDlg::classifyEndings(const int endings[10], const std::string& text, int closed)
{
    if (!text.empty())
        return customVolta;
    bool restOff = true;
    for (int i = 2; i < 10; ++i)
        if (endings[i] != 0)
            restOff = false;
    if (!restOff)
        return customVolta;
    if (closed == 0 && endings[0] == 0) {
        if (endings[1] == 0)
            return noVolta;
        if (endings[1] == 1)
            return secondTimeOpen;
    }
    if (closed == 1) {
        if (endings[0] == 1 && endings[1] == 0)
            return firstTime;
        if (endings[0] == 0 && endings[1] == 1)
            return secondTimeClosed;
    }
    return customVolta;
}

void UiMeasureDlg::scaleBitmaps()
{
    for (const auto& picture : pictures)
        setScaledBitmap(picture[0], picture[1]);
}

void UiMeasureDlg::setupAnchors()
{
    addAnchors(UiPageAnchors::measure, UiPageAnchors::measureCount);
}

void UiMeasureDlg::initDialog()
{
    host().setTextLimit(countEdit, 2);
    host().setRange(countUpDown, lowestRepeatCount, highestRepeatCount);
}

bool UiMeasureDlg::loadElement(MnElement* element, bool merge)
{
    MnMeasure* measure = static_cast<MnMeasure*>(element);
    int ending[10];
    for (int i = 0; i < 10; ++i)
        ending[i] = (measure->voltaMask() >> i) & 1;
    std::string text = measure->voltaText(true).toNarrow(BcString::utf8CodePage);
    int closed = measure->isVoltaClosed() ? 1 : 0;
    int kind = classifyEndings(ending, text, closed);
    int tablature = measure->staff() && measure->staff()->tablature() ? 1 : 0;
    if (!merge) {
        barline = measure->barline();
        toNextStaff = measure->isToNextStaff() ? 1 : 0;
        toTablature = measure->isToTablature() ? 1 : 0;
        repeatCount = measure->repeatCount();
        repeatCountMixed = false;
        for (int i = 0; i < 10; ++i)
            endings[i] = ending[i];
        voltaText = text;
        voltaClosed = closed;
        voltaKind = kind;
        repeatMarker = measure->repeatMarker();
        repeatJump = measure->repeatJump();
        systemBreak = measure->systemBreak();
        hasTablature = tablature;
        return true;
    }
    mergeChoice(barline, measure->barline());
    mergeCheck(toNextStaff, measure->isToNextStaff() ? 1 : 0);
    mergeCheck(toTablature, measure->isToTablature() ? 1 : 0);
    if (repeatCount != measure->repeatCount())
        repeatCountMixed = true;
    for (int i = 0; i < 10; ++i)
        mergeCheck(endings[i], ending[i]);
    mergeText(voltaText, text);
    mergeCheck(voltaClosed, closed);
    mergeChoice(voltaKind, kind);
    mergeChoice(repeatMarker, measure->repeatMarker());
    mergeChoice(repeatJump, measure->repeatJump());
    mergeChoice(systemBreak, measure->systemBreak());
    mergeCheck(hasTablature, tablature);
    return true;
}

bool UiMeasureDlg::applyToElement(MnElement* element)
{
    MnMeasure* measure = static_cast<MnMeasure*>(element);
    if (barline != -1)
        inEveryStaff(measure, [&](MnMeasure* m) { m->setBarline(barline); });
    if (toNextStaff != 2)
        measure->setToNextStaff(toNextStaff == 1);
    if (toTablature != 2)
        measure->setToTablature(toTablature == 1);
    if (!repeatCountMixed && repeatCount >= lowestRepeatCount && repeatCount <= highestRepeatCount)
        inEveryStaff(measure, [&](MnMeasure* m) { m->setRepeatCount(repeatCount); });
    // A mixed ending keeps each measure's own bit, so endings nobody touched
    // survive a change elsewhere on the page.
    int set = 0, clear = 0;
    for (int i = 0; i < 10; ++i) {
        if (endings[i] == 1)
            set |= 1 << i;
        else if (endings[i] == 0)
            clear |= 1 << i;
    }
    inEveryStaff(measure, [&](MnMeasure* m) { m->setVoltaMask((m->voltaMask() | set) & ~clear); });
    if (voltaText != various)
        measure->setVoltaText(BcString(voltaText.c_str()));
    if (voltaClosed != 2)
        inEveryStaff(measure, [&](MnMeasure* m) { m->setVoltaClosed(voltaClosed == 1); });
    if (repeatMarker != -1)
        inEveryStaff(measure, [&](MnMeasure* m) { m->setRepeatMarker(repeatMarker); });
    if (repeatJump != -1)
        inEveryStaff(measure, [&](MnMeasure* m) { m->setRepeatJump(repeatJump); });
    if (systemBreak != -1)
        inEveryStaff(measure, [&](MnMeasure* m) { m->setSystemBreak(systemBreak); });
    return true;
}

void UiMeasureDlg::exchange(UiDataExchange& dx)
{
    UiControlHost& h = host();
    dx.radio(barlineGroup, barline);
    dx.check(nextStaffCheck, toNextStaff);
    dx.check(tablatureCheck, toTablature);
    h.show(tablatureCheck, hasTablature != 0);
    exchangeNumber(dx, countEdit, repeatCount, repeatCountMixed);
    bool repeats = barline == endRepeat || barline == endAndStartRepeat;
    for (int id : {int(timesLabel), int(countEdit), int(countUpDown)})
        h.show(id, repeats);
    dx.radio(voltaGroup, voltaKind);
    for (int i = 0; i < 10; ++i)
        dx.check(endingChecks[i], endings[i]);
    dx.text(voltaTextEdit, voltaText);
    dx.check(closedCheck, voltaClosed);
    dx.radio(markerGroup, repeatMarker);
    dx.radio(jumpGroup, repeatJump);
    dx.radio(breakGroup, systemBreak);
    h.enable(customRadio, false);
}

void UiMeasureDlg::setEndings(int only, bool closed, int kind)
{
    for (int i = 0; i < 10; ++i)
        endings[i] = i == only ? 1 : 0;
    voltaClosed = closed ? 1 : 0;
    voltaKind = kind;
}

void UiMeasureDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (what == UiControlHost::textChanged) {
        if (controlId == countEdit) {
            numberTyped(countEdit, repeatCountMixed);
        } else if (controlId == voltaTextEdit) {
            updateData(true);
            int kind = classifyEndings(endings, voltaText, voltaClosed);
            if (kind != voltaKind) {
                voltaKind = kind;
                updateData(false);
            }
            apply(true);
        }
        return;
    }
    if (what != UiControlHost::clicked)
        return;
    static const int barlineIds[6][2] = {{1072, 1078}, {1073, 1079}, {1074, 1080},
                                         {1075, 1081}, {1076, 1082}, {1077, 1005}};
    static const int markerIds[3][2] = {{1015, 1015}, {1097, 1001}, {1084, 1013}};
    static const int jumpIds[7] = {1016, 1000, 1014, 1009, 1010, 1011, 1012};
    static const int breakIds[3][2] = {{1006, 1006}, {1226, 1224}, {1227, 1225}};
    bool handled = true;
    auto pick = [&](const int (*ids)[2], int count, int& member) {
        for (int k = 0; k < count; ++k)
            if (ids[k][0] == controlId || ids[k][1] == controlId) {
                member = k;
                return true;
            }
        return false;
    };
    if (pick(barlineIds, 6, barline) || pick(markerIds, 3, repeatMarker) || pick(breakIds, 3, systemBreak)) {
    } else if (controlId == nextStaffCheck) {
        toNextStaff = toNextStaff == 1 ? 0 : 1;
    } else if (controlId == tablatureCheck) {
        toTablature = toTablature == 1 ? 0 : 1;
    } else if (controlId == 1007) {
        for (int& ending : endings)
            ending = 0;
        voltaClosed = 0;
        voltaKind = noVolta;
    } else if (controlId == 1228 || controlId == 1230) {
        setEndings(0, true, firstTime);
    } else if (controlId == 1229 || controlId == 1231) {
        setEndings(1, false, secondTimeOpen);
    } else if (controlId == 1232 || controlId == 1233) {
        setEndings(1, true, secondTimeClosed);
    } else if (controlId == customRadio) {
        voltaKind = customVolta;
    } else if (controlId == closedCheck) {
        voltaClosed = voltaClosed == 0 ? 1 : 0;
        voltaKind = classifyEndings(endings, voltaText, voltaClosed);
    } else {
        handled = false;
        for (int k = 0; k < 7; ++k)
            if (jumpIds[k] == controlId) {
                repeatJump = k;
                handled = true;
            }
        for (int k = 0; k < 10; ++k)
            if (endingChecks[k] == controlId) {
                endings[k] = endings[k] == 0 ? 1 : 0;
                voltaKind = classifyEndings(endings, voltaText, voltaClosed);
                handled = true;
            }
    }
    if (!handled)
        return;
    updateData(false);
    apply(true);
}
