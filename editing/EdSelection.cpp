#include "editing/EdSelection.h"

#include "editing/EdSelectionObserver.h"
#include "foundation/BcClass.h"
#include "model/MnElement.h"

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
