#include "commands/EdCommandTable.h"

#include "common/EdFakeContext.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnScore.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned> ran;

void record(unsigned id)
{
    ran.push_back(id);
}

EdCommandInputs inputsOf(bool document, bool score, bool modified)
{
    EdCommandInputs inputs;
    inputs.document = document;
    inputs.score = score;
    inputs.modified = modified;
    return inputs;
}

EdCommandState checkedWhenModified(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.document, inputs.modified};
}

class EdCommandTableTest : public ::testing::Test
{
protected:
    EdCommandTableTest()
    {
        EdCommandTable::clear();
        ran.clear();
    }
    ~EdCommandTableTest() override { EdCommandTable::clear(); }
};

}

TEST_F(EdCommandTableTest, runsOnlyEnabledCommandsThatHaveARow)
{
    EdCommandTable::add({100, &record, nullptr});
    EdCommandTable::add({101, &record, &EdCommandTable::whenDocument});
    EdCommandInputs none;
    EdCommandInputs withDocument;
    withDocument.document = true;

    EXPECT_TRUE(EdCommandTable::execute(100, none));
    EXPECT_FALSE(EdCommandTable::execute(101, none));  // greyed: refused whatever sent it
    EXPECT_TRUE(EdCommandTable::execute(101, withDocument));
    EXPECT_FALSE(EdCommandTable::execute(102, withDocument));  // no row
    EXPECT_EQ(ran, (std::vector<unsigned>{100, 101}));
}

TEST_F(EdCommandTableTest, statesComeFromTheRowsStateFunction)
{
    EdCommandTable::add({1, &record, nullptr});
    EdCommandTable::add({2, &record, &EdCommandTable::whenScore});
    EdCommandTable::add({3, &record, &checkedWhenModified});
    EXPECT_FALSE(EdCommandTable::add({4, nullptr, nullptr}));

    struct Case
    {
        const char* name;
        EdCommandInputs inputs;
        unsigned id;
        bool enabled;
        bool checked;
    } cases[] = {
        {"a row without a state function is always enabled", {}, 1, true, false},
        {"a command without a row is greyed", {}, 4, false, false},
        {"score commands are greyed without a score", inputsOf(true, false, false), 2, false, false},
        {"and enabled with one", inputsOf(true, true, false), 2, true, false},
        {"a state function may check its item", inputsOf(true, false, true), 3, true, true},
    };
    for (const Case& c : cases) {
        EdCommandState state = EdCommandTable::state(c.id, c.inputs);
        EXPECT_EQ(state.enabled, c.enabled) << c.name;
        EXPECT_EQ(state.checked, c.checked) << c.name;
    }
}

TEST_F(EdCommandTableTest, aRangeSharesItsHandlerAndALaterRowReplaces)
{
    EdCommandTable::addRange(10, 13, &record, nullptr);
    EdCommandTable::add({12, &record, &EdCommandTable::whenDocument});
    EdCommandInputs none;
    for (unsigned id = 10; id <= 13; ++id)
        EdCommandTable::execute(id, none);
    EXPECT_EQ(ran, (std::vector<unsigned>{10, 11, 13}));
    EXPECT_TRUE(EdCommandTable::remove(10));
    EXPECT_EQ(EdCommandTable::find(10), nullptr);
    EXPECT_FALSE(EdCommandTable::remove(10));
}

TEST_F(EdCommandTableTest, gatherReadsTheActiveDocument)
{
    EdFakeContext context;
    EXPECT_FALSE(EdCommandTable::gather().document);

    QuorvaneDocument document;
    ASSERT_TRUE(document.OnNewDocument());
    context.activate(&document);
    EdCommandInputs inputs = EdCommandTable::gather();
    EXPECT_TRUE(inputs.document);
    EXPECT_FALSE(inputs.score);  // only the work information
    EXPECT_FALSE(inputs.modified);

    ASSERT_TRUE(document.addWork(new MnScore));
    document.SetModifiedFlag(true);
    inputs = EdCommandTable::gather();
    EXPECT_TRUE(inputs.score);
    EXPECT_TRUE(inputs.modified);
}
