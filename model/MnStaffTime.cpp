// Time signature edits of a staff: changing the meter of the whole score from
// a time on, re-barring a run of measures for a new meter, taking a time
// change out again and exchanging two measures. What is anchored to times
// (staff changes, lines, lyric lines) follows the music.

#include "model/MnStaff.h"

#include "model/MnChord.h"
#include "model/MnClipboard.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnLine.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaffChange.h"

#include <algorithm>
#include <climits>

// Two signs of one meter: common time and 4/4, 2/2 and cut time. Changing
// between them only relabels.
static bool isVariantPair(int first, int second)
{
    return first != second && first >= MnTimeCommon && second >= MnTimeCommon && first <= MnTimeCut &&
           second <= MnTimeCut && first / 2 == second / 2;
}

// The staves that a meter change reaches: every staff of the score, or the
// staff alone.
static void stavesOf(MnStaff* staff, BcArray<MnStaff*>& staves)
{
    const MnScore* score = staff->score();
    const int index = staff->index();
    if (!score || index < 0 || index >= score->staffCount() || score->staff(index) != staff) {
        staves.add(staff);
        return;
    }
    for (int i = 0; i < score->staffCount(); ++i)
        staves.add(score->staff(i));
}

// Relabels the changes after the time that carry the old sign, up to the
// first one with another meter.
static void relabelFollowing(MnStaff* staff, int time, int oldType, int newType)
{
    for (int i = 0; i < staff->changeCount(); ++i) {
        MnStaffChange* change = staff->change(i);
        if (change->startTime() <= time)
            continue;
        if (change->time() != oldType)
            break;
        change->setTimeType(newType);
    }
}

bool MnStaff::setTime(int type)
{
    if (!mnIsTimeSignatureType(type))
        return false;
    BcArray<MnStaff*> staves;
    stavesOf(this, staves);
    for (int i = 0; i < staves.count(); ++i) {
        MnStaff* staff = staves[i];
        const int old = staff->time();
        if (old == type)
            continue;
        if (isVariantPair(old, type)) {
            relabelFollowing(staff, 0, old, type);
            staff->setTimeType(type);
        } else {
            staff->rebar(0, type);
        }
    }
    return true;
}

bool MnStaffChange::setTime(int type)
{
    MnStaff* staff = owner;
    if (!mnIsTimeSignatureType(type) || type == time() || !staff || staff->measureCount() <= 1)
        return false;
    const int at = changeTime;
    int measureIndex = -1;
    for (int m = 1; m < staff->measureCount() && measureIndex < 0; ++m) {
        if (staff->measureStartTime(m) == at)
            measureIndex = m;
    }
    if (measureIndex < 0)
        return false;

    BcArray<MnStaff*> staves;
    stavesOf(staff, staves);
    for (int i = 0; i < staves.count(); ++i) {
        MnStaff* each = staves[i];
        MnStaffDefinition* there = each->definitionAt(at, true);
        if (!there || !there->isKindOf(MnStaffChange::staticClass())) {
            if (!each->insertStaffChange(at))
                continue;
            there = each->definitionAt(at, true);
        }
        MnStaffChange* change = static_cast<MnStaffChange*>(there);
        const int old = change->time();
        if (isVariantPair(old, type)) {
            relabelFollowing(each, at, old, type);
            change->setTimeType(type);
        } else {
            each->rebar(measureIndex, type);
        }
    }
    return true;
}

namespace
{
// What a measure carries at its start and at its end, besides its music.
struct MeasureEdges
{
    int start;
    int end;
    const MnMeasure* measure;
};

void copyStartAttributes(const MnMeasure* from, MnMeasure* to)
{
    to->setVoltaMask(from->voltaMask());
    to->setVoltaClosed(from->isVoltaClosed());
    to->setRepeatMarker(from->repeatMarker());
    to->setUserWidth(from->userWidth());
}

void copyBarline(const MnMeasure* from, MnMeasure* to)
{
    to->setBarline(from->barline());
    to->setRepeatCount(from->repeatCount());
    to->setToNextStaff(from->isToNextStaff());
    to->setToTablature(from->isToTablature());
}

void copyEndAttributes(const MnMeasure* from, MnMeasure* to)
{
    copyBarline(from, to);
    to->setRepeatJump(from->repeatJump());
    to->setSystemBreak(from->systemBreak());
}
} // namespace

