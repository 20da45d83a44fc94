#include "panels/UiTupletDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnTuplet.h"

namespace {

enum Control
{
    bracketGroup = 1106,
    directionGroup = 1113,
    ratioGroup = 1000,
};

struct Ratio
{
    int number;
    bool alternative;
};

// "2:3", "3:2", "4:3", "5:4", "5:3", "6:4", "7:4", "7:6", "8:6", "9:8", "9:6".
constexpr Ratio ratios[UiTupletDlg::ratioCount] = {
    {2, true}, {3, false}, {4, true}, {5, false}, {5, true}, {6, false},
    {7, false}, {7, true}, {8, true}, {9, false}, {9, true},
};

const int pictures[][2] = {{1102, 295}, {1103, 297}, {1104, 296}, {1208, 298}, {1209, 299}};

const UiAnchorSpec anchorTable[] = {
    {1110, UiAnchorSpec::sizeX, 60},
    {1102, UiAnchorSpec::moveX, 8},
    {1103, UiAnchorSpec::moveX, 8},
    {1104, UiAnchorSpec::moveX, 8},
    {1106, UiAnchorSpec::moveX, 8},
    {1107, UiAnchorSpec::moveX, 8},
    {1108, UiAnchorSpec::moveX, 8},
    {1112, UiAnchorSpec::moveX, 60},
    {1112, UiAnchorSpec::sizeX, 40},
    {1113, UiAnchorSpec::moveX, 68},
    {1208, UiAnchorSpec::moveX, 68},
    {1210, UiAnchorSpec::moveX, 68},
    {1209, UiAnchorSpec::moveX, 68},
    {1111, UiAnchorSpec::moveX, 68},
    {1306, UiAnchorSpec::sizeX, 100},
    {1307, UiAnchorSpec::moveX, 8},
    {1308, UiAnchorSpec::moveX, 8},
    {1309, UiAnchorSpec::moveX, 8},
    {1310, UiAnchorSpec::moveX, 8},
    {1311, UiAnchorSpec::moveX, 8},
    {1312, UiAnchorSpec::moveX, 8},
    {1313, UiAnchorSpec::moveX, 8},
    {1314, UiAnchorSpec::moveX, 8},
    {1315, UiAnchorSpec::moveX, 38},
    {1316, UiAnchorSpec::moveX, 38},
    {1317, UiAnchorSpec::moveX, 38},
    {1004, UiAnchorSpec::moveX, 38},
    {1318, UiAnchorSpec::moveX, 38},
    {1006, UiAnchorSpec::moveX, 38},
    {1319, UiAnchorSpec::moveX, 38},
    {1009, UiAnchorSpec::moveX, 38},
    {1000, UiAnchorSpec::moveX, 68},
    {1001, UiAnchorSpec::moveX, 68},
    {1003, UiAnchorSpec::moveX, 68},
    {1002, UiAnchorSpec::moveX, 68},
    {1005, UiAnchorSpec::moveX, 68},
    {1007, UiAnchorSpec::moveX, 68},
    {1008, UiAnchorSpec::moveX, 68},
    {1010, UiAnchorSpec::moveX, 68},
};

// The direction as a radio index: 0 automatic, 1 above, 2 below.
int directionIndex(int direction)
{
    return direction < 0 ? 2 : direction > 0 ? 1 : 0;
}

}

BcString UiTupletDlg::title() const
{
    return BcStringResources::current().loadString(10025);
}

const BcClass* UiTupletDlg::elementClass() const
{
    return MnTuplet::staticClass();
}

bool UiTupletDlg::ratioOf(int index, int& number, bool& alternative)
{
    if (index < 0 || index >= ratioCount)
        return false;
    number = ratios[index].number;
    alternative = ratios[index].alternative;
    return true;
}

int UiTupletDlg::ratioIndex(int number, bool alternative)
{
    switch (number) {
    case 2:
        return 0;
    case 3:
        return 1;
    case 4:
        return 2;
    case 5:
        return alternative ? 4 : 3;
    case 6:
        return 5;
    case 7:
        return alternative ? 7 : 6;
    case 8:
        return 8;
    case 9:
        return alternative ? 10 : 9;
    default:
        // Shown as no ratio, so that no other change rebuilds the tuplet.
        return -1;
    }
}

