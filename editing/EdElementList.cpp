#include "editing/EdElementList.h"

EdElementList::EdElementList() : slots(8) {}

EdElementList::EdElementList(const EdElementList& other) : slots(8)
{
    slots = other.elements();
}

EdElementList& EdElementList::operator=(const EdElementList& other)
{
    if (this != &other) {
        slots = other.elements();
        index.reset();
        tree.clear();
        holes = 0;
    }
    return *this;
}

EdElementList::~EdElementList() = default;

MnElement* EdElementList::at(int position) const
{
    if (position < 0 || position >= count())
        return nullptr;
    if (holes == 0)
        return slots[position];
    return slots[treeFind(position)];
}

const BcArray<MnElement*>& EdElementList::elements() const
{
    compact();
    return slots;
}

bool EdElementList::contains(const MnElement* element) const
{
    return slotOf(element) >= 0;
}

int EdElementList::indexOf(const MnElement* element) const
{
    int slot = slotOf(element);
    if (slot < 0 || holes == 0)
        return slot;
    return treePrefix(slot);
}

bool EdElementList::append(MnElement* element)
{
    if (!element || slotOf(element) >= 0)
        return false;
    int slot = slots.add(element);
    if (!tree.empty())
        treeAppend(1);
    if (index)
        (*index)[element] = slot;
    else if (slots.count() > indexThreshold)
        buildIndex();
    return true;
}

bool EdElementList::remove(const MnElement* element)
{
    int slot = slotOf(element);
    if (slot < 0)
        return false;
    if (!index) {
        // Small lists never hold holes: close the gap at once.
        slots.removeAt(slot);
        return true;
    }
    index->erase(element);
    if (slot == slots.count() - 1) {
        slots.removeAt(slot);
        if (!tree.empty())
            tree.pop_back();
    } else {
        slots[slot] = nullptr;
        // The tree, once built, is kept up to date until the holes are
        // closed, so removals that alternate between the middle and the end
        // do not rebuild it each time.
        if (tree.empty())
            buildTree();
        else
            treeAdd(slot, -1);
        ++holes;
    }
    // Holes at the end cost nothing to close.
    while (holes > 0 && slots[slots.count() - 1] == nullptr) {
        slots.removeAt(slots.count() - 1);
        tree.pop_back();
        --holes;
    }
    if (holes > count())
        compact();
    return true;
}

void EdElementList::clear()
{
    slots.removeAll();
    index.reset();
    tree.clear();
    holes = 0;
}

void EdElementList::reserve(int n)
{
    if (n <= slots.capacity())
        return;
    compact();
    slots.setCapacity(n);
}

void EdElementList::compact() const
{
    if (holes == 0)
        return;
    int kept = 0;
    int used = slots.count();
    for (int slot = 0; slot < used; ++slot) {
        MnElement* element = slots[slot];
        if (!element)
            continue;
        if (kept != slot) {
            slots[kept] = element;
            (*index)[element] = kept;
        }
        ++kept;
    }
    for (int slot = kept; slot < used; ++slot)
        slots[slot] = nullptr;
    slots.setSize(kept);
    holes = 0;
    tree.clear();
}

void EdElementList::buildIndex() const
{
    index = std::make_unique<std::unordered_map<const MnElement*, int>>();
    index->reserve(static_cast<size_t>(slots.count()) * 2);
    for (int slot = 0; slot < slots.count(); ++slot) {
        if (slots[slot])
            (*index)[slots[slot]] = slot;
    }
}

int EdElementList::slotOf(const MnElement* element) const
{
    if (!element)
        return -1;
    if (!index && slots.count() > indexThreshold)
        buildIndex();
    if (index) {
        auto found = index->find(element);
        return found == index->end() ? -1 : found->second;
    }
    for (int slot = 0; slot < slots.count(); ++slot) {
        if (slots[slot] == element)
            return slot;
    }
    return -1;
}

void EdElementList::buildTree() const
{
    int size = slots.count();
    tree.assign(static_cast<size_t>(size) + 1, 0);
    for (int node = 1; node <= size; ++node) {
        tree[node] += slots[node - 1] ? 1 : 0;
        int parent = node + (node & -node);
        if (parent <= size)
            tree[parent] += tree[node];
    }
}

void EdElementList::treeAdd(int slot, int delta) const
{
    int size = static_cast<int>(tree.size()) - 1;
    for (int node = slot + 1; node <= size; node += node & -node)
        tree[node] += delta;
}

void EdElementList::treeAppend(int live) const
{
    int node = static_cast<int>(tree.size());
    // The new node covers the slots (node - lowbit, node]: the ones before it
    // are summed from the nodes already there.
    int covered = live + treePrefix(node - 1) - treePrefix(node - (node & -node));
    tree.push_back(covered);
}

int EdElementList::treePrefix(int slot) const
{
    int sum = 0;
    for (int node = slot; node > 0; node -= node & -node)
        sum += tree[node];
    return sum;
}

int EdElementList::treeFind(int position) const
{
    int size = static_cast<int>(tree.size()) - 1;
    int step = 1;
    while (step * 2 <= size)
        step *= 2;
    // Descends to the last node whose prefix holds at most position elements.
    int node = 0;
    int remaining = position + 1;
    for (; step > 0; step /= 2) {
        int next = node + step;
        if (next <= size && tree[next] < remaining) {
            node = next;
            remaining -= tree[next];
        }
    }
    return node;  // the one-based node + 1, as a zero-based slot
}
