#include "panels/UiStaffDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnMeasure.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnStaffDefinition.h"
#include "panels/UiPartPageLayouts.h"

namespace {

enum Control
{
    clefGroup = 1000,
    keyGroup = 1004,
    timeGroup = 1008,
    timeBox = 1057,
};

constexpr int clefCount = 4;
constexpr int keyCount = 15;
constexpr int timeCount = 11;
// Key radio index of a key without accidentals.
constexpr int noAccidentals = 7;

// The MnTimeSignatureType of each time-signature radio: common time, 4/4,
// 2/4, 2/2, cut time, 3/4, 3/8, 6/4, 6/8, 9/8, 12/8.
const int timeCodes[timeCount] = {0, 1, 4, 2, 3, 5, 8, 9, 6, 7, 10};

// Picture and radio of each choice, in index order, with the picture's bitmap.
const int clefs[clefCount][3] = {
    {1027, 232, 1000}, {1028, 233, 1001}, {1029, 234, 1002}, {1030, 235, 1003},
};
const int keys[keyCount][3] = {
    {1031, 243, 1004}, {1032, 242, 1005}, {1033, 241, 1006}, {1034, 240, 1007}, {1035, 239, 1009},
    {1036, 238, 1010}, {1037, 237, 1011}, {1038, 236, 1012}, {1039, 250, 1013}, {1040, 249, 1014},
    {1041, 248, 1015}, {1042, 247, 1016}, {1043, 246, 1017}, {1044, 245, 1018}, {1045, 244, 1019},
};
const int times[timeCount][3] = {
    {1046, 258, 1008}, {1047, 254, 1020}, {1050, 252, 1021}, {1048, 251, 1022},
    {1049, 259, 1023}, {1051, 253, 1024}, {1058, 255, 1025}, {1054, 331, 1026},
    {1052, 256, 1059}, {1053, 257, 1060}, {1061, 334, 1062},
};

// The index of a picture or radio of a group; -1 for none of them.
template <int count>
int clickedIn(const int (&choices)[count][3], int controlId)
{
    for (int k = 0; k < count; ++k)
        if (choices[k][0] == controlId || choices[k][2] == controlId)
            return k;
    return -1;
}

}

BcString UiStaffDlg::title() const
{
    return BcStringResources::current().loadString(10022);
}

const BcClass* UiStaffDlg::elementClass() const
{
    return MnStaffDefinition::staticClass();
}

int UiStaffDlg::timeIndexOfCode(int code)
{
    for (int index = 1; index < timeCount; ++index)
        if (timeCodes[index] == code)
            return index;
    return 0;
}

int UiStaffDlg::timeCodeOfIndex(int index)
{
    return index >= 1 && index < timeCount ? timeCodes[index] : timeCodes[0];
}

bool UiStaffDlg::canTakeTime(const MnStaffDefinition& definition)
{
    if (definition.isKindOf(MnStaff::staticClass()))
        return true;
    if (!definition.isKindOf(MnStaffChange::staticClass()))
        return false;
    const MnStaffChange& change = static_cast<const MnStaffChange&>(definition);
    const MnStaff* staff = change.staff();
    const MnMeasure* measure = staff ? staff->measureAtTime(change.startTime()) : nullptr;
    return measure && measure->startTime() == change.startTime();
}

void UiStaffDlg::scaleBitmaps()
{
    for (const auto& c : clefs)
        setScaledBitmap(c[0], c[1]);
    for (const auto& k : keys)
        setScaledBitmap(k[0], k[1]);
    for (const auto& t : times)
        setScaledBitmap(t[0], t[1]);
}

void UiStaffDlg::setupAnchors()
{
    addAnchors(UiPartPageLayouts::staffAnchors, UiPartPageLayouts::staffAnchorCount);
}

bool UiStaffDlg::loadElement(MnElement* element, bool merge)
{
    MnStaffDefinition* definition = static_cast<MnStaffDefinition*>(element);
    int elementKey = definition->key() + noAccidentals;
    int elementTime = timeIndexOfCode(definition->time());
    int editable = canTakeTime(*definition) ? 1 : 0;
    if (!merge) {
        clef = definition->clef();
        key = elementKey;
        time = elementTime;
        timeEditable = editable;
        return true;
    }
    mergeChoice(clef, definition->clef());
    mergeChoice(key, elementKey);
    mergeChoice(time, elementTime);
    mergeCheck(timeEditable, editable);
    return true;
}

bool UiStaffDlg::applyToElement(MnElement* element)
{
    MnStaffDefinition* definition = static_cast<MnStaffDefinition*>(element);
    if (clef >= 0 && clef < clefCount)
        definition->setClef(clef);
    if (key >= 0 && key < keyCount)
        definition->setKey(key - noAccidentals);
    // A change inside a measure keeps its time signature.
    if (time >= 0 && canTakeTime(*definition))
        definition->setTime(timeCodeOfIndex(time));
    return true;
}

void UiStaffDlg::exchange(UiDataExchange& dx)
{
    dx.radio(clefGroup, clef);
    dx.radio(keyGroup, key);
    dx.radio(timeGroup, time);
    bool enabled = timeEditable != 0;
    UiControlHost& h = host();
    h.enable(timeBox, enabled);
    for (const auto& t : times) {
        h.enable(t[0], enabled);
        h.enable(t[2], enabled);
    }
}

void UiStaffDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (what != UiControlHost::clicked)
        return;
    int k;
    if ((k = clickedIn(clefs, controlId)) >= 0)
        clef = k;
    else if ((k = clickedIn(keys, controlId)) >= 0)
        key = k;
    else if ((k = clickedIn(times, controlId)) >= 0)
        time = k;
    else
        return;
    updateData(false);
    apply(true);
}
