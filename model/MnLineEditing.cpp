#include "model/MnLine.h"

#include "editing/EdHorizontalGuideLine.h"
#include "editing/EdPath.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <algorithm>
#include <cmath>

// A line of a class never runs into the next line of the same class (or of
// a class derived from it) in its staff: dynamics stop at the next dynamic,
// octave lines at the next octave line. Marks (a p, a pedal sign) govern the
// span up to the next mark and give way when something is put inside it.

bool MnLine::isOfClassOf(const MnLine* other) const
{
    return other != this && other->isKindOf(dynamicClass());
}

bool MnLine::setStart(int time, bool force)
{
    MnStaff* staff = lineStaff;
    if (time < 0 || time > maxTicks)
        return false;
    if (force) {
        lineStart = time;
        if (staff)
            staff->keepLineSorted(this);
        return true;
    }

    const int oldEnd = lineStart + lineLength;
    int newStart = lineStart;
    int newEnd = oldEnd;
    BcArray<MnLine*> marksToShorten;
    if (time < lineStart) {
        // Earlier: over lines of the class that end in between, a mark that
        // starts before the new start gives way, any other line stops it.
        if (staff) {
            const BcArray<MnLine*>& lines = staff->lineArray();
            for (int i = 0; i < lines.count(); ++i) {
                MnLine* other = lines[i];
                if (!isOfClassOf(other))
                    continue;
                const int otherEnd = other->start() + other->length();
                if (otherEnd <= time || otherEnd > lineStart)
                    continue;
                if (other->isMark() && other->start() < time)
                    marksToShorten.add(other);
                else
                    time = otherEnd;
            }
        }
        newStart = time;
    } else if (time >= oldEnd) {
        // At or past the end: the line shrinks to the chords before its end;
        // a mark first takes its end along, up to the next line of its class.
        if (!staff)
            return false;
        if (isMark()) {
            newEnd = time;
            const BcArray<MnLine*>& lines = staff->lineArray();
            for (int i = 0; i < lines.count(); ++i) {
                MnLine* other = lines[i];
                if (isOfClassOf(other) && other->start() > lineStart && other->start() <= time)
                    newEnd = std::min(newEnd, other->start());
            }
        }
        if (!staff->latestOnsetBefore(newEnd, newStart))
            return false;
    } else {
        newStart = time;
    }
    if (newStart == lineStart)
        return false;

    // Decided: only now do the marks in the way give way.
    for (int i = 0; i < marksToShorten.count(); ++i) {
        MnLine* mark = marksToShorten[i];
        if (mark->start() + mark->length() > newStart)
            mark->lineLength = newStart - mark->start();
    }
    lineStart = newStart;
    lineLength = newEnd - newStart;
    if (staff)
        staff->keepLineSorted(this);
    return true;
}

bool MnLine::setLength(int ticks)
{
    MnStaff* staff = lineStaff;
    // A length the record could not hold back is never stored.
    if (ticks > maxTicks)
        ticks = maxTicks;
    if (ticks > 0) {
        if (staff) {
            const BcArray<MnLine*>& lines = staff->lineArray();
            for (int i = 0; i < lines.count(); ++i) {
                const MnLine* other = lines[i];
                if (isOfClassOf(other) && other->start() > lineStart)
                    ticks = std::min(ticks, other->start() - lineStart);
            }
        }
    } else {
        ticks = 0;
        if (staff) {
            BcArray<MnChord*> chords;
            staff->chordsAt(lineStart, chords);
            for (int i = 0; i < chords.count(); ++i) {
                const int sounding = chords[i]->soundingDuration();
                if (sounding > 0 && (ticks == 0 || sounding < ticks))
                    ticks = sounding;
            }
        }
    }
    if (ticks == lineLength)
        return false;
    lineLength = ticks;
    return true;
}

bool MnLine::moveTo(const GePoint2d& point)
{
    BcArray<MnChord*> chords;
    if (lineStaff)
        lineStaff->chordsAt(lineStart, chords);
    const double offset = MnStaff::clampClearOfChords(point.y, chords);
    if (offset == lineOffset)
        return false;
    lineOffset = offset;
    return true;
}

