#include "model/MnLine.h"

#include "model/EdPath.h"
#include "model/MnChord.h"
#include "model/MnGuideLineCollector.h"
#include "model/MnLimits.h"
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
    // A line lies within the longest staff, so its end is a valid time too.
    if (!mnIsStaffTime(time) || (force && lineLength > MnMaxStaffTicks - time))
        return false;
    if (force) {
        // The time edits shift many lines at once and keep their order
        // themselves; re-sorting one of them here would upset their walk.
        lineStart = time;
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
    if (ticks > MnMaxStaffTicks - lineStart)
        ticks = MnMaxStaffTicks - lineStart;
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
    return lineStaff ? lineStaff->contentToPageCoordinates(point, path, EdPath::KindLine) : point;
}

bool MnLine::addGuideLines(BcArray<EdGuideLine*>& guideLines, const EdPath* path)
{
    const MnStaff* staff = lineStaff;
    if (!staff || !path || path->isUnset() || path->kind() != EdPath::KindLine)
        return true;
    const MnScore* score = staff->score();
    double systemStart = 0.0;
    double systemEnd = 0.0;
    if (!score || !MnGuideLineCollector::systemTimes(staff, *path, systemStart, systemEnd))
        return true;

    const double start = lineStart;
    const double end = lineStart + lineLength;
    // The grabbed handle, or the part of the body that shows in the system.
    double reference = MnGuideLineCollector::bodyReference(start, end, systemStart, systemEnd);
    if (path->level(6) == 0)
        reference = start;
    else if (path->level(6) == 1)
        reference = end;

    MnGuideLineCollector collector(staff->scale());
    for (int s = 0; s < score->staffCount(); ++s) {
        const BcArray<MnLine*>& lines = score->staff(s)->lineArray();
        for (int i = 0; i < lines.count(); ++i) {
            MnLine* other = lines[i];
            const double otherStart = other->start();
            const double otherEnd = other->end();
            if (!isOfClassOf(other) ||
                !MnGuideLineCollector::showsInSystem(otherStart, otherEnd, systemStart, systemEnd))
                continue;
            EdPath otherPath(*path);
            otherPath.setLevel(2, s);
            otherPath.setLevel(3, i);
            collector.addCandidate(other, otherPath,
                                   std::fmin(std::fabs(otherStart - reference), std::fabs(otherEnd - reference)));
        }
    }
    collector.appendGuideLines(guideLines);
    return true;
}
