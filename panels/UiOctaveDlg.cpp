#include "panels/UiOctaveDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnOctave.h"

namespace {

constexpr int signGroup = 1264;
constexpr int locoIndex = 4;

// Pictures and radios in index order; loco has no picture.
const int pictures[][2] = {{1260, 319}, {1261, 317}, {1262, 316}, {1263, 318}};
const int radios[] = {1264, 1265, 1266, 1267, 1070};

const UiAnchorSpec anchorTable[] = {
    {1259, UiAnchorSpec::sizeX, 100},
    {1260, UiAnchorSpec::moveX, 11},
    {1264, UiAnchorSpec::moveX, 11},
    {1261, UiAnchorSpec::moveX, 37},
    {1265, UiAnchorSpec::moveX, 37},
    {1262, UiAnchorSpec::moveX, 63},
    {1266, UiAnchorSpec::moveX, 63},
    {1263, UiAnchorSpec::moveX, 89},
    {1267, UiAnchorSpec::moveX, 89},
    {1070, UiAnchorSpec::moveX, 50},
};

}

BcString UiOctaveDlg::title() const
{
    return BcStringResources::current().loadString(10045);
}

const BcClass* UiOctaveDlg::elementClass() const
{
    return MnOctave::staticClass();
}

int UiOctaveDlg::signIndex(int kind)
{
    if (kind < 0)
        return kind + 2;
    if (kind == 0)
        return locoIndex;
    return kind + 1;
}

int UiOctaveDlg::kindOf(int index)
{
    if (index == locoIndex)
        return 0;
    return index < 2 ? index - 2 : index - 1;
}

void UiOctaveDlg::scaleBitmaps()
{
    for (const auto& picture : pictures)
        setScaledBitmap(picture[0], picture[1]);
}

void UiOctaveDlg::setupAnchors()
{
    addAnchors(anchorTable, int(sizeof anchorTable / sizeof anchorTable[0]));
}

bool UiOctaveDlg::loadElement(MnElement* element, bool merge)
{
    int own = signIndex(static_cast<MnOctave*>(element)->kind());
    if (merge)
        mergeChoice(sign, own);
    else
        sign = own;
    return true;
}

bool UiOctaveDlg::applyToElement(MnElement* element)
{
    if (sign >= 0 && sign <= locoIndex)
        static_cast<MnOctave*>(element)->setKind(kindOf(sign));
    return true;
}

void UiOctaveDlg::exchange(UiDataExchange& dx)
{
    dx.radio(signGroup, sign);
}

void UiOctaveDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (what != UiControlHost::clicked)
        return;
    int chosen = -1;
    for (int i = 0; i <= locoIndex; ++i)
        if (radios[i] == controlId || (i < locoIndex && pictures[i][0] == controlId))
            chosen = i;
    if (chosen < 0)
        return;
    sign = chosen;
    updateData(false);
    apply(true);
}
