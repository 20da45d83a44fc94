#include "EdCommandFixture.h"

#include "commands/EdVoiceCommands.h"
#include "model/MnTuplet.h"

#include <vector>

namespace {

class EdVoiceCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        score = addScore(makeScore(2, 2));
        measure = score->staff(0)->measure(0);
    }

    MnChord* chord(int voice, int index) { return measure->voiceChords(voice)[index]; }

    MnScore* score = nullptr;
    MnMeasure* measure = nullptr;
};

}

TEST_F(EdVoiceCommandsTest, hideRestHidesTheSelectedRestsAndDeselectsThem)
{
    chord(0, 0)->clearNotes();
    chord(0, 1)->clearNotes();
    MnNote* note = chord(0, 2)->note(0);
    select({chord(0, 0), note, chord(0, 1)});
    EdVoiceCommands::cmdHideRest();
    EXPECT_TRUE(chord(0, 0)->isHidden());
    EXPECT_TRUE(chord(0, 1)->isHidden());
    ASSERT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().element(0), note);
    EXPECT_EQ(steps(), 1);
    EXPECT_TRUE(context.hints.empty());

    select({chord(0, 0), chord(0, 1)});
    EdVoiceCommands::cmdHideRest();
    EXPECT_EQ(context.hints, std::vector<unsigned>{32971}) << "all hidden already";
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdVoiceCommandsTest, showAllRestsShowsEveryRestOfASelectedStaff)
{
    MnStaff* staff = score->staff(0);
    for (int m = 0; m < 2; ++m) {
        MnChord* rest = staff->measure(m)->voiceChords(0)[1];
        rest->clearNotes();
        rest->setHidden(true);
    }
    select({staff});
    EdVoiceCommands::cmdShowAllRests();
    EXPECT_FALSE(staff->measure(0)->voiceChords(0)[1]->isHidden());
    EXPECT_FALSE(staff->measure(1)->voiceChords(0)[1]->isHidden());
    EXPECT_EQ(steps(), 1);

    select({chord(0, 0)->note(0)});
    EdVoiceCommands::cmdShowAllRests();
    EXPECT_EQ(context.hints, std::vector<unsigned>{32970}) << "no chord, measure or staff";
}

TEST_F(EdVoiceCommandsTest, tupletCommandsHintWhenTheyFindNothingToDo)
{
    fillVoice(measure, 0, 0);
    ASSERT_TRUE(measure->makeTuplet(0, 0, 60480, 3, false));
    MnTuplet* tuplet = chord(0, 0)->tuplet();
    ASSERT_NE(tuplet, nullptr);
    restartHistory();

    select({tuplet});
    EdVoiceCommands::cmdShowAllTuplets();
    EXPECT_EQ(context.hints, std::vector<unsigned>{33088}) << "a tuplet alone is not handled";

    select({tuplet});
    EdVoiceCommands::cmdHideTuplet();
    EXPECT_TRUE(tuplet->isHidden());
    EXPECT_TRUE(selection().isEmpty());
    select({tuplet});
    EdVoiceCommands::cmdHideTuplet();
    EXPECT_EQ(context.hints, (std::vector<unsigned>{33088, 33087})) << "none newly hidden";

    select({measure});
    EdVoiceCommands::cmdShowAllTuplets();
    EXPECT_FALSE(tuplet->isHidden());
    EXPECT_EQ(steps(), 2);
}

TEST_F(EdVoiceCommandsTest, swapVoicesPassesOverASecondVoiceOfOneRest)
{
    fillVoice(measure, 1, 0, measure->length());
    const BcArray<unsigned char> before = bytes();
    select({measure});
    EdVoiceCommands::cmdSwapVoices();
    EXPECT_EQ(context.hints, std::vector<unsigned>{32973});
    EXPECT_TRUE(sameBytes(bytes(), before));
    EXPECT_EQ(steps(), 0);

    MnMeasure* other = score->staff(0)->measure(1);
    MnChord* half = other->voiceChords(1)[0];
    select({other});
    EdVoiceCommands::cmdSwapVoices();
    EXPECT_EQ(other->voiceChords(0)[0], half);
    EXPECT_EQ(half->voice(), 0);
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdVoiceCommandsTest, anEmptySelectionShowsEachCommandsHint)
{
    select({});
    EdVoiceCommands::cmdHideRest();
    EdVoiceCommands::cmdShowAllRests();
    EdVoiceCommands::cmdHideTuplet();
    EdVoiceCommands::cmdShowAllTuplets();
    EdVoiceCommands::cmdSwapVoices();
    EdVoiceCommands::cmdRemoveBeat();
    EXPECT_EQ(context.hints, (std::vector<unsigned>{32971, 32970, 33087, 33088, 32973, 32995}));
    EXPECT_EQ(steps(), 0);
}

// Each row fills voice 0 of the first measure (both staves) with chords of
// one value, selects some of them and removes their beats.
TEST_F(EdVoiceCommandsTest, removeBeatTakesTheBeatsUnderTheSelectedNotes)
{
    struct Case
    {
        const char* name;
        int value;
        std::vector<int> selected;  // chord indices in voice 0
        int beats, beatTicks;
        bool recorded;
    } cases[] = {
        {"a quarter on beat 2", 60480, {1}, 3, 60480, true},
        {"an eighth on the second half of beat 3 halves the measure", 30240, {5}, 7, 30240, true},
        {"every eighth: the halving is taken back", 30240, {0, 1, 2, 3, 4, 5, 6, 7}, 4, 60480, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(document.OnNewDocument());
        score = addScore(makeScore(2, 2));
        measure = score->staff(0)->measure(0);
        for (int s = 0; s < 2; ++s) {
            fillVoice(score->staff(s)->measure(0), 0, 1, c.value);
            fillVoice(score->staff(s)->measure(0), 1, 0, 241920);
        }
        restartHistory();
        const BcArray<unsigned char> before = bytes();
        selection().clear();
        for (int index : c.selected)
            selection().add(chord(0, index)->note(0));

        EdVoiceCommands::cmdRemoveBeat();
        for (int s = 0; s < 2; ++s) {
            EXPECT_EQ(score->staff(s)->measure(0)->beats(), c.beats) << s;
            EXPECT_EQ(score->staff(s)->measure(0)->beatTicks(), c.beatTicks) << s;
        }
        EXPECT_EQ(steps(), c.recorded ? 1 : 0);
        if (!c.recorded) {
            EXPECT_TRUE(sameBytes(bytes(), before));
        }
    }

    select({measure});
    EdVoiceCommands::cmdRemoveBeat();
    EXPECT_EQ(context.hints, std::vector<unsigned>{32995}) << "no chord";
}
