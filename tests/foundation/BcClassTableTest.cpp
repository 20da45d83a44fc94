#include "foundation/BcClassTable.h"

#include "foundation/BcClass.h"
#include "foundation/BcClassManager.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

static BcObject* makeObject()
{
    return new BcObject();
}

static BcObject* makeOtherObject()
{
    return new BcObject();
}

// A table of three rows: a root, a class built with its factory, and a class
// whose factory a higher layer installs later.
static const BcClassTable::Entry shapeRows[] = {
    {"Shape", "NULL", false, nullptr},
    {"Circle", "Shape", true, &makeObject},
    {"Window", "Shape", true, nullptr},
};

// Installs the shape rows for the test and puts the application's table back.
class BcClassTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < BcClassTable::count(); ++i)
            saved.push_back(BcClassTable::entry(i));
        BcClassTable::install(shapeRows, 3);
    }
    void TearDown() override { BcClassTable::install(saved.data(), int(saved.size())); }

    static std::vector<BcClassTable::Entry> installedRows()
    {
        std::vector<BcClassTable::Entry> rows;
        for (int i = 0; i < BcClassTable::count(); ++i)
            rows.push_back(BcClassTable::entry(i));
        return rows;
    }

    std::vector<BcClassTable::Entry> saved;
};

TEST_F(BcClassTableTest, TheInstalledRowsAreRegisteredInOrder)
{
    ASSERT_EQ(BcClassTable::count(), 3);
    EXPECT_STREQ(BcClassTable::entry(2).name, "Window");
    EXPECT_STREQ(BcClassTable::entry(3).name, "");
    EXPECT_STREQ(BcClassTable::entry(-1).name, "");

    BcClassManager local;
    BcClassTable::registerAll(local);
    local.linkClasses();
    ASSERT_EQ(local.classCount(), 3);
    EXPECT_EQ(local.classAt(0)->name(), BcString("Shape"));
    EXPECT_EQ(local.classAt(2)->name(), BcString("Window"));
    EXPECT_EQ(local.findClass("Circle")->baseClass(), local.findClass("Shape"));
    EXPECT_EQ(local.findClass("Window")->createObject(), nullptr);

    // Installing nothing empties the table.
    BcClassTable::install(nullptr, 5);
    EXPECT_EQ(BcClassTable::count(), 0);
    BcClassTable::install(shapeRows, -1);
    EXPECT_EQ(BcClassTable::count(), 0);
}

TEST_F(BcClassTableTest, SetFactoryFillsOnlyRowsThatHaveOne)
{
    struct Row
    {
        const char* what;
        const char* name;
        BcClassFactory factory;
        bool accepted;
    };
    const Row rows[] = {
        {"a row waiting for its factory", "Window", &makeObject, true},
        {"a row marked without a factory", "Shape", &makeObject, false},
        {"a name that no row has", "Door", &makeObject, false},
        {"a name that differs in case", "window", &makeOtherObject, false},
        {"no name", nullptr, &makeOtherObject, false},
        {"a built row's factory replaced", "Circle", &makeOtherObject, true},
        {"a factory taken away", "Circle", nullptr, true},
    };
    for (const Row& row : rows) {
        std::vector<BcClassTable::Entry> before = installedRows();
        EXPECT_EQ(BcClassTable::setFactory(row.name, row.factory), row.accepted) << row.what;
        std::vector<BcClassTable::Entry> after = installedRows();
        ASSERT_EQ(after.size(), before.size()) << row.what;
        for (size_t i = 0; i < after.size(); ++i) {
            bool changed = row.accepted && std::strcmp(after[i].name, row.name) == 0;
            EXPECT_STREQ(after[i].name, before[i].name) << row.what;
            EXPECT_EQ(after[i].hasFactory, before[i].hasFactory) << row.what;
            EXPECT_EQ(after[i].factory, changed ? row.factory : before[i].factory) << row.what;
        }
    }

    // The class keeps its place and its registry makes it.
    BcClassManager local;
    BcClassTable::registerAll(local);
    local.linkClasses();
    ASSERT_EQ(local.classCount(), 3);
    EXPECT_EQ(local.classAt(2)->name(), BcString("Window"));
    BcObject* window = local.classAt(2)->createObject();
    EXPECT_NE(window, nullptr);
    delete window;
    EXPECT_EQ(local.findClass("Circle")->createObject(), nullptr);
}
