#pragma once

#include "foundation/BcArray.h"

#include <memory>
#include <unordered_map>
#include <vector>

class MnElement;

// The ordered element list of a selection, without duplicates. Small lists
// are scanned. Large ones keep an index from element to slot, so finding an
// element costs a hash lookup; a removal leaves a hole instead of shifting
// the elements behind it, and a count tree over the slots answers "the i-th
// element" and "the place of an element" past the holes in logarithmic time.
// The holes are closed in one pass once they outnumber the elements. So any
// number of removals in any order, with reads in between, stays far from
// quadratic, and the order of the remaining elements is kept.
class EdElementList
{
public:
    EdElementList();
    EdElementList(const EdElementList& other);
    EdElementList& operator=(const EdElementList& other);
    ~EdElementList();

    int count() const { return slots.count() - holes; }
    // Null outside 0..count-1.
    MnElement* at(int index) const;
    // The elements in order; closes the holes first.
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

    // The count tree over the slots (1 per element, 0 per hole), one-based.
    void buildTree() const;
    void treeAdd(int slot, int delta) const;
    void treeAppend(int live) const;
    // Elements in the slots before slot.
    int treePrefix(int slot) const;
    // The slot of the element at index.
    int treeFind(int index) const;

    mutable BcArray<MnElement*> slots;
    mutable std::unique_ptr<std::unordered_map<const MnElement*, int>> index;
    // Kept only while there are holes.
    mutable std::vector<int> tree;
    mutable int holes = 0;
};
