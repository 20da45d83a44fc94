#include "playback/MrRecorder.h"

#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <algorithm>

BC_IMPLEMENT_CREATABLE_CLASS(MrRecorder)

namespace {

bool isKeyIndex(int key)
{
    return key >= 0 && key < 88;
}

} // namespace

MrRecorder::MrRecorder() : played(eventBlock), quantised(8)
{
    played.setCapacity(eventBlock);
}

void MrRecorder::start(unsigned long long now)
{
    played.removeAll();
    startedAt = now;
    recording = true;
}

int MrRecorder::relative(unsigned long long time) const
{
    return int(unsigned(time) - unsigned(startedAt));
}

void MrRecorder::endOpenEvent(int rel, int key)
{
    for (int i = 0; i < played.count() && unsigned(played[i].start) < unsigned(rel); ++i) {
        MrEvent& event = played[i];
        if (event.key == key && event.isOpen()) {
            event.end = rel;
            return;
        }
    }
}

void MrRecorder::addEvent(unsigned long long time, int key)
{
    if (!recording || !isKeyIndex(key))
        return;
    const int rel = relative(time);
    endOpenEvent(rel, key);
    int at = 0;
    while (at < played.count() && played[at].start < rel)
        ++at;
    while (at < played.count() && played[at].start == rel && played[at].key < key)
        ++at;
    if (played.count() == played.capacity())
        played.setCapacity(played.count() + std::max(played.count(), int(eventBlock)));
    MrEvent event;
    event.start = rel;
    event.end = 0;
    event.key = key;
    played.insertAt(at, event);
}

void MrRecorder::releaseKey(unsigned long long time, int key)
{
    if (!recording)
        return;
    endOpenEvent(relative(time), key);
}

MnScore* MrRecorder::toScore()
{
    const int count = played.count();
    if (count == 0)
        return nullptr;
    const int t0 = played[0].start;
    const unsigned span = unsigned(played[count - 1].start) - unsigned(t0);
    if (span <= gridThreshold)
        return nullptr;
    unsigned unit = span;
    for (int i = 1; i < count; ++i) {
        const unsigned gap = unsigned(played[i].start) - unsigned(played[i - 1].start);
        if (gap > gridThreshold && gap < unit)
            unit = gap;
    }

    quantised.setSize(count);
    for (int i = 0; i < count; ++i) {
        const double x = double(unsigned(played[i].start) - unsigned(t0)) / double(unit);
        long long steps = (long long)x;
        if (x - double(steps) >= 0.5)
            ++steps;
        // Kept apart from the staff limit below: a long silence can put an
        // onset far past what an int holds in ticks.
        const long long onset = std::min(steps * quarter, (long long)MnMaxStaffTicks + 1);
        quantised[i].start = int(onset);
        quantised[i].end = quarter;
        quantised[i].key = played[i].key;
    }

    MnScore* score = new MnScore;
    MnStaff* staff = score->staff(0);
    for (int i = 0; i < count; ++i) {
        const long long onset = quantised[i].start;
        const long long end = onset + quarter;
        if (end > MnMaxStaffTicks)
            break; // later onsets lie further still
        // An onset that ends exactly at the bar line still gets the measure
        // after it, as a recording that stops on a beat expects.
        while (end >= staff->totalTicks()) {
            if (!score->insertMeasure(-1))
                break;
        }
        if (end > staff->totalTicks())
            break; // the staff can hold no more
        MnMeasure* measure = staff->measureAtTime(int(onset));
        if (!measure)
            break;
        measure->setNoteByKey(0, int(onset) - measure->startTime(), quantised[i].key, quarter, false);
    }
    return score;
}
