#include "panels/UiMeasureContextMenu.h"

#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTuplet.h"
#include "panels/UiContextMenuList.h"

namespace {

bool hasNotes(const MnMeasure* measure)
{
    for (int v = 0; v < MnMeasure::voiceCount; ++v) {
        const BcArray<MnChord*>& voice = measure->voiceChords(v);
        for (int c = 0; c < voice.count(); ++c)
            if (!voice[c]->isRest())
                return true;
    }
    return false;
}

// Whether a chord with notes sounds in the staff from start (included) to
// end (excluded), in ticks from the staff's start; end < 0 for no end.
bool hasNotesBetween(const MnStaff* staff, int start, int end)
{
    for (int m = 0; m < staff->measureCount(); ++m) {
        const MnMeasure* measure = staff->measure(m);
        const int origin = measure->startTime();
        if (end >= 0 && origin >= end)
            break;
        for (int v = 0; v < MnMeasure::voiceCount; ++v) {
            const BcArray<MnChord*>& voice = measure->voiceChords(v);
            for (int c = 0; c < voice.count(); ++c) {
                const int time = origin + voice[c]->time();
                if (!voice[c]->isRest() && time >= start && (end < 0 || time < end))
                    return true;
            }
        }
    }
    return false;
}

bool scoreHasNotes(const MnScore* score)
{
    for (int s = 0; score && s < score->staffCount(); ++s)
        if (hasNotesBetween(score->staff(s), 0, -1))
            return true;
    return false;
}

int timeSignatureAt(MnMeasure* measure)
{
    const MnStaffDefinition* definition =
        measure->staff() ? measure->staff()->definitionAt(measure->startTime(), false) : nullptr;
    return definition ? definition->time() : -1;
}

// A tuplet carried by a chord of the voice at or before the chord that
// runs past the chord's time.
bool isInTuplet(const MnChord* chord)
{
    const MnMeasure* measure = chord->measure();
    const BcArray<MnChord*>& voice = measure->voiceChords(chord->voice());
    for (int c = 0; c < voice.count(); ++c) {
        const MnChord* other = voice[c];
        if (other->time() > chord->time())
            break;
        if (other->tuplet() && other->time() + other->tuplet()->span() > chord->time())
            return true;
    }
    return false;
}

}  // namespace

void UiMeasureContextMenu::reset()
{
    *this = UiMeasureContextMenu();
}

void UiMeasureContextMenu::scanHidden(const MnMeasure* measure)
{
    for (int v = 0; v < MnMeasure::voiceCount; ++v) {
        const BcArray<MnChord*>& voice = measure->voiceChords(v);
        for (int c = 0; c < voice.count(); ++c) {
            const MnChord* chord = voice[c];
            if (chord->isRest() && chord->isHidden())
                hiddenRests = true;
            if (chord->tuplet() && chord->tuplet()->isHidden())
                hiddenTuplets = true;
        }
    }
}

void UiMeasureContextMenu::visitMeasure(MnMeasure* measure)
{
    ++measures;
    if (measure->startTime() == 0)
        ++atStaffStart;
    else
        ++laterMeasures;
    const BcArray<MnChord*>& second = measure->voiceChords(1);
    const bool lonelyRest = second.count() == 1 && second[0]->isRest();
    if (!lonelyRest && !measure->isMeasureRest(1))
        ++swappable;
    MnMeasure* previous = measure->previousMeasure();
    MnMeasure* next = measure->nextMeasure();
    if (previous && timeSignatureAt(measure) == timeSignatureAt(previous))
        ++canMoveMeasureLeft;
    if (next && timeSignatureAt(measure) == timeSignatureAt(next))
        ++canMoveMeasureRight;
    scanHidden(measure);
    if (hasNotes(measure))
        transposable = true;
}

void UiMeasureContextMenu::visitChord(MnChord* chord)
{
    ++chords;
    const MnMeasure* measure = chord->measure();
    if (measure && measure->startTime() + chord->time() == 0)
        ++atStaffStart;
    if (chord->time() > 0)
        ++notFirstInMeasure;
    if (measure && chord->time() + chord->soundingDuration() < measure->length())
        ++notLastInMeasure;
    if (chord->isGrace())
        ++graceChords;
    else if (measure && !isInTuplet(chord))
        ++outsideTuplet;
    if (chord->isRest()) {
        if (chord->isHidden())
            hiddenRests = true;
        else
            ++visibleRests;
    } else {
        transposable = true;
    }
}

