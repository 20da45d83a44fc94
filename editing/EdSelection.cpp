#include "editing/EdSelection.h"

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
    liveSelections().add(selection);
}

bool EdSelection::add(MnElement* element)
{
    if (contains(element))
        return false;
    elements.add(element);
    return true;
}

bool EdSelection::remove(MnElement* element)
{
    int index = elements.indexOf(element);
    if (index < 0)
        return false;
    elements.removeAt(index);
    return true;
}

void EdSelection::addAll(const EdSelection& other)
{
    // The count is taken first so that adding a selection to itself ends.
    const int added = other.elements.count();
    const int needed = elements.count() + added;
    if (needed > elements.capacity())
        elements.setCapacity(needed);
    for (int i = 0; i < added; ++i)
        elements.add(other.elements[i]);
}

int EdSelection::countOfClass(const BcClass* cls) const
{
    if (!cls)
        return elements.count();
    int found = 0;
    for (int i = 0; i < elements.count(); ++i) {
        if (elements[i]->isKindOf(cls))
            ++found;
    }
    return found;
}

bool EdSelection::addObserver(EdSelectionObserver* observer)
{
    if (observers.indexOf(observer) >= 0)
        return false;
    observers.add(observer);
    return true;
}

bool EdSelection::contains(const MnElement* element) const
{
    for (int i = 0; i < elements.count(); ++i) {
        if (elements[i] == element)
            return true;
    }
    return false;
}
