#include "EdTestScores.h"
#include "common/EdFakeContext.h"
#include "common/TestPrinters.h"

#include "editing/EdCommand.h"
#include "editing/EdUndoRedo.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcClass.h"
#include "foundation/BcMemoryFiler.h"
#include "model/MnPart.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

static Bytes worksBlock(const QuorvaneDocument& document)
{
    BcMemoryFiler filer(5);
    document.writeWorks(filer);
    return Bytes(filer.bytes().data(), filer.bytes().data() + filer.bytes().count());
}

// A saved document holding one score of two staves and three measures,
// shown in the active fake view, with an observer on the view's selection.
class EdCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        context.activate(&document);
        context.view.selection().addObserver(&observer);
        {
            EdCommand edit;
            document.addWork(makeScore(2, 3, 2));
            edit.markModified();
        }
        std::string path = std::string(QRV_TEST_OUTPUT_DIR) + "/transactions.qrv";
        ASSERT_TRUE(document.OnSaveDocument(BcString(path.c_str())));
        resetCounters();
    }

    void resetCounters()
    {
        observer.calls = 0;
        context.view.redraws = 0;
        context.allViewsUpdates = 0;
        context.browserRefreshes = 0;
        context.playerUpdates = 0;
    }

    MnScore* score() const { return static_cast<MnScore*>(document.works()[1]); }
    MnChord* chord(int staff, int measure, int index) const
    {
        return score()->staff(staff)->measure(measure)->voiceChords(0)[index];
    }
    EdSelection& selection() { return context.view.selection(); }

    // An edit that takes one note out of a chord.
    void removeANote()
    {
        EdCommand edit;
        MnChord* target = chord(0, 0, 0);
        ASSERT_TRUE(target->removeChild(target->note(0)));
        edit.markModified();
    }

    EdFakeContext context;
    QuorvaneDocument document;
    EdFakeObserver observer;
};

TEST_F(EdCommandTest, ATransactionThatDoesNothingLeavesNoTrace)
{
    selection().add(chord(0, 1, 1));
    resetCounters();
    {
        EdCommand edit;
    }
    EXPECT_EQ(document.snapshotCount(), 2);
    EXPECT_EQ(context.view.redraws, 0);
    EXPECT_EQ(context.allViewsUpdates, 0);
    EXPECT_EQ(observer.calls, 0);
    EXPECT_EQ(context.browserRefreshes, 0);
    EXPECT_FALSE(document.IsModified());
}

TEST_F(EdCommandTest, ASelectionChangeRedrawsAndTellsTheObserversOnly)
{
    {
        EdCommand edit;
        selection().add(chord(0, 1, 1));
    }
    EXPECT_EQ(context.view.redraws, 1);
    EXPECT_EQ(context.allViewsUpdates, 1);
    EXPECT_EQ(observer.calls, 1);
    EXPECT_EQ(document.snapshotCount(), 2);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(context.browserRefreshes, 0);

    // The same elements in another order count as a change.
    selection().add(chord(0, 1, 2));
    resetCounters();
    {
        EdCommand edit;
        MnElement* first = selection().element(0);
        selection().remove(first);
        selection().add(first);
    }
    EXPECT_EQ(observer.calls, 1);
}

