#include "panels/UiPartGroupDlg.h"

#include "app/UiDataExchange.h"
#include "foundation/BcStringResources.h"
#include "model/MnPartGroup.h"
#include "panels/UiPartPageLayouts.h"

namespace {

enum Control
{
    nameEdit = 1094,
    abbreviationEdit = 1111,
    bracketGroup = 1106,
};

// Brace, bracket with hooks, square bracket, plain line: the picture and
// the radio of each bracket type.
const int brackets[MnPartGroup::bracketTypeCount][3] = {
    {1102, 279, 1106},
    {1103, 280, 1107},
    {1104, 300, 1108},
    {1105, 301, 1109},
};

std::string narrow(const BcString& text)
{
    return text.toNarrow(BcString::utf8CodePage);
}

}

BcString UiPartGroupDlg::title() const
{
    return BcStringResources::current().loadString(10020);
}

const BcClass* UiPartGroupDlg::elementClass() const
{
    return MnPartGroup::staticClass();
}

void UiPartGroupDlg::scaleBitmaps()
{
    for (const auto& b : brackets)
        setScaledBitmap(b[0], b[1]);
}

void UiPartGroupDlg::setupAnchors()
{
    addAnchors(UiPartPageLayouts::partGroupAnchors, UiPartPageLayouts::partGroupAnchorCount);
}

bool UiPartGroupDlg::loadElement(MnElement* element, bool merge)
{
    MnPartGroup* group = static_cast<MnPartGroup*>(element);
    if (!merge) {
        name = narrow(group->name());
        abbreviation = narrow(group->abbreviation());
        bracket = group->bracketType();
        return true;
    }
    mergeText(name, narrow(group->name()));
    mergeText(abbreviation, narrow(group->abbreviation()));
    mergeChoice(bracket, group->bracketType());
    return true;
}

bool UiPartGroupDlg::applyToElement(MnElement* element)
{
    MnPartGroup* group = static_cast<MnPartGroup*>(element);
    if (name != various) {
        group->setName(BcString(name.c_str()));
        // The label's width changed: the score keeps its labels on the page.
        group->relayout();
    }
    if (abbreviation != various)
        group->setAbbreviation(BcString(abbreviation.c_str()));
    if (bracket >= 0 && bracket < MnPartGroup::bracketTypeCount)
        group->setBracketType(bracket);
    return true;
}

void UiPartGroupDlg::exchange(UiDataExchange& dx)
{
    dx.text(nameEdit, name);
    dx.text(abbreviationEdit, abbreviation);
    dx.radio(bracketGroup, bracket);
}

void UiPartGroupDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (what == UiControlHost::textChanged) {
        if (controlId == nameEdit || controlId == abbreviationEdit)
            onControlChange();
        return;
    }
    if (what != UiControlHost::clicked)
        return;
    for (int k = 0; k < MnPartGroup::bracketTypeCount; ++k) {
        if (brackets[k][0] == controlId || brackets[k][2] == controlId) {
            bracket = k;
            updateData(false);
            apply(true);
            return;
        }
    }
}
