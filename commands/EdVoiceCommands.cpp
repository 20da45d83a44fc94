#include "commands/EdVoiceCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"

#include <functional>
#include <vector>

namespace {

// The frame every command of this class runs in: nothing without an active
// view, the hint for an empty selection, and otherwise the work inside one
// transaction. The work answers whether it acted on anything, and marks
// the transaction when it changed the model.
void run(unsigned id, const std::function<bool(EdCommand&, EdSelection&)>& work)
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    bool acted = false;
    {
        EdCommand edit;
        // Opening the transaction may end a tool; the view is asked again.
        view = context.activeView();
        if (!view)
            return;
        EdSelection& selection = view->selection();
        acted = !selection.isEmpty() && work(edit, selection);
    }
    if (!acted)
        context.showHint(id);
}

template <class T>
T* as(MnElement* element)
{
    return element && element->isKindOf(T::staticClass()) ? static_cast<T*>(element) : nullptr;
}

// Calls f for every chord of both voices of the measure.
void forEachChord(MnMeasure* measure, const std::function<void(MnChord*)>& f)
{
    for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
        const BcArray<MnChord*>& chords = measure->voiceChords(voice);
        for (int i = 0; i < chords.count(); ++i)
            f(chords[i]);
    }
}

// Hide rest and Hide Tuplet: every selected T leaves the selection and is
// hidden; true when any was hidden now.
template <class T>
bool hideSelected(EdCommand& edit, EdSelection& selection)
{
    bool hidden = false;
    for (int i = selection.count() - 1; i >= 0; --i) {
        T* element = as<T>(selection.element(i));
        if (!element)
            continue;
        selection.remove(element);
        if (element->isHidden())
            continue;
        element->setHidden(true);
        hidden = true;
    }
    if (hidden)
        edit.markModified();
    return hidden;
}

// Show all rests and Show all Tuplets: shows what show() reaches from every
// selected measure and staff, and with chords from selected chords; true
// when any of them was met.
bool showAll(EdCommand& edit, EdSelection& selection, bool chords, const std::function<bool(MnChord*)>& show)
{
    bool met = false;
    bool changed = false;
    auto showMeasure = [&](MnMeasure* measure) {
        forEachChord(measure, [&](MnChord* chord) { changed |= show(chord); });
    };
    for (int i = selection.count() - 1; i >= 0; --i) {
        MnElement* element = selection.element(i);
        if (MnChord* chord = chords ? as<MnChord>(element) : nullptr) {
            met = true;
            changed |= show(chord);
        } else if (MnMeasure* measure = as<MnMeasure>(element)) {
            met = true;
            showMeasure(measure);
        } else if (MnStaff* staff = as<MnStaff>(element)) {
            met = true;
            for (int m = 0; m < staff->measureCount(); ++m)
                showMeasure(staff->measure(m));
        }
    }
    if (changed)
        edit.markModified();
    return met;
}

bool showRest(MnChord* chord)
{
    if (!chord->isHidden())
        return false;
    chord->setHidden(false);
    return true;
}

bool showTuplet(MnChord* chord)
{
    MnTuplet* tuplet = chord->tuplet();
    if (!tuplet || !tuplet->isHidden())
        return false;
    tuplet->setHidden(false);
    return true;
}

}

void EdVoiceCommands::cmdHideRest()
{
    run(hideRestId, &hideSelected<MnChord>);
}

void EdVoiceCommands::cmdHideTuplet()
{
    run(hideTupletId, &hideSelected<MnTuplet>);
}

void EdVoiceCommands::cmdShowAllRests()
{
    run(showAllRestsId, [](EdCommand& edit, EdSelection& selection) {
        return showAll(edit, selection, true, &showRest);
    });
}

void EdVoiceCommands::cmdShowAllTuplets()
{
    run(showAllTupletsId, [](EdCommand& edit, EdSelection& selection) {
        return showAll(edit, selection, false, &showTuplet);
    });
}

void EdVoiceCommands::cmdSwapVoices()
{
    run(swapVoicesId, [](EdCommand& edit, EdSelection& selection) {
        bool handled = false;
        for (int i = 0; i < selection.count(); ++i) {
            MnMeasure* measure = as<MnMeasure>(selection.element(i));
            if (!measure)
                continue;
            // A second voice that holds nothing but one rest has nothing to swap.
            const BcArray<MnChord*>& second = measure->voiceChords(1);
            if ((second.count() == 1 && second[0]->isRest()) || measure->isMeasureRest(1))
                continue;
            handled = true;
            if (measure->swapVoices())
                edit.markModified();
        }
        return handled;
    });
}

int EdVoiceCommands::halfBeatOf(int type)
{
    switch (type) {
    case MnTime2_2:
    case MnTimeCut:
        return MnTicksQuarter;
    case MnTimeCommon:
    case MnTime4_4:
    case MnTime2_4:
    case MnTime3_4:
    case MnTime6_4:
        return MnTicksQuarter / 2;
    case MnTime6_8:
    case MnTime9_8:
    case MnTime3_8:
    case MnTime12_8:
        return MnTicksQuarter / 4;
    default:
        return 0;
    }
}

