#include "panels/UiStaffContextMenu.h"

#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "panels/UiContextMenuList.h"

void UiStaffContextMenu::reset()
{
    visited = withoutTablature = notFirst = notLast = 0;
    staves.removeAll();
    tablatures.removeAll();
}

void UiStaffContextMenu::visit(MnElement* element)
{
    if (!element)
        return;
    if (element->isKindOf(MnStaff::staticClass())) {
        MnStaff* staff = static_cast<MnStaff*>(element);
        ++visited;
        if (!staff->tablature())
            ++withoutTablature;
        MnScore* score = staff->score();
        if (staff->index() > 0)
            ++notFirst;
        if (score && staff->index() < score->staffCount() - 1)
            ++notLast;
        staves.add(staff);
    } else if (element->isKindOf(MnStaffChange::staticClass())) {
        if (MnStaff* staff = static_cast<MnStaffChange*>(element)->staff())
            staves.add(staff);
    } else if (element->isKindOf(MnTablature::staticClass())) {
        tablatures.add(static_cast<MnTablature*>(element));
    }
}

bool UiStaffContextMenu::haveSameOwner() const
{
    if (staves.count() > 0) {
        // A tablature hangs from a staff, never from the score itself.
        if (tablatures.count() > 0)
            return false;
        const MnScore* score = staves[0]->score();
        for (int i = 1; i < staves.count(); ++i)
            if (staves[i]->score() != score)
                return false;
        return true;
    }
    if (tablatures.count() == 0)
        return false;
    const MnStaff* staff = tablatures[0]->staff();
    for (int i = 1; i < tablatures.count(); ++i)
        if (tablatures[i]->staff() != staff)
            return false;
    return true;
}

bool UiStaffContextMenu::isGroupable() const
{
    if (staves.count() == 0)
        return false;
    MnScore* score = staves[staves.count() - 1]->score();
    if (!score)
        return false;
    int lo = -1;
    int hi = -1;
    for (int i = 0; i < staves.count(); ++i) {
        if (staves[i]->score() != score)
            continue;
        const int index = staves[i]->index();
        if (lo < 0 || index < lo)
            lo = index;
        if (hi < 0 || index > hi)
            hi = index;
    }
    if (lo < hi)
        return score->canGroupStaves(lo, hi - lo + 1);
    // One staff groups with its own tablature, unless that group exists.
    if (lo < 0 || lo >= score->staffCount())
        return false;
    MnTablature* tablature = score->staff(lo)->tablature();
    if (!tablature || tablatures.indexOf(tablature) < 0)
        return false;
    for (int g = 0; g < score->partGroupCount(); ++g) {
        const MnPartGroup* group = score->partGroup(g);
        if (group->firstStaff() == lo && group->staffCount() == 1)
            return false;
    }
    return true;
}

void UiStaffContextMenu::build(UiContextMenuList& list)
{
    // Staves reached through their changes count as staves.
    visited = staves.count();
    if (notFirst > 0)
        offer(list, 10036, -1, 32846);  // Move up
    if (notLast > 0)
        offer(list, 10037, -1, 32845);  // Move down
    if (isGroupable())
        offer(list, 10040, 5, 32839);  // Group
    if (visited == 1)
        offer(list, 10038, 1, 32817);  // Add Staff
    if (haveSameOwner())
        offer(list, 10039, 2, 32818);  // Add Measure
    if (withoutTablature > 0)
        offer(list, 10106, 9, 33095);  // Add Tablature
}
