#include "panels/UiAnchorList.h"

UiControlAnchor* UiAnchorList::find(int controlId)
{
    for (auto& item : items)
        if (item->controlId == controlId)
            return item.get();
    return nullptr;
}

bool UiAnchorList::addControlAnchor(int controlId, int moveX, int moveY, int sizeX, int sizeY)
{
    UiAnchorRect rect;
    if (find(controlId) || !rectOf || !rectOf(controlId, rect))
        return false;
    auto anchor = std::make_unique<UiControlAnchor>();
    anchor->controlId = controlId;
    anchor->moveX = moveX;
    anchor->moveY = moveY;
    anchor->sizeX = sizeX;
    anchor->sizeY = sizeY;
    anchor->rect = rect;
    items.push_back(std::move(anchor));
    return true;
}

bool UiAnchorList::addAnchors(const UiAnchorSpec* table, int count)
{
    static const unsigned char bits[4] = {UiAnchorSpec::moveX, UiAnchorSpec::moveY, UiAnchorSpec::sizeX,
                                          UiAnchorSpec::sizeY};
    for (int i = 0; table && i < count; ++i) {
        const UiAnchorSpec& entry = table[i];
        // Unsigned, so a negative percentage is out of range too.
        if (unsigned(entry.percent) > 100u)
            continue;
        for (int b = 0; b < 4; ++b) {
            if (!(entry.flags & bits[b]))
                continue;
            UiControlAnchor* anchor = find(entry.controlId);
            if (!anchor) {
                int p[4] = {0, 0, 0, 0};
                p[b] = entry.percent;
                addControlAnchor(entry.controlId, p[0], p[1], p[2], p[3]);
                continue;
            }
            int* field[4] = {&anchor->moveX, &anchor->moveY, &anchor->sizeX, &anchor->sizeY};
            *field[b] = entry.percent;
        }
    }
    return true;
}

UiAnchorPlacement UiAnchorList::place(const UiControlAnchor& anchor, int width, int height) const
{
    double dx = double(width - initialWidth);
    double dy = double(height - initialHeight);
    const UiAnchorRect& r = anchor.rect;
    UiAnchorPlacement p;
    p.x = r.left + int(anchor.moveX / 100.0 * dx);
    p.y = r.top + int(anchor.moveY / 100.0 * dy);
    p.width = (r.right - r.left) + int(anchor.sizeX / 100.0 * dx);
    p.height = (r.bottom - r.top) + int(anchor.sizeY / 100.0 * dy);
    return p;
}
