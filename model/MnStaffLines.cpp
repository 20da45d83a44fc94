#include "model/MnStaff.h"

#include "foundation/BcClass.h"
#include "model/EdPath.h"
#include "model/MnChord.h"
#include "model/MnDynamic.h"
#include "model/MnLimits.h"
#include "model/MnLine.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"

#include <cmath>

// Lines and lyric lines hang on the chords of the staff: they start at the
// onset of a chord, and their vertical drag keeps them clear of the notes of
// the chords they start at.

MnMeasure* MnStaff::measureAtTime(int time) const
{
    if (time < 0 || measures.isEmpty() || time >= measureStartTime(measures.count()))
        return nullptr;
    // Every measure has a length, so the starts ascend: the measure is the
    // last one starting at or before the time. Performances ask at every
    // step, so a long staff is searched, not walked.
    int low = 0;
    int high = measures.count() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (measureStartTime(middle) <= time)
            low = middle;
        else
            high = middle - 1;
    }
    return measures[low];
}

MnChord* MnStaff::chordAt(int time, int voice) const
{
    if (voice < 0 || voice >= MnMeasure::voiceCount)
        return nullptr;
    const MnMeasure* measure = measureAtTime(time);
    return measure ? measure->mainChordAt(voice, time - measure->startTime()) : nullptr;
}

void MnStaff::chordsAt(int time, BcArray<MnChord*>& chords) const
{
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
        if (MnChord* chord = chordAt(time, voice))
            chords.add(chord);
    }
}

bool MnStaff::latestOnsetBefore(int time, int& onset) const
{
    BcArray<MnChord*> chords;
    chordsAt(time, chords);
    bool found = false;
    int latest = 0;
    for (int i = 0; i < chords.count(); ++i) {
        // Grace chords share the onset of the chord they precede: the chord
        // that sounds before is the last one that is not a grace chord.
        const MnChord* previous = chords[i]->previousChord();
        while (previous && previous->isGrace())
            previous = previous->previousChord();
        if (!previous)
            continue;
        const int previousOnset = previous->measure()->startTime() + previous->time();
        if (!found || previousOnset > latest)
            latest = previousOnset;
        found = true;
    }
    if (!found)
        return false;
    onset = latest;
    return true;
}

GePoint2d MnStaff::contentToPageCoordinates(const GePoint2d& point, const EdPath* path, int pathKind) const
{
    GePoint2d origin;
    if (path && !path->isUnset() && path->kind() == pathKind) {
        // The staff as it stands in the system that the path names.
        const EdPath staffPath(EdPath::KindStaff, path->level(1), path->level(2), path->level(4));
        origin = toPageCoordinates(dragPosition(&staffPath), &staffPath);
    } else {
        origin = toPageCoordinates(position(), nullptr);
    }
    const double scoreScale = score() ? score()->scale() : 1.0;
    return GePoint2d(origin.x + scoreScale * point.x, origin.y + partScale() * scoreScale * point.y);
}

double MnStaff::clampClearOfChords(double y, const BcArray<MnChord*>& chords)
{
    // The staff's own lines count as notes: a mark never comes closer to the
    // staff than to its top or bottom line.
    double top = 0.0;
    double bottom = -8.0;
    for (int i = 0; i < chords.count(); ++i) {
        const MnChord* chord = chords[i];
        if (chord->isRest()) {
            top = std::fmax(top, -4.0);
            bottom = std::fmin(bottom, -4.0);
            continue;
        }
        for (int n = 0; n < chord->noteCount(); ++n) {
            const double position = chord->note(n)->position().y;
            top = std::fmax(top, position);
            bottom = std::fmin(bottom, position);
        }
    }
    if (y > -4.0)
        return std::fmin(std::fmax(y, top + 2.0), top + 20.0);
    return std::fmin(std::fmax(y, bottom - 20.0), bottom - 2.0);
}

