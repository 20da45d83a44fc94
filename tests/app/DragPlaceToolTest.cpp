#include "ViewMouseFixture.h"

#include "app/UiDragSelectionCmd.h"
#include "app/UiPlaceElementCmd.h"
#include "app/UiViewInput.h"
#include "foundation/GeMatrix2d.h"
#include "model/EdVerticalGuideLine.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnLyric.h"
#include "model/MnNote.h"
#include "model/MnPedal.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

namespace {

using namespace UiViewInput;

// Two free scores on the desk; the view shows desk units as they are.
class DragPlaceToolTest : public ViewMouseFixture
{
protected:
    void SetUp() override
    {
        ViewMouseFixture::SetUp();
        first = makeScore(1, 1);
        second = makeScore(1, 1);
        ASSERT_TRUE(document.addWork(first));
        ASSERT_TRUE(second->moveTo(GePoint2d(0, -200)));
        show(second);
        core.view.setCamera(0, 0, 250);
        core.view.drawFrame(-1, -1);
        context.toggles().snapGuideLines = false;
        context.toggles().orthoMode = false;
        context.held[EdContext::LeftButton] = true;
    }

    // Starts a drag of the selection with the given element grabbed at a pixel.
    UiDragSelectionCmd* press(MnElement* grabbed, int x, int y, bool alone = false)
    {
        UiDragSelectionCmd* tool =
            new UiDragSelectionCmd(core, x, y, core.clientToModel(x, y), grabbed, alone, EdPath());
        core.startTool(tool);
        return tool;
    }
    // The drawing displacement of a pixel movement.
    GePoint2d shift(int dx, int dy)
    {
        const GePoint2d a = core.clientToModel(0, 0);
        const GePoint2d b = core.clientToModel(dx, dy);
        return GePoint2d(b.x - a.x, b.y - a.y);
    }

