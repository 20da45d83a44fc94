#include "panels/UiPedalDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnPedal.h"

namespace {

constexpr int markingGroup = 1286;
constexpr int kindCount = 9;

// Per kind: its radio, its picture and the picture's bitmap.
const int forms[kindCount][3] = {
    {1286, 1284, 324}, {1287, 1282, 325}, {1290, 1292, 323}, {1294, 1296, 322}, {1298, 1299, 330},
    {1288, 1285, 326}, {1289, 1283, 327}, {1291, 1293, 328}, {1295, 1297, 329},
};

const UiAnchorSpec anchorTable[] = {
    {1211, UiAnchorSpec::sizeX, 100},
    {1286, UiAnchorSpec::moveX, 5},
    {1284, UiAnchorSpec::moveX, 5},
    {1287, UiAnchorSpec::moveX, 5},
    {1282, UiAnchorSpec::moveX, 5},
    {1290, UiAnchorSpec::moveX, 5},
    {1292, UiAnchorSpec::moveX, 5},
    {1294, UiAnchorSpec::moveX, 5},
    {1296, UiAnchorSpec::moveX, 5},
    {1298, UiAnchorSpec::moveX, 5},
    {1299, UiAnchorSpec::moveX, 5},
    {1288, UiAnchorSpec::moveX, 59},
    {1285, UiAnchorSpec::moveX, 59},
    {1289, UiAnchorSpec::moveX, 59},
    {1283, UiAnchorSpec::moveX, 59},
    {1291, UiAnchorSpec::moveX, 59},
    {1293, UiAnchorSpec::moveX, 59},
    {1295, UiAnchorSpec::moveX, 59},
    {1297, UiAnchorSpec::moveX, 59},
};

}

BcString UiPedalDlg::title() const
{
    return BcStringResources::current().loadString(10059);
}

const BcClass* UiPedalDlg::elementClass() const
{
    return MnPedal::staticClass();
}

void UiPedalDlg::scaleBitmaps()
{
    for (const auto& form : forms)
        setScaledBitmap(form[1], form[2]);
}

void UiPedalDlg::setupAnchors()
{
    addAnchors(anchorTable, int(sizeof anchorTable / sizeof anchorTable[0]));
}

bool UiPedalDlg::loadElement(MnElement* element, bool merge)
{
    int own = static_cast<MnPedal*>(element)->kind();
    if (merge)
        mergeChoice(marking, own);
    else
        marking = own;
    return true;
}

bool UiPedalDlg::applyToElement(MnElement* element)
{
    if (marking != -1)
        static_cast<MnPedal*>(element)->setKind(marking);
    return true;
}

void UiPedalDlg::exchange(UiDataExchange& dx)
{
    dx.radio(markingGroup, marking);
}

void UiPedalDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (what != UiControlHost::clicked)
        return;
    for (int kind = 0; kind < kindCount; ++kind) {
        if (forms[kind][0] == controlId || forms[kind][1] == controlId) {
            marking = kind;
            updateData(false);
            apply(true);
            return;
        }
    }
}