bool MnStaff::insertLine(MnLine* line, int startTime)
{
    // A line already in the array would be owned twice; a line must end
    // within the longest staff.
    if (!line || lines.indexOf(line) >= 0 || lines.count() >= MnMaxRecordCount || !mnIsStaffTime(startTime) ||
        line->length() > MnMaxStaffTicks - startTime)
        return false;

    // Every refusal is known before anything changes: a mark of the class
    // that covers the time is cut short only when the insertion goes ahead.
    const BcClass* lineClass = line->dynamicClass();
    BcArray<MnLine*> marksToShorten;
    for (int i = 0; i < lines.count(); ++i) {
        MnLine* other = lines[i];
        if (!other->isKindOf(lineClass))
            continue;
        if (other->start() > startTime || startTime >= other->start() + other->length())
            continue;
        if (!other->isMark() || other->start() == startTime)
            return false;
        marksToShorten.add(other);
    }
    for (int i = 0; i < marksToShorten.count(); ++i)
        marksToShorten[i]->setLength(startTime - marksToShorten[i]->start());

    int place = 0;
    for (int i = 0; i < lines.count(); ++i) {
        if (lines[i]->start() < startTime)
            place = i + 1;
    }
    if (MnStaff* previous = line->staff(); previous && previous != this) {
        const int index = previous->lines.indexOf(line);
        if (index >= 0)
            previous->lines.removeAt(index);
        previous->linesChanged();
    }
    lines.insertAt(place, line);
    linesChanged();
    line->setStaff(this);
    line->setStart(startTime, true);
    line->setLength(0);
    return true;
}

// What a new line of each class is: its kind, and the offset asked for,
// which moveTo keeps clear of the notes at the line's start.
template <typename T>
struct MnNewLine;

template <>
struct MnNewLine<MnOctave>
{
    static constexpr int kind = MnOctaveOneUp;
    static constexpr double offset = 10.0;
};

template <>
struct MnNewLine<MnDynamic>
{
    static constexpr int kind = MnDynamicP;
    static constexpr double offset = -10.0;
};

template <>
struct MnNewLine<MnPedal>
{
    static constexpr int kind = MnPedalSignRelease;
    static constexpr double offset = -10.0;
};

template <typename T>
T* MnStaff::addLine(int time)
{
    T* line = new T(this);
    line->setKind(MnNewLine<T>::kind);
    if (!insertLine(line, time)) {
        delete line;
        return nullptr;
    }
    line->moveTo(GePoint2d(0.0, MnNewLine<T>::offset));
    return line;
}

template MnOctave* MnStaff::addLine<MnOctave>(int time);
template MnDynamic* MnStaff::addLine<MnDynamic>(int time);
template MnPedal* MnStaff::addLine<MnPedal>(int time);

const BcArray<MnLine*>& MnStaff::octaveLines() const
{
    if (!octaveLinesValid) {
        octaves.removeAll();
        for (int i = 0; i < lines.count(); ++i) {
            if (lines[i]->isKindOf(MnOctave::staticClass()))
                octaves.add(lines[i]);
        }
        octaveLinesValid = true;
    }
    return octaves;
}

void MnStaff::keepLineSorted(MnLine* line)
{
    const int index = lines.indexOf(line);
    if (index < 0)
        return;
    const int start = line->start();
    const bool afterPrevious = index == 0 || lines[index - 1]->start() <= start;
    const bool beforeNext = index + 1 == lines.count() || start <= lines[index + 1]->start();
    if (afterPrevious && beforeNext)
        return;
    lines.removeAt(index);
    int place = 0;
    for (int i = 0; i < lines.count(); ++i) {
        if (lines[i]->start() <= start)
            place = i + 1;
    }
    lines.insertAt(place, line);
    linesChanged();
}

MnLyric* MnStaff::addLyric(int startTime, int voice)
{
    if (!mnIsStaffTime(startTime) || voice < 0 || voice >= MnMeasure::voiceCount || lyrics.count() >= MnMaxRecordCount)
        return nullptr;
    MnLyric* lyric = new MnLyric(this);
    lyric->setStart(startTime);
    lyric->setVoice(voice);
    // After the last line that starts earlier. Looked for from the end: a
    // song is read from its start, so a new line mostly goes last.
    int place = lyrics.count();
    while (place > 0 && lyrics[place - 1]->start() >= startTime)
        --place;
    lyrics.insertAt(place, lyric);
    return lyric;
}
