#include "editing/EdElementList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

// The list never looks behind its pointers, so plain addresses stand in for
// elements.
static MnElement* fakeElement(int n)
{
    static char storage[5000];
    return reinterpret_cast<MnElement*>(&storage[n]);
}

static std::vector<MnElement*> contentOf(const EdElementList& list)
{
    std::vector<MnElement*> out;
    for (int i = 0; i < list.count(); ++i)
        out.push_back(list.at(i));
    return out;
}

TEST(EdElementList, KeepsInsertionOrderWithoutDuplicates)
{
    EdElementList list;
    EXPECT_TRUE(list.append(fakeElement(1)));
    EXPECT_TRUE(list.append(fakeElement(2)));
    EXPECT_TRUE(list.append(fakeElement(3)));
    EXPECT_FALSE(list.append(fakeElement(2)));
    EXPECT_FALSE(list.append(nullptr));
    EXPECT_TRUE(list.remove(fakeElement(2)));
    EXPECT_FALSE(list.remove(fakeElement(2)));
    EXPECT_EQ(contentOf(list), std::vector<MnElement*>({fakeElement(1), fakeElement(3)}));
    EXPECT_EQ(list.indexOf(fakeElement(3)), 1);
    EXPECT_EQ(list.at(2), nullptr);
    EXPECT_EQ(list.at(-1), nullptr);
}

// Removals in random order, interleaved with reads, appends, copies and
// clears, against a plain vector: large lists take the indexed path with
// holes, small ones the scanning path.
TEST(EdElementList, AgreesWithAPlainListUnderRandomEdits)
{
    for (int size : {5, 16, 17, 300, 3000}) {
        std::mt19937 random(static_cast<unsigned>(size));
        EdElementList list;
        std::vector<MnElement*> expected;
        for (int i = 0; i < size; ++i) {
            list.append(fakeElement(i));
            expected.push_back(fakeElement(i));
        }
        for (int step = 0; step < 4 * size; ++step) {
            int action = static_cast<int>(random() % 10);
            MnElement* element = fakeElement(static_cast<int>(random() % (size + 10)));
            auto found = std::find(expected.begin(), expected.end(), element);
            if (action < 6) {
                ASSERT_EQ(list.remove(element), found != expected.end()) << size << " " << step;
                if (found != expected.end())
                    expected.erase(found);
            } else if (action < 8) {
                ASSERT_EQ(list.append(element), found == expected.end()) << size << " " << step;
                if (found == expected.end())
                    expected.push_back(element);
            } else if (action < 9) {
                ASSERT_EQ(list.count(), static_cast<int>(expected.size()));
                if (!expected.empty()) {
                    int k = static_cast<int>(random() % expected.size());
                    ASSERT_EQ(list.at(k), expected[k]) << size << " " << step;
                    ASSERT_EQ(list.indexOf(expected[k]), k) << size << " " << step;
                }
                if (step % 7 == 0) {
                    ASSERT_EQ(contentOf(list), expected) << size << " " << step;
                }
            } else {
                EdElementList copy(list);
                list = copy;
                ASSERT_EQ(list.contains(element), found != expected.end());
            }
        }
        EXPECT_EQ(contentOf(list), expected) << size;
        list.clear();
        EXPECT_EQ(list.count(), 0);
        EXPECT_FALSE(list.contains(expected.empty() ? fakeElement(0) : expected.front()));
    }
}

// Removals from the middle and the end in turn, as when a parent and the
// child selected before it die together, read between each pair.
TEST(EdElementList, AlternatingMiddleAndEndRemovalsKeepTheOrder)
{
    EdElementList list;
    std::vector<MnElement*> expected;
    for (int i = 0; i < 1000; ++i) {
        list.append(fakeElement(i));
        expected.push_back(fakeElement(i));
    }
    while (expected.size() > 2) {
        MnElement* middle = expected[expected.size() / 2];
        MnElement* last = expected.back();
        ASSERT_TRUE(list.remove(middle));
        ASSERT_TRUE(list.remove(last));
        expected.erase(expected.begin() + static_cast<long>(expected.size() / 2));
        expected.pop_back();
        ASSERT_EQ(list.at(0), expected.front());
        ASSERT_EQ(list.at(list.count() - 1), expected.back());
        ASSERT_EQ(list.indexOf(expected.back()), static_cast<int>(expected.size()) - 1);
    }
    EXPECT_EQ(contentOf(list), expected);
}

TEST(EdElementList, RemovingEveryElementFromTheFrontLeavesItEmpty)
{
    EdElementList list;
    for (int i = 0; i < 2000; ++i)
        list.append(fakeElement(i));
    for (int i = 0; i < 1999; ++i)
        ASSERT_TRUE(list.remove(fakeElement(i)));
    EXPECT_EQ(contentOf(list), std::vector<MnElement*>({fakeElement(1999)}));
    EXPECT_TRUE(list.remove(fakeElement(1999)));
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.append(fakeElement(5)));
    EXPECT_EQ(list.indexOf(fakeElement(5)), 0);
}