bool MnStaff::rebar(int measureIndex, int type)
{
    if (!mnIsTimeSignatureType(type) || measureIndex < 0 || measureIndex >= measures.count())
        return false;
    const int runStart = measureStartTime(measureIndex);
    const int oldType = definitionAt(runStart, false)->time();

    // The run ends where another meter begins.
    long long otherMeter = LLONG_MAX;
    for (int i = 0; i < changes.count(); ++i) {
        if (changes[i]->startTime() > runStart && changes[i]->time() != oldType) {
            otherMeter = changes[i]->startTime();
            break;
        }
    }
    int last = measureIndex;
    while (last + 1 < measures.count() && measureStartTime(last + 1) < otherMeter)
        ++last;
    const int runLength = measureStartTime(last + 1) - runStart;

    int beats = 0;
    int beatTicks = 0;
    mnTimeSignatureMeter(type, beats, beatTicks);
    const int newLength = beats * beatTicks;
    const int newCount = std::max(1, (runLength + newLength - 1) / newLength);
    const int growth = newCount * newLength - runLength;
    if ((long long)totalTicks() + growth > MnMaxStaffTicks ||
        measures.count() - (last - measureIndex + 1) + newCount > MnMaxRecordCount)
        return false;
    if (runStart > 0 && !definitionAt(runStart, true) && changes.count() >= MnMaxRecordCount)
        return false;
    std::unique_ptr<MnClipboard> clipboard = MnClipboard::make();
    if (!clipboard || !clipboard->copyMeasures(this, measureIndex, last))
        return false;

    if (runStart > 0 && !definitionAt(runStart, true))
        insertStaffChange(runStart);
    definitionAt(runStart, true)->setTimeType(type);

    // One new array: the measures before the run, the new ones, the rest.
    BcArray<MnMeasure*> old;
    BcArray<MnMeasure*> rebuilt;
    rebuilt.setCapacity(measures.count() - (last - measureIndex + 1) + newCount);
    for (int i = 0; i < measureIndex; ++i)
        rebuilt.add(measures[i]);
    for (int i = measureIndex; i <= last; ++i)
        old.add(measures[i]);
    for (int n = 0; n < newCount; ++n)
        rebuilt.add(new MnMeasure(this, measureIndex + n + 1, type));
    for (int i = last + 1; i < measures.count(); ++i) {
        rebuilt.add(measures[i]);
        measures[i]->setIndex(rebuilt.count());
    }

    // Where a bar line of the run stays, the measures on either side keep
    // what they carried there; the run keeps its closing bar line.
    int oldIndex = 0;
    int oldStart = 0;
    for (int n = 0; n < newCount; ++n) {
        MnMeasure* made = rebuilt[measureIndex + n];
        const int start = n * newLength;
        const int end = start + newLength;
        while (oldIndex < old.count() && oldStart + old[oldIndex]->length() <= start) {
            oldStart += old[oldIndex]->length();
            ++oldIndex;
        }
        if (oldIndex < old.count() && oldStart == start)
            copyStartAttributes(old[oldIndex], made);
        int endIndex = oldIndex;
        int endStart = oldStart;
        while (endIndex < old.count() && endStart + old[endIndex]->length() < end) {
            endStart += old[endIndex]->length();
            ++endIndex;
        }
        if (endIndex < old.count() && endStart + old[endIndex]->length() == end)
            copyEndAttributes(old[endIndex], made);
    }
    copyBarline(old[old.count() - 1], rebuilt[measureIndex + newCount - 1]);
    measures = std::move(rebuilt);
    measureTimesChanged();
    for (int i = 0; i < old.count(); ++i)
        delete old[i];

    const int runEnd = runStart + runLength;
    for (int i = 0; i < changes.count(); ++i) {
        MnStaffChange* change = changes[i];
        if (change->startTime() <= runStart)
            continue;
        if (change->startTime() < runEnd) {
            if (change->time() == oldType)
                change->setTimeType(type);
        } else {
            change->setStartTime(change->startTime() + growth);
        }
    }
    for (int i = 0; i < lines.count(); ++i) {
        if (lines[i]->start() >= runEnd)
            lines[i]->setStart(lines[i]->start() + growth, true);
    }
    for (int i = 0; i < lines.count(); ++i) {
        MnLine* line = lines[i];
        if (line->start() < runEnd && line->length() >= 0 && line->end() > runEnd)
            line->setLength(line->length() + growth);
    }
    for (int i = 0; i < lyrics.count(); ++i) {
        if (lyrics[i]->start() >= runEnd)
            lyrics[i]->setStart(lyrics[i]->start() + growth);
    }

    const bool wasSuspended = reconcilingSuspended;
    reconcilingSuspended = true;
    clipboard->paste(this, runStart);
    reconcilingSuspended = wasSuspended;
    for (int i = 0; i < lyrics.count(); ++i) {
        MnLyric* lyric = lyrics[i];
        if (lyric->start() >= runStart && lyric->start() < runEnd + growth && !lyric->firstChord())
            lyric->reanchor();
    }
    return true;
}

