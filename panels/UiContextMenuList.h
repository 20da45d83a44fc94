#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcString.h"

// One entry of the context list: its text, its icon (an index of the
// list's icon table, -1 for none) and the command it sends, unique within
// a list.
class UiContextMenuItem
{
public:
    UiContextMenuItem(const BcString& text, int icon, int command) : text(text), icon(icon), command(command) {}
    virtual ~UiContextMenuItem() = default;

    BcString text;
    int icon;
    int command;
};

// The context list without its window: the entries, their layout scaled
// with the icon size, the hovered entry and the vertical scrolling. The
// window paints what this says, turns its events into these calls, and
// mirrors the scroll bar state after each change. Pixel values are client
// pixels, y downward.
class UiContextMenuList
{
public:
    struct Rect
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    // Entry pitch, entry height, margin, gap and highlight frame width.
    struct Metrics
    {
        int pitch;
        int height;
        int margin;
        int gap;
        int frame;
    };

    // The scroll bar requests, as the window maps its toolkit's.
    enum ScrollRequest { lineUp, lineDown, pageUp, pageDown, thumb, top, bottom };

    static constexpr int lineStep = 6;
    static constexpr int pageStep = 24;
    static constexpr int wheelStep = 24;
    // The icon table, in index order: the resource ids of its pictures.
    static constexpr int iconCount = 11;
    static constexpr unsigned iconIds[iconCount] = {131, 132, 140, 146, 151, 133, 143, 142, 141, 152, 154};

    UiContextMenuList() : items(8) {}
    ~UiContextMenuList() { clear(); }
    UiContextMenuList(const UiContextMenuList&) = delete;
    UiContextMenuList& operator=(const UiContextMenuList&) = delete;

    // The icon edge for a system icon width: three quarters of it, 24
    // below 28 and 32 from 28 to 39.
    static int iconSizeFor(int systemIconWidth);
    void setIconSize(int size) { iconEdge = size > 0 ? size : 24; }
    int iconSize() const { return iconEdge; }
    Metrics metrics() const;

    // Takes the entry over; an entry whose command is listed already is
    // deleted and refused, so the first offer of a command stands.
    bool addItem(UiContextMenuItem* item);
    // Deletes every entry; the hovered index stays for the rebuild.
    void clear();
    int count() const { return items.count(); }
    UiContextMenuItem* item(int index) const { return index >= 0 && index < items.count() ? items[index] : nullptr; }
    int indexOfCommand(int command) const;
    // Moves an entry to another index, the others keeping their order.
    void moveItem(int from, int to);

    // Layout in a client area of the given width.
    Rect entryRect(int index, int clientWidth) const;
    Rect iconRect(int index, int clientWidth) const;
    Rect textRect(int index, int clientWidth) const;
    // The entry whose hover band holds the point, else -1.
    int entryAt(int x, int y, int clientWidth) const;

    int hovered() const { return hoveredIndex; }
    // Answers whether it changed (the window then repaints).
    bool setHovered(int index);
    // The pointer moved: hovers the entry under it.
    bool pointerMoved(int x, int y, int clientWidth) { return setHovered(entryAt(x, y, clientWidth)); }
    // The command the release sends, -1 for none: the hovered entry's
    // when the point lies in the client area.
    int releasedAt(int x, int y, int clientWidth, int clientHeight) const;

    // The content height is counted again with recount; without it an
    // unchanged client height does nothing. Shows the bar while the
    // content does not fit, keeping the bottom of the visible part where
    // it was as the list grows; hides it and scrolls to the top when it
    // fits.
    void updateScroll(int clientHeight, bool recount);
    // A notch either way scrolls one fixed step, whatever the delta.
    bool wheel(int delta);
    bool scroll(ScrollRequest request, int thumbPosition = 0);

    int contentHeight() const { return content; }
    int clientHeight() const { return client; }
    int scrollPosition() const { return position; }
    bool scrollBarShown() const { return barShown; }

private:
    int maxPosition() const;

    BcArray<UiContextMenuItem*> items;
    int iconEdge = 24;
    int hoveredIndex = -1;
    int content = 0;
    int client = -1;
    int position = 0;
    bool barShown = false;
};
