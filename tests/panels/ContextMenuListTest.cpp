#include "panels/UiContextMenuList.h"

#include <gtest/gtest.h>

namespace {

UiContextMenuItem* entry(int command, int icon = -1)
{
    return new UiContextMenuItem(BcString("entry"), icon, command);
}

void fill(UiContextMenuList& list, int entries)
{
    for (int i = 0; i < entries; ++i)
        EXPECT_TRUE(list.addItem(entry(100 + i)));
}

}  // namespace

TEST(ContextMenuListTest, theIconSizeAndTheMetricsFollowTheSystemIcon)
{
    struct Row {
        int systemIcon, icon, pitch, height, margin, gap, frame;
    } rows[] = {
        {32, 24, 30, 28, 4, 2, 1},
        {48, 32, 40, 37, 5, 2, 1},
        {64, 48, 60, 56, 8, 4, 2},
        {36, 24, 30, 28, 4, 2, 1},  // 27 rounds to the smallest size
        {40, 32, 40, 37, 5, 2, 1},  // 30 to the middle one
    };
    for (const Row& row : rows) {
        UiContextMenuList list;
        list.setIconSize(UiContextMenuList::iconSizeFor(row.systemIcon));
        const UiContextMenuList::Metrics m = list.metrics();
        EXPECT_EQ(list.iconSize(), row.icon) << row.systemIcon;
        EXPECT_EQ(m.pitch, row.pitch) << row.systemIcon;
        EXPECT_EQ(m.height, row.height) << row.systemIcon;
        EXPECT_EQ(m.margin, row.margin) << row.systemIcon;
        EXPECT_EQ(m.gap, row.gap) << row.systemIcon;
        EXPECT_EQ(m.frame, row.frame) << row.systemIcon;
    }
}

TEST(ContextMenuListTest, entriesLieOnePitchApartWithIconAndTextInside)
{
    UiContextMenuList list;
    fill(list, 3);
    list.updateScroll(50, true);
    ASSERT_TRUE(list.scroll(UiContextMenuList::lineDown));
    ASSERT_EQ(list.scrollPosition(), 6);
    const UiContextMenuList::Rect e = list.entryRect(2, 150);
    EXPECT_EQ(e.left, 4);
    EXPECT_EQ(e.top, 4 + 60 - 6);
    EXPECT_EQ(e.right, 148);
    EXPECT_EQ(e.bottom, e.top + 28);
    const UiContextMenuList::Rect icon = list.iconRect(2, 150);
    EXPECT_EQ(icon.left, 8);
    EXPECT_EQ(icon.top, e.top + 2);
    EXPECT_EQ(icon.right - icon.left, 24);
    const UiContextMenuList::Rect text = list.textRect(2, 150);
    EXPECT_EQ(text.left, 4 + 4 + 2 + 30);
    EXPECT_EQ(text.right, 148 - 2 - 1);
    EXPECT_EQ(text.bottom, e.bottom - 2);

    // The hover bands tile the column from the margin to the gap.
    struct Row {
        int x, y, entry;
    } rows[] = {
        {4, 4 - 6 - 1, 0},       {4, 4 - 6 - 1 + 29, 0}, {4, 4 - 6 - 1 + 30, 1}, {147, 50, 1},
        {3, 20, -1},             {148, 20, -1},          {50, 4 - 6 - 1 + 90, -1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(list.entryAt(row.x, row.y, 150), row.entry) << row.x << "," << row.y;
}

TEST(ContextMenuListTest, aCommandIsListedOnce)
{
    UiContextMenuList list;
    UiContextMenuItem* first = entry(32817, 1);
    EXPECT_TRUE(list.addItem(first));
    EXPECT_FALSE(list.addItem(entry(32817, 2)));
    EXPECT_TRUE(list.addItem(entry(32818)));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0), first);
    EXPECT_EQ(list.item(0)->icon, 1);
    EXPECT_FALSE(list.addItem(nullptr));
}

