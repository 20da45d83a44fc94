#include "EdCommandFixture.h"

#include "commands/EdMoveCommands.h"
#include "model/MnCodes.h"
#include "model/MnStaffChange.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class EdMoveCommandsTest : public EdCommandFixture
{
protected:
    // The staves or measures of a score as letters of where they stood
    // when the test began: "ABCD" is unmoved.
    static std::string order(const std::vector<MnElement*>& original, const std::function<MnElement*(int)>& now)
    {
        std::string out;
        for (size_t i = 0; i < original.size(); ++i) {
            MnElement* element = now(int(i));
            for (size_t j = 0; j < original.size(); ++j) {
                if (original[j] == element)
                    out += char('A' + j);
            }
        }
        return out;
    }

    static std::vector<MnElement*> staves(MnScore* score)
    {
        std::vector<MnElement*> out;
        for (int s = 0; s < score->staffCount(); ++s)
            out.push_back(score->staff(s));
        return out;
    }

    static std::vector<MnElement*> measures(MnStaff* staff)
    {
        std::vector<MnElement*> out;
        for (int m = 0; m < staff->measureCount(); ++m)
            out.push_back(staff->measure(m));
        return out;
    }
};

}

TEST_F(EdMoveCommandsTest, stavesMoveUnlessARunOfThemIsPressedAgainstTheEdge)
{
    struct Case
    {
        std::vector<int> selected; // 0-based
        bool up;
        const char* expected;
    };
    const Case cases[] = {
        {{0, 1}, true, "ABCD"},
        {{1, 3}, true, "BADC"},
        {{3, 1}, true, "BADC"},
        {{0, 2}, true, "ACBD"},
        {{2, 3}, false, "ABCD"},
        {{0, 2}, false, "BADC"},
        {{1, 3}, false, "ACBD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.expected << (c.up ? " up" : " down"));
        ASSERT_TRUE(document.OnNewDocument());
        MnScore* score = addScore(makeScore(4, 1));
        std::vector<MnElement*> original = staves(score);
        selection().clear();
        for (int s : c.selected)
            selection().add(score->staff(s));
        const auto before = bytes();
        c.up ? EdMoveCommands::cmdStaffMoveUp() : EdMoveCommands::cmdStaffMoveDown();
        EXPECT_EQ(order(original, [&](int i) { return score->staff(i); }), c.expected);
        const bool moved = std::string(c.expected) != "ABCD";
        EXPECT_EQ(steps(), moved ? 1 : 0);
        if (!moved) {
            EXPECT_TRUE(sameBytes(before, bytes()));
        }
        EXPECT_TRUE(context.hints.empty());
        EXPECT_TRUE(context.messages.empty());
    }
}

TEST_F(EdMoveCommandsTest, measuresOfEqualLengthMoveInTheirStaffOnly)
{
    struct Case
    {
        std::vector<int> selected; // 0-based, in staff 0
        bool left;
        const char* expected;
    };
    const Case cases[] = {
        {{0, 1, 2}, true, "ABCD"},
        {{1, 2}, true, "BCAD"},
        {{2, 1}, true, "BCAD"},
        {{0, 2}, true, "ACBD"},
        {{1, 2, 3}, false, "ABCD"},
        {{0, 1}, false, "CABD"},
        {{3, 1}, false, "ACBD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.expected << (c.left ? " left" : " right"));
        ASSERT_TRUE(document.OnNewDocument());
        MnScore* score = addScore(makeScore(2, 4));
        MnStaff* staff = score->staff(0);
        std::vector<MnElement*> original = measures(staff);
        std::vector<MnElement*> other = measures(score->staff(1));
        selection().clear();
        for (int m : c.selected)
            selection().add(staff->measure(m));
        c.left ? EdMoveCommands::cmdMeasureMoveLeft() : EdMoveCommands::cmdMeasureMoveRight();
        EXPECT_EQ(order(original, [&](int i) { return staff->measure(i); }), c.expected);
        EXPECT_EQ(order(other, [&](int i) { return score->staff(1)->measure(i); }), "ABCD");
        for (int m = 0; m < staff->measureCount(); ++m)
            EXPECT_EQ(staff->measure(m)->index(), m + 1);
        EXPECT_EQ(steps(), std::string(c.expected) != "ABCD" ? 1 : 0);
    }
}

// The bar lines and voltas belong to the column: a swap in one staff hands
// both places' attributes to every staff.
TEST_F(EdMoveCommandsTest, aSwapInOneStaffCopiesTheColumnAttributesToEveryStaff)
{
    MnScore* score = addScore(makeScore(3, 3));
    MnStaff* staff = score->staff(0);
    ASSERT_TRUE(staff->measure(0)->setBarline(MnBarlineDouble));
    ASSERT_TRUE(staff->measure(1)->setVoltaMask(1));
    ASSERT_TRUE(score->staff(2)->measure(1)->setBarline(MnBarlineFinal));
    std::vector<MnElement*> original = measures(staff);
    select({staff->measure(1)});
    EdMoveCommands::cmdMeasureMoveLeft();
    EXPECT_EQ(order(original, [&](int i) { return staff->measure(i); }), "BAC");
    for (int s = 1; s < 3; ++s) {
        SCOPED_TRACE(s);
        for (int m = 0; m < 2; ++m) {
            EXPECT_EQ(score->staff(s)->measure(m)->barline(), staff->measure(m)->barline());
            EXPECT_EQ(score->staff(s)->measure(m)->voltaMask(), staff->measure(m)->voltaMask());
        }
    }
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdMoveCommandsTest, measuresOfDifferentLengthsMoveInEveryStaffAndAreSelected)
{
    for (bool left : {true, false}) {
        SCOPED_TRACE(left ? "left" : "right");
        ASSERT_TRUE(document.OnNewDocument());
        MnScore* score = addScore(makeScore(2, 3));
        BcArray<int> beat;
        beat.add(3);
        // The middle measure loses a beat in every staff.
        ASSERT_TRUE(score->staff(0)->measure(1)->removeBeats(beat));
        restartHistory();
        std::vector<MnElement*> first = measures(score->staff(0));
        std::vector<MnElement*> second = measures(score->staff(1));
        select({score->staff(0)->measure(1)});
        left ? EdMoveCommands::cmdMeasureMoveLeft() : EdMoveCommands::cmdMeasureMoveRight();
        const char* expected = left ? "BAC" : "ACB";
        EXPECT_EQ(order(first, [&](int i) { return score->staff(0)->measure(i); }), expected);
        EXPECT_EQ(order(second, [&](int i) { return score->staff(1)->measure(i); }), expected);
        EXPECT_TRUE(selection().contains(second[1]));
        EXPECT_TRUE(selection().contains(first[1]));
        EXPECT_EQ(steps(), 1);
    }
}

TEST_F(EdMoveCommandsTest, aMeasureDoesNotMovePastATimeSignatureChange)
{
    MnScore* score = addScore(makeScore(1, 4));
    MnStaff* staff = score->staff(0);
    ASSERT_TRUE(staff->insertStaffChange(staff->measureStartTime(2)));
    ASSERT_TRUE(staff->change(0)->setTime(MnTime3_4));
    restartHistory();
    std::vector<MnElement*> original = measures(staff);
    const auto before = bytes();
    select({staff->measure(2)});
    EdMoveCommands::cmdMeasureMoveLeft();
    select({staff->measure(1)});
    EdMoveCommands::cmdMeasureMoveRight();
    EXPECT_EQ(order(original, [&](int i) { return staff->measure(i); }), std::string("ABCDE", original.size()));
    EXPECT_TRUE(sameBytes(before, bytes()));
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdMoveCommandsTest, chordsMoveWithinTheirVoiceUnlessPressedAgainstTheBarLine)
{
    struct Case
    {
        std::vector<int> selected; // quarter chords of voice 0, by index
        bool left;
        bool byNote;
        std::vector<int> expectedTimes; // of the selected chords, in quarters
    };
    const Case cases[] = {
        {{0}, true, false, {0}},
        {{0, 1}, true, false, {0, 1}},
        {{1}, true, true, {0}},
        {{1, 3}, true, false, {0, 2}},
        {{3}, false, false, {3}},
        {{2, 3}, false, true, {2, 3}},
        {{0, 2}, false, false, {1, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        ASSERT_TRUE(document.OnNewDocument());
        MnScore* score = addScore(makeScore(1, 1, 1));
        MnMeasure* measure = score->staff(0)->measure(0);
        // Different pitches tell the chords apart.
        for (int i = 0; i < 4; ++i)
            measure->voiceChords(0)[i]->note(0)->setStep(i);
        std::vector<MnChord*> chords;
        selection().clear();
        for (int i : c.selected) {
            MnChord* chord = measure->voiceChords(0)[i];
            chords.push_back(chord);
            selection().add(c.byNote ? static_cast<MnElement*>(chord->note(0)) : chord);
        }
        const auto before = bytes();
        c.left ? EdMoveCommands::cmdNoteMoveLeft() : EdMoveCommands::cmdNoteMoveRight();
        bool moved = false;
        for (size_t k = 0; k < chords.size(); ++k) {
            EXPECT_EQ(chords[k]->time(), c.expectedTimes[k] * 60480);
            moved |= chords[k]->time() != c.selected[k] * 60480;
        }
        EXPECT_EQ(steps(), moved ? 1 : 0);
        if (!moved) {
            EXPECT_TRUE(sameBytes(before, bytes()));
        }
        EXPECT_TRUE(context.hints.empty());
        EXPECT_TRUE(context.messages.empty());
    }
}
