#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcObject.h"

class EdSelectionObserver;
class MnElement;

// An ordered set of model elements with the observers that follow it. Every
// selection is on the process-wide list of live selections from its
// constructor to its destructor, and a dying element removes itself from all
// of them, so a selection never holds a dead element: it is a set of weak
// references. Renderers and pickers are selections too.
class EdSelection : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(EdSelection)
public:
    EdSelection();
    // Leaves the list of live selections; observers are not told.
    ~EdSelection() override;
    EdSelection(const EdSelection&) = delete;
    EdSelection& operator=(const EdSelection&) = delete;

    // Appends the element unless it is already there.
    virtual bool add(MnElement* element);
    // Removes the element, keeping the order of the others; false when absent.
    virtual bool remove(MnElement* element);

    // Appends all of the other's elements without the duplicate test.
    void addAll(const EdSelection& other);
    // With a null class the element count; otherwise the elements of that
    // class or one derived from it.
    int countOfClass(const BcClass* cls) const;
    bool addObserver(EdSelectionObserver* observer);

    int count() const { return elements.count(); }
    bool isEmpty() const { return elements.isEmpty(); }
    MnElement* element(int index) const { return elements[index]; }
    bool contains(const MnElement* element) const;
    // Forgets every element; observers stay.
    void clear() { elements.removeAll(); }

    const BcArray<MnElement*>& elementArray() const { return elements; }
    const BcArray<EdSelectionObserver*>& observerArray() const { return observers; }

    static void registerInstance(EdSelection* selection);
    // Every selection in existence, in order of registration. The list does
    // not own them.
    static BcArray<EdSelection*>& liveSelections();

protected:
    BcArray<MnElement*> elements;
    BcArray<EdSelectionObserver*> observers;
};
