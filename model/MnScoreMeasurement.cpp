// The score's measurements of its labels: the part groups that nest, the
// scale of the largest part, and how far the labels reach to the left.

#include "model/MnMeasurer.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"

#include <algorithm>

MnPartGroup* MnScore::childPartGroup(int staff, const MnPartGroup* parent) const
{
    int first = parent ? parent->firstStaff() : 0;
    int last = parent ? parent->lastStaff() : staffCount() - 1;
    MnPartGroup* widest = nullptr;
    for (int i = 0; i < groups.count(); ++i) {
        MnPartGroup* group = groups[i];
        if (group == parent || !group->containsStaff(staff))
            continue;
        if (group->firstStaff() < first || group->lastStaff() > last)
            continue;
        if (parent && group->firstStaff() == first && group->lastStaff() == last)
            continue;
        if (!widest || group->staffCount() > widest->staffCount())
            widest = group;
    }
    return widest;
}

double MnScore::scaledByLargestPart(double length) const
{
    if (parts.isEmpty())
        return 0.0;
    double largest = parts[0]->partScale();
    for (int i = 1; i < parts.count(); ++i)
        largest = std::max(largest, parts[i]->partScale());
    return length * largest;
}

GeVector2d MnScore::partsExtents(bool abbreviated) const
{
    return GeVector2d(MnMeasurer::current().labelsLeftmostX(*this, abbreviated), -height());
}
