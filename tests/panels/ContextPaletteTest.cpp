#include "panels/UiContextMenuList.h"
#include "panels/UiContextPaletteBuilder.h"

#include "common/EdFakeContext.h"
#include "editing/EdTestScores.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// A document whose main score has two staves of four 4/4 measures full of
// quarter notes (half notes in the second voice), shown in the fake view.
class ContextPaletteTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        context.activate(&document);
        score = makeScore(2, 4);
        ASSERT_TRUE(document.addWork(score));
    }

    MnMeasure* measure(int index, int staff = 0) { return score->staff(staff)->measure(index); }
    MnChord* chord(int measureIndex, int index) { return measure(measureIndex)->voiceChords(0)[index]; }

    std::vector<int> commandsFor(std::initializer_list<MnElement*> selected)
    {
        context.view.viewSelection.clear();
        for (MnElement* element : selected)
            context.view.viewSelection.add(element);
        EXPECT_TRUE(builder.rebuild(list));
        return commands();
    }

    std::vector<int> commands() const
    {
        std::vector<int> out;
        for (int i = 0; i < list.count(); ++i)
            out.push_back(list.item(i)->command);
        return out;
    }

    std::string textOf(int command) const
    {
        const int index = list.indexOfCommand(command);
        return index < 0 ? std::string() : std::string(list.item(index)->text.toNarrow(BcString::utf8CodePage));
    }

    static bool has(const std::vector<int>& commands, int command)
    {
        return std::find(commands.begin(), commands.end(), command) != commands.end();
    }

    EdFakeContext context;
    QuorvaneDocument document;
    MnScore* score = nullptr;
    UiContextPaletteBuilder builder;
    UiContextMenuList list;
};