    MnScore* first = nullptr;
    MnScore* second = nullptr;
};

TEST_F(DragPlaceToolTest, ADragStartsPastTheThresholdAndIsOneUndoStep)
{
    const int snapshots = document.snapshotCount();
    core.selection().add(first);
    UiDragSelectionCmd* tool = press(first, 400, 300);
    core.mouseMove(leftButton, 410, 290);
    EXPECT_FALSE(tool->isDragging());
    EXPECT_STREQ("Select", tool->name());
    EXPECT_EQ(0.0, first->position().x);
    core.mouseMove(leftButton, 411, 300);
    EXPECT_STREQ("DragSelection", tool->name());
    core.mouseMove(leftButton, 440, 320);
    const GePoint2d moved = shift(40, 20);
    EXPECT_NEAR(moved.x, first->position().x, 1e-9);
    EXPECT_NEAR(moved.y, first->position().y, 1e-9);
    // The moved work comes to the top.
    EXPECT_EQ(first, document.displayOrder()[document.displayOrder().count() - 1]);
    core.leftButtonUp(0, 440, 320);
    EXPECT_FALSE(core.hasPendingTool());
    EXPECT_EQ(snapshots + 1, document.snapshotCount());
}

TEST_F(DragPlaceToolTest, OrthoIsFixedByTheFirstMoveAndShiftUpdatesAtOnce)
{
    core.selection().add(first);
    context.toggles().orthoMode = true;
    press(first, 400, 300);
    core.mouseMove(leftButton, 430, 305);
    core.mouseMove(leftButton, 430, 380);
    EXPECT_NEAR(shift(30, 0).x, first->position().x, 1e-9);
    EXPECT_EQ(0.0, first->position().y);
    // Shift inverts ortho: pressing it moves freely at once, no move needed.
    context.held[EdContext::LeftShift] = true;
    context.pointer[0] = 430;
    context.pointer[1] = 380;
    core.keyDown(shiftKey, 1, 0);
    EXPECT_NEAR(shift(30, 80).y, first->position().y, 1e-9);
}

TEST_F(DragPlaceToolTest, OnlyTheGrabbedClassMovesAndADeadElementIsSkipped)
{
    MnStaff* staff = second->staff(0);
    const GePoint2d staffAt = staff->position();
    MnScore* third = makeScore(1, 1);
    ASSERT_TRUE(third->moveTo(GePoint2d(0, -400)));
    ASSERT_TRUE(document.addWork(third));
    core.selection().add(third);
    core.selection().add(first);
    core.selection().add(staff);
    press(first, 400, 300);
    // The first element dies during the drag: the one after it still moves
    // from its own start, not from the dead one's.
    ASSERT_TRUE(document.removeWork(third));
    delete third;
    core.mouseMove(leftButton, 450, 300);
    EXPECT_NEAR(shift(50, 0).x, first->position().x, 1e-9);
    EXPECT_NEAR(0.0, first->position().y, 1e-9);
    EXPECT_EQ(staffAt.x, staff->position().x);
    EXPECT_EQ(staffAt.y, staff->position().y);
}

TEST_F(DragPlaceToolTest, AClickWithoutDragNarrowsASelectionToTheGrabbedElement)
{
    core.selection().add(first);
    core.selection().add(second);
    press(second, 400, 300, true);
    core.leftButtonUp(0, 400, 300);
    ASSERT_EQ(1, core.selection().count());
    EXPECT_EQ(second, core.selection().element(0));
}

// A placing tool with one vertical guide line at x = 100.
class GuidedPlace : public UiPlaceElementCmd
{
public:
    using UiPlaceElementCmd::UiPlaceElementCmd;
    void collectGuideLines() override { guideLines.add(new EdVerticalGuideLine(100, 5)); }
};

TEST_F(DragPlaceToolTest, APlacedElementFollowsThePointerSnapsAndCommitsWithItsCreation)
{
    struct Case
    {
        const char* name;
        GeMatrix2d placement;
        bool snap;
        int x;
        double dx, dy;  // the position less the pointer's drawing point
    };
    const Case cases[] = {
        {"identity", GeMatrix2d::identity, false, 500, 0, 0},
        {"a credit, from the margin corner", GeMatrix2d::translation(-20, 30), false, 500, -20, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int snapshots = document.snapshotCount();
        MnScore* made = makeScore(1, 1);
        ASSERT_TRUE(document.addWork(made));
        ASSERT_TRUE(core.placeElement(made, c.placement));
        EXPECT_EQ(made, core.selection().element(0));
        core.mouseMove(0, c.x, 200);
        const GePoint2d p = core.clientToModel(c.x, 200);
        EXPECT_NEAR(p.x + c.dx, made->position().x, 1e-9);
        EXPECT_NEAR(p.y + c.dy, made->position().y, 1e-9);
        core.leftButtonDown(leftButton, c.x, 200);
        EXPECT_FALSE(core.hasPendingTool());
        EXPECT_EQ(snapshots + 1, document.snapshotCount());
    }

    // Snapping onto the line at 100, and a right click removes the element.
    context.toggles().snapGuideLines = true;
    const int works = document.works().count();
    MnScore* made = makeScore(1, 1);
    ASSERT_TRUE(document.addWork(made));
    ASSERT_TRUE(core.startTool(new GuidedPlace(core, made, GeMatrix2d::identity)));
    int x = 0;
    int y = 0;
    clientOf(GePoint2d(101, 0), x, y);
    core.mouseMove(0, x, y);
    EXPECT_EQ(100.0, made->position().x);
    core.rightButtonDown(rightButton, x, y);
    core.rightButtonUp(0, x, y);
    EXPECT_FALSE(core.hasPendingTool());
    EXPECT_EQ(works, document.works().count());
}

}  // namespace

namespace {

// One staff of two measures; the second quarter of the first measure is a
// dotted quarter.
class DragInTimeTest : public ViewMouseFixture
{
protected:
    void SetUp() override
    {
        ViewMouseFixture::SetUp();
        score = makeScore(1, 2);
        MnMeasure* first = score->staff(0)->measure(0);
        dotted = putNote(first, 0, 60480, 90720, 4, 4);
        show(score);
        context.toggles().snapGuideLines = false;
        context.held[EdContext::LeftButton] = true;
    }
    // Drags the selection's grabbed element by a handle onto an element.
    void dragOnto(MnElement* grabbed, const EdPath& handle, const MnElement* onto)
    {
        int x = 0;
        int y = 0;
        ASSERT_TRUE(clientOfElement(onto, x, y));
        core.startTool(new UiDragSelectionCmd(core, x - 40, y, core.clientToModel(x - 40, y), grabbed, false, handle));
        core.mouseMove(UiViewInput::leftButton, x, y);
    }

