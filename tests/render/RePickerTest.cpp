#include "render/RePicker.h"

#include "foundation/BcClass.h"
#include "model/MnText.h"

#include <gtest/gtest.h>

#include <memory>

// One mark call on a picker.
struct PickMark {
    enum Kind { rect, span, frame } kind;
    double a, b, c, d;           // rect: corner x, y, width, height; span: from, to; frame: outer
    double e = 0, f = 0, g = 0, h = 0;  // frame: inner
    int element;                 // index into the test's elements, -1 for none
    int pathLevel0 = -1;         // the pick path's kind at the mark
};

static void mark(RePicker& picker, const PickMark& m, MnElement* const* elements)
{
    MnElement* element = m.element >= 0 ? elements[m.element] : nullptr;
    picker.pickPath = EdPath();
    picker.pickPath.values[0] = m.pathLevel0;
    switch (m.kind) {
    case PickMark::rect:
        picker.markRect(GePoint2d(m.a, m.b), m.c, m.d, element);
        break;
    case PickMark::span:
        picker.markSpan(GePoint2d(m.a, m.b), GePoint2d(m.c, m.d), element);
        break;
    case PickMark::frame:
        picker.markFrame(GeBox2d(GePoint2d(m.a, m.b), GePoint2d(m.c, m.d)), GeBox2d(GePoint2d(m.e, m.f), GePoint2d(m.g, m.h)),
                         element);
        break;
    }
    picker.pickPath = EdPath();
}

TEST(RePicker, hitTable)
{
    MnText first, second;
    MnElement* elements[] = {&first, &second};
    struct Row {
        const char* name;
        GePoint2d point;
        std::vector<PickMark> marks;
        int expectedElement;  // -1: none
        int expectedPathLevel0;
        bool clipOn = false;
        double clipX = 0;
    };
    const std::vector<Row> rows = {
        {"overlapping marks: the last wins with its path", {5, 5},
         {{PickMark::rect, 0, 0, 10, 10, 0, 0, 0, 0, 0, 0}, {PickMark::rect, 2, 2, 6, 6, 0, 0, 0, 0, 1, 1}}, 1, 1},
        {"a later mark that misses keeps the hit", {5, 5},
         {{PickMark::rect, 0, 0, 10, 10, 0, 0, 0, 0, 0, 0}, {PickMark::rect, 20, 20, 6, 6, 0, 0, 0, 0, 1, 1}}, 0, 0},
        {"a point on a rectangle's border is hit", {10, 10}, {{PickMark::rect, 0, 0, 10, 10, 0, 0, 0, 0, 0, 2}}, 0, 2},
        {"negative sizes span to the lower left", {5, 5}, {{PickMark::rect, 10, 10, -10, -10, 0, 0, 0, 0, 1, 0}}, 1, 0},
        {"a span in either direction", {5, 5}, {{PickMark::span, 10, 0, 0, 10, 0, 0, 0, 0, 0, 0}}, 0, 0},
        {"inside a frame's band", {1, 5},
         {{PickMark::frame, 0, 0, 10, 10, 2, 2, 8, 8, 1, 0}}, 1, 0},
        {"on the inner border of a frame: not hit", {2, 5},
         {{PickMark::frame, 0, 0, 10, 10, 2, 2, 8, 8, 1, 0}}, -1, -1},
        {"inside the frame's hole: not hit", {5, 5},
         {{PickMark::frame, 0, 0, 10, 10, 8, 8, 2, 2, 1, 0}}, -1, -1},
        {"a mark without element replaces the hit", {5, 5},
         {{PickMark::rect, 0, 0, 10, 10, 0, 0, 0, 0, 0, 0}, {PickMark::rect, 0, 0, 10, 10, 0, 0, 0, 0, -1, 3}}, -1, 3},
        {"a clip right of the point hides every mark", {5, 5},
         {{PickMark::rect, 0, 0, 10, 10, 0, 0, 0, 0, 0, 0}, {PickMark::frame, 0, 0, 10, 10, 8, 8, 9, 9, 1, 0}}, -1, -1,
         true, 6},
        {"a clip left of the point lets marks hit", {5, 5}, {{PickMark::rect, 0, 0, 10, 10, 0, 0, 0, 0, 0, 0}}, 0, 0,
         true, 4},
        {"a clip exactly at the point lets marks hit", {5, 5}, {{PickMark::rect, 0, 0, 10, 10, 0, 0, 0, 0, 0, 0}}, 0,
         0, true, 5},
    };
    for (const Row& row : rows) {
        RePicker picker;
        picker.setPickPoint(row.point);
        if (row.clipOn)
            picker.setClip(true, row.clipX);
        for (const PickMark& m : row.marks)
            mark(picker, m, elements);
        EXPECT_EQ(picker.hitElement, row.expectedElement >= 0 ? elements[row.expectedElement] : nullptr) << row.name;
        EXPECT_EQ(picker.hitPath.values[0], row.expectedPathLevel0) << row.name;
    }
}

