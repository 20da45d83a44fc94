#include "model/MnGuideLineCollector.h"

#include "model/EdHorizontalGuideLine.h"
#include "model/MnElement.h"
#include "model/MnMeasure.h"
#include "model/MnStaff.h"

#include <cmath>

MnGuideLineCollector::MnGuideLineCollector(double tolerance) : tolerance(tolerance)
{
}

double MnGuideLineCollector::bodyReference(double start, double end, double systemStart, double systemEnd)
{
    if (systemStart <= start && end <= systemEnd)
        return (start + end) / 2;
    if (systemStart <= start && start <= systemEnd && end > systemEnd)
        return start;
    if (start < systemStart && systemStart <= end && end <= systemEnd)
        return end;
    return (systemStart + systemEnd) / 2;
}

bool MnGuideLineCollector::systemTimes(const MnStaff* staff, const EdPath& path, double& systemStart,
                                       double& systemEnd)
{
    const int firstMeasure = path.level(4);
    const int measureCount = path.level(5);
    if (firstMeasure < 0 || measureCount < 1 || firstMeasure + measureCount > staff->measureCount())
        return false;
    const MnMeasure* lastMeasure = staff->measure(firstMeasure + measureCount - 1);
    systemStart = staff->measure(firstMeasure)->startTime();
    systemEnd = lastMeasure->startTime() + lastMeasure->length();
    return true;
}

bool MnGuideLineCollector::showsInSystem(double start, double end, double systemStart, double systemEnd)
{
    return (start < systemStart && systemStart < end) || (start < systemEnd && systemEnd < end) ||
           (systemStart <= start && end <= systemEnd);
}

void MnGuideLineCollector::addCandidate(MnElement* element, const EdPath& path, double distance)
{
    int place = candidates.count();
    while (place > 0 && candidates[place - 1].distance > distance)
        --place;
    candidates.insertAt(place, Candidate{element, path, distance});
}

void MnGuideLineCollector::appendGuideLines(BcArray<EdGuideLine*>& lines) const
{
    BcArray<double> heights;
    for (int c = 0; c < candidates.count(); ++c) {
        MnElement* element = candidates[c].element;
        const GePoint2d page = element->toPageCoordinates(element->position(), &candidates[c].path);
        BcArray<GePoint2d> snaps;
        element->addSnapPoints(snaps);
        for (int p = 0; p < snaps.count(); ++p) {
            const double height = page.y + tolerance * snaps[p].y;
            bool near = false;
            for (int h = 0; h < heights.count() && !near; ++h)
                near = std::fabs(heights[h] - height) < tolerance;
            if (!near)
                heights.add(height);
        }
    }
    for (int h = 0; h < heights.count(); ++h)
        lines.add(new EdHorizontalGuideLine(heights[h], tolerance));
}
