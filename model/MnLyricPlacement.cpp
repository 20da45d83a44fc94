#include "model/MnLyric.h"

#include "model/EdPath.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnGuideLineCollector.h"
#include "model/MnLyricIterator.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <cmath>

// Where a lyric line stands in time (on the chords of its voice) and on the
// page (a vertical offset from its staff that stays clear of the notes of
// its first chord).

MnChord* MnLyric::firstChord() const
{
    return lyricStaff ? lyricStaff->chordAt(lyricStart, lyricVoice) : nullptr;
}

static int chordEnd(const MnChord* chord)
{
    return chord->measure()->startTime() + chord->time() + chord->soundingDuration();
}

void MnLyric::reanchor()
{
    if (!lyricStaff || lyricStaff->measureCount() == 0 || lyricVoice < 0 || lyricVoice >= MnMeasure::voiceCount)
        return;
    const BcArray<MnChord*>& chords = lyricStaff->measure(0)->voiceChords(lyricVoice);
    if (chords.isEmpty())
        return;
    for (const MnChord* chord = chords[0]; chord; chord = chord->nextChord()) {
        if (chordEnd(chord) > lyricStart) {
            lyricStart = chord->measure()->startTime() + chord->time();
            return;
        }
    }
}

int MnLyric::duration() const
{
    if (MnCache::isCurrent(durationStamp))
        return durationCached;
    MnLyricIterator walk(this);
    const MnChord* last = nullptr;
    for (walk.begin(); !walk.atEnd(); walk.next())
        last = walk.end;
    keepDuration(last);
    return durationCached;
}

void MnLyric::keepDuration(const MnChord* last) const
{
    durationCached = last ? chordEnd(last) - lyricStart : 0;
    durationStamp = MnCache::currentStamp();
}

bool MnLyric::moveTo(const GePoint2d& point)
{
    BcArray<MnChord*> chords;
    if (MnChord* first = firstChord())
        chords.add(first);
    const double y = MnStaff::clampClearOfChords(point.y, chords);
    const GePoint2d current = position();
    if (y == current.y)
        return false;
    storePosition(GePoint2d(current.x, y));
    return true;
}

GePoint2d MnLyric::toPageCoordinates(const GePoint2d& point, const EdPath* path) const
{
    return lyricStaff ? lyricStaff->contentToPageCoordinates(point, path, EdPath::KindLyric) : point;
}

bool MnLyric::addGuideLines(BcArray<EdGuideLine*>& guideLines, const EdPath* path)
{
    const MnStaff* staff = lyricStaff;
    if (!staff || !path || path->isUnset() || path->kind() != EdPath::KindLyric)
        return true;
    double systemStart = 0.0;
    double systemEnd = 0.0;
    if (!MnGuideLineCollector::systemTimes(staff, *path, systemStart, systemEnd))
        return true;

    // A lyric line has no handles: the drag is always about its body.
    const double reference =
        MnGuideLineCollector::bodyReference(lyricStart, lyricStart + duration(), systemStart, systemEnd);

    MnGuideLineCollector collector(staff->scale());
    const BcArray<MnLyric*>& lyrics = staff->lyricArray();
    for (int i = 0; i < lyrics.count(); ++i) {
        MnLyric* other = lyrics[i];
        const double otherStart = other->start();
        const double otherEnd = otherStart + other->duration();
        if (other == this || !MnGuideLineCollector::showsInSystem(otherStart, otherEnd, systemStart, systemEnd))
            continue;
        EdPath otherPath(*path);
        otherPath.setLevel(2, staff->index());
        otherPath.setLevel(3, i);
        collector.addCandidate(other, otherPath,
                               std::fmin(std::fabs(otherStart - reference), std::fabs(otherEnd - reference)));
    }
    collector.appendGuideLines(guideLines);
    return true;
}
