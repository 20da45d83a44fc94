#include "EdCommandFixture.h"

#include "commands/EdCommandRows.h"
#include "commands/EdCommandTable.h"
#include "commands/EdStructureCommands.h"
#include "editing/EdUndoRedo.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnCredit.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"

#include <string>
#include <vector>

namespace {

using EdStructureCommandsTest = EdCommandFixture;

}

TEST_F(EdStructureCommandsTest, statesFollowDocumentScoreAndSelection)
{
    EdCommandTable::clear();
    EdCommandRows::install();
    const std::vector<unsigned> documentIds = {32819, 32817};
    const std::vector<unsigned> scoreIds = {33086, 32840, 32818, 33095, 32839, 32893, 32854, 32932, 33092};
    auto states = [](const EdCommandInputs& inputs, const std::vector<unsigned>& ids) {
        std::string out;
        for (unsigned id : ids) {
            const EdCommandState state = EdCommandTable::state(id, inputs);
            out += state.checked ? '?' : state.enabled ? 'E' : '-';
        }
        return out;
    };
    struct Case
    {
        const char* name;
        EdCommandInputs inputs;
        const char* documents;
        const char* scores;
        const char* moves; // staff up, down, measure left, right, note left, right
    };
    EdCommandInputs none;
    EdCommandInputs empty;
    empty.document = true;
    EdCommandInputs staves = empty;
    staves.score = true;
    staves.selectedStaves = 1;
    staves.selectionCount = 1;
    EdCommandInputs measures = staves;
    measures.selectedStaves = 0;
    measures.selectedMeasures = 2;
    EdCommandInputs notes = staves;
    notes.selectedStaves = 0;
    notes.selectedNotes = 1;
    EdCommandInputs chords = staves;
    chords.selectedStaves = 0;
    chords.selectedChords = 1;
    const Case cases[] = {
        {"nothing open", none, "--", "---------", "------"},
        {"a document without a score", empty, "EE", "---------", "------"},
        {"a staff", staves, "EE", "EEEEEEEEE", "EE----"},
        {"measures", measures, "EE", "EEEEEEEEE", "--EE--"},
        {"a note", notes, "EE", "EEEEEEEEE", "----EE"},
        {"a chord", chords, "EE", "EEEEEEEEE", "----EE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(states(c.inputs, documentIds), c.documents);
        EXPECT_EQ(states(c.inputs, scoreIds), c.scores);
        EXPECT_EQ(states(c.inputs, {32846, 32845, 32887, 32886, 32890, 32891}), c.moves);
    }
}

TEST_F(EdStructureCommandsTest, newSheetMusicWrapsOneSelectedFreeScoreWhereItStands)
{
    MnScore* score = addScore(makeScore(2, 2));
    ASSERT_TRUE(score->moveTo(GePoint2d(-130.0, 75.0)));
    restartHistory();
    select({score});
    EdStructureCommands::cmdNewSheetMusic();
    ASSERT_EQ(document.works().count(), 2);
    ASSERT_TRUE(document.works()[1]->isKindOf(MnSheetMusic::staticClass()));
    MnSheetMusic* sheet = static_cast<MnSheetMusic*>(document.works()[1]);
    EXPECT_EQ(sheet->score(), score);
    EXPECT_EQ(score->sheetMusic(), sheet);
    EXPECT_TRUE(sheet->ownsScore());
    // The sheet's position, its first page's margin corner and the score's
    // place in it add up to where the free score stood.
    EXPECT_NEAR(sheet->position().x + sheet->leftMargin(0) + score->position().x, -130.0, 1e-9);
    EXPECT_NEAR(sheet->position().y - sheet->topMargin() + score->position().y, 75.0, 1e-9);
    EXPECT_EQ(context.view.cursor().staff(), score->staff(0));
    EXPECT_EQ(context.view.pendingTool, nullptr);
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdStructureCommandsTest, newSheetMusicOtherwiseGoesToThePlacingTool)
{
    addScore(makeScore(1, 2));
    const auto before = bytes();
    for (bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "placed" : "cancelled");
        // Cancelling reloads the document: the score is looked up afresh.
        MnScore* score = static_cast<MnScore*>(document.works()[1]);
        select({score, score->staff(0)});
        EdStructureCommands::cmdNewSheetMusic();
        ASSERT_NE(context.view.pendingTool, nullptr);
        ASSERT_NE(context.view.placedElement, nullptr);
        ASSERT_TRUE(context.view.placedElement->isKindOf(MnSheetMusic::staticClass()));
        MnSheetMusic* sheet = static_cast<MnSheetMusic*>(context.view.placedElement);
        EXPECT_NE(sheet->score(), score);
        EXPECT_EQ(context.view.cursor().staff(), sheet->score()->staff(0));
        if (confirm) {
            ASSERT_TRUE(context.view.confirmPendingTool());
            EXPECT_EQ(document.works().count(), 3);
            EXPECT_EQ(steps(), 1);
        } else {
            ASSERT_TRUE(context.view.discardPendingTool());
            EXPECT_EQ(steps(), 0);
            EXPECT_TRUE(sameBytes(before, bytes()));
        }
    }
}

