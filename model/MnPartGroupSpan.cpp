#include "model/MnPartGroup.h"

#include "model/EdPath.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"

#include <cmath>

// A group's bracket runs from the top line of its first staff down to the
// bottom line of its last staff, or on down over that staff's tablature.
// Its two handles drag the ends of the bracket from staff to staff.

bool MnPartGroup::hasValidRange() const
{
    return groupScore && groupStaffCount >= 1 && groupFirstStaff >= 0 && lastStaff() < groupScore->staffCount();
}

// The bottom of a staff's tablature, in the score's frame.
static double tablatureBottom(const MnStaff* staff, const MnTablature* tablature)
{
    return staff->position().y + (tablature->position().y - tablature->height()) * staff->partScale();
}

static bool isGroupHandlePath(const EdPath* path)
{
    return path && !path->isUnset() && path->kind() == EdPath::KindPartGroup;
}

GePoint2d MnPartGroup::dragPosition(const EdPath* path) const
{
    if (!isGroupHandlePath(path) || !hasValidRange())
        return position();
    GePoint2d top = groupScore->staff(groupFirstStaff)->position();
    if (path->level(5) != 0)
        top.y -= height();
    return top;
}

void MnPartGroup::staffAtHeight(double y, int& staffIndex, bool& inTablature) const
{
    // Each staff owns the band down to halfway between its bottom (or its
    // tablature's) and the next staff's top line; a staff with a tablature
    // gives the lower half of its own band, from halfway between its bottom
    // line and the tablature's top, to the tablature.
    const int count = groupScore->staffCount();
    int index = count - 1;
    for (int i = 0; i + 1 < count; ++i) {
        const MnStaff* staff = groupScore->staff(i);
        const MnTablature* tablature = staff->tablature();
        const double bottom = tablature ? tablatureBottom(staff, tablature) : staff->position().y - staff->height();
        if (y > (bottom + groupScore->staff(i + 1)->position().y) / 2) {
            index = i;
            break;
        }
    }
    const MnStaff* staff = groupScore->staff(index);
    inTablature = false;
    if (const MnTablature* tablature = staff->tablature()) {
        const double staffBottom = staff->position().y - staff->height();
        const double tablatureTop = staff->position().y + tablature->position().y * staff->partScale();
        inTablature = y < (staffBottom + tablatureTop) / 2;
    }
    staffIndex = index;
}

bool MnPartGroup::dragTo(const GePoint2d& point, const EdPath* path)
{
    if (!isGroupHandlePath(path) || !hasValidRange())
        return false;
    int staff = 0;
    bool inTablature = false;
    staffAtHeight(point.y, staff, inTablature);
    const int first = groupFirstStaff;
    const int last = lastStaff();

    if (path->level(5) != 0) {
        // Bottom handle: the nearest range from the first staff down to the
        // point's staff, or back toward the current end, that the score
        // allows.
        for (int end = staff; (end > first || (end == first && inTablature)) && end != last;
             end += end < last ? 1 : -1) {
            if (groupScore->canGroupStaves(first, end - first + 1)) {
                groupStaffCount = end - first + 1;
                groupCoversTablature = inTablature;
                return true;
            }
        }
        if (groupCoversTablature == inTablature || (groupStaffCount == 1 && !inTablature))
            return false;
        groupCoversTablature = inTablature;
        return true;
    }

    // Top handle: the nearest range from the point's staff down to the
    // current last staff that the score allows.
    const bool lastTablature = groupCoversTablature && groupScore->staff(last)->tablature();
    for (int begin = staff; (begin < last || (begin == last && lastTablature)) && begin != first;
         begin += begin < first ? 1 : -1) {
        if (groupScore->canGroupStaves(begin, last - begin + 1)) {
            groupFirstStaff = begin;
            groupStaffCount = last - begin + 1;
            return true;
        }
    }
    return false;
}
