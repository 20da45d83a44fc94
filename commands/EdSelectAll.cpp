#include "commands/EdSelectAll.h"

#include "foundation/BcClass.h"
#include "model/MnElement.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "render/ReSystem.h"

static bool isContainer(const MnElement* element)
{
    return element->isKindOf(MnSheetMusic::staticClass()) || element->isKindOf(MnScore::staticClass())
        || element->isKindOf(MnStaff::staticClass()) || element->isKindOf(MnMeasure::staticClass());
}

EdSelectAll::EdSelectAll(EdSelection* target, const BcClass* cls) : target(target), wanted(cls)
{
    for (int i = 0; target && i < target->count(); ++i) {
        MnElement* element = target->element(i);
        if (isContainer(element) && !(cls && element->isKindOf(cls)))
            EdSelection::add(element);
    }
}

EdSelectAll::~EdSelectAll() = default;

void EdSelectAll::markFrame(const GeBox2d&, const GeBox2d&, MnElement* element)
{
    select(element);
}

void EdSelectAll::markRect(const GePoint2d&, double, double, MnElement* element)
{
    select(element);
}

void EdSelectAll::markSpan(const GePoint2d&, const GePoint2d&, MnElement* element)
{
    select(element);
}

bool EdSelectAll::isInScope(const MnElement* element) const
{
    if (isEmpty())
        return true;
    for (const MnElement* up = element; up; up = up->parent()) {
        if (contains(up))
            return true;
    }
    return false;
}

void EdSelectAll::select(MnElement* element)
{
    if (!element || !target)
        return;
    if (wanted && !element->isKindOf(wanted))
        return;
    if (isInScope(element))
        target->add(element);
}

void EdSelectAll::composeDocument(QuorvaneDocument* document)
{
    ReSystem system(this);
    system.compose(document);
}