TEST_F(EdCommandTest, UndoAndRedoRestoreWorksSelectionAndCursor)
{
    MnNote* low = chord(1, 2, 3)->note(0);
    MnNote* high = chord(0, 1, 0)->note(1);
    selection().add(high);
    selection().add(low);
    EdNotePath highPath(high, document.works());
    EdNotePath lowPath(low, document.works());
    context.view.cursor().setAtStaffStart(score()->staff(1), 0);
    context.view.cursor().setPosition(120960, 1, false);
    const Bytes before = worksBlock(document);

    {
        EdCommand edit;
        for (int i = selection().count() - 1; i >= 0; --i) {
            MnNote* note = static_cast<MnNote*>(selection().element(i));
            ASSERT_TRUE(note->chord()->removeChild(note));
        }
        context.view.cursor().setAtStaffStart(score()->staff(0), -1);
        edit.markModified();
    }
    EXPECT_TRUE(selection().isEmpty());
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.snapshotCount(), 3);
    const Bytes after = worksBlock(document);
    ASSERT_NE(after, before);
    resetCounters();

    ASSERT_TRUE(EdUndoRedo::undo());
    EXPECT_EQ(worksBlock(document), before);
    ASSERT_EQ(selection().count(), 2);
    EXPECT_EQ(EdNotePath(selection().element(0), document.works()), highPath);
    EXPECT_EQ(EdNotePath(selection().element(1), document.works()), lowPath);
    EdCursor& cursor = context.view.cursor();
    EXPECT_EQ(cursor.staff(), score()->staff(1));
    EXPECT_EQ(cursor.voice(), 0);
    EXPECT_EQ(cursor.time(), 120960);
    EXPECT_EQ(cursor.graceIndex(), 0);
    EXPECT_EQ(cursor.anchorTime(), 120960);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.snapshotCount(), 3);
    EXPECT_EQ(observer.calls, 1);
    EXPECT_EQ(context.browserRefreshes, 1);
    EXPECT_EQ(context.view.redraws, 1);

    ASSERT_TRUE(EdUndoRedo::redo());
    EXPECT_EQ(worksBlock(document), after);
    EXPECT_TRUE(selection().isEmpty());
    EXPECT_EQ(cursor.staff(), score()->staff(0));
    EXPECT_EQ(cursor.voice(), -1);
    EXPECT_EQ(cursor.time(), 0);
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(EdUndoRedo::redo());
}

// Each snapshot's buffer starts with room for the one before: the works
// growing far past that room, shrinking far below it, and the same size
// again must all read back exactly, in both directions.
TEST_F(EdCommandTest, SnapshotsFarLargerOrSmallerThanTheLastUndoAndRedoExactly)
{
    struct Step {
        const char* what;
        int staves;   // a score of this size added; 0 removes the last work
        int measures;
    };
    const Step steps[] = {
        {"a score a hundred times the size", 10, 60},
        {"it removed again", 0, 0},
        {"a small score", 1, 1},
        {"the same size once more", 1, 1},
        {"a large one after the small", 8, 50},
    };
    std::vector<Bytes> blocks{worksBlock(document)};
    std::vector<std::unique_ptr<MnElement>> removed;
    for (const Step& step : steps) {
        EdCommand edit;
        if (step.staves > 0)
            ASSERT_TRUE(document.addWork(makeScore(step.staves, step.measures, 3))) << step.what;
        else {
            removed.emplace_back(document.works()[document.works().count() - 1]);
            ASSERT_TRUE(document.removeWork(removed.back().get())) << step.what;
        }
        edit.markModified();
        ASSERT_TRUE(edit.close()) << step.what;
        blocks.push_back(worksBlock(document));
        ASSERT_NE(blocks.back(), blocks[blocks.size() - 2]) << step.what;
    }
    for (size_t i = blocks.size() - 1; i > 0; --i) {
        ASSERT_TRUE(EdUndoRedo::undo()) << steps[i - 1].what;
        EXPECT_EQ(worksBlock(document), blocks[i - 1]) << steps[i - 1].what;
    }
    for (size_t i = 1; i < blocks.size(); ++i) {
        ASSERT_TRUE(EdUndoRedo::redo()) << steps[i - 1].what;
        EXPECT_EQ(worksBlock(document), blocks[i]) << steps[i - 1].what;
    }
    EXPECT_FALSE(EdUndoRedo::redo());
}

TEST_F(EdCommandTest, TheModifiedFlagFollowsTheSavedStep)
{
    removeANote();
    EXPECT_TRUE(document.IsModified());
    ASSERT_TRUE(EdUndoRedo::undo());
    EXPECT_FALSE(document.IsModified());
    ASSERT_TRUE(EdUndoRedo::undo());
    EXPECT_TRUE(document.IsModified());
    ASSERT_TRUE(EdUndoRedo::redo());
    EXPECT_FALSE(document.IsModified());

    // Save, undo, new edit: the saved step is gone for good.
    removeANote();
    std::string path = std::string(QRV_TEST_OUTPUT_DIR) + "/transactions.qrv";
    ASSERT_TRUE(document.OnSaveDocument(BcString(path.c_str())));
    EXPECT_EQ(document.savedIndex(), 2);
    ASSERT_TRUE(EdUndoRedo::undo());
    EXPECT_TRUE(document.IsModified());
    removeANote();
    EXPECT_EQ(document.savedIndex(), -1);
    while (EdUndoRedo::undo())
        EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.undoIndex(), 0);
    while (EdUndoRedo::redo())
        EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.undoIndex(), 2);
    EXPECT_TRUE(document.title().endsWith(BcString("*")));
}

