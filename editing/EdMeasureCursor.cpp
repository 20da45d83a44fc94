#include "editing/EdMeasureCursor.h"

#include "model/MnStaff.h"

MnMeasure* EdMeasureCursor::find(long long time, int& start)
{
    const int count = staff ? staff->measureCount() : 0;
    if (count == 0 || time < 0 || time >= staff->totalTicks())
        return nullptr;
    if (index >= count)
        index = count - 1;
    while (index > 0 && time < staff->measureStartTime(index))
        --index;
    while (index + 1 < count && time >= staff->measureStartTime(index + 1))
        ++index;
    start = staff->measureStartTime(index);
    return staff->measure(index);
}