namespace {

// A measure number of a score's first staff, with the chords listed in it
// and what Remove beat does to it.
struct BeatColumn
{
    MnMeasure* measure = nullptr;
    BcArray<MnChord*> chords;
    bool halved = false;
    BcArray<int> beats;
};

// The shorter value first, so that the measure never outgrows its staff.
bool setMeter(MnMeasure* measure, int beats, int beatTicks)
{
    if (beatTicks < measure->beatTicks())
        return measure->setBeatTicks(beatTicks) && measure->setBeats(beats);
    return measure->setBeats(beats) && measure->setBeatTicks(beatTicks);
}

// Sets the meter of the measure of that number in every staff of the
// score; all or nothing.
bool setColumnMeter(MnScore* score, int number, int beats, int beatTicks)
{
    struct Meter
    {
        MnMeasure* measure;
        int beats;
        int beatTicks;
    };
    BcArray<Meter> before;
    bool ok = true;
    for (int s = 0; s < score->staffCount() && ok; ++s) {
        MnStaff* staff = score->staff(s);
        if (number < 1 || number > staff->measureCount())
            continue;
        MnMeasure* measure = staff->measure(number - 1);
        before.add(Meter{measure, measure->beats(), measure->beatTicks()});
        ok = setMeter(measure, beats, beatTicks);
    }
    if (!ok) {
        for (int i = before.count() - 1; i >= 0; --i)
            setMeter(before[i].measure, before[i].beats, before[i].beatTicks);
    }
    return ok;
}

bool startsOrEndsOffBeat(const MnChord* chord, int beat)
{
    const int half = beat / 2;
    const long long t = chord->time();
    const long long end = t + chord->soundingDuration();
    return t % beat == half || end % beat == half;
}

}

void EdVoiceCommands::cmdRemoveBeat()
{
    run(removeBeatId, [](EdCommand& edit, EdSelection& selection) {
        // The selected chords and the chords of the selected notes, once
        // each, grace chords left out.
        BcArray<MnChord*> chords;
        for (int i = 0; i < selection.count(); ++i) {
            MnElement* element = selection.element(i);
            MnChord* chord = as<MnChord>(element);
            if (MnNote* note = as<MnNote>(element))
                chord = as<MnChord>(note->parent());
            if (chord && !chord->isGrace() && chord->measure() && chords.indexOf(chord) < 0)
                chords.add(chord);
        }

        std::vector<BeatColumn> columns;
        for (int i = 0; i < chords.count(); ++i) {
            MnStaff* staff = chords[i]->measure()->staff();
            MnScore* score = staff ? staff->score() : nullptr;
            const int number = chords[i]->measure()->index();
            if (!score || score->staffCount() == 0 || number < 1 || number > score->staff(0)->measureCount())
                continue;
            MnMeasure* column = score->staff(0)->measure(number - 1);
            BeatColumn* found = nullptr;
            for (BeatColumn& c : columns)
                found = c.measure == column ? &c : found;
            if (!found) {
                columns.emplace_back();
                found = &columns.back();
                found->measure = column;
            }
            found->chords.add(chords[i]);
        }
        if (columns.empty())
            return false;

        for (BeatColumn& column : columns) {
            int beat = column.measure->beatTicks();
            const int half = halfBeatOf(column.measure->staff()->time());
            if (beat != half && beat >= 2) {
                for (int i = 0; i < column.chords.count() && !column.halved; ++i)
                    column.halved = startsOrEndsOffBeat(column.chords[i], beat);
            }
            if (column.halved)
                beat /= 2;
            for (int i = 0; i < column.chords.count(); ++i) {
                const MnChord* chord = column.chords[i];
                long long b = chord->time();
                for (long long d = chord->soundingDuration(); d > 0; d -= beat, b += beat) {
                    const int index = int(b / beat);
                    if (column.beats.indexOf(index) < 0)
                        column.beats.add(index);
                }
            }
        }

        // The chords may go with the cut; the measures stay, but are held
        // alive all the same.
        EdSelection held;
        for (BeatColumn& column : columns) {
            column.chords.removeAll();
            held.add(column.measure);
        }
        for (BeatColumn& column : columns) {
            MnMeasure* measure = column.measure;
            if (!held.contains(measure))
                continue;
            MnScore* score = measure->staff()->score();
            const int number = measure->index();
            const int beats = measure->beats();
            const int beatTicks = measure->beatTicks();
            if (column.halved && !setColumnMeter(score, number, beats * 2, beatTicks / 2))
                continue;
            if (measure->removeBeats(column.beats)) {
                edit.markModified();
            } else if (column.halved) {
                // No transaction would record a halving on its own: the next
                // cancel or undo would take it back unseen.
                setColumnMeter(score, number, beats, beatTicks);
            }
        }
        return true;
    });
}

void EdVoiceCommands::addRows()
{
    using T = EdCommandTable;
    T::add({hideRestId, [](unsigned) { cmdHideRest(); }, &T::whenScore});
    T::add({showAllRestsId, [](unsigned) { cmdShowAllRests(); }, &T::whenScore});
    T::add({hideTupletId, [](unsigned) { cmdHideTuplet(); }, &T::whenScore});
    T::add({showAllTupletsId, [](unsigned) { cmdShowAllTuplets(); }, &T::whenScore});
    T::add({swapVoicesId, [](unsigned) { cmdSwapVoices(); }, &T::whenScore});
    T::add({removeBeatId, [](unsigned) { cmdRemoveBeat(); }, &T::whenScore});
}