TEST_F(EdCommandTest, UndoWithOneSnapshotDoesNothing)
{
    QuorvaneDocument fresh;
    ASSERT_TRUE(fresh.OnNewDocument());
    context.activate(&fresh);
    resetCounters();
    EXPECT_FALSE(EdUndoRedo::undo());
    EXPECT_FALSE(EdUndoRedo::redo());
    EXPECT_EQ(fresh.snapshotCount(), 1);
    EXPECT_FALSE(fresh.IsModified());
    EXPECT_EQ(observer.calls, 0);
    EXPECT_EQ(context.browserRefreshes, 0);
}

// Stands in for the application, which derives the note value from the
// selection: none when nothing is selected.
class InputClearingObserver : public EdSelectionObserver
{
public:
    explicit InputClearingObserver(EdContext& context) : context(context) {}
    void selectionChanged() override
    {
        EdView* view = context.activeView();
        if (view)
            context.noteInput().inputDuration = view->selection().isEmpty() ? 0 : 60480;
    }
    EdContext& context;
};

TEST_F(EdCommandTest, UndoKeepsTheNoteValueChosenWithNothingSelected)
{
    InputClearingObserver application(context);
    selection().addObserver(&application);
    removeANote();
    context.noteInput().inputDuration = 30240;
    context.noteInput().inputDotted = true;
    ASSERT_TRUE(EdUndoRedo::undo());
    EXPECT_EQ(context.noteInput().inputDuration, 30240);
    EXPECT_TRUE(context.noteInput().inputDotted);

    // An undo that restores a selection lets the application decide.
    {
        EdCommand edit;
        selection().add(chord(0, 1, 0));
        chord(0, 2, 0)->removeChild(chord(0, 2, 0)->note(0));
        edit.markModified();
    }
    {
        EdCommand edit;
        selection().clear();
        chord(0, 2, 1)->removeChild(chord(0, 2, 1)->note(0));
        edit.markModified();
    }
    context.noteInput().inputDuration = 15120;
    ASSERT_TRUE(EdUndoRedo::undo());
    EXPECT_EQ(selection().count(), 1);
    EXPECT_EQ(context.noteInput().inputDuration, 60480);  // derived, not put back
}

TEST_F(EdCommandTest, OpeningATransactionDiscardsARunningTool)
{
    const Bytes before = worksBlock(document);
    selection().add(chord(0, 0, 1));
    EdCommand* tool = new EdCommand;
    MnChord* dragged = chord(0, 0, 1);
    dragged->removeChild(dragged->note(0));
    tool->markModified();
    context.view.pendingTool = tool;
    context.playing = true;
    context.playedDocument = &document;
    resetCounters();
    {
        EdCommand next;
        EXPECT_EQ(context.view.toolsDiscarded, 1);
        EXPECT_EQ(context.view.pendingTool, nullptr);
        EXPECT_EQ(worksBlock(document), before);
        // The reload replaced every element: the selection it records is the
        // one after the reload, which held only dead elements.
        EXPECT_EQ(next.selectionAtStart.count(), 0);
    }
    EXPECT_EQ(document.snapshotCount(), 2);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(context.playerUpdates, 0);
}

TEST_F(EdCommandTest, TheFoldedStateFollowsTheElementNotItsPath)
{
    MnPart* folded = score()->part(1);
    ASSERT_TRUE(document.addCollapsed(folded));
    {
        EdCommand edit;
        ASSERT_NE(score()->insertStaff(0), nullptr);
        edit.markModified();
    }
    ASSERT_EQ(score()->part(2), folded);
    EXPECT_TRUE(document.isCollapsed(folded));
    EXPECT_FALSE(document.isCollapsed(score()->part(1)));
    EXPECT_EQ(document.collapsedItems().count(), 1);
    EXPECT_EQ(context.browserRefreshes, 1);
}

