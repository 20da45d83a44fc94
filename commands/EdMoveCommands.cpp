#include "commands/EdMoveCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <algorithm>
#include <map>

namespace {

template <class T>
T* as(MnElement* element)
{
    return element && element->isKindOf(T::staticClass()) ? static_cast<T*>(element) : nullptr;
}

// The frame of the six commands: an active view and one transaction; the
// work marks the transaction when it moved anything. No hint either way.
void run(const std::function<void(EdCommand&, EdSelection&)>& work)
{
    EdContext& context = EdContext::current();
    if (!context.activeView())
        return;
    EdCommand edit;
    // Opening the transaction may end a tool; the view is asked again.
    EdView* view = context.activeView();
    if (!view)
        return;
    work(edit, view->selection());
}

// The selected elements of the class, each once, in selection order.
template <class T>
std::vector<MnElement*> selectedOf(const EdSelection& selection)
{
    std::vector<MnElement*> out;
    for (int i = 0; i < selection.count(); ++i) {
        if (T* element = as<T>(selection.element(i)))
            out.push_back(element);
    }
    return out;
}

// ---- staves

EdMoveCommands::Order staffOrder(bool up)
{
    auto staff = [](MnElement* e) { return static_cast<MnStaff*>(e); };
    EdMoveCommands::Order order;
    order.container = [=](MnElement* e) { return std::make_pair<const void*, int>(staff(e)->score(), 0); };
    order.before = [=](MnElement* a, MnElement* b) {
        return up ? staff(a)->index() < staff(b)->index() : staff(a)->index() > staff(b)->index();
    };
    order.atEdge = [=](MnElement* e) {
        return up ? staff(e)->index() == 0 : staff(e)->index() + 1 >= staff(e)->score()->staffCount();
    };
    order.follows = [=](MnElement* previous, MnElement* e) {
        if (staff(previous)->score() != staff(e)->score())
            return false;
        return up ? staff(e)->index() == staff(previous)->index() + 1
                  : staff(previous)->index() == staff(e)->index() + 1;
    };
    return order;
}

void moveStaves(bool up)
{
    run([up](EdCommand& edit, EdSelection& selection) {
        std::vector<MnElement*> staves = selectedOf<MnStaff>(selection);
        std::vector<bool> moving = EdMoveCommands::sortAndDecide(staves, staffOrder(up));
        for (size_t k = 0; k < staves.size(); ++k) {
            if (!moving[k])
                continue;
            MnStaff* staff = static_cast<MnStaff*>(staves[k]);
            MnScore* score = staff->score();
            if (up ? score->moveStaffUp(staff->index()) : score->moveStaffDown(staff->index()))
                edit.markModified();
        }
    });
}

// ---- measures

// The time signature in effect at the measure's start.
int meterAt(const MnMeasure* measure)
{
    const MnStaff* staff = measure->staff();
    return staff->definitionAt(measure->startTime(), false)->time();
}

EdMoveCommands::Order measureOrder(bool left)
{
    auto measure = [](MnElement* e) { return static_cast<MnMeasure*>(e); };
    EdMoveCommands::Order order;
    order.container = [=](MnElement* e) { return std::make_pair<const void*, int>(measure(e)->staff(), 0); };
    order.before = [=](MnElement* a, MnElement* b) {
        return left ? measure(a)->index() < measure(b)->index() : measure(a)->index() > measure(b)->index();
    };
    order.atEdge = [=](MnElement* e) {
        MnMeasure* m = measure(e);
        MnMeasure* other = left ? m->previousMeasure() : m->nextMeasure();
        return !other || meterAt(other) != meterAt(m);
    };
    order.follows = [=](MnElement* previous, MnElement* e) {
        if (measure(previous)->staff() != measure(e)->staff())
            return false;
        return left ? measure(e)->index() == measure(previous)->index() + 1
                    : measure(previous)->index() == measure(e)->index() + 1;
    };
    return order;
}

void moveMeasures(bool left)
{
    run([left](EdCommand& edit, EdSelection& selection) {
        std::vector<MnElement*> list = selectedOf<MnMeasure>(selection);
        std::vector<bool> moving = EdMoveCommands::sortAndDecide(list, measureOrder(left));
        // After a swap in a staff, the later listed measures of the two
        // swapped places have been dealt with.
        auto settle = [&](size_t from, MnStaff* staff, int swapIndex) {
            const MnMeasure* a = staff->measure(swapIndex - 1);
            const MnMeasure* b = staff->measure(swapIndex);
            for (size_t j = from; j < list.size(); ++j) {
                if (list[j] == a || list[j] == b)
                    moving[j] = false;
            }
        };
        for (size_t k = 0; k < list.size(); ++k) {
            if (!moving[k])
                continue;
            MnMeasure* measure = static_cast<MnMeasure*>(list[k]);
            MnStaff* staff = measure->staff();
            MnScore* score = staff->score();
            const int number = measure->index();
            // The 0-based index of the later of the two measures exchanged.
            const int swapIndex = left ? number - 1 : number;
            MnMeasure* other = left ? measure->previousMeasure() : measure->nextMeasure();
            if (!other)
                continue;
            if (measure->length() == other->length()) {
                // Only the staves where this column is selected; the last
                // swap copies the shared attributes to every staff.
                std::vector<MnMeasure*> column{measure};
                for (size_t j = k + 1; j < list.size(); ++j) {
                    MnMeasure* later = static_cast<MnMeasure*>(list[j]);
                    if (moving[j] && later->staff()->score() == score && later->index() == number)
                        column.push_back(later);
                }
                for (size_t c = 0; c < column.size(); ++c) {
                    MnStaff* columnStaff = column[c]->staff();
                    if (columnStaff->swapWithPreviousMeasure(swapIndex, c + 1 == column.size())) {
                        edit.markModified();
                        settle(k + 1, columnStaff, swapIndex);
                    }
                }
            } else {
                // Measures of different lengths move in every staff, or the
                // bar lines would no longer line up.
                for (int s = 0; s < score->staffCount(); ++s) {
                    MnStaff* each = score->staff(s);
                    if (swapIndex >= each->measureCount())
                        continue;
                    if (!each->swapWithPreviousMeasure(swapIndex, false))
                        continue;
                    edit.markModified();
                    MnMeasure* moved = each->measure(left ? swapIndex - 1 : swapIndex);
                    if (!selection.contains(moved))
                        selection.add(moved);
                    settle(k + 1, each, swapIndex);
                }
            }
        }
    });
}

// ---- chords

EdMoveCommands::Order chordOrder(bool left)
{
    auto chord = [](MnElement* e) { return static_cast<MnChord*>(e); };
    EdMoveCommands::Order order;
    order.container = [=](MnElement* e) {
        return std::make_pair<const void*, int>(chord(e)->measure(), chord(e)->voice());
    };
    order.before = [=](MnElement* a, MnElement* b) {
        return left ? chord(a)->time() < chord(b)->time() : chord(a)->time() > chord(b)->time();
    };
    order.atEdge = [=](MnElement* e) {
        MnChord* c = chord(e);
        return left ? c->time() == 0 : c->time() + c->soundingDuration() >= c->measure()->length();
    };
    order.follows = [=](MnElement* previous, MnElement* e) {
        MnChord* p = chord(previous);
        MnChord* c = chord(e);
        if (p->measure() != c->measure() || p->voice() != c->voice())
            return false;
        return left ? p->time() + p->soundingDuration() == c->time()
                    : c->time() + c->soundingDuration() == p->time();
    };
    return order;
}

void moveChords(bool left)
{
    run([left](EdCommand& edit, EdSelection& selection) {
        std::vector<MnElement*> chords;
        for (int i = 0; i < selection.count(); ++i) {
            MnElement* element = selection.element(i);
            MnChord* chord = as<MnChord>(element);
            if (MnNote* note = as<MnNote>(element))
                chord = note->chord();
            if (chord && std::find(chords.begin(), chords.end(), chord) == chords.end())
                chords.push_back(chord);
        }
        std::vector<bool> moving = EdMoveCommands::sortAndDecide(chords, chordOrder(left));
        for (size_t k = 0; k < chords.size(); ++k) {
            if (!moving[k])
                continue;
            MnChord* chord = static_cast<MnChord*>(chords[k]);
            MnMeasure* measure = chord->measure();
            if (left ? measure->moveChordLeft(chord) : measure->moveChordRight(chord))
                edit.markModified();
        }
    });
}

EdCommandState whenStaves(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.selectedStaves > 0, false};
}

