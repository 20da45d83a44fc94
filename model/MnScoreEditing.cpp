#include "model/MnScore.h"

#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnStaff.h"

// Moving staves keeps every bracket whole: a staff never leaves the
// innermost group that holds it, and a neighbouring group inside that one
// is stepped over as a block, so no group ends up crossing another.

MnPartGroup* MnScore::innermostPartGroup(int staff) const
{
    return innermostGroupOf(staff, 0);
}

MnPartGroup* MnScore::innermostGroupOf(int staff, int leastStaves) const
{
    MnPartGroup* innermost = nullptr;
    for (int i = 0; i < groups.count(); ++i) {
        MnPartGroup* group = groups[i];
        if (group->staffCount() < leastStaves || !group->containsStaff(staff))
            continue;
        if (!innermost || group->staffCount() < innermost->staffCount())
            innermost = group;
    }
    return innermost;
}

bool MnScore::moveStaffUp(int index)
{
    if (index <= 0 || index >= staves.count())
        return false;
    const MnPartGroup* innermost = enclosingGroup(index);
    if (innermost && index == innermost->firstStaff())
        return false;

    int target = index - 1;
    if (const MnPartGroup* block = childPartGroup(target, innermost))
        target = block->firstStaff();
    moveStaffAndPart(index, target, innermost);
    return true;
}

bool MnScore::moveStaffDown(int index)
{
    if (index < 0 || index >= staves.count())
        return false;
    const MnPartGroup* innermost = enclosingGroup(index);
    const int last = innermost ? innermost->lastStaff() : staves.count() - 1;
    if (index >= last)
        return false;

    int target = index + 1;
    if (const MnPartGroup* block = childPartGroup(target, innermost))
        target = block->lastStaff();
    moveStaffAndPart(index, target, innermost);
    return true;
}

// The innermost group of two or more staves that holds the staff. A group of
// one staff only brackets that staff with its tablature: it travels with the
// staff instead of holding it in place.
const MnPartGroup* MnScore::enclosingGroup(int staff) const
{
    return innermostGroupOf(staff, 2);
}

// Moves the staff from one index to the other over the staves in between;
// the groups inside the innermost group that start among those staves step
// the other way by one.
void MnScore::moveStaffAndPart(int from, int to, const MnPartGroup* innermost)
{
    // The staff's own tablature bracket goes with it; read it before the
    // neighbours' groups shift onto the staff's old index.
    BcArray<MnPartGroup*> ownGroups;
    for (int i = 0; i < groups.count(); ++i) {
        if (groups[i]->staffCount() == 1 && groups[i]->firstStaff() == from)
            ownGroups.add(groups[i]);
    }
    const int innermostCount = innermost ? innermost->staffCount() : staves.count() + 1;
    const int firstPassed = from < to ? from + 1 : to;
    const int lastPassed = from < to ? to : from - 1;
    const int step = from < to ? -1 : 1;
    for (int i = 0; i < groups.count(); ++i) {
        MnPartGroup* group = groups[i];
        if (group == innermost || group->staffCount() >= innermostCount)
            continue;
        if (firstPassed <= group->firstStaff() && group->firstStaff() <= lastPassed)
            group->setFirstStaff(group->firstStaff() + step);
    }

    for (int i = 0; i < ownGroups.count(); ++i)
        ownGroups[i]->setFirstStaff(to);
    MnStaff* staff = staves[from];
    MnPart* part = parts[from];
    staves.removeAt(from);
    parts.removeAt(from);
    staves.insertAt(to, staff);
    parts.insertAt(to, part);
    for (int i = 0; i < staves.count(); ++i) {
        staves[i]->setIndex(i);
        parts[i]->setStaffIndex(i);
    }
}