TEST_F(EdCommandTest, ThePlayerTakesTheEditAtTheRightPlace)
{
    // Playing another document: the player is left alone.
    QuorvaneDocument other;
    context.playing = true;
    context.playedDocument = &other;
    removeANote();
    EXPECT_EQ(context.playerUpdates, 0);

    // Playing this one: the position the player reports after the edit.
    context.playedDocument = &document;
    context.playerReports = EdNotePath(0, 1, 2, 0, 3);
    removeANote();
    EXPECT_EQ(context.playerUpdates, 1);
    EXPECT_EQ(context.playerUpdatedAt, chord(1, 2, 3));

    // A delete adjusts the position it recorded and keeps it.
    context.playerReports = EdNotePath(0, 0, 2, 0, 1);
    {
        EdCommand edit;
        EXPECT_EQ(edit.playbackPosition, EdNotePath(0, 0, 2, 0, 1));
        ASSERT_TRUE(score()->removeMeasure(1));
        edit.playbackPosition.adjustForRemoval(EdNotePath(0, 0, 1));
        edit.playbackPosition.adjustForRemoval(EdNotePath(0, 1, 1));
        edit.keepPlaybackPosition = true;
        context.playerReports = EdNotePath(0, 1, 0, 0, 0);
        edit.markModified();
    }
    EXPECT_EQ(context.playerUpdates, 2);
    EXPECT_EQ(context.playerUpdatedAt, chord(0, 1, 1));
}

TEST_F(EdCommandTest, WithoutAViewTheEditIsStillCommitted)
{
    context.activeViewPresent = false;
    removeANote();
    EXPECT_EQ(document.snapshotCount(), 3);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(context.browserRefreshes, 1);
    EXPECT_EQ(context.allViewsUpdates, 1);
    EXPECT_EQ(context.view.redraws, 0);
    EXPECT_EQ(observer.calls, 0);
}

// A score whose record cannot be written, as when the memory for a snapshot
// runs out.
class UnwritableScore : public MnScore
{
public:
    bool write(BcFiler&) const override { return false; }
};

TEST_F(EdCommandTest, AnEditWhoseSnapshotCannotBeWrittenIsTakenBack)
{
    // A redo step that the failed edit must not drop.
    removeANote();
    ASSERT_TRUE(EdUndoRedo::undo());
    ASSERT_FALSE(document.IsModified());
    const Bytes before = worksBlock(document);
    const int snapshots = document.snapshotCount();
    const int index = document.undoIndex();
    context.playing = true;
    context.playedDocument = &document;
    resetCounters();

    bool recorded = true;
    {
        EdCommand edit;
        MnChord* target = chord(0, 0, 0);
        ASSERT_TRUE(target->removeChild(target->note(0)));
        document.addWork(new UnwritableScore());
        edit.markModified();
        recorded = edit.close();
        EXPECT_FALSE(edit.close());
    }

    EXPECT_FALSE(recorded);
    EXPECT_EQ(worksBlock(document), before);
    EXPECT_EQ(document.works().count(), 2);
    EXPECT_EQ(document.snapshotCount(), snapshots);
    EXPECT_EQ(document.undoIndex(), index);
    EXPECT_TRUE(document.canRedo());
    EXPECT_FALSE(document.IsModified());
    // The views show the model taken back; the player keeps what it plays.
    EXPECT_EQ(context.view.redraws, 1);
    EXPECT_EQ(context.playerUpdates, 0);

    // The next edit that can be written is recorded as usual.
    bool next = false;
    {
        EdCommand edit;
        MnChord* target = chord(0, 0, 0);
        ASSERT_TRUE(target->removeChild(target->note(0)));
        edit.markModified();
        next = edit.close();
    }
    EXPECT_TRUE(next);
    EXPECT_EQ(document.snapshotCount(), index + 2);
    EXPECT_TRUE(document.IsModified());
}

TEST(EdCommand, WithoutADocumentNothingHappens)
{
    // The headless context: no document, no view, no player.
    EdCommand* edit = static_cast<EdCommand*>(EdCommand::staticClass()->createObject());
    ASSERT_NE(edit, nullptr);
    edit->markModified();
    edit->cancel = true;
    delete edit;
    EXPECT_EQ(EdContext::current().activeDocument(), nullptr);
    EXPECT_FALSE(EdUndoRedo::undo());
}