TEST_F(EdStructureCommandsTest, unfoldRepeatsPlacesAnUnfoldedCopy)
{
    MnScore* score = addScore(makeScore(1, 2));
    ASSERT_TRUE(score->staff(0)->measure(1)->setBarline(MnBarlineEndRepeat));
    restartHistory();

    select({score->staff(0)});
    EdStructureCommands::cmdUnfoldRepeats();
    EXPECT_EQ(context.hints, std::vector<unsigned>{33086});
    EXPECT_EQ(context.view.pendingTool, nullptr);

    select({score->staff(0), score});
    EdStructureCommands::cmdUnfoldRepeats();
    ASSERT_NE(context.view.pendingTool, nullptr);
    ASSERT_EQ(document.works().count(), 3);
    ASSERT_TRUE(document.works()[2]->isKindOf(MnScore::staticClass()));
    const MnScore* unfolded = static_cast<const MnScore*>(document.works()[2]);
    EXPECT_EQ(context.view.placedElement, unfolded->staff(0));
    EXPECT_EQ(unfolded->staff(0)->measureCount(), 4);
    ASSERT_TRUE(context.view.confirmPendingTool());
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdStructureCommandsTest, aCreditIsPlacedFromTheFirstPagesMarginCorner)
{
    MnSheetMusic* sheet = new MnSheetMusic();
    ASSERT_TRUE(document.addWork(sheet));
    ASSERT_TRUE(sheet->moveTo(GePoint2d(40.0, -25.0)));
    MnScore* score = addScore(makeScore(1, 1));
    const int credits = sheet->creditCount();

    select({score, sheet});
    EdStructureCommands::cmdCredit();
    ASSERT_EQ(sheet->creditCount(), credits + 1);
    MnCredit* credit = sheet->credit(credits);
    EXPECT_EQ(context.view.placedElement, credit);
    EXPECT_TRUE(credit->text() == BcString("New text"));
    EXPECT_EQ(credit->creditAlignment(), -1);
    GePoint2d origin;
    ASSERT_TRUE(sheet->pageOrigin(0, origin, false));
    // The first page's top-left margin corner becomes the origin.
    const GePoint2d corner(origin.x + sheet->leftMargin(0), origin.y - sheet->topMargin());
    const GePoint2d mapped = context.view.placedWith.transform(corner);
    EXPECT_NEAR(mapped.x, 0.0, 1e-9);
    EXPECT_NEAR(mapped.y, 0.0, 1e-9);
    ASSERT_TRUE(context.view.confirmPendingTool());
    EXPECT_EQ(steps(), 1);

    MnSheetMusic* second = new MnSheetMusic();
    ASSERT_TRUE(document.addWork(second));
    select({sheet, second});
    EdStructureCommands::cmdCredit();
    EXPECT_EQ(context.hints, std::vector<unsigned>{32840});
    EXPECT_EQ(sheet->creditCount(), credits + 1);
}

// A book showing a later spread has no first page on screen to place on:
// the credit is kept and recorded where it was made.
TEST_F(EdStructureCommandsTest, aCreditOnABookShowingALaterSpreadIsRecorded)
{
    MnSheetMusic* sheet = new MnSheetMusic();
    ASSERT_TRUE(document.addWork(sheet));
    for (int m = 0; m < 160; ++m)
        ASSERT_TRUE(sheet->score()->insertMeasure(-1));
    sheet->setPresentation(MnSheetMusic::Book);
    ASSERT_GE(sheet->pageCount(), 3);
    sheet->setCurrentPage(2);
    GePoint2d origin;
    ASSERT_FALSE(sheet->pageOrigin(0, origin, false));
    restartHistory();
    const int credits = sheet->creditCount();

    select({sheet});
    EdStructureCommands::cmdCredit();
    ASSERT_EQ(sheet->creditCount(), credits + 1);
    EXPECT_EQ(context.view.pendingTool, nullptr);
    EXPECT_EQ(steps(), 1);
    ASSERT_TRUE(EdUndoRedo::undo());
    EXPECT_EQ(static_cast<MnSheetMusic*>(document.works()[1])->creditCount(), credits);
}

