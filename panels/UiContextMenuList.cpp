#include "panels/UiContextMenuList.h"

#include <algorithm>

constexpr unsigned UiContextMenuList::iconIds[];

int UiContextMenuList::iconSizeFor(int systemIconWidth)
{
    const int size = systemIconWidth * 3 / 4;
    if (size < 28)
        return 24;
    if (size < 40)
        return 32;
    return size;
}

UiContextMenuList::Metrics UiContextMenuList::metrics() const
{
    const double s = iconEdge / 24.0;
    return {int(30 * s), int(28 * s), int(4 * s), int(2 * s), int(s)};
}

bool UiContextMenuList::addItem(UiContextMenuItem* item)
{
    if (!item)
        return false;
    if (indexOfCommand(item->command) >= 0) {
        delete item;
        return false;
    }
    items.add(item);
    return true;
}

void UiContextMenuList::clear()
{
    for (int i = 0; i < items.count(); ++i)
        delete items[i];
    items.removeAll();
}

int UiContextMenuList::indexOfCommand(int command) const
{
    for (int i = 0; i < items.count(); ++i)
        if (items[i]->command == command)
            return i;
    return -1;
}

void UiContextMenuList::moveItem(int from, int to)
{
    if (from < 0 || from >= items.count() || to < 0 || to >= items.count() || from == to)
        return;
    UiContextMenuItem* moved = items[from];
    items.removeAt(from);
    items.insertAt(to, moved);
}

UiContextMenuList::Rect UiContextMenuList::entryRect(int index, int clientWidth) const
{
    const Metrics m = metrics();
    Rect r;
    r.left = m.margin;
    r.top = m.margin + index * m.pitch - position;
    r.right = clientWidth - m.gap;
    r.bottom = r.top + m.height;
    return r;
}

UiContextMenuList::Rect UiContextMenuList::iconRect(int index, int clientWidth) const
{
    const Metrics m = metrics();
    const Rect entry = entryRect(index, clientWidth);
    Rect r;
    r.left = entry.left + m.margin;
    r.top = entry.top + m.gap;
    r.right = r.left + iconEdge;
    r.bottom = r.top + iconEdge;
    return r;
}

UiContextMenuList::Rect UiContextMenuList::textRect(int index, int clientWidth) const
{
    const Metrics m = metrics();
    const Rect entry = entryRect(index, clientWidth);
    Rect r;
    r.left = entry.left + m.margin + m.gap + m.pitch;
    r.top = entry.top + m.gap;
    r.right = entry.right - m.gap - m.frame;
    r.bottom = entry.bottom - m.gap;
    return r;
}

int UiContextMenuList::entryAt(int x, int y, int clientWidth) const
{
    const Metrics m = metrics();
    if (x < m.margin || x >= clientWidth - m.gap)
        return -1;
    for (int i = 0; i < items.count(); ++i) {
        const int top = m.margin - position - m.frame + i * m.pitch;
        if (y >= top && y < top + m.pitch)
            return i;
    }
    return -1;
}

bool UiContextMenuList::setHovered(int index)
{
    if (index < -1 || index >= items.count())
        index = -1;
    if (index == hoveredIndex)
        return false;
    hoveredIndex = index;
    return true;
}

int UiContextMenuList::releasedAt(int x, int y, int clientWidth, int clientHeight) const
{
    if (x < 0 || y < 0 || x >= clientWidth || y >= clientHeight)
        return -1;
    const UiContextMenuItem* entry = item(hoveredIndex);
    return entry ? entry->command : -1;
}

int UiContextMenuList::maxPosition() const
{
    return std::max(0, content - client);
}

void UiContextMenuList::updateScroll(int h, bool recount)
{
    if (recount) {
        const Metrics m = metrics();
        const int counted = 2 * m.margin + items.count() * m.pitch;
        if (counted > 0)
            content = counted;
    } else if (h == client) {
        return;
    }
    const int d = h - client;
    client = h;
    if (h < content) {
        if (barShown)
            position -= std::min(d, position);
        barShown = true;
        // A list that shrank below its scrolled part keeps its end in view.
        position = std::clamp(position, 0, maxPosition());
    } else {
        position = 0;
        barShown = false;
    }
}

bool UiContextMenuList::wheel(int delta)
{
    if (!barShown || delta == 0)
        return false;
    const int before = position;
    if (delta > 0)
        position -= std::min(wheelStep, position);
    else
        position += std::max(0, std::min(wheelStep, content - client - position));
    return position != before;
}

bool UiContextMenuList::scroll(ScrollRequest request, int thumbPosition)
{
    const int max = maxPosition();
    const int before = position;
    switch (request) {
    case lineUp:
        position -= std::min(lineStep, position);
        break;
    case lineDown:
        position += std::max(0, std::min(lineStep, max - position));
        break;
    case pageUp:
        position -= std::min(pageStep, position);
        break;
    case pageDown:
        position += std::max(0, std::min(pageStep, max - position));
        break;
    case thumb:
        position = std::clamp(thumbPosition, 0, max);
        break;
    case top:
        position = 0;
        break;
    case bottom:
        position = max;
        break;
    }
    return position != before;
}