TEST_F(ContextPaletteTest, theEntriesOfTheSelectedMusicInTheirOrder)
{
    struct Row {
        const char* what;
        std::function<std::vector<MnElement*>(ContextPaletteTest&)> selected;
        std::vector<int> commands;
    } rows[] = {
        {"nothing", [](ContextPaletteTest&) { return std::vector<MnElement*>{}; }, {}},
        {"one note mid-measure",
         [](ContextPaletteTest& t) { return std::vector<MnElement*>{t.chord(2, 1)->note(0)}; },
         {32890, 32891, 32817, 32893, 32854, 32932, 32852, 33082, 32995, 33015, 33092}},
        {"the first note of the staff",
         [](ContextPaletteTest& t) { return std::vector<MnElement*>{t.chord(0, 0)->note(0)}; },
         {32891, 32893, 32854, 32932, 32852, 33082, 32995, 33015, 33092}},
        {"a measure between two of its meter, and a chord in it",
         [](ContextPaletteTest& t) { return std::vector<MnElement*>{t.measure(1), t.chord(1, 1)}; },
         {32887, 32886, 32818, 32893, 32854, 32932, 32852, 33082, 32973, 32995, 33015}},
        {"the first measure of a staff",
         [](ContextPaletteTest& t) { return std::vector<MnElement*>{t.measure(0)}; },
         {32886, 32818, 32893, 32854, 32932, 32973, 33015}},
        {"a measure after a change of meter, with a chord of another",
         [](ContextPaletteTest& t) {
             EXPECT_TRUE(t.score->staff(0)->insertStaffChange(MnTicksPerWhole * 3));
             EXPECT_TRUE(t.score->staff(0)->change(0)->setTime(MnTime3_4));
             return std::vector<MnElement*>{t.measure(2), t.chord(1, 1)};
         },
         {32887, 32818, 32893, 32854, 32932, 32852, 33082, 32973, 32995, 33015}},
        {"a staff and its tablature",
         [](ContextPaletteTest& t) {
             MnStaff* staff = t.score->staff(0);
             staff->setTablature(new MnTablature(staff));
             return std::vector<MnElement*>{staff, staff->tablature()};
         },
         {32845, 32839, 32817, 33015}},
        {"two staves",
         [](ContextPaletteTest& t) { return std::vector<MnElement*>{t.score->staff(0), t.score->staff(1)}; },
         {32846, 32845, 32839, 32818, 33095, 33015}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(commandsFor({}), std::vector<int>{});
        const std::vector<MnElement*> selected = row.selected(*this);
        context.view.viewSelection.clear();
        for (MnElement* element : selected)
            context.view.viewSelection.add(element);
        ASSERT_TRUE(builder.rebuild(list));
        EXPECT_EQ(commands(), row.commands);
    }
    // The shared commands keep the staff provider's entries.
    commandsFor({score->staff(0)});
    EXPECT_EQ(textOf(32817), "Add Staff");
    commandsFor({chord(2, 1)->note(0)});
    EXPECT_EQ(textOf(32817), "Add Staff change");
    EXPECT_EQ(list.item(list.indexOfCommand(32817))->icon, 1);
    EXPECT_EQ(list.item(list.indexOfCommand(33092))->icon, 10);
}

TEST_F(ContextPaletteTest, restsAndTupletsHiddenOrShown)
{
    MnMeasure* first = measure(1);
    ASSERT_TRUE(first->setRest(0, 0, MnTicksQuarter));
    ASSERT_TRUE(first->setRest(0, MnTicksQuarter, MnTicksQuarter));
    chord(1, 1)->setHidden(true);
    EXPECT_EQ(commandsFor({chord(1, 0), chord(1, 1)}),
              (std::vector<int>{32890, 32891, 32971, 32970, 32893, 32854, 32932, 32852, 32995}));
    EXPECT_EQ(textOf(32971), "Hide rest");
    EXPECT_EQ(textOf(32995), "Remove beats");

    chord(1, 1)->setHidden(false);
    EXPECT_EQ(textOf(32971), "Hide rest") << "the list holds what the last rebuild made";
    commandsFor({chord(1, 0), chord(1, 1)});
    EXPECT_EQ(textOf(32971), "Hide rests");
    EXPECT_FALSE(has(commands(), 32970));

    // A hidden rest anywhere on a selected staff offers to show them.
    chord(1, 0)->setHidden(true);
    EXPECT_TRUE(has(commandsFor({score->staff(0)}), 32970));
    EXPECT_FALSE(has(commandsFor({score->staff(1)}), 32970));

    // A tuplet selected offers to hide it; hidden, its staff offers to show
    // all, and its chords no longer offer to become one.
    ASSERT_TRUE(measure(3)->makeTuplet(0, 0, MnTicksHalf, 3, false));
    MnTuplet* tuplet = chord(3, 0)->tuplet();
    ASSERT_NE(tuplet, nullptr);
    EXPECT_TRUE(has(commandsFor({tuplet}), 33087));
    EXPECT_EQ(textOf(33087), "Hide Tuplet");
    EXPECT_FALSE(has(commandsFor({chord(3, 1)}), 32852));
    tuplet->setHidden(true);
    EXPECT_TRUE(has(commandsFor({score->staff(0)}), 33088));
    EXPECT_FALSE(has(commandsFor({score->staff(1)}), 33088));
}

TEST_F(ContextPaletteTest, worksOfferMainScoreWrappingPagesAndRepeats)
{
    MnScore* free = makeScore(1, 2);
    free->moveTo(GePoint2d(0.0, -400.0));
    ASSERT_TRUE(free->staff(0)->measure(0)->setBarline(MnBarlineEndRepeat));
    ASSERT_TRUE(document.addWork(free));
    ASSERT_EQ(document.works().indexOf(score), document.mainScoreIndex());
    EXPECT_EQ(commandsFor({free}), (std::vector<int>{32881, 32819, 33086, 33015}));
    EXPECT_EQ(textOf(32881), "Set as main score");
    EXPECT_EQ(commandsFor({score}), (std::vector<int>{32819, 33015}));

    MnSheetMusic* sheet = new MnSheetMusic;
    sheet->setScore(makeScore(1, 120));
    sheet->moveTo(GePoint2d(1000.0, 0.0));
    ASSERT_TRUE(sheet->score()->staff(0)->measure(3)->setBarline(MnBarlineEndRepeat));
    ASSERT_TRUE(document.addWork(sheet));
    ASSERT_GT(sheet->pageCount(), 2);
    struct Row {
        int presentation;
        bool previous, next, unfold;
    } rows[] = {{0, false, false, false}, {1, false, true, true}};
    for (const Row& row : rows) {
        sheet->setPresentation(row.presentation);
        const std::vector<int> offered = commandsFor({sheet});
        EXPECT_EQ(has(offered, 32874), row.previous) << row.presentation;
        EXPECT_EQ(has(offered, 32873), row.next) << row.presentation;
        EXPECT_EQ(has(offered, 33086), row.unfold) << row.presentation;
        EXPECT_TRUE(has(offered, 32840)) << "Add Credit";
        EXPECT_FALSE(has(offered, 32819)) << "already sheet music";
    }
    ASSERT_TRUE(sheet->nextSpread());
    const std::vector<int> turned = commandsFor({sheet});
    EXPECT_TRUE(has(turned, 32874));
}

TEST_F(ContextPaletteTest, theHighlightKeepsItsCommandAcrossARebuild)
{
    MnNote* note = chord(2, 1)->note(0);
    commandsFor({note});
    const int dynamic = list.indexOfCommand(32854);
    ASSERT_GE(dynamic, 0);
    list.setHovered(dynamic);
    // A measure selected too: measure entries come before it.
    commandsFor({note, measure(2)});
    EXPECT_EQ(list.hovered(), dynamic);
    EXPECT_EQ(list.item(dynamic)->command, 32854);
    EXPECT_EQ(list.count(), int(commands().size()));

    // Fewer entries than the highlighted index: no highlight.
    list.setHovered(list.count() - 1);
    commandsFor({});
    EXPECT_EQ(list.hovered(), -1);
}

TEST_F(ContextPaletteTest, nothingIsRebuiltWhileAToolRuns)
{
    commandsFor({chord(2, 1)->note(0)});
    const std::vector<int> before = commands();
    context.view.pendingTool = new EdCommand;
    context.view.viewSelection.clear();
    context.view.viewSelection.add(score->staff(1));
    EXPECT_FALSE(builder.rebuild(list));
    EXPECT_EQ(commands(), before);
    ASSERT_TRUE(context.view.discardPendingTool());
    EXPECT_TRUE(builder.rebuild(list));
    EXPECT_NE(commands(), before);
}

}  // namespace
