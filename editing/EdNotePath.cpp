#include "editing/EdNotePath.h"

#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

BC_IMPLEMENT_CREATABLE_CLASS(EdNotePath)

EdNotePath::EdNotePath(int scoreIndex, int staffIndex, int measureIndex, int voice, int chordIndex,
                       int noteStep, int noteOctave)
    : scoreIndex(scoreIndex), staffIndex(staffIndex), measureIndex(measureIndex), voice(voice),
      chordIndex(chordIndex), noteStep(noteStep), noteOctave(noteOctave)
{
}

EdNotePath::EdNotePath(const EdNotePath& other) : BcObject()
{
    *this = other;
}

EdNotePath& EdNotePath::operator=(const EdNotePath& other)
{
    scoreIndex = other.scoreIndex;
    staffIndex = other.staffIndex;
    measureIndex = other.measureIndex;
    voice = other.voice;
    chordIndex = other.chordIndex;
    noteStep = other.noteStep;
    noteOctave = other.noteOctave;
    return *this;
}

bool EdNotePath::isUnset() const
{
    return *this == unset();
}

bool EdNotePath::operator==(const EdNotePath& other) const
{
    return scoreIndex == other.scoreIndex && staffIndex == other.staffIndex &&
           measureIndex == other.measureIndex && voice == other.voice &&
           chordIndex == other.chordIndex && noteStep == other.noteStep &&
           noteOctave == other.noteOctave;
}

const EdNotePath& EdNotePath::unset()
{
    static const EdNotePath path;
    return path;
}

// The score a work shows: itself, or the score of a sheet music.
static const MnScore* scoreOfWork(const MnElement* work)
{
    if (!work)
        return nullptr;
    if (work->isKindOf(MnScore::staticClass()))
        return static_cast<const MnScore*>(work);
    if (work->isKindOf(MnSheetMusic::staticClass()))
        return static_cast<const MnSheetMusic*>(work)->score();
    return nullptr;
}

static bool countsAsScore(const MnElement* work)
{
    return work && (work->isKindOf(MnScore::staticClass()) ||
                    work->isKindOf(MnSheetMusic::staticClass()));
}

template <class T>
static const T* parentAs(const MnElement* element)
{
    MnElement* parent = element ? element->parent() : nullptr;
    if (!parent || !parent->isKindOf(T::staticClass()))
        return nullptr;
    return static_cast<const T*>(parent);
}

// The stored indices are tried first; a scan settles any doubt.
static int indexOfStaff(const MnScore* score, const MnStaff* staff)
{
    for (int i = 0; i < score->staffCount(); ++i) {
        if (score->staff(i) == staff)
            return i;
    }
    return -1;
}

static int indexOfMeasure(const MnStaff* staff, const MnMeasure* measure)
{
    int hint = measure->index() - 1;
    if (hint >= 0 && hint < staff->measureCount() && staff->measure(hint) == measure)
        return hint;
    for (int i = 0; i < staff->measureCount(); ++i) {
        if (staff->measure(i) == measure)
            return i;
    }
    return -1;
}

static bool holdsNote(const MnChord* chord, const MnNote* note)
{
    for (int i = 0; i < chord->noteCount(); ++i) {
        if (chord->note(i) == note)
            return true;
    }
    return false;
}

