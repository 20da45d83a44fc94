#include "EdCommandFixture.h"

#include "commands/EdCommandRows.h"
#include "commands/EdCommandTable.h"
#include "editing/EdClipboard.h"

#include <string>
#include <vector>

namespace {

class EdEditStatesTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        EdCommandTable::clear();
        EdCommandRows::install();
    }
};

// The ids that share each rule of the Edit, Measure and Note menus.
const std::vector<unsigned> selectionIds = {57635, 57634, 57632, 32990};
const std::vector<unsigned> scoreIds = {57642, 32975, 32976, 32977, 33096, 32978, 32981, 32986, 32987, 32982,
                                        32983, 32984, 32985, 33093, 33020, 32971, 32970, 32973, 32995, 33087,
                                        33088};

std::string states(const EdCommandInputs& inputs, const std::vector<unsigned>& ids)
{
    std::string out;
    for (unsigned id : ids) {
        EdCommandState state = EdCommandTable::state(id, inputs);
        out += state.enabled ? (state.checked ? 'C' : 'E') : (state.checked ? '?' : '-');
    }
    return out;
}

}

// E enabled, C enabled and checked, - greyed; one letter per id of the group.
TEST_F(EdEditStatesTest, statesFollowDocumentScoreSelectionClipboardAndHistory)
{
    const std::vector<unsigned> paste = {57637};
    const std::vector<unsigned> undoRedo = {57643, 57644};
    const std::vector<unsigned> toggles = {33069, 33070};
    const std::string allScore(scoreIds.size(), 'E');
    const std::string noScore(scoreIds.size(), '-');

    struct Case
    {
        const char* name;
        std::string selection, score, paste, undoRedo, toggles;
    };
    std::vector<Case> cases;
    auto take = [&](const char* name) {
        EdCommandInputs inputs = EdCommandTable::gather();
        cases.push_back({name, states(inputs, selectionIds), states(inputs, scoreIds), states(inputs, paste),
                         states(inputs, undoRedo), states(inputs, toggles)});
    };

    context.activeViewPresent = false;
    context.document = nullptr;
    take("no document");
    context.activate(&document);
    take("only the work information");
    MnScore* score = addScore(makeScore(1, 2));
    take("a score, nothing selected");
    select({score->staff(0)->measure(0)->voiceChords(0)[0]->note(0)});
    take("a selection");
    context.clipboard().copy(selection());
    select({});
    ASSERT_TRUE(document.pushUndoSnapshot());
    ASSERT_TRUE(document.pushUndoSnapshot());
    ASSERT_TRUE(document.stepUndo());
    take("a filled clipboard, one undo and one redo step");

    const Case expected[] = {
        {"no document", "----", noScore, "-", "--", "CE"},
        {"only the work information", "----", noScore, "-", "--", "CE"},
        {"a score, nothing selected", "----", allScore, "-", "--", "CE"},
        {"a selection", "EEEE", allScore, "-", "--", "CE"},
        {"a filled clipboard, one undo and one redo step", "----", allScore, "E", "EE", "CE"},
    };
    ASSERT_EQ(cases.size(), std::size(expected));
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(cases[i].selection, expected[i].selection) << expected[i].name;
        EXPECT_EQ(cases[i].score, expected[i].score) << expected[i].name;
        EXPECT_EQ(cases[i].paste, expected[i].paste) << expected[i].name;
        EXPECT_EQ(cases[i].undoRedo, expected[i].undoRedo) << expected[i].name;
        EXPECT_EQ(cases[i].toggles, expected[i].toggles) << expected[i].name;
    }
}

TEST_F(EdEditStatesTest, pasteNeedsADocumentAsWellAsAClipboard)
{
    MnScore* score = addScore(makeScore(1, 1));
    select({score->staff(0)});
    context.clipboard().copy(selection());
    ASSERT_EQ(context.clipboard().cloneCount(), 1);
    EXPECT_TRUE(EdCommandTable::state(57637, EdCommandTable::gather()).enabled);
    context.document = nullptr;
    EXPECT_FALSE(EdCommandTable::state(57637, EdCommandTable::gather()).enabled);
}

// The check marks show the switch as a drag would use it: inverted while
// the pending tool takes the modifier and the key is down.
TEST_F(EdEditStatesTest, switchesAreInvertedByTheirKeyWhileTheToolTakesIt)
{
    struct Case
    {
        const char* name;
        bool tool;
        unsigned modifiers;
        bool ctrl, shift;
        bool snapChecked, orthoChecked;
    } cases[] = {
        {"no tool, keys down", false, 3, true, true, true, false},
        {"tool without modifiers", true, 0, true, true, true, false},
        {"Ctrl tool, Ctrl down", true, 1, true, true, false, false},
        {"Ctrl tool, Ctrl up", true, 1, false, true, true, false},
        {"Shift tool, Shift down", true, 2, true, true, true, true},
        {"both, both down", true, 3, true, true, false, true},
        {"both, Shift down only", true, 3, false, true, true, true},
    };
    for (const Case& c : cases) {
        context.view.discardPendingTool();
        if (c.tool)
            context.view.pendingTool = new EdCommand;
        context.view.toolModifiers = c.modifiers;
        context.ctrl = c.ctrl;
        context.shift = c.shift;
        EdCommandInputs inputs = EdCommandTable::gather();
        EdCommandState snap = EdCommandTable::state(33069, inputs);
        EdCommandState ortho = EdCommandTable::state(33070, inputs);
        EXPECT_TRUE(snap.enabled && ortho.enabled) << c.name;
        EXPECT_EQ(snap.checked, c.snapChecked) << c.name;
        EXPECT_EQ(ortho.checked, c.orthoChecked) << c.name;
    }
}

// Toggling flips the switch and records nothing; twice restores it.
TEST_F(EdEditStatesTest, switchesFlipWithoutAnUndoStep)
{
    addScore(makeScore(1, 1));
    const EdContext::Toggles start = context.toggles();
    EdCommandInputs inputs = EdCommandTable::gather();
    ASSERT_TRUE(EdCommandTable::execute(33069, inputs));
    ASSERT_TRUE(EdCommandTable::execute(33070, inputs));
    EXPECT_NE(context.toggles().snapGuideLines, start.snapGuideLines);
    EXPECT_NE(context.toggles().orthoMode, start.orthoMode);
    EXPECT_NE(EdCommandTable::state(33069, EdCommandTable::gather()).checked, start.snapGuideLines);
    ASSERT_TRUE(EdCommandTable::execute(33069, inputs));
    ASSERT_TRUE(EdCommandTable::execute(33070, inputs));
    EXPECT_EQ(context.toggles().snapGuideLines, start.snapGuideLines);
    EXPECT_EQ(context.toggles().orthoMode, start.orthoMode);
    EXPECT_EQ(steps(), 0);
    EXPECT_FALSE(document.IsModified());
}
