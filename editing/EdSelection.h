#pragma once

#include "editing/EdElementList.h"
#include "foundation/BcArray.h"
#include "foundation/BcObject.h"

class EdSelectionObserver;
class MnStaff;
class MnElement;

// An ordered set of model elements with the observers that follow it. Every
// selection is on the process-wide list of live selections from its
// constructor to its destructor, and a dying element removes itself from all
// of them, so a selection never holds a dead element: it is a set of weak
// references. Renderers and pickers are selections too.
//
// Large selections find and drop elements in constant time (EdElementList),
// so a whole score dying while all of it is selected costs linear time.
class EdSelection : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(EdSelection)
public:
    EdSelection();
    // Leaves the list of live selections; observers are not told.
    ~EdSelection() override;
    EdSelection(const EdSelection&) = delete;
    EdSelection& operator=(const EdSelection&) = delete;

    // Appends the element unless it is already there (or null).
    virtual bool add(MnElement* element);
    // Removes the element, keeping the order of the others; false when absent.
    virtual bool remove(MnElement* element);

    // Appends the other's elements that this selection does not hold yet. A
    // selection never holds an element twice: a second copy would outlive the
    // element, since a dying element leaves each selection once.
    void addAll(const EdSelection& other);
    // With a null class the element count; otherwise the elements of that
    // class or one derived from it.
    int countOfClass(const BcClass* cls) const;
    bool addObserver(EdSelectionObserver* observer);
    // Tells every observer, in registration order.
    void notifyObservers();

    int count() const { return list.count(); }
    bool isEmpty() const { return list.count() == 0; }
    // Null outside 0..count-1.
    MnElement* element(int index) const { return list.at(index); }
    bool contains(const MnElement* element) const { return list.contains(element); }
    // -1 when absent.
    int indexOf(const MnElement* element) const { return list.indexOf(element); }
    // Forgets every element; observers stay.
    void clear() { list.clear(); }

    const BcArray<MnElement*>& elementArray() const { return list.elements(); }
    const BcArray<EdSelectionObserver*>& observerArray() const { return observers; }

    // The staff and the time range (ticks from the staff's start) that the
    // selected measures, chords and notes cover; the second voice's
    // whole-measure rests do not count. False, with the outputs untouched,
    // when they cover no staff or more than one.
    bool staffTimeSpan(MnStaff*& staff, int& start, int& end) const;

    // Puts the selection on the live list and makes sure that dying elements
    // leave the live selections (MnElement's death hook), so no selection
    // exists without the hook in place.
    static void registerInstance(EdSelection* selection);
    // Every selection in existence, in order of registration. The list does
    // not own them.
    static BcArray<EdSelection*>& liveSelections();
    // Takes a dying element out of every live selection: the death hook.
    static void removeFromLiveSelections(MnElement* element);

protected:
    // For selections that replace their content wholesale (weak pointers).
    EdElementList& elementList() { return list; }

private:
    EdElementList list;
    BcArray<EdSelectionObserver*> observers;
};
