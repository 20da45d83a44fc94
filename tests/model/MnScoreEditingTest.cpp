#include "model/MnScore.h"

#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

typedef std::vector<std::pair<int, int>> Ranges;

// A score of count staves whose parts are named "0", "1", ... so that the
// order of the staves after an edit can be read from their parts.
static MnScore* namedScore(int count, const Ranges& groups)
{
    MnScore* score = new MnScore;
    while (score->staffCount() < count)
        score->insertStaff(-1);
    for (int i = 0; i < count; ++i)
        score->part(i)->setName(BcString(i));
    for (const auto& group : groups)
        score->addPartGroup(group.first, group.second);
    return score;
}

static Ranges rangesOf(const MnScore& score)
{
    Ranges ranges;
    for (int i = 0; i < score.partGroupCount(); ++i)
        ranges.push_back({score.partGroup(i)->firstStaff(), score.partGroup(i)->staffCount()});
    return ranges;
}

// The original numbers of the staves, top to bottom ("n" for a new one).
static std::string orderOf(const MnScore& score)
{
    std::string order;
    for (int i = 0; i < score.staffCount(); ++i) {
        const BcString& name = score.part(i)->name();
        order += name.isEmpty() ? "n" : name.toNarrow(BcString::utf8CodePage);
    }
    return order;
}

static void expectInStep(const MnScore& score, const char* what)
{
    for (int i = 0; i < score.staffCount(); ++i) {
        EXPECT_EQ(score.staff(i)->index(), i) << what;
        EXPECT_EQ(score.part(i)->staffIndex(), i) << what;
    }
}

TEST(MnScoreEditing, StavesPartsAndGroups)
{
    struct Row
    {
        const char* what;
        int staves;
        Ranges groups;
        std::function<bool(MnScore&)> edit;
        bool result;
        std::string order;
        Ranges after;
    };
    const Row rows[] = {
        {"insert at 1 inside a group widens it", 3, {{0, 3}},
         [](MnScore& s) { return s.insertStaff(1) != nullptr; }, true, "0n12", {{0, 4}}},
        {"insert at 0 moves the group down", 3, {{0, 3}},
         [](MnScore& s) { return s.insertStaff(0) != nullptr; }, true, "n012", {{1, 3}}},
        {"insert past the end appends", 2, {{0, 2}},
         [](MnScore& s) { return s.insertStaff(7) != nullptr; }, true, "01n", {{0, 2}}},
        {"remove from a group of two deletes it", 3, {{0, 2}},
         [](MnScore& s) { return s.removeStaff(1); }, true, "02", {}},
        {"remove from a group of three shrinks it", 4, {{0, 3}},
         [](MnScore& s) { return s.removeStaff(2); }, true, "013", {{0, 2}}},
        {"a shrunk group equal to another goes", 4, {{0, 2}, {0, 3}},
         [](MnScore& s) { return s.removeStaff(2); }, true, "013", {{0, 2}}},
        {"remove below a group keeps it", 3, {{0, 2}},
         [](MnScore& s) { return s.removeStaff(2); }, true, "01", {{0, 2}}},
        {"remove above a group moves it up", 4, {{2, 2}},
         [](MnScore& s) { return s.removeStaff(0); }, true, "123", {{1, 2}}},
        {"the last staff stays", 1, {},
         [](MnScore& s) { return s.removeStaff(0); }, false, "0", {}},
        {"an index past the staves removes nothing", 3, {{0, 2}},
         [](MnScore& s) { return s.removeStaff(3); }, false, "012", {{0, 2}}},
        {"a negative index removes nothing", 3, {{1, 2}},
         [](MnScore& s) { return s.removeStaff(-1); }, false, "012", {{1, 2}}},
        {"move up past a whole group", 3, {{0, 2}},
         [](MnScore& s) { return s.moveStaffUp(2); }, true, "201", {{1, 2}}},
        {"move up inside a group", 3, {{0, 3}},
         [](MnScore& s) { return s.moveStaffUp(2); }, true, "021", {{0, 3}}},
        {"move up out of its group is refused", 3, {{1, 2}},
         [](MnScore& s) { return s.moveStaffUp(1); }, false, "012", {{1, 2}}},
        {"the top staff cannot move up", 2, {},
         [](MnScore& s) { return s.moveStaffUp(0); }, false, "01", {}},
        {"move up past a nested group inside the outer one", 4, {{0, 4}, {1, 2}},
         [](MnScore& s) { return s.moveStaffUp(3); }, true, "0312", {{0, 4}, {2, 2}}},
        {"move down past a whole group", 3, {{1, 2}},
         [](MnScore& s) { return s.moveStaffDown(0); }, true, "120", {{0, 2}}},
        {"move down inside a group", 3, {{0, 3}},
         [](MnScore& s) { return s.moveStaffDown(0); }, true, "102", {{0, 3}}},
        {"move down out of its group is refused", 3, {{0, 2}},
         [](MnScore& s) { return s.moveStaffDown(1); }, false, "012", {{0, 2}}},
        {"the bottom staff cannot move down", 2, {},
         [](MnScore& s) { return s.moveStaffDown(1); }, false, "01", {}},
        {"a group moves down as one over the staff above it", 4, {{2, 2}},
         [](MnScore& s) { return s.moveStaffDown(1); }, true, "0231", {{1, 2}}},
    };
    for (const Row& row : rows) {
        MnScore* score = namedScore(row.staves, row.groups);
        EXPECT_EQ(row.edit(*score), row.result) << row.what;
        EXPECT_EQ(orderOf(*score), row.order) << row.what;
        EXPECT_EQ(rangesOf(*score), row.after) << row.what;
        expectInStep(*score, row.what);
        delete score;
    }
}

