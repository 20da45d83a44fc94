#include "EdCommandFixture.h"

#include "commands/EdDeleteCommand.h"
#include "model/MnCodes.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaffChange.h"

#include <functional>
#include <memory>

namespace {

class EdDeleteCommandTest : public EdCommandFixture
{
};

MnChord* chordOf(MnScore* score, int measure, int index)
{
    return score->staff(0)->measure(measure)->voiceChords(0)[index];
}

}

// Each row builds its selection in a fresh one-staff score of two measures,
// deletes, and checks what stays selected and whether a step was recorded.
TEST_F(EdDeleteCommandTest, whatEachDeletionLeavesSelected)
{
    struct Case
    {
        const char* name;
        // Selects and answers the elements expected selected afterwards.
        std::function<std::vector<MnElement*>(MnScore*)> select;
        bool recorded;
        bool scoreGoes;
    };
    auto noteOf = [](MnChord* chord) { return chord->note(0); };
    const Case cases[] = {
        {"a chord's only note leaves its rest selected",
         [&](MnScore* score) {
             MnChord* chord = chordOf(score, 0, 1);
             select({noteOf(chord)});
             return std::vector<MnElement*>{chord};
         },
         true, false},
        {"a grace chord's only note selects the grace chord before",
         [&](MnScore* score) {
             addGraceChords(score->staff(0)->measure(0), 0, 1, 2);
             select({noteOf(chordOf(score, 0, 2))});
             return std::vector<MnElement*>{noteOf(chordOf(score, 0, 1))};
         },
         true, false},
        {"the first grace chord selects the chord after",
         [&](MnScore* score) {
             addGraceChords(score->staff(0)->measure(0), 0, 1, 2);
             select({noteOf(chordOf(score, 0, 1))});
             return std::vector<MnElement*>{noteOf(chordOf(score, 0, 2))};
         },
         true, false},
        {"a plain rest stays selected",
         [&](MnScore* score) {
             MnChord* rest = chordOf(score, 0, 0);
             rest->clearNotes();
             select({rest});
             return std::vector<MnElement*>{rest};
         },
         false, false},
        {"the only staff of a free score takes the score work",
         [&](MnScore* score) {
             select({score->staff(0)});
             return std::vector<MnElement*>{};
         },
         true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(document.OnNewDocument());
        MnScore* score = addScore(makeScore(1, 2));
        std::vector<MnElement*> expected = c.select(score);
        restartHistory();
        context.noteInput().inputDuration = 60480;

        EdDeleteCommand::cmdDelete();
        ASSERT_EQ(selection().count(), int(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(selection().element(int(i)), expected[i]);
        EXPECT_EQ(steps(), c.recorded ? 1 : 0);
        EXPECT_EQ(context.noteInput().inputDuration, c.recorded ? 0 : 60480);
        EXPECT_EQ(document.works().count(), c.scoreGoes ? 1 : 2);
    }
}

TEST_F(EdDeleteCommandTest, theOnlyStaffOfASheetsScoreStaysSelected)
{
    MnSheetMusic* sheet = new MnSheetMusic();
    sheet->setScore(makeScore(1, 1));
    ASSERT_TRUE(document.addWork(sheet));
    restartHistory();
    MnStaff* staff = sheet->score()->staff(0);
    select({staff});
    EdDeleteCommand::cmdDelete();
    ASSERT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().element(0), staff);
    EXPECT_EQ(steps(), 0);
    EXPECT_EQ(sheet->score()->staffCount(), 1);
}

// Re-barring remakes the measures after a time change, so a measure behind
// one, or the measure that starts at it, is deleted before the change,
// whichever was selected first.
TEST_F(EdDeleteCommandTest, aMeasureGoesBeforeATimeChangeInEitherOrder)
{
    auto build = [](MnScore* score) {
        MnStaff* staff = score->staff(0);
        EXPECT_TRUE(staff->insertStaffChange(staff->measureStartTime(2)));
        EXPECT_TRUE(staff->change(0)->setTime(MnTime3_4));
    };
    for (int index : {2, 3}) {
        std::unique_ptr<MnScore> model(makeScore(1, 4));
        build(model.get());
        ASSERT_TRUE(model->staff(0)->removeChild(model->staff(0)->measure(index)));
        // The measure at the change may take the change with it.
        if (model->staff(0)->changeCount() > 0)
            ASSERT_TRUE(model->staff(0)->removeChild(model->staff(0)->change(0)));
        const int expectedMeasures = model->staff(0)->measureCount();
        const int expectedTicks = model->staff(0)->totalTicks();

        for (bool changeFirst : {false, true}) {
            SCOPED_TRACE(testing::Message() << "measure " << index << (changeFirst ? ", change first" : ""));
            ASSERT_TRUE(document.OnNewDocument());
            MnScore* score = addScore(makeScore(1, 4));
            build(score);
            restartHistory();
            MnStaff* staff = score->staff(0);
            MnElement* change = staff->change(0);
            MnElement* measure = staff->measure(index);
            if (changeFirst)
                select({change, measure});
            else
                select({measure, change});
            EdDeleteCommand::cmdDelete();
            EXPECT_TRUE(selection().isEmpty());
            EXPECT_EQ(staff->changeCount(), 0);
            EXPECT_EQ(staff->measureCount(), expectedMeasures);
            EXPECT_EQ(staff->totalTicks(), expectedTicks);
            EXPECT_EQ(steps(), 1);
        }
    }
}

TEST_F(EdDeleteCommandTest, focusOnAVoiceOfTheProjectBrowserDeletesThatVoiceOnly)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnMeasure* measure = score->staff(0)->measure(0);
    MnNote* note = chordOf(score, 0, 0)->note(0);
    select({note});
    context.browserFocus = true;
    context.browserCaretOnVoice = true;
    context.deleteVoice = [&] {
        fillVoice(measure, 1, 0, measure->length());
        return true;
    };
    EdDeleteCommand::cmdDelete();
    EXPECT_TRUE(measure->isMeasureRest(1));
    ASSERT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().element(0), note);
    EXPECT_EQ(measure->voiceChords(0)[0]->note(0), note);

    context.browserCaretOnVoice = false;
    EdDeleteCommand::cmdDelete();
    EXPECT_TRUE(measure->voiceChords(0)[0]->isRest()) << "another item: the selection goes";
}

// A measure leaves every staff, so the player's position behind it moves
// back one measure in whichever staff it is, and the player is told.
TEST_F(EdDeleteCommandTest, aPlayingPositionBehindADeletedMeasureMovesBack)
{
    MnScore* score = addScore(makeScore(2, 5));
    context.playing = true;
    context.playedDocument = &document;
    context.playerReports = EdNotePath(0, 1, 3);
    select({score->staff(0)->measure(1)});
    EdDeleteCommand::cmdDelete();
    ASSERT_EQ(score->staff(1)->measureCount(), 4);
    EXPECT_EQ(context.playerUpdates, 1);
    EXPECT_EQ(context.playerUpdatedAt, score->staff(1)->measure(2));
}