TEST(RePicker, clipIsTakenInWorldCoordinatesAndCanBeSwitchedOff)
{
    MnText text;
    RePicker picker;
    picker.setPickPoint(GePoint2d(5, 5));
    picker.pushScale(0, 0, 2);  // local x 3 is world x 6, right of the point
    picker.setClip(true, 3);
    EXPECT_DOUBLE_EQ(picker.clipX, 6);
    picker.popTransform();
    picker.markRect(GePoint2d(0, 0), 10, 10, &text);
    EXPECT_EQ(picker.hitElement, nullptr);

    picker.setClip(false, 3);
    EXPECT_EQ(picker.clipX, 0.0);
    picker.markRect(GePoint2d(0, 0), 10, 10, &text);
    EXPECT_EQ(picker.hitElement, &text);
}

TEST(RePicker, localPickPointFollowsTheTransforms)
{
    RePicker picker;
    picker.setPickPoint(GePoint2d(10, 20));
    EXPECT_DOUBLE_EQ(picker.localPickPoint.x, 10);
    EXPECT_DOUBLE_EQ(picker.localPickPoint.y, 20);

    picker.pushScale(4, 6, 2);
    EXPECT_DOUBLE_EQ(picker.localPickPoint.x, 4 + (10 - 4) / 2.0);
    EXPECT_DOUBLE_EQ(picker.localPickPoint.y, 6 + (20 - 6) / 2.0);
    picker.pushYRotation(1, 30);
    EXPECT_DOUBLE_EQ(picker.localPickPoint.x, 7 - 1);
    picker.popTransform();
    picker.popTransform();
    EXPECT_DOUBLE_EQ(picker.localPickPoint.x, 10);
    EXPECT_DOUBLE_EQ(picker.localPickPoint.y, 20);

    // A mark in scaled local coordinates hits where it is drawn.
    MnText text;
    picker.pushScale(0, 0, 2);
    picker.markRect(GePoint2d(4.9, 9.9), 0.2, 0.2, &text);
    EXPECT_EQ(picker.hitElement, &text);
    picker.popTransform();
}

TEST(RePicker, drawsNothingAndSeesEverything)
{
    RePicker picker;
    picker.setView(0, 0, 10, 100, 100);
    EXPECT_TRUE(picker.isVisible(1000, 1000, 1, 1, 0));
    EXPECT_TRUE(picker.isVisibleX(-1000, 1, 0));
    EXPECT_TRUE(picker.begin(nullptr, 0, 0, 1, 1));
    EXPECT_TRUE(picker.render(nullptr, 0, 0, 10, 100, 100, 0, 0));

    std::unique_ptr<BcObject> made(RePicker::staticClass()->createObject());
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isKindOf(ReRenderer::staticClass()));
}