    MnScore* score = nullptr;
    MnNote* dotted = nullptr;
};

TEST_F(DragInTimeTest, ALineEndLandsAtTheEndOfTheChordUnderThePointer)
{
    ASSERT_NE(nullptr, dotted);
    MnPedal* pedal = score->staff(0)->addLine<MnPedal>(0);
    ASSERT_NE(nullptr, pedal);
    ASSERT_TRUE(pedal->setLength(30240));
    core.selection().add(pedal);
    dragOnto(pedal, EdPath(EdPath::KindLine, 0, 0, 0, 0, 2, 1), dotted);
    EXPECT_EQ(0, pedal->start());
    EXPECT_EQ(60480 + 90720, pedal->end());
    core.leftButtonUp(0, 0, 0);

    // A vertical ortho drag keeps the time.
    context.toggles().orthoMode = true;
    ASSERT_TRUE(pedal->setLength(30240));
    int x = 0;
    int y = 0;
    ASSERT_TRUE(clientOfElement(dotted, x, y));
    core.startTool(new UiDragSelectionCmd(core, x, y + 40, core.clientToModel(x, y + 40), pedal, false,
                                          EdPath(EdPath::KindLine, 0, 0, 0, 0, 2, 1)));
    core.mouseMove(UiViewInput::leftButton, x + 1, y);
    EXPECT_EQ(30240, pedal->length());
}

TEST_F(DragInTimeTest, AStaffChangeMovesOntoAChordUnlessItChangesTheTimeSignature)
{
    MnStaff* staff = score->staff(0);
    ASSERT_TRUE(staff->insertStaffChange(241920));
    MnStaffChange* change = staff->change(0);
    ASSERT_TRUE(change->setClef(1));
    core.selection().add(change);
    // Onto the chord that the view picks there, each chord owning the gap
    // before it.
    int x = 0;
    int y = 0;
    ASSERT_TRUE(clientOfElement(dotted, x, y));
    MnChord* picked = core.chordAtPoint(core.clientToModel(x, y), nullptr, 0, false);
    ASSERT_NE(nullptr, picked);
    const int landing = picked->measure()->startTime() + picked->time();
    EXPECT_NE(241920, landing);
    dragOnto(change, EdPath(), dotted);
    EXPECT_EQ(landing, change->startTime());
    core.leftButtonUp(0, 0, 0);

    MnScore* other = makeScore(1, 2);
    ASSERT_TRUE(other->staff(0)->insertStaffChange(241920));
    MnStaffChange* meter = other->staff(0)->change(0);
    ASSERT_TRUE(meter->setTimeType(meter->time() == 0 ? 1 : 0));
    ASSERT_TRUE(meter->changesTime());
    ASSERT_TRUE(document.addWork(other));
    core.selection().clear();
    core.selection().add(meter);
    dragOnto(meter, EdPath(), other->staff(0)->measure(0)->voiceChords(0)[1]->note(0));
    EXPECT_EQ(241920, meter->startTime());
}

}  // namespace

namespace {

using DragSyllableTest = DragInTimeTest;

TEST_F(DragSyllableTest, DraggingTheThirdSyllableStartsTheLyricTwoSoundingChordsEarlier)
{
    MnStaff* staff = score->staff(0);
    // What follows the dotted quarter in the first measure becomes rests:
    // they carry no syllable.
    MnMeasure* first = staff->measure(0);
    for (int i = 0; i < first->voiceChords(0).count(); ++i)
        if (first->voiceChords(0)[i]->time() > 60480)
            first->voiceChords(0)[i]->clearNotes();
    MnLyric* lyric = staff->addLyric(0, 0);
    ASSERT_NE(nullptr, lyric);
    ASSERT_TRUE(lyric->setText(BcString(L"one two three four")));
    ASSERT_EQ(4, lyric->syllableCount());
    core.selection().add(lyric);
    MnChord* onto = staff->measure(1)->voiceChords(0)[0];
    dragOnto(lyric, EdPath(EdPath::KindLyric, 0, 0, 0, 0, 2, 2), onto->note(0));
    // Back over the rest to the dotted quarter, then the quarter before it.
    EXPECT_EQ(0, lyric->start());
}

}  // namespace