TEST(MnScoreEditing, GroupingRanges)
{
    struct Row
    {
        const char* what;
        Ranges groups;
        int first;
        int count;
        bool allowed;
    };
    const Row rows[] = {
        {"crossing a group", {{0, 2}}, 1, 2, false},
        {"around a group", {{0, 2}}, 0, 3, true},
        {"the same range", {{0, 2}}, 0, 2, false},
        {"inside a group, sharing its last staff", {{0, 3}}, 1, 2, true},
        {"past the staves", {}, 2, 2, false},
        {"no staves", {}, 0, 0, false},
        {"one staff without a tablature", {}, 1, 1, false},
    };
    for (const Row& row : rows) {
        MnScore* score = namedScore(3, row.groups);
        EXPECT_EQ(score->canGroupStaves(row.first, row.count), row.allowed) << row.what;
        delete score;
    }

    // A staff with a tablature can be bracketed with it, once.
    MnScore* score = namedScore(3, {});
    score->staff(1)->setTablature(new MnTablature(score->staff(1)));
    EXPECT_TRUE(score->canGroupStaves(1, 1));
    ASSERT_NE(score->addPartGroup(1, 1), nullptr);
    EXPECT_FALSE(score->canGroupStaves(1, 1));
    delete score;
}

TEST(MnScoreEditing, InnermostAndNestedGroups)
{
    MnScore* score = namedScore(5, {{0, 5}, {0, 3}, {1, 2}, {3, 2}});
    MnPartGroup* all = score->partGroup(0);
    MnPartGroup* upper = score->partGroup(1);
    MnPartGroup* middle = score->partGroup(2);
    MnPartGroup* lower = score->partGroup(3);
    EXPECT_EQ(score->innermostPartGroup(0), upper);
    EXPECT_EQ(score->innermostPartGroup(2), middle);
    EXPECT_EQ(score->innermostPartGroup(4), lower);
    // Brackets nest: the widest group inside the parent that holds the staff.
    EXPECT_EQ(score->childPartGroup(2, nullptr), all);
    EXPECT_EQ(score->childPartGroup(2, all), upper);
    EXPECT_EQ(score->childPartGroup(2, upper), middle);
    EXPECT_EQ(score->childPartGroup(2, middle), nullptr);
    EXPECT_EQ(score->childPartGroup(0, upper), nullptr);
    EXPECT_EQ(score->childPartGroup(4, all), lower);
    delete score;

    MnScore* ungrouped = namedScore(2, {});
    EXPECT_EQ(ungrouped->innermostPartGroup(0), nullptr);
    EXPECT_EQ(ungrouped->childPartGroup(0, nullptr), nullptr);
    delete ungrouped;
}

TEST(MnScoreEditing, AStaffTakesTheBracketOfItsTablatureAlong)
{
    // A one-staff group only brackets a staff with its tablature: it does
    // not hold the staff in place, and it travels with it.
    MnScore* score = namedScore(3, {});
    MnStaff* guitar = score->staff(2);
    guitar->setTablature(new MnTablature(guitar));
    ASSERT_NE(score->addPartGroup(2, 1), nullptr);
    score->staff(1)->setTablature(new MnTablature(score->staff(1)));
    ASSERT_NE(score->addPartGroup(1, 1), nullptr);

    EXPECT_TRUE(score->moveStaffUp(2));
    EXPECT_EQ(orderOf(*score), "021");
    EXPECT_EQ(rangesOf(*score), (Ranges{{1, 1}, {2, 1}}));
    EXPECT_EQ(score->staff(1), guitar);
    EXPECT_EQ(score->innermostPartGroup(1)->firstStaff(), 1);

    EXPECT_TRUE(score->moveStaffDown(1));
    EXPECT_EQ(orderOf(*score), "012");
    EXPECT_EQ(rangesOf(*score), (Ranges{{2, 1}, {1, 1}}));
    delete score;
}
