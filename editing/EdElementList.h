#pragma once

#include "foundation/BcArray.h"

#include <memory>
#include <unordered_map>

class MnElement;

// The ordered element list of a selection, without duplicates. Large lists
// keep an index from element to slot, so finding an element costs a hash
// lookup instead of a scan; a removal leaves a hole that the next read closes
// in one pass, so a cascade of dying elements (a whole score deleted while
// every element of it is selected) costs linear time in any order, and the
// order of the remaining elements is kept.
class EdElementList
{
public:
    EdElementList();
    EdElementList(const EdElementList& other);
    EdElementList& operator=(const EdElementList& other);
    ~EdElementList();

    int count() const;
    // Null outside 0..count-1.
    MnElement* at(int index) const;
    // The elements in order, holes closed.
    const BcArray<MnElement*>& elements() const;

    bool contains(const MnElement* element) const;
    // -1 when absent.
    int indexOf(const MnElement* element) const;

    // Appends; false, with nothing changed, when the element is already there
    // or is null.
    bool append(MnElement* element);
    // Removes the element, keeping the order of the others; false when absent.
    bool remove(const MnElement* element);
    void clear();

    // Grows the block to hold at least n elements, so a known number of
    // appends allocates once.
    void reserve(int n);

private:
    // Lists up to this size are scanned; larger ones are indexed.
    static constexpr int indexThreshold = 16;

    void compact() const;
    void buildIndex() const;
    int slotOf(const MnElement* element) const;

    mutable BcArray<MnElement*> slots;
    mutable std::unique_ptr<std::unordered_map<const MnElement*, int>> index;
    mutable int holes = 0;
    mutable int firstHole = 0;
};