TEST(ContextMenuListTest, theScrollBarShowsWhileTheEntriesDoNotFit)
{
    UiContextMenuList list;
    fill(list, 10);
    list.updateScroll(200, true);
    EXPECT_EQ(list.contentHeight(), 308);
    EXPECT_TRUE(list.scrollBarShown());
    EXPECT_EQ(list.clientHeight(), 200);

    // Scrolled to its end, 50 pixels taller: the last entry stays at the bottom.
    EXPECT_TRUE(list.scroll(UiContextMenuList::bottom));
    EXPECT_EQ(list.scrollPosition(), 108);
    list.updateScroll(250, false);
    EXPECT_EQ(list.scrollPosition(), 58);
    EXPECT_EQ(list.scrollPosition() + list.clientHeight(), list.contentHeight());

    list.updateScroll(400, false);
    EXPECT_FALSE(list.scrollBarShown());
    EXPECT_EQ(list.scrollPosition(), 0);

    // Fewer entries after a rebuild: a list scrolled further than the new
    // end is brought back to it.
    list.updateScroll(200, false);
    EXPECT_TRUE(list.scroll(UiContextMenuList::bottom));
    list.clear();
    fill(list, 8);
    list.updateScroll(200, true);
    EXPECT_EQ(list.contentHeight(), 248);
    EXPECT_EQ(list.scrollPosition(), 48);
}

TEST(ContextMenuListTest, scrollRequestsAndTheWheelMoveByFixedSteps)
{
    UiContextMenuList list;
    fill(list, 10);
    list.updateScroll(200, true);  // positions 0 .. 108
    using L = UiContextMenuList;
    struct Row {
        const char* what;
        int from;
        int (*act)(L&);
        int to;
    } rows[] = {
        {"line down", 0, [](L& l) { return int(l.scroll(L::lineDown)); }, 6},
        {"line up at 4", 4, [](L& l) { return int(l.scroll(L::lineUp)); }, 0},
        {"page down near the end", 100, [](L& l) { return int(l.scroll(L::pageDown)); }, 108},
        {"page up", 50, [](L& l) { return int(l.scroll(L::pageUp)); }, 26},
        {"thumb", 0, [](L& l) { return int(l.scroll(L::thumb, 77)); }, 77},
        {"top", 60, [](L& l) { return int(l.scroll(L::top)); }, 0},
        {"two notches down", 0, [](L& l) { return int(l.wheel(-240)); }, 24},
        {"one notch down", 0, [](L& l) { return int(l.wheel(-120)); }, 24},
        {"a notch up at 10", 10, [](L& l) { return int(l.wheel(120)); }, 0},
        {"a notch down near the end", 100, [](L& l) { return int(l.wheel(-1)); }, 108},
        {"no delta", 50, [](L& l) { return int(l.wheel(0)); }, 50},
    };
    for (const Row& row : rows) {
        list.scroll(L::thumb, row.from);
        row.act(list);
        EXPECT_EQ(list.scrollPosition(), row.to) << row.what;
    }

    list.updateScroll(400, false);
    EXPECT_FALSE(list.wheel(-120)) << "no bar, no wheel";
    EXPECT_EQ(list.scrollPosition(), 0);
}

TEST(ContextMenuListTest, theReleaseSendsTheHoveredEntry)
{
    UiContextMenuList list;
    fill(list, 3);
    list.updateScroll(300, true);
    // Pressed on the first entry, released on the second.
    EXPECT_TRUE(list.pointerMoved(20, 10, 150));
    EXPECT_EQ(list.hovered(), 0);
    EXPECT_TRUE(list.pointerMoved(20, 40, 150));
    EXPECT_FALSE(list.pointerMoved(21, 41, 150)) << "same entry, no repaint";
    EXPECT_EQ(list.releasedAt(20, 40, 150, 300), 101);

    struct Row {
        const char* where;
        int x, y;
    } rows[] = {{"left margin", 2, 40}, {"right gap", 149, 40}, {"below the last entry", 20, 120}};
    for (const Row& row : rows) {
        list.pointerMoved(row.x, row.y, 150);
        EXPECT_EQ(list.hovered(), -1) << row.where;
        EXPECT_EQ(list.releasedAt(row.x, row.y, 150, 300), -1) << row.where;
    }
    list.pointerMoved(20, 40, 150);
    EXPECT_EQ(list.releasedAt(20, 400, 150, 300), -1) << "outside the client area";
}