EdNotePath::EdNotePath(const MnElement* element, const BcArray<MnElement*>& works)
{
    if (!element)
        return;
    const MnScore* score = nullptr;
    const MnStaff* staff = nullptr;
    const MnMeasure* measure = nullptr;
    const MnChord* chord = nullptr;
    const MnNote* note = nullptr;

    if (element->isKindOf(MnSheetMusic::staticClass())) {
        score = static_cast<const MnSheetMusic*>(element)->score();
    } else if (element->isKindOf(MnScore::staticClass())) {
        score = static_cast<const MnScore*>(element);
    } else if (element->isKindOf(MnStaff::staticClass())) {
        staff = static_cast<const MnStaff*>(element);
    } else if (element->isKindOf(MnMeasure::staticClass())) {
        measure = static_cast<const MnMeasure*>(element);
    } else if (element->isKindOf(MnChord::staticClass())) {
        chord = static_cast<const MnChord*>(element);
    } else if (element->isKindOf(MnNote::staticClass())) {
        note = static_cast<const MnNote*>(element);
    } else {
        return;
    }
    if (note)
        chord = parentAs<MnChord>(note);
    if (chord)
        measure = parentAs<MnMeasure>(chord);
    if (measure)
        staff = parentAs<MnStaff>(measure);
    if (staff)
        score = parentAs<MnScore>(staff);
    if (!score)
        return;

    int counted = 0;
    for (int i = 0; i < works.count(); ++i) {
        if (!countsAsScore(works[i]))
            continue;
        if (scoreOfWork(works[i]) == score) {
            scoreIndex = counted;
            break;
        }
        ++counted;
    }
    if (scoreIndex < 0 || !staff)
        return;

    staffIndex = indexOfStaff(score, staff);
    if (staffIndex < 0 || !measure)
        return;

    measureIndex = indexOfMeasure(staff, measure);
    if (measureIndex < 0 || !chord)
        return;

    for (int v = 0; v < MnMeasure::voiceCount; ++v) {
        const int found = mnIndexOf(measure->voiceChords(v), chord);
        if (found >= 0) {
            voice = v;
            chordIndex = found;
            break;
        }
    }
    if (chordIndex < 0 || !note)
        return;

    if (holdsNote(chord, note)) {
        noteStep = note->step();
        noteOctave = note->octave();
    }
}

MnElement* EdNotePath::resolve(const BcArray<MnElement*>& works) const
{
    if (scoreIndex < 0)
        return nullptr;
    MnScore* score = nullptr;
    int counted = 0;
    for (int i = 0; i < works.count(); ++i) {
        if (!countsAsScore(works[i]))
            continue;
        if (counted == scoreIndex) {
            score = const_cast<MnScore*>(scoreOfWork(works[i]));
            break;
        }
        ++counted;
    }
    if (!score)
        return nullptr;

    if (staffIndex < 0 || staffIndex >= score->staffCount())
        return score;
    MnStaff* staff = score->staff(staffIndex);

    if (measureIndex < 0 || measureIndex >= staff->measureCount())
        return staff;
    MnMeasure* measure = staff->measure(measureIndex);

    if (voice < 0 || chordIndex < 0 || voice >= MnMeasure::voiceCount ||
        chordIndex >= measure->chordCount(voice, false))
        return measure;
    MnChord* chord = measure->chordAt(chordIndex, voice, false);
    if (!chord)
        return measure;

    if (noteStep < 0 || noteOctave < 0)
        return chord;
    // Notes are found by pitch; the last match wins.
    MnElement* result = chord;
    for (int i = 0; i < chord->noteCount(); ++i) {
        MnNote* note = chord->note(i);
        if (note->step() == noteStep && note->octave() == noteOctave)
            result = note;
    }
    return result;
}

EdNotePath& EdNotePath::adjustForRemoval(const EdNotePath& removed)
{
    int* levels[7] = {&scoreIndex, &staffIndex, &measureIndex, &voice,
                      &chordIndex, &noteStep, &noteOctave};
    const int removedLevels[5] = {removed.scoreIndex, removed.staffIndex, removed.measureIndex,
                                  removed.voice, removed.chordIndex};
    int depth = -1;
    for (int i = 0; i < 5; ++i) {
        if (removedLevels[i] != -1)
            depth = i;
    }
    if (depth < 0)
        return *this;
    // Only a path in the same parent as the removed element is touched.
    for (int i = 0; i < depth; ++i) {
        if (*levels[i] != removedLevels[i])
            return *this;
    }
    int& level = *levels[depth];
    if (level == removedLevels[depth]) {
        for (int i = depth; i < 7; ++i)
            *levels[i] = -1;
    } else if (level > removedLevels[depth]) {
        --level;
    }
    return *this;
}
