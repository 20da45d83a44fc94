#include "editing/EdSelection.h"

#include "editing/EdSelectionObserver.h"
#include "foundation/BcClass.h"
#include "model/MnChord.h"
#include "model/MnElement.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnStaff.h"

BC_IMPLEMENT_CREATABLE_CLASS(EdSelection)

EdSelection::EdSelection()
{
    registerInstance(this);
}

EdSelection::~EdSelection()
{
    BcArray<EdSelection*>& live = liveSelections();
    int index = live.indexOf(this);
    if (index >= 0)
        live.removeAt(index);
}

BcArray<EdSelection*>& EdSelection::liveSelections()
{
    // Made on first use, that is inside the first selection's constructor,
    // so the list outlives every selection, static ones included.
    static BcArray<EdSelection*> live;
    return live;
}

void EdSelection::registerInstance(EdSelection* selection)
{
    MnElement::installDeathHook(&removeFromLiveSelections);
    liveSelections().add(selection);
}

void EdSelection::removeFromLiveSelections(MnElement* element)
{
    // A selection's remove may change the list: its length is read afresh,
    // and a selection that left it does not make the walk skip the next one.
    BcArray<EdSelection*>& live = liveSelections();
    for (int i = 0; i < live.count();) {
        EdSelection* selection = live[i];
        selection->remove(element);
        if (i < live.count() && live[i] == selection)
            ++i;
    }
}

bool EdSelection::add(MnElement* element)
{
    return list.append(element);
}

bool EdSelection::remove(MnElement* element)
{
    return list.remove(element);
}

void EdSelection::addAll(const EdSelection& other)
{
    if (&other == this)
        return;
    const int added = other.count();
    list.reserve(list.count() + added);
    for (int i = 0; i < added; ++i)
        list.append(other.element(i));
}

int EdSelection::countOfClass(const BcClass* cls) const
{
    const int count = list.count();
    if (!cls)
        return count;
    int found = 0;
    for (int i = 0; i < count; ++i) {
        if (list.at(i)->isKindOf(cls))
            ++found;
    }
    return found;
}

bool EdSelection::addObserver(EdSelectionObserver* observer)
{
    if (!observer || observers.indexOf(observer) >= 0)
        return false;
    observers.add(observer);
    return true;
}

void EdSelection::notifyObservers()
{
    for (int i = 0; i < observers.count(); ++i)
        observers[i]->selectionChanged();
}

bool EdSelection::staffTimeSpan(MnStaff*& staff, int& start, int& end) const
{
    MnStaff* found = nullptr;
    int from = 0;
    int to = 0;
    for (int i = 0; i < list.count(); ++i) {
        MnElement* element = list.at(i);
        MnMeasure* measure = nullptr;
        int first = 0;
        int last = 0;
        if (element->isKindOf(MnMeasure::staticClass())) {
            measure = static_cast<MnMeasure*>(element);
            first = measure->startTime();
            last = first + measure->length();
        } else {
            MnChord* chord = nullptr;
            if (element->isKindOf(MnChord::staticClass()))
                chord = static_cast<MnChord*>(element);
            else if (element->isKindOf(MnNote::staticClass()))
                chord = static_cast<MnNote*>(element)->chord();
            if (!chord)
                continue;
            measure = chord->measure();
            // The second voice's rest over the whole measure is where that
            // voice is unused, not music that was chosen.
            if (chord->isRest() && chord->voice() == 1 && chord->soundingDuration() >= measure->length())
                continue;
            first = measure->startTime() + chord->time();
            last = first + chord->soundingDuration();
        }
        if (!found) {
            found = measure->staff();
            from = first;
            to = last;
            continue;
        }
        if (measure->staff() != found)
            return false;
        from = first < from ? first : from;
        to = last > to ? last : to;
    }
    if (!found)
        return false;
    staff = found;
    start = from;
    end = to;
    return true;
}
