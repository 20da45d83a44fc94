#include "foundation/BcArray.h"
#include "foundation/BcString.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <vector>

template <typename T>
static std::vector<T> contents(const BcArray<T>& array)
{
    return std::vector<T>(array.data(), array.data() + array.count());
}

TEST(BcArray, GrowsByTheStepThenDoubles)
{
    BcArray<int> array;
    std::vector<int> capacities;
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(array.add(i * 10), i);
        capacities.push_back(array.capacity());
    }
    EXPECT_EQ(capacities[0], 8);
    EXPECT_EQ(capacities[7], 8);
    EXPECT_EQ(capacities[8], 16);
    EXPECT_EQ(capacities[16], 32);
    EXPECT_EQ(capacities[32], 64);
    EXPECT_EQ(array.count(), 40);
    EXPECT_EQ(array[39], 390);

    BcArray<unsigned char> bytes(1024);
    bytes.add(7);
    EXPECT_EQ(bytes.capacity(), 1024);
}

TEST(BcArray, InsertAt)
{
    BcArray<int> array;
    array.add(1);
    array.add(2);
    array.insertAt(0, 9);
    EXPECT_EQ(contents(array), (std::vector<int>{9, 1, 2}));
    array.insertAt(array.count(), 5);
    EXPECT_EQ(contents(array), (std::vector<int>{9, 1, 2, 5}));
    array.insertAt(2, 7);
    EXPECT_EQ(contents(array), (std::vector<int>{9, 1, 7, 2, 5}));
}

TEST(BcArray, InsertingAnElementOfTheSameFullArray)
{
    // The block is replaced while the element is inserted; the element must
    // have been copied first.
    BcArray<BcString> names;
    const char* texts[] = {"a", "b", "c", "d", "e", "f", "g", "h"};
    for (const char* t : texts)
        names.add(BcString(t));
    ASSERT_EQ(names.count(), names.capacity());
    names.insertAt(0, names[7]);
    ASSERT_EQ(names.count(), 9);
    EXPECT_EQ(names[0], BcString("h"));
    EXPECT_EQ(names[1], BcString("a"));
    EXPECT_EQ(names[8], BcString("h"));

    BcArray<int> full;
    for (int i = 0; i < 8; ++i)
        full.add(i);
    full.add(full[3]);
    EXPECT_EQ(full[8], 3);
}

TEST(BcArray, SetCapacityAndSetSize)
{
    BcArray<int> array;
    array.add(1);
    array.add(2);
    array.add(3);
    array.setCapacity(1);
    EXPECT_EQ(contents(array), (std::vector<int>{1}));
    EXPECT_EQ(array.capacity(), 1);
    array.setCapacity(0);
    EXPECT_EQ(array.count(), 0);
    EXPECT_EQ(array.capacity(), 0);
    EXPECT_EQ(array.data(), nullptr);

    BcArray<unsigned char> bytes(1024);
    bytes.setSize(5);
    EXPECT_EQ(bytes.capacity(), 1024);
    EXPECT_EQ(bytes.count(), 5);
    bytes.setSize(2);
    EXPECT_EQ(bytes.capacity(), 1024);
    EXPECT_EQ(bytes.count(), 2);
    bytes.setSize(3000);
    EXPECT_EQ(bytes.capacity(), 3000); // grows by the larger of the gap and the step
}

TEST(BcArray, RemoveAndEmpty)
{
    BcArray<int> array;
    for (int i = 0; i < 5; ++i)
        array.add(i);
    array.removeAt(1);
    EXPECT_EQ(contents(array), (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(array.indexOf(3), 2);
    EXPECT_EQ(array.indexOf(1), -1);
    array.removeAll();
    EXPECT_EQ(array.count(), 0);
    EXPECT_EQ(array.capacity(), 8);
}

TEST(BcArray, CopiesAreIndependent)
{
    BcArray<BcString> a;
    a.add(BcString("x"));
    BcArray<BcString> b(a);
    b[0] = BcString("y");
    b.add(BcString("z"));
    EXPECT_EQ(a.count(), 1);
    EXPECT_EQ(a[0], BcString("x"));
    a = b;
    EXPECT_EQ(a.count(), 2);
    EXPECT_EQ(a[1], BcString("z"));
}
