#include "panels/UiDynamicDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnDynamic.h"

namespace {

enum Control
{
    markingGroup = 1218,
    moltoCheck = 1279,
    pocoCheck = 1278,
};

constexpr int firstWord = 10;
constexpr int lastMarking = 13;

// The pictures of the marks and hairpins, in marking order, with their bitmaps.
const int pictures[][2] = {
    {1212, 302}, {1213, 303}, {1214, 304}, {1083, 305}, {1093, 306},
    {1215, 307}, {1216, 308}, {1217, 309}, {1280, 320}, {1281, 321},
};

// The radios in marking order.
const int radios[] = {1218, 1219, 1220, 1090, 1094, 1221, 1222, 1223, 1272, 1273, 1274, 1275, 1276, 1277};

const UiAnchorSpec anchorTable[] = {
    {1211, UiAnchorSpec::sizeX, 100},
    {1271, UiAnchorSpec::sizeX, 100},
    {1212, UiAnchorSpec::moveX, 8},
    {1218, UiAnchorSpec::moveX, 8},
    {1213, UiAnchorSpec::moveX, 20},
    {1219, UiAnchorSpec::moveX, 20},
    {1214, UiAnchorSpec::moveX, 32},
    {1220, UiAnchorSpec::moveX, 32},
    {1083, UiAnchorSpec::moveX, 44},
    {1090, UiAnchorSpec::moveX, 44},
    {1093, UiAnchorSpec::moveX, 56},
    {1094, UiAnchorSpec::moveX, 56},
    {1215, UiAnchorSpec::moveX, 68},
    {1221, UiAnchorSpec::moveX, 68},
    {1216, UiAnchorSpec::moveX, 80},
    {1222, UiAnchorSpec::moveX, 80},
    {1217, UiAnchorSpec::moveX, 92},
    {1223, UiAnchorSpec::moveX, 92},
    {1280, UiAnchorSpec::moveX, 5},
    {1272, UiAnchorSpec::moveX, 5},
    {1281, UiAnchorSpec::moveX, 5},
    {1273, UiAnchorSpec::moveX, 5},
    {1274, UiAnchorSpec::moveX, 5},
    {1275, UiAnchorSpec::moveX, 59},
    {1276, UiAnchorSpec::moveX, 59},
    {1277, UiAnchorSpec::moveX, 59},
    {1279, UiAnchorSpec::moveX, 10},
    {1278, UiAnchorSpec::moveX, 40},
};

bool isWord(int marking)
{
    return marking >= firstWord && marking <= lastMarking;
}

}

BcString UiDynamicDlg::title() const
{
    return BcStringResources::current().loadString(10026);
}

const BcClass* UiDynamicDlg::elementClass() const
{
    return MnDynamic::staticClass();
}

int UiDynamicDlg::composeKind(int base, bool withMolto, bool withPoco)
{
    if (withMolto && isWord(base))
        return base + 10;
    if (withPoco && isWord(base))
        return base + 20;
    return base;
}

int UiDynamicDlg::markingOf(int kind)
{
    return kind < 20 ? kind : kind < 30 ? kind - 10 : kind - 20;
}

void UiDynamicDlg::scaleBitmaps()
{
    for (const auto& picture : pictures)
        setScaledBitmap(picture[0], picture[1]);
}

void UiDynamicDlg::setupAnchors()
{
    addAnchors(anchorTable, int(sizeof anchorTable / sizeof anchorTable[0]));
}

bool UiDynamicDlg::loadElement(MnElement* element, bool merge)
{
    int kind = static_cast<MnDynamic*>(element)->kind();
    int ownMarking = markingOf(kind);
    int ownMolto = isMolto(kind) ? 1 : 0;
    int ownPoco = isPoco(kind) ? 1 : 0;
    if (!merge) {
        marking = ownMarking;
        molto = ownMolto;
        poco = ownPoco;
        return true;
    }
    mergeChoice(marking, ownMarking);
    mergeCheck(molto, ownMolto);
    mergeCheck(poco, ownPoco);
    return true;
}

bool UiDynamicDlg::applyToElement(MnElement* element)
{
    MnDynamic* dynamic = static_cast<MnDynamic*>(element);
    int kind = dynamic->kind();
    // What the page leaves mixed, each dynamic keeps of its own.
    int base = marking != -1 ? marking : markingOf(kind);
    bool withMolto = molto != 2 ? molto == 1 : isMolto(kind);
    bool withPoco = poco != 2 ? poco == 1 : isPoco(kind);
    dynamic->setKind(composeKind(base, withMolto, withPoco));
    return true;
}

void UiDynamicDlg::exchange(UiDataExchange& dx)
{
    dx.radio(markingGroup, marking);
    dx.check(moltoCheck, molto);
    dx.check(pocoCheck, poco);
    bool qualifiers = marking == -1 || marking >= firstWord;
    host().enable(moltoCheck, qualifiers);
    host().enable(pocoCheck, qualifiers);
}

void UiDynamicDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (what != UiControlHost::clicked)
        return;
    int chosen = -1;
    for (int i = 0; i <= lastMarking; ++i)
        if (radios[i] == controlId)
            chosen = i;
    for (const auto& picture : pictures)
        if (picture[0] == controlId)
            chosen = int(&picture - pictures);
    if (chosen >= 0) {
        marking = chosen;
        // A mark or hairpin takes no qualifier; molto stays for the next word.
        if (!isWord(chosen))
            poco = 0;
    } else if (controlId == moltoCheck) {
        bool turnsOn = molto == 0;
        molto = toggled(molto);
        if (turnsOn)
            poco = 0;
    } else if (controlId == pocoCheck) {
        bool turnsOn = poco == 0;
        poco = toggled(poco);
        if (turnsOn)
            molto = 0;
    } else {
        return;
    }
    updateData(false);
    apply(true);
}