void UiMeasureContextMenu::visit(MnElement* element)
{
    if (!element)
        return;
    ++visited;
    if (element->isKindOf(MnMeasure::staticClass())) {
        visitMeasure(static_cast<MnMeasure*>(element));
    } else if (element->isKindOf(MnNote::staticClass())) {
        MnNote* note = static_cast<MnNote*>(element);
        ++notes;
        transposable = true;
        if (MnChord* chord = note->chord())
            visitChord(chord);
    } else if (element->isKindOf(MnChord::staticClass())) {
        visitChord(static_cast<MnChord*>(element));
    } else if (element->isKindOf(MnTuplet::staticClass())) {
        if (static_cast<MnTuplet*>(element)->isHidden())
            hiddenTuplets = true;
        else
            ++visibleTuplets;
    } else if (element->isKindOf(MnStaffChange::staticClass())) {
        MnStaffChange* change = static_cast<MnStaffChange*>(element);
        MnStaff* staff = change->staff();
        if (!staff)
            return;
        int end = -1;
        for (int i = 0; i < staff->changeCount(); ++i)
            if (staff->change(i)->startTime() > change->startTime() && (end < 0 || staff->change(i)->startTime() < end))
                end = staff->change(i)->startTime();
        if (hasNotesBetween(staff, change->startTime(), end))
            transposable = true;
    } else if (element->isKindOf(MnStaff::staticClass())) {
        MnStaff* staff = static_cast<MnStaff*>(element);
        for (int m = 0; m < staff->measureCount(); ++m)
            scanHidden(staff->measure(m));
        int end = -1;
        for (int i = 0; i < staff->changeCount(); ++i)
            if (end < 0 || staff->change(i)->startTime() < end)
                end = staff->change(i)->startTime();
        if (hasNotesBetween(staff, 0, end))
            transposable = true;
    } else if (element->isKindOf(MnSheetMusic::staticClass())) {
        if (scoreHasNotes(static_cast<MnSheetMusic*>(element)->score()))
            transposable = true;
    } else if (element->isKindOf(MnScore::staticClass())) {
        if (scoreHasNotes(static_cast<MnScore*>(element)))
            transposable = true;
    }
}

void UiMeasureContextMenu::build(UiContextMenuList& list)
{
    const bool measureMoves = canMoveMeasureLeft > 0 || canMoveMeasureRight > 0;
    if (canMoveMeasureLeft > 0)
        offer(list, 10041, -1, 32887);  // Move left (measure)
    if (canMoveMeasureRight > 0)
        offer(list, 10042, -1, 32886);  // Move right (measure)
    if (!measureMoves && notFirstInMeasure > 0)
        offer(list, 10043, -1, 32890);  // Move left (chord)
    if (!measureMoves && notLastInMeasure > 0)
        offer(list, 10044, -1, 32891);  // Move right (chord)
    if (visibleRests == 1)
        offer(list, 10082, -1, 32971);  // Hide rest
    if (visibleRests > 1)
        offer(list, 10083, -1, 32971);  // Hide rests
    if (hiddenRests)
        offer(list, 10084, -1, 32970);  // Show all rests
    if (visibleTuplets == 1)
        offer(list, 10100, -1, 33087);  // Hide Tuplet
    if (visibleTuplets > 1)
        offer(list, 10101, -1, 33087);  // Hide Tuplets
    if (hiddenTuplets)
        offer(list, 10102, -1, 33088);  // Show all Tuplets
    if (measures > 0)
        offer(list, 10080, 2, 32818);  // Insert Measure
    if (visited == 1 && atStaffStart == 0 && (measures == 1 || chords == 1))
        offer(list, 10057, 1, 32817);  // Add Staff change
    if (chords + measures > 0) {
        offer(list, 10046, 6, 32893);  // Add Octave
        offer(list, 10047, 7, 32854);  // Add Dynamic
        offer(list, 10058, 8, 32932);  // Add Pedal
    }
    if (outsideTuplet > 0)
        offer(list, 10081, 3, 32852);  // Convert to Tuplet
    if (notes > 0 || laterMeasures > 0)
        offer(list, 10098, 4, 33082);  // Append Grace note
    if (swappable > 0)
        offer(list, 10086, -1, 32973);  // Swap voices
    if (chords - graceChords == 1)
        offer(list, 10087, -1, 32995);  // Remove beat
    if (chords - graceChords > 1)
        offer(list, 10088, -1, 32995);  // Remove beats
    if (transposable)
        offer(list, 10091, -1, 33015);  // Transpose...
    if (notes == 1)
        offer(list, 10105, 10, 33092);  // Add Lyrics
}
