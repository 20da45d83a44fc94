#pragma once

class MnMeasure;
class MnStaff;

// Finds the measure of a staff that holds a time by stepping from the one it
// found last, so that a walk through a staff in (mostly) rising time costs
// one pass over its measures instead of one per lookup. The staff's measures
// must not change while the cursor is used.
class EdMeasureCursor
{
public:
    explicit EdMeasureCursor(const MnStaff* staff) : staff(staff) {}

    // The measure whose span [start, start + length) holds the time, with its
    // start; null, with start untouched, outside the staff.
    MnMeasure* find(long long time, int& start);

private:
    const MnStaff* staff;
    int index = 0;
};
