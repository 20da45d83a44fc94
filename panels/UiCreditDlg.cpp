#include "panels/UiCreditDlg.h"

#include "app/UiDataExchange.h"
#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcStringResources.h"
#include "model/MnCredit.h"
#include "model/MnWork.h"

#include <vector>

namespace {

enum Control
{
    textEdit = 1094,
    typeList = 1170,
    alignmentGroup = 1000,
};

const int alignmentRadios[4] = {1000, 1070, 1091, 1092};
constexpr int freeAlignment = 3;

const UiAnchorSpec pageAnchors[] = {
    {1094, UiAnchorSpec::sizeX, 100},
    {1170, UiAnchorSpec::sizeX, 100},
    {1100, UiAnchorSpec::sizeX, 100},
    {1000, UiAnchorSpec::moveX, 11},
    {1070, UiAnchorSpec::moveX, 37},
    {1091, UiAnchorSpec::moveX, 63},
    {1092, UiAnchorSpec::moveX, 89},
};

const BcString* workField(const MnWork& work, int index)
{
    const BcString* fields[MnCredit::typeCount] = {&work.title,    &work.subtitle, &work.composer,
                                                   &work.arranger, &work.lyricist, &work.copyright};
    return index >= 0 && index < MnCredit::typeCount ? fields[index] : nullptr;
}

}

BcString UiCreditDlg::title() const
{
    return BcStringResources::current().loadString(10028);
}

const BcClass* UiCreditDlg::elementClass() const
{
    return MnCredit::staticClass();
}

void UiCreditDlg::setupAnchors()
{
    addAnchors(pageAnchors, int(sizeof pageAnchors / sizeof pageAnchors[0]));
}

void UiCreditDlg::initDialog()
{
    std::vector<std::string> items{std::string()};
    for (unsigned id = 10008; id <= 10013; ++id)
        items.push_back(BcStringResources::current().loadString(id).toNarrow(BcString::utf8CodePage));
    host().setItems(typeList, items);
    host().setSelection(typeList, type);
}

bool UiCreditDlg::loadElement(MnElement* element, bool merge)
{
    MnCredit* credit = static_cast<MnCredit*>(element);
    std::string shown = credit->text().toNarrow(BcString::utf8CodePage);
    int typeIndex = credit->type() + 1;
    int placed = credit->creditAlignment() < 0 ? freeAlignment : credit->creditAlignment();
    if (!merge) {
        text = shown;
        type = typeIndex;
        alignment = placed;
        return true;
    }
    mergeText(text, shown);
    mergeChoice(type, typeIndex);
    mergeChoice(alignment, placed);
    return true;
}

bool UiCreditDlg::applyToElement(MnElement* element)
{
    MnCredit* credit = static_cast<MnCredit*>(element);
    // An empty text is refused: the credit keeps its own.
    if (text != various)
        credit->setText(BcString(text.c_str()));
    if (type >= 0)
        credit->setType(type - 1);
    if (alignment >= 0 && alignment <= freeAlignment) {
        int justification = alignment == freeAlignment ? -1 : alignment;
        if (justification != credit->creditAlignment()) {
            credit->setCreditAlignment(justification);
            // A free credit keeps where it stands and how its text hangs.
            if (justification >= 0)
                credit->setAlignment(justification);
            credit->relayout();
        }
    }
    return true;
}

void UiCreditDlg::exchange(UiDataExchange& dx)
{
    dx.text(textEdit, text);
    dx.listIndex(typeList, type);
    dx.radio(alignmentGroup, alignment);
}

void UiCreditDlg::notified(int controlId, UiControlHost::Notification what)
{
    if (controlId == textEdit && what == UiControlHost::textChanged) {
        updateData(true);
        // A text of one's own follows no work text.
        if (type != 0) {
            type = 0;
            updateData(false);
        }
        apply(true);
        return;
    }
    if (controlId == typeList && what == UiControlHost::selectionChanged) {
        updateData(true);
        QuorvaneDocument* document = EdContext::current().activeDocument();
        MnElement* first = document && document->works().count() > 0 ? document->works()[0] : nullptr;
        if (type > 0 && first && first->isKindOf(MnWork::staticClass())) {
            if (const BcString* field = workField(*static_cast<MnWork*>(first), type - 1)) {
                text = field->toNarrow(BcString::utf8CodePage);
                updateData(false);
            }
        }
        apply(true);
        return;
    }
    if (what != UiControlHost::clicked)
        return;
    for (int k = 0; k < 4; ++k) {
        if (controlId == alignmentRadios[k]) {
            alignment = k;
            updateData(false);
            apply(true);
            return;
        }
    }
}
