#pragma once

#include <functional>
#include <memory>
#include <vector>

// A rectangle in a page's client pixels: left and top inclusive, right and
// bottom exclusive.
struct UiAnchorRect
{
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Where an anchored control goes: its left, top, width and height.
struct UiAnchorPlacement
{
    int x = 0, y = 0, width = 0, height = 0;
};

// One entry of a page's anchor table: the control, the directions it
// follows and by what percentage of the page's growth.
struct UiAnchorSpec
{
    enum : unsigned char { moveX = 0x01, moveY = 0x02, sizeX = 0x10, sizeY = 0x20 };
    int controlId;
    unsigned char flags;
    int percent;  // 0..100; anything else is ignored
};

// A control that moves and stretches by percentages of the page's growth,
// always from the rectangle it had when it was anchored.
struct UiControlAnchor
{
    int controlId = 0;
    int moveX = 0, moveY = 0, sizeX = 0, sizeY = 0;
    UiAnchorRect rect;
};

// The anchored controls of one page. The page tells where a control is
// (null or false for a control it does not have).
class UiAnchorList
{
public:
    using RectOf = std::function<bool(int controlId, UiAnchorRect& rect)>;
    explicit UiAnchorList(RectOf rectOf) : rectOf(std::move(rectOf)) {}

    // False for a control anchored already or one the page does not have.
    bool addControlAnchor(int controlId, int moveX, int moveY, int sizeX, int sizeY);
    // Entries for one control combine into one anchor; a percentage outside
    // 0..100 leaves that direction alone.
    bool addAnchors(const UiAnchorSpec* table, int count);

    // The page's client size when the controls were where the anchors took
    // them; -1 before it is known.
    void setInitialSize(int width, int height)
    {
        initialWidth = width;
        initialHeight = height;
    }
    bool hasInitialSize() const { return initialWidth > 0 && initialHeight > 0; }
    int initialClientWidth() const { return initialWidth; }
    int initialClientHeight() const { return initialHeight; }

    // The control's place in a page of client size width x height.
    UiAnchorPlacement place(const UiControlAnchor& anchor, int width, int height) const;

    int count() const { return int(items.size()); }
    const UiControlAnchor& at(int index) const { return *items[size_t(index)]; }
    UiControlAnchor* find(int controlId);

private:
    RectOf rectOf;
    std::vector<std::unique_ptr<UiControlAnchor>> items;
    int initialWidth = -1;
    int initialHeight = -1;
};
