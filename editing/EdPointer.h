#pragma once

#include "editing/EdSelection.h"
#include "model/MnElement.h"

// A weak pointer to one element of class T (or derived): a selection of at
// most one element, which empties itself when the element dies. Code that
// keeps an element across user actions keeps it here and asks element() each
// time.
template <class T>
class EdPointer : public EdSelection
{
public:
    // Holds exactly the element afterwards; null empties the pointer.
    bool set(MnElement* element)
    {
        elementList().clear();
        if (element)
            elementList().append(element);
        return true;
    }

    // Unlike a selection's add, replaces the held element; false, with
    // nothing changed, for an element that is not a T.
    bool add(MnElement* element) override
    {
        if (!element || !element->isKindOf(T::staticClass()))
            return false;
        return set(element);
    }

    // The held element while it lives and is a T, else null.
    T* element() const
    {
        MnElement* held = EdSelection::element(0);
        if (!held || !held->isKindOf(T::staticClass()))
            return nullptr;
        return static_cast<T*>(held);
    }
};