void UiTupletDlg::scaleBitmaps()
{
    for (const auto& picture : pictures)
        setScaledBitmap(picture[0], picture[1]);
}

void UiTupletDlg::setupAnchors()
{
    addAnchors(anchorTable, int(sizeof anchorTable / sizeof anchorTable[0]));
}

bool UiTupletDlg::loadElement(MnElement* element, bool merge)
{
    MnTuplet* tuplet = static_cast<MnTuplet*>(element);
    int ownBracket = tuplet->bracket();
    int ownDirection = directionIndex(tuplet->direction());
    int ownRatio = ratioIndex(tuplet->number(), tuplet->isAlternative());
    if (!merge) {
        bracket = ownBracket;
        direction = ownDirection;
        ratio = ownRatio;
        return true;
    }
    mergeChoice(bracket, ownBracket);
    mergeChoice(direction, ownDirection);
    mergeChoice(ratio, ownRatio);
    return true;
}

bool UiTupletDlg::applyToElement(MnElement* element)
{
    MnTuplet* tuplet = static_cast<MnTuplet*>(element);
    bool changed = false;
    if (bracket != -1 && bracket != tuplet->bracket()) {
        tuplet->setBracket(bracket);
        changed = true;
    }
    // A direction the page shows as it is stays as it is: other signed
    // values mean the same side.
    if (direction != -1 && direction != directionIndex(tuplet->direction())) {
        tuplet->setDirection(direction == 2 ? -1 : direction);
        changed = true;
    }
    // The ratio the tuplet shows already is not rebuilt: a duplet or
    // quadruplet stored without the alternative flag keeps its run.
    int number = 0;
    bool alternative = false;
    if (ratio != ratioIndex(tuplet->number(), tuplet->isAlternative()) && ratioOf(ratio, number, alternative)) {
        tuplet->setNumber(number, alternative);
        changed = true;
    }
    // Nothing written, no undo step.
    return changed;
}

void UiTupletDlg::exchange(UiDataExchange& dx)
{
    dx.radio(bracketGroup, bracket);
    dx.radio(directionGroup, direction);
    dx.radio(ratioGroup, ratio);
}

void UiTupletDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (what != UiControlHost::clicked)
        return;
    struct Choice
    {
        int id;
        int UiTupletDlg::*member;
        int index;
    };
    static const Choice choices[] = {
        {1102, &UiTupletDlg::bracket, 0},   {1106, &UiTupletDlg::bracket, 0},
        {1103, &UiTupletDlg::bracket, 1},   {1107, &UiTupletDlg::bracket, 1},
        {1104, &UiTupletDlg::bracket, 2},   {1108, &UiTupletDlg::bracket, 2},
        {1113, &UiTupletDlg::direction, 0}, {1208, &UiTupletDlg::direction, 1},
        {1210, &UiTupletDlg::direction, 1}, {1209, &UiTupletDlg::direction, 2},
        {1111, &UiTupletDlg::direction, 2}, {1000, &UiTupletDlg::ratio, 0},
        {1001, &UiTupletDlg::ratio, 1},     {1003, &UiTupletDlg::ratio, 2},
        {1004, &UiTupletDlg::ratio, 3},     {1002, &UiTupletDlg::ratio, 4},
        {1005, &UiTupletDlg::ratio, 5},     {1006, &UiTupletDlg::ratio, 6},
        {1007, &UiTupletDlg::ratio, 7},     {1008, &UiTupletDlg::ratio, 8},
        {1009, &UiTupletDlg::ratio, 9},     {1010, &UiTupletDlg::ratio, 10},
    };
    for (const Choice& choice : choices) {
        if (choice.id == controlId) {
            this->*choice.member = choice.index;
            updateData(false);
            apply(true);
            if (choice.member == &UiTupletDlg::ratio)
                showStoredRatio();
            return;
        }
    }
}

void UiTupletDlg::showStoredRatio()
{
    // A measure may refuse the new run (it would not fit, or a chord is too
    // short to divide): the page then shows what the tuplets kept.
    EdSelection& list = elementList();
    for (int i = 0; i < list.count(); ++i) {
        const MnTuplet* tuplet = static_cast<const MnTuplet*>(list.element(i));
        int own = ratioIndex(tuplet->number(), tuplet->isAlternative());
        if (i == 0)
            ratio = own;
        else
            mergeChoice(ratio, own);
    }
    updateData(false);
}