TEST_F(EdStructureCommandsTest, newStaffMakesAStaffChangeAStaffOrAFreeScore)
{
    const int q = 60480;
    MnScore* score = addScore(makeScore(2, 2));
    MnStaff* staff = score->staff(0);
    MnMeasure* second = staff->measure(1);

    // Inside the staff: a staff change at the chord.
    select({second->voiceChords(0)[2]->note(0)});
    EdStructureCommands::cmdNewStaff();
    ASSERT_EQ(staff->changeCount(), 1);
    EXPECT_EQ(staff->change(0)->startTime(), 6 * q);
    ASSERT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().element(0), staff->change(0));
    EXPECT_EQ(steps(), 1);

    // Where a change stands: nothing.
    select({second->voiceChords(0)[2]});
    const auto before = bytes();
    EdStructureCommands::cmdNewStaff();
    EXPECT_EQ(steps(), 1);
    EXPECT_TRUE(sameBytes(before, bytes()));
    EXPECT_EQ(context.view.pendingTool, nullptr);

    // A whole-measure rest of the second voice stands for its measure's start.
    MnChord* rest = new MnChord(second, 1, 0, 4 * q);
    BcArray<MnChord*>& voice = second->voiceChords(1);
    for (int i = 0; i < voice.count(); ++i)
        delete voice[i];
    voice.removeAll();
    voice.add(rest);
    select({second});
    context.noteInput().inputVoice = 1;
    EdStructureCommands::cmdNewStaff();
    context.noteInput().inputVoice = 0;
    ASSERT_EQ(staff->changeCount(), 2);
    EXPECT_EQ(staff->change(0)->startTime(), 4 * q);
    EXPECT_EQ(steps(), 2);

    // One staff (or a change standing for it): a staff and part below it.
    select({staff->change(1)});
    EdStructureCommands::cmdNewStaff();
    ASSERT_EQ(score->staffCount(), 3);
    EXPECT_EQ(score->staff(2)->measureCount(), 2);
    ASSERT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().element(0), score->staff(1));
    EXPECT_EQ(context.view.cursor().staff(), score->staff(1));
    EXPECT_EQ(steps(), 3);

    // The first chord of a staff, or two staves: a free score to place.
    // Cancelling it reloads the document, so the score is looked up afresh.
    for (bool twoStaves : {false, true}) {
        SCOPED_TRACE(twoStaves ? "two staves" : "the first chord");
        score = static_cast<MnScore*>(document.works()[1]);
        if (twoStaves)
            select({score->staff(0), score->staff(2)});
        else
            select({score->staff(0)->measure(0)->voiceChords(0)[0]});
        EdStructureCommands::cmdNewStaff();
        ASSERT_NE(context.view.pendingTool, nullptr);
        ASSERT_NE(context.view.placedElement, nullptr);
        ASSERT_TRUE(context.view.placedElement->isKindOf(MnStaff::staticClass()));
        MnStaff* placed = static_cast<MnStaff*>(context.view.placedElement);
        EXPECT_NE(placed->score(), score);
        EXPECT_EQ(document.works().count(), 3);
        EXPECT_FALSE(placed->score()->showsStartingTempo());
        EXPECT_EQ(context.view.cursor().staff(), placed);
        ASSERT_TRUE(context.view.discardPendingTool());
        EXPECT_EQ(document.works().count(), 2);
        EXPECT_EQ(steps(), 3);
    }
}

