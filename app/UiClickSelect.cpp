#include "app/UiQuorvaneViewCore.h"

#include "editing/EdCursor.h"
#include "editing/EdSelection.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"

#include <algorithm>

namespace {

bool isA(const MnElement* element, const BcClass* cls)
{
    return element && element->isKindOf(cls);
}

// A note stands for its chord.
MnChord* chordOf(MnElement* element)
{
    if (isA(element, MnNote::staticClass()))
        return static_cast<MnNote*>(element)->chord();
    if (isA(element, MnChord::staticClass()))
        return static_cast<MnChord*>(element);
    return nullptr;
}

MnStaff* staffOfRow(MnElement* element)
{
    if (isA(element, MnTablature::staticClass()))
        return static_cast<MnTablature*>(element)->staff();
    if (isA(element, MnStaff::staticClass()))
        return static_cast<MnStaff*>(element);
    return nullptr;
}

struct Position
{
    int time = 0;
    int grace = 0;
};

Position positionOf(const MnChord* chord)
{
    Position position;
    position.time = chord->measure()->startTime() + chord->time();
    position.grace = chord->isGrace() ? EdCursor::graceRun(chord) : 0;
    return position;
}

bool isEarlier(const Position& a, const Position& b)
{
    return a.time < b.time || (a.time == b.time && a.grace > b.grace);
}

// The chord of a voice at a position of the staff: the first main chord at
// the time, stepped back over as many grace chords as the grace index.
MnChord* chordAtPosition(MnMeasure* measure, int voice, int offset, int grace)
{
    const BcArray<MnChord*>& chords = measure->voiceChords(voice);
    for (int i = 0; i < chords.count(); ++i) {
        if (chords[i]->isGrace() || chords[i]->time() != offset)
            continue;
        const int at = i - grace;
        if (at < 0 || (grace > 0 && !chords[at]->isGrace()))
            return nullptr;
        return chords[at];
    }
    return nullptr;
}

bool addPosition(EdSelection& selection, MnStaff* staff, const Position& position)
{
    MnMeasure* measure = staff->measureAtTime(position.time);
    if (!measure)
        return false;
    bool added = false;
    const int offset = position.time - measure->startTime();
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
        MnChord* chord = chordAtPosition(measure, voice, offset, position.grace);
        if (!chord)
            continue;
        if (chord->noteCount() > 0) {
            for (int n = 0; n < chord->noteCount(); ++n)
                added |= selection.add(chord->note(n));
        } else if (!chord->isGrace()) {
            added |= selection.add(chord);
        }
    }
    return added;
}

bool extendChords(EdSelection& selection, MnChord* anchor, MnChord* element)
{
    MnScore* score = anchor->staff()->score();
    const Position from = positionOf(anchor);
    const Position to = positionOf(element);
    const bool backward = isEarlier(to, from);
    const int firstStaff = anchor->staff()->index();
    const int lastStaff = element->staff()->index();
    const int step = lastStaff >= firstStaff ? 1 : -1;
    bool added = false;
    for (int s = firstStaff;; s += step) {
        if (s >= 0 && s < score->staffCount()) {
            MnStaff* staff = score->staff(s);
            EdCursor walker;
            walker.setAtStaffStart(staff, -1);
            walker.setPosition(from.time, from.grace, false);
            Position at = from;
            added |= addPosition(selection, staff, at);
            // Each step must move the cursor on; a staff whose cursor stops
            // short of the far end (a shorter staff) ends there.
            while (at.time != to.time || at.grace != to.grace) {
                if (!(backward ? walker.movePrevious(false) : walker.moveNext(false)))
                    break;
                Position next{walker.time(), walker.graceIndex()};
                if (backward ? !isEarlier(next, at) : !isEarlier(at, next))
                    break;
                if (backward ? isEarlier(next, to) : isEarlier(to, next))
                    break;
                at = next;
                added |= addPosition(selection, staff, at);
            }
        }
        if (s == lastStaff)
            break;
    }
    return added;
}

// The position of a measure in its staff.
int measurePosition(const MnMeasure* measure)
{
    const MnStaff* staff = measure->staff();
    for (int i = 0; i < staff->measureCount(); ++i)
        if (staff->measure(i) == measure)
            return i;
    return -1;
}

bool extendMeasures(EdSelection& selection, MnMeasure* anchor, MnMeasure* element)
{
    MnScore* score = anchor->staff()->score();
    const int from = measurePosition(anchor);
    const int to = measurePosition(element);
    const int firstStaff = std::min(anchor->staff()->index(), element->staff()->index());
    const int lastStaff = std::max(anchor->staff()->index(), element->staff()->index());
    const int firstMeasure = std::min(from, to);
    const int lastMeasure = std::max(from, to);
    bool added = false;
    for (int s = std::max(firstStaff, 0); s <= lastStaff && s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        for (int m = std::max(firstMeasure, 0); m <= lastMeasure && m < staff->measureCount(); ++m)
            added |= selection.add(staff->measure(m));
    }
    return added;
}

bool extendRows(EdSelection& selection, MnScore* score, MnElement* anchor, MnElement* element)
{
    // Drawing order: each staff followed by its tablature.
    BcArray<MnElement*> rows;
    for (int s = 0; s < score->staffCount(); ++s) {
        MnStaff* staff = score->staff(s);
        rows.add(staff);
        if (staff->tablature())
            rows.add(staff->tablature());
    }
    int from = -1;
    int to = -1;
    for (int i = 0; i < rows.count(); ++i) {
        if (rows[i] == anchor)
            from = i;
        if (rows[i] == element)
            to = i;
    }
    if (from < 0 || to < 0)
        return selection.add(element);
    bool added = false;
    for (int i = std::min(from, to); i <= std::max(from, to); ++i)
        added |= selection.add(rows[i]);
    return added;
}

bool extend(EdSelection& selection, MnElement* element)
{
    MnElement* anchor = selection.element(selection.count() - 1);
    if (!anchor) {
        selection.add(element);
        return true;
    }
    MnChord* anchorChord = chordOf(anchor);
    MnChord* elementChord = chordOf(element);
    if (anchorChord && elementChord && anchorChord->staff() && elementChord->staff() &&
        anchorChord->staff()->score() == elementChord->staff()->score() && anchorChord->staff()->score())
        return extendChords(selection, anchorChord, elementChord);
    if (isA(anchor, MnMeasure::staticClass()) && isA(element, MnMeasure::staticClass())) {
        MnMeasure* a = static_cast<MnMeasure*>(anchor);
        MnMeasure* b = static_cast<MnMeasure*>(element);
        if (a->staff() && b->staff() && a->staff()->score() && a->staff()->score() == b->staff()->score())
            return extendMeasures(selection, a, b);
    }
    MnStaff* anchorRow = staffOfRow(anchor);
    MnStaff* elementRow = staffOfRow(element);
    if (anchorRow && elementRow && anchorRow->score() && anchorRow->score() == elementRow->score())
        return extendRows(selection, anchorRow->score(), anchor, element);
    selection.add(element);
    return true;
}

}  // namespace

bool UiViewCore::clickSelect(EdSelection& selection, MnElement* element, bool& alreadySelected, bool extendRange,
                             bool toggle)
{
    alreadySelected = false;
    if (!element)
        return false;
    if (extendRange)
        return extend(selection, element);
    if (toggle) {
        if (!selection.remove(element))
            selection.add(element);
        return true;
    }
    if (selection.contains(element)) {
        alreadySelected = true;
        return false;
    }
    selection.clear();
    selection.add(element);
    return true;
}
