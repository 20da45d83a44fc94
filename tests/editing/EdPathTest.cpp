#include "editing/EdNotePath.h"
#include "model/EdHorizontalGuideLine.h"
#include "model/EdPath.h"
#include "model/EdVerticalGuideLine.h"

#include "foundation/BcArray.h"
#include "foundation/BcClass.h"

#include <gtest/gtest.h>

TEST(EdPath, UnsetPathsAndValueSemantics)
{
    EXPECT_TRUE(EdPath::unset().isUnset());
    EXPECT_TRUE(EdPath().isUnset());
    EdPath line(EdPath::KindLine, 0, 2, 1, 4, 3, 1);
    EXPECT_FALSE(line.isUnset());
    EXPECT_EQ(line.kind(), 1);
    EXPECT_EQ(line.level(6), 1);
    EXPECT_EQ(line.level(7), -1);

    BcArray<EdPath> paths;
    paths.add(line);
    paths.add(EdPath::unset());
    EXPECT_EQ(paths[0], line);
    EXPECT_NE(paths[0], paths[1]);

    EXPECT_TRUE(EdNotePath::unset().isUnset());
    EdNotePath chord(0, 1, 2, 0, 3);
    EXPECT_FALSE(chord.isUnset());
    EXPECT_EQ(chord.noteStep, -1);
    EdNotePath copy;
    copy = chord;
    EXPECT_EQ(copy, chord);
}

TEST(EdPath, FactoriesMakeUnsetPaths)
{
    BcObject* path = EdPath::staticClass()->createObject();
    ASSERT_NE(path, nullptr);
    EXPECT_TRUE(static_cast<EdPath*>(path)->isUnset());
    delete path;
    BcObject* notePath = EdNotePath::staticClass()->createObject();
    ASSERT_NE(notePath, nullptr);
    EXPECT_TRUE(static_cast<EdNotePath*>(notePath)->isUnset());
    delete notePath;
}

TEST(EdGuideLine, KindsAreToldApartByTypeTests)
{
    EdHorizontalGuideLine horizontal(100.0, 5.0);
    EdVerticalGuideLine vertical(20.0, 2.0);
    EXPECT_FALSE(horizontal.visible);
    EXPECT_FALSE(horizontal.snapped);
    EXPECT_EQ(horizontal.position, 100.0);
    EXPECT_EQ(horizontal.tolerance, 5.0);
    EXPECT_TRUE(horizontal.isKindOf(EdGuideLine::staticClass()));
    EXPECT_TRUE(horizontal.isKindOf(EdHorizontalGuideLine::staticClass()));
    EXPECT_FALSE(horizontal.isKindOf(EdVerticalGuideLine::staticClass()));
    EXPECT_TRUE(vertical.isKindOf(EdVerticalGuideLine::staticClass()));
}
