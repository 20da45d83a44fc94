#include "editing/EdElementList.h"

EdElementList::EdElementList() : slots(8) {}

EdElementList::EdElementList(const EdElementList& other) : slots(8)
{
    other.compact();
    slots = other.slots;
}

EdElementList& EdElementList::operator=(const EdElementList& other)
{
    if (this != &other) {
        other.compact();
        slots = other.slots;
        index.reset();
        holes = 0;
        firstHole = 0;
    }
    return *this;
}

EdElementList::~EdElementList() = default;

int EdElementList::count() const
{
    compact();
    return slots.count();
}

MnElement* EdElementList::at(int position) const
{
    compact();
    if (position < 0 || position >= slots.count())
        return nullptr;
    return slots[position];
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
    compact();
    return slotOf(element);
}

bool EdElementList::append(MnElement* element)
{
    if (!element || slotOf(element) >= 0)
        return false;
    int slot = slots.add(element);
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
    slots[slot] = nullptr;
    if (holes == 0 || slot < firstHole)
        firstHole = slot;
    ++holes;
    // Holes at the end cost nothing to close.
    while (slots.count() > 0 && slots[slots.count() - 1] == nullptr) {
        slots.removeAt(slots.count() - 1);
        --holes;
    }
    return true;
}

void EdElementList::clear()
{
    slots.removeAll();
    index.reset();
    holes = 0;
    firstHole = 0;
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
    int kept = firstHole;
    int used = slots.count();
    for (int slot = firstHole; slot < used; ++slot) {
        MnElement* element = slots[slot];
        if (!element)
            continue;
        slots[kept] = element;
        (*index)[element] = kept;
        ++kept;
    }
    for (int slot = kept; slot < used; ++slot)
        slots[slot] = nullptr;
    slots.setSize(kept);
    holes = 0;
    firstHole = 0;
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