bool MnStaff::removeTimeChange(int changeIndex)
{
    if (changeIndex < 0 || changeIndex >= changes.count())
        return false;
    MnStaffChange* change = changes[changeIndex];
    const int at = change->startTime();
    change->setTime(definitionAt(at - 1, false)->time());

    BcArray<MnStaff*> staves;
    stavesOf(this, staves);
    for (int i = 0; i < staves.count(); ++i) {
        MnStaff* staff = staves[i];
        if (staff == this)
            continue;
        MnStaffDefinition* there = staff->definitionAt(at, true);
        if (!there || there == staff)
            continue;
        const MnStaffDefinition* before = staff->definitionAt(at - 1, false);
        if (there->clef() != before->clef() || there->key() != before->key() || there->time() != before->time())
            continue;
        BcArray<MnStaffChange*>& theirs = staff->changeArray();
        const int index = mnIndexOf(theirs, there);
        theirs.removeAt(index);
        delete there;
    }
    const int index = changes.indexOf(change);
    if (index >= 0) {
        changes.removeAt(index);
        delete change;
    }
    return true;
}

// Sorts by start time, keeping the order of equal times.
template <class T, class StartOf>
static void sortByStart(BcArray<T*>& items, StartOf startOf)
{
    std::stable_sort(items.data(), items.data() + items.count(),
                     [&](const T* a, const T* b) { return startOf(a) < startOf(b); });
}

bool MnStaff::swapWithPreviousMeasure(int index, bool syncAttributes)
{
    if (index <= 0 || index >= measures.count())
        return false;
    const int first = measureStartTime(index - 1);
    const int second = measureStartTime(index);
    const int firstLength = second - first;
    const int secondLength = measureStartTime(index + 1) - second;
    const int pairEnd = second + secondLength;
    if (definitionAt(first, false)->time() != definitionAt(second, false)->time())
        return false;

    // Changes inside the measures go with them; those at a bar line stay.
    BcArray<MnStaffChange*> moved;
    for (int i = 0; i < changes.count(); ++i) {
        MnStaffChange* change = changes[i];
        const int time = change->startTime();
        if (time > second && time < pairEnd) {
            change->setStartTime(time - firstLength);
            moved.add(change);
        } else if (time > first && time < second) {
            change->setStartTime(time + secondLength);
            moved.add(change);
        }
    }
    sortByStart(changes, [](const MnStaffChange* change) { return change->startTime(); });
    // A change that arrives where one stayed replaces it: a staff has one
    // change at a time.
    for (int i = changes.count() - 1; i > 0; --i) {
        if (changes[i]->startTime() != changes[i - 1]->startTime())
            continue;
        const int stayed = moved.indexOf(changes[i]) >= 0 ? i - 1 : i;
        MnStaffChange* gone = changes[stayed];
        changes.removeAt(stayed);
        delete gone;
    }

    for (int i = 0; i < lines.count(); ++i) {
        MnLine* line = lines[i];
        const int start = line->start();
        const int end = line->length() >= 0 ? line->end() : start;
        int newStart = start;
        int newEnd = end;
        if (start >= first && start < second) {
            newStart = start + secondLength;
            if (end <= second)
                newEnd = end + secondLength;
            else if (end <= pairEnd)
                newEnd = pairEnd;
        } else if (start >= second && start < pairEnd) {
            newStart = start - firstLength;
            if (end <= pairEnd)
                newEnd = end - firstLength;
        } else if (end > second && end <= pairEnd) {
            newEnd = end - firstLength;
        } else if (end > first && end <= second) {
            newEnd = end + secondLength;
        }
        line->setStart(newStart, true);
        if (line->length() >= 0)
            line->setLength(newEnd - newStart);
    }
    sortByStart(lines, [](const MnLine* line) { return line->start(); });
    linesChanged();
    for (int i = 0; i < lyrics.count(); ++i) {
        MnLyric* lyric = lyrics[i];
        if (lyric->start() >= first && lyric->start() < second)
            lyric->setStart(lyric->start() + secondLength);
        else if (lyric->start() >= second && lyric->start() < pairEnd)
            lyric->setStart(lyric->start() - firstLength);
    }
    sortByStart(lyrics, [](const MnLyric* lyric) { return lyric->start(); });

    MnMeasure* earlier = measures[index - 1];
    MnMeasure* later = measures[index];
    measures[index - 1] = later;
    measures[index] = earlier;
    later->setIndex(index);
    earlier->setIndex(index + 1);
    measureTimesChanged();

    if (syncAttributes && owner) {
        for (int position : {index, index - 1}) {
            const MnMeasure* model = measures[position];
            for (int s = 0; s < owner->staffCount(); ++s) {
                MnStaff* staff = owner->staff(s);
                if (staff == this || position >= staff->measureCount())
                    continue;
                MnMeasure* same = staff->measure(position);
                same->setBarline(model->barline());
                same->setVoltaMask(model->voltaMask());
                same->setVoltaClosed(model->isVoltaClosed());
                same->setSystemBreak(model->systemBreak());
            }
            measures[position]->setVoltaText(model->voltaText(true));
        }
    }
    return true;
}