GePoint2d MnLine::toPageCoordinates(const GePoint2d& point, const EdPath* path) const
{
    const MnStaff* staff = lineStaff;
    if (!staff)
        return point;
    GePoint2d origin;
    if (path && !path->isUnset() && path->kind() == EdPath::KindLine) {
        // The staff as it stands in the system that the path names.
        const EdPath staffPath(EdPath::KindStaff, path->level(1), path->level(2), path->level(4));
        origin = staff->toPageCoordinates(staff->dragPosition(&staffPath), &staffPath);
    } else {
        origin = staff->toPageCoordinates(staff->position(), nullptr);
    }
    const double scoreScale = staff->score() ? staff->score()->scale() : 1.0;
    return GePoint2d(origin.x + scoreScale * point.x, origin.y + staff->partScale() * scoreScale * point.y);
}

bool MnLine::addGuideLines(BcArray<EdGuideLine*>& guideLines, const EdPath* path)
{
    const MnStaff* staff = lineStaff;
    if (!staff || !path || path->isUnset() || path->kind() != EdPath::KindLine)
        return true;
    const MnScore* score = staff->score();
    const int firstMeasure = path->level(4);
    const int measureCount = path->level(5);
    if (!score || firstMeasure < 0 || measureCount < 1 || firstMeasure + measureCount > staff->measureCount())
        return true;

    const double scale = staff->scale();
    const MnMeasure* lastMeasure = staff->measure(firstMeasure + measureCount - 1);
    const double systemStart = staff->measure(firstMeasure)->startTime();
    const double systemEnd = lastMeasure->startTime() + lastMeasure->length();
    const double start = lineStart;
    const double end = lineStart + lineLength;

    // The time the drag is about: the grabbed handle, or the part of the
    // body that shows in this system.
    double reference = (systemStart + systemEnd) / 2;
    const int grip = path->level(6);
    if (grip == 0)
        reference = start;
    else if (grip == 1)
        reference = end;
    else if (systemStart <= start && end <= systemEnd)
        reference = (start + end) / 2;
    else if (systemStart <= start && start <= systemEnd && end > systemEnd)
        reference = start;
    else if (start < systemStart && systemStart <= end && end <= systemEnd)
        reference = end;

    // Lines of the class in the system, nearest first; an insertion sort
    // keeps staff and array order among equal distances.
    struct Candidate
    {
        MnLine* line;
        int staffIndex;
        int lineIndex;
        double distance;
    };
    BcArray<Candidate> candidates;
    for (int s = 0; s < score->staffCount(); ++s) {
        const BcArray<MnLine*>& lines = score->staff(s)->lineArray();
        for (int i = 0; i < lines.count(); ++i) {
            MnLine* other = lines[i];
            if (!isOfClassOf(other))
                continue;
            const double otherStart = other->start();
            const double otherEnd = other->start() + other->length();
            const bool overlaps = (otherStart < systemStart && systemStart < otherEnd) ||
                                  (otherStart < systemEnd && systemEnd < otherEnd) ||
                                  (systemStart <= otherStart && otherEnd <= systemEnd);
            if (!overlaps)
                continue;
            Candidate candidate{other, s, i,
                                std::fmin(std::fabs(otherStart - reference), std::fabs(otherEnd - reference))};
            int place = candidates.count();
            while (place > 0 && candidates[place - 1].distance > candidate.distance)
                --place;
            candidates.insertAt(place, candidate);
        }
    }

    BcArray<double> heights;
    for (int c = 0; c < candidates.count(); ++c) {
        EdPath candidatePath(*path);
        candidatePath.setLevel(2, candidates[c].staffIndex);
        candidatePath.setLevel(3, candidates[c].lineIndex);
        MnLine* other = candidates[c].line;
        const GePoint2d page = other->toPageCoordinates(other->position(), &candidatePath);
        BcArray<GePoint2d> snaps;
        other->addSnapPoints(snaps);
        for (int p = 0; p < snaps.count(); ++p) {
            const double height = page.y + scale * snaps[p].y;
            bool near = false;
            for (int h = 0; h < heights.count() && !near; ++h)
                near = std::fabs(heights[h] - height) < scale;
            if (!near)
                heights.add(height);
        }
    }
    for (int h = 0; h < heights.count(); ++h)
        guideLines.add(new EdHorizontalGuideLine(heights[h], scale));
    return true;
}
