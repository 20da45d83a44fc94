// The room that bar lines take in a system, and how far a bar line reaches
// across the staves.

#include "model/MnMeasure.h"

#include "model/MnScore.h"
#include "model/MnStaff.h"

namespace {

// Per bar-line code (single, double, final, end repeat, start repeat, end
// and start repeat): the room at the end of its measure inside a system and
// at a system's end, and the room it leaves at the start of the next measure
// inside a system and at a system's start.
struct BarlineRoom
{
    double endInside;
    double endAtSystemEnd;
    double leadingInside;
    double leadingAtSystemStart;
};

const BarlineRoom barlineRooms[] = {
    {0.1, 0.1, 0.1, -0.1},
    {0.7, 0.7, 0.7, -0.7},
    {1.3, 0.4, 0.4, -0.4},
    {2.6, 0.4, 0.4, -0.4},
    // A start repeat belongs to the next measure: its dots stand there.
    {0.4, -0.2, 2.6, 2.4},
    {2.6, 0.4, 2.6, 2.4},
};

const BarlineRoom* roomOf(int barline)
{
    if (barline < 0 || barline >= int(sizeof barlineRooms / sizeof barlineRooms[0]))
        return nullptr;
    return &barlineRooms[barline];
}

} // namespace

double MnMeasure::barlineSpace(bool systemEnd) const
{
    const BarlineRoom* room = roomOf(barlineType);
    if (!room)
        return 0.0;
    return systemEnd ? room->endAtSystemEnd : room->endInside;
}

double MnMeasure::leadingBarlineSpace(bool systemStart) const
{
    const MnMeasure* before = previousMeasure();
    const BarlineRoom* room = before ? roomOf(before->barlineType) : nullptr;
    if (!room)
        return 0.0;
    return systemStart ? room->leadingAtSystemStart : room->leadingInside;
}

double MnMeasure::barlineStaffScale() const
{
    if (!owner)
        return 1.0;
    double scale = owner->partScale();
    const MnScore* score = owner->score();
    const int staffIndex = owner->index();
    if (!score || staffIndex < 0 || staffIndex >= score->staffCount())
        return scale;
    auto measureOf = [&](int staff) -> const MnMeasure* {
        const MnStaff* other = score->staff(staff);
        return number >= 1 && number <= other->measureCount() ? other->measure(number - 1) : nullptr;
    };
    // A bar line joins the staves above that reach down to this one...
    for (int staff = staffIndex - 1; staff >= 0; --staff) {
        const MnMeasure* above = measureOf(staff);
        if (!above || !above->toNextStaff)
            break;
        if (score->staff(staff)->partScale() > scale)
            scale = score->staff(staff)->partScale();
    }
    // ...and the staves below that this one reaches down to.
    for (int staff = staffIndex; staff + 1 < score->staffCount(); ++staff) {
        const MnMeasure* here = measureOf(staff);
        if (!here || !here->toNextStaff)
            break;
        if (score->staff(staff + 1)->partScale() > scale)
            scale = score->staff(staff + 1)->partScale();
    }
    return scale;
}