EdCommandState whenMeasures(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.selectedMeasures > 0, false};
}

EdCommandState whenChordsOrNotes(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.selectedChords > 0 || inputs.selectedNotes > 0, false};
}

}

std::vector<bool> EdMoveCommands::sortAndDecide(std::vector<MnElement*>& elements, const Order& order)
{
    // Containers rank by first appearance, so that elements of different
    // containers keep the selection's order between them.
    std::map<std::pair<const void*, int>, size_t> rank;
    for (MnElement* element : elements)
        rank.emplace(order.container(element), rank.size());
    std::stable_sort(elements.begin(), elements.end(), [&](MnElement* a, MnElement* b) {
        const size_t ra = rank[order.container(a)];
        const size_t rb = rank[order.container(b)];
        if (ra != rb)
            return ra < rb;
        return order.before(a, b);
    });
    std::vector<bool> moving(elements.size(), false);
    for (size_t k = 0; k < elements.size(); ++k) {
        if (order.atEdge(elements[k]))
            continue;
        moving[k] = k == 0 || moving[k - 1] || !order.follows(elements[k - 1], elements[k]);
    }
    return moving;
}

void EdMoveCommands::cmdStaffMoveUp() { moveStaves(true); }
void EdMoveCommands::cmdStaffMoveDown() { moveStaves(false); }
void EdMoveCommands::cmdMeasureMoveLeft() { moveMeasures(true); }
void EdMoveCommands::cmdMeasureMoveRight() { moveMeasures(false); }
void EdMoveCommands::cmdNoteMoveLeft() { moveChords(true); }
void EdMoveCommands::cmdNoteMoveRight() { moveChords(false); }

void EdMoveCommands::addRows()
{
    EdCommandTable::add({staffMoveUpId, [](unsigned) { cmdStaffMoveUp(); }, &whenStaves});
    EdCommandTable::add({staffMoveDownId, [](unsigned) { cmdStaffMoveDown(); }, &whenStaves});
    EdCommandTable::add({measureMoveLeftId, [](unsigned) { cmdMeasureMoveLeft(); }, &whenMeasures});
    EdCommandTable::add({measureMoveRightId, [](unsigned) { cmdMeasureMoveRight(); }, &whenMeasures});
    EdCommandTable::add({noteMoveLeftId, [](unsigned) { cmdNoteMoveLeft(); }, &whenChordsOrNotes});
    EdCommandTable::add({noteMoveRightId, [](unsigned) { cmdNoteMoveRight(); }, &whenChordsOrNotes});
}