TEST_F(EdStructureCommandsTest, newMeasureGoesBeforeTheSelectedMeasureInEveryStaff)
{
    MnScore* score = addScore(makeScore(2, 4));
    std::vector<MnMeasure*> old;
    for (int s = 0; s < 2; ++s)
        old.push_back(score->staff(s)->measure(2));
    // The first measure, staff change, staff or tablature selected decides.
    select({old[0], score->staff(1)->measure(0), score->staff(0)});
    EdStructureCommands::cmdNewMeasure();
    for (int s = 0; s < 2; ++s) {
        SCOPED_TRACE(s);
        MnStaff* staff = score->staff(s);
        ASSERT_EQ(staff->measureCount(), 5);
        EXPECT_EQ(staff->measure(3), old[s]);
        EXPECT_EQ(old[s]->index(), 4);
        for (int m = 0; m < 5; ++m)
            EXPECT_EQ(selection().contains(staff->measure(m)), m == 2) << "measure " << m;
    }
    EXPECT_TRUE(selection().contains(score->staff(0)));
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdStructureCommandsTest, newMeasureForAStaffGoesWhereAChangeFirstGoverns)
{
    MnScore* score = addScore(makeScore(1, 6));
    MnStaff* staff = score->staff(0);
    ASSERT_TRUE(staff->insertStaffChange(staff->measureStartTime(4)));
    ASSERT_TRUE(staff->change(0)->setTime(MnTime3_4));
    restartHistory();
    const int count = staff->measureCount();
    MnMeasure* fifth = staff->measure(4);
    for (MnElement* picked : {static_cast<MnElement*>(staff), static_cast<MnElement*>(staff->change(0))}) {
        select({picked});
        EdStructureCommands::cmdNewMeasure();
    }
    // The staff asks for the new measure 5, the change for the measure after
    // what it governs: the end.
    ASSERT_EQ(staff->measureCount(), count + 2);
    EXPECT_EQ(staff->measure(5), fifth);
    EXPECT_EQ(staff->measure(4)->length(), 241920) << "the meter before it";
    EXPECT_EQ(staff->measure(count + 1)->length(), 3 * 60480);
    EXPECT_EQ(staff->measure(count)->length(), 3 * 60480);
    EXPECT_EQ(steps(), 2);
}

TEST_F(EdStructureCommandsTest, newMeasureWithoutASelectionAppendsToTheOnlyScore)
{
    MnScore* score = addScore(makeScore(1, 2));
    selection().clear();
    EdStructureCommands::cmdNewMeasure();
    EXPECT_EQ(score->staff(0)->measureCount(), 3);
    EXPECT_TRUE(selection().contains(score->staff(0)->measure(2)));
    EXPECT_EQ(steps(), 1);

    ASSERT_TRUE(document.addWork(makeScore(1, 1)));
    restartHistory();
    selection().clear();
    EdStructureCommands::cmdNewMeasure();
    EXPECT_EQ(context.hints, std::vector<unsigned>{32818});
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdStructureCommandsTest, theMeasureBeingPlayedIsHandedOnAfterANewMeasure)
{
    MnScore* score = addScore(makeScore(2, 5));
    context.playing = true;
    context.playedDocument = &document;
    context.playerReports = EdNotePath(0, 1, 3, 0, 1);
    select({score->staff(0)->measure(2)});
    EdStructureCommands::cmdNewMeasure();
    EXPECT_EQ(score->staff(0)->measureCount(), 6);
    // The player went on from the chord at the position, now in measure 5.
    ASSERT_NE(context.playerUpdatedAt, nullptr);
    EXPECT_EQ(context.playerUpdatedAt, score->staff(1)->measure(4)->voiceChords(0)[1]);
}

TEST_F(EdStructureCommandsTest, aRefusedMeasureChangesNothingAndSaysNothing)
{
    // Long measures fill the staff until no 4/4 measure fits any more.
    MnScore* score = addScore(makeScore(1, 18));
    MnStaff* staff = score->staff(0);
    for (int m = 0; m < staff->measureCount(); ++m) {
        MnMeasure* measure = staff->measure(m);
        ASSERT_TRUE(measure->setBeatTicks(241920));
        int beats = 255;
        while (beats > 1 && !measure->setBeats(beats))
            --beats;
    }
    ASSERT_GT(staff->totalTicks(), MnMaxStaffTicks - 241920);
    restartHistory();
    const auto before = bytes();
    select({staff->measure(1)});
    EdStructureCommands::cmdNewMeasure();
    EXPECT_EQ(staff->measureCount(), 18);
    EXPECT_TRUE(context.hints.empty());
    EXPECT_EQ(steps(), 0);
    EXPECT_TRUE(sameBytes(before, bytes()));
}
