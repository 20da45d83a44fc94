// The score's measurements of a system's head: how far the labels reach to
// the left of the staves, the part groups that nest, the scale of the
// largest part, and the widths of the clef, key and time columns.

#include "model/MnCache.h"
#include "model/MnMeasurer.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffDefinition.h"

#include <algorithm>
#include <cmath>

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
    // Pagination asks for the labels of every later system; they are laid
    // out once per pass.
    const int variant = abbreviated ? 1 : 0;
    if (!MnCache::isCurrent(extentsStamps[variant])) {
        extentsLeft[variant] = MnMeasurer::current().labelsLeftmostX(*this, abbreviated);
        extentsStamps[variant] = MnCache::currentStamp();
    }
    return GeVector2d(extentsLeft[variant], -height());
}

double MnScore::clefWidth() const
{
    return scaledByLargestPart(8.0);
}

double MnScore::keySignatureWidth(int time, bool changesOnly, double gap) const
{
    double widest = 0.0;
    double widestGap = 0.0;
    for (int i = 0; i < staves.count(); ++i) {
        const MnStaff* staff = staves[i];
        const MnStaffDefinition* definition = staff->definitionAt(time, changesOnly);
        if (!definition || (changesOnly && !definition->changesKey()))
            continue;
        int fifths = definition->key();
        // A change to no key shows the naturals that cancel the old one.
        if (fifths == 0 && changesOnly && definition != staff)
            fifths = staff->definitionAt(time - 1, false)->key();
        const double scale = parts[i]->partScale();
        const double width = std::abs(fifths) * 2.0 * scale;
        widest = std::max(widest, width);
        if (width > 0.0)
            widestGap = std::max(widestGap, gap * scale);
    }
    return widest > 0.0 ? widest + widestGap : 0.0;
}

double MnScore::timeSignatureWidth(int time, double gap) const
{
    double widest = 0.0;
    double widestGap = 0.0;
    bool any = false;
    for (int i = 0; i < staves.count(); ++i) {
        const MnStaffDefinition* definition = staves[i]->definitionAt(time, true);
        if (!definition || !definition->changesTime())
            continue;
        const double scale = parts[i]->partScale();
        widest = std::max(widest, definition->timeSignatureWidth() * scale);
        widestGap = std::max(widestGap, gap * scale);
        any = true;
    }
    return any ? widest + widestGap : 0.0;
}

double MnScore::keyColumnWidth(int time, bool withGap) const
{
    double widest = 0.0;
    double keyedScale = 0.0;
    for (int i = 0; i < staves.count(); ++i) {
        const int fifths = staves[i]->definitionAt(time, false)->key();
        const double scale = parts[i]->partScale();
        widest = std::max(widest, std::abs(fifths) * 2.0 * scale);
        if (fifths != 0)
            keyedScale = std::max(keyedScale, scale);
    }
    return widest + (withGap ? 2.0 * keyedScale : 0.0);
}

double MnScore::systemHeaderWidth(int time) const
{
    return clefWidth() + keyColumnWidth(time, true) + timeSignatureWidth(time, 0.0);
}
