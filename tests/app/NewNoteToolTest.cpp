#include "ViewMouseFixture.h"

#include "app/UiNewNoteCmd.h"
#include "app/UiViewInput.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "render/ReScorePass.h"

namespace {

using namespace UiViewInput;

// One free score of one staff and two measures: voice 0 in quarters,
// voice 1 in halves. Points are aimed through the renderer's own layout.
class NewNoteToolTest : public ViewMouseFixture
{
protected:
    void SetUp() override
    {
        ViewMouseFixture::SetUp();
        score = makeScore(1, 2);
        show(score);
        context.noteInput().inputDuration = 60480;
    }

    // The drawing x of a chord of the first measure, through the layout.
    double chordX(int voice, int index)
    {
        MnCache cache;
        ReScorePass pass(nullptr, score, 0, 2, score->position(), 2.0, 0);
        BcArray<int> onsets;
        BcArray<double> xs;
        score->layoutMeasureColumn(0, onsets, xs, 2.0);
        MnChord* chord = score->staff(0)->measure(0)->voiceChords(voice)[index];
        double x = xs[xs.count() - 1];
        for (int i = 0; i < onsets.count(); ++i)
            if (onsets[i] == chord->time())
                x = xs[i];
        return score->position().x + (pass.headerWidth + x) * score->scale();
    }
    double headerX()
    {
        MnCache cache;
        ReScorePass pass(nullptr, score, 0, 2, score->position(), 2.0, 0);
        return score->position().x + pass.headerWidth * score->scale();
    }
    // The drawing y of a staff step of the first staff (0 its top line).
    double stepY(double step) { return score->position().y + step * score->scale(); }

    // The target under a drawing point: the camera centred on it, fine
    // enough for a fiftieth of a staff step per pixel.
    EdNotePath aim(UiNewNoteCmd& tool, double x, double y)
    {
        core.view.setCamera(x, y, 16 * score->scale());
        core.view.drawFrame(-1, -1);
        EdNotePath target;
        tool.hitTest(target, UiCommand::Point{400, 300});
        return target;
    }

    MnScore* score = nullptr;
};

TEST_F(NewNoteToolTest, PitchFromHeightByClef)
{
    ASSERT_TRUE(score->staff(0)->insertStaffChange(60480 * 4));
    score->staff(0)->change(0)->setClef(1);
    UiNewNoteCmd tool(core);
    struct Case
    {
        const char* name;
        int measure;
        double step;
        int noteStep, octave;  // -1: no target
    };
    const Case cases[] = {
        {"treble top line F5", 0, 0, 3, 5},
        {"treble bottom line E4", 0, -8, 2, 4},
        {"one step below D4", 0, -9, 1, 4},
        {"lowest F3", 0, -14, 3, 3},
        {"highest E6", 0, 6, 2, 6},
        {"above the box", 0, 6.6, -1, -1},
        {"bass top line A3", 1, 0, 5, 3},
        {"bass lowest A1", 1, -14, 5, 1},
        {"bass highest G4", 1, 6, 4, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double x = chordX(0, 0);
        if (c.measure == 1) {
            MarkFinder finder(score->staff(0)->measure(1)->voiceChords(0)[0]->note(0));
            MnCache cache;
            finder.render(&document, core.view.scrollX, core.view.scrollY, core.view.zoom, 800, 600, -1, -1);
            ASSERT_TRUE(finder.found);
            x = finder.centre.x;
        }
        const EdNotePath target = aim(tool, x, stepY(c.step));
        if (c.noteStep < 0) {
            EXPECT_TRUE(target.isUnset());
            continue;
        }
        EXPECT_EQ(0, target.scoreIndex);
        EXPECT_EQ(c.measure, target.measureIndex);
        EXPECT_EQ(c.noteStep, target.noteStep);
        EXPECT_EQ(c.octave, target.noteOctave);
    }
}

TEST_F(NewNoteToolTest, ZonesMidpointsVoicesAndTheHeader)
{
    UiNewNoteCmd tool(core);
    const double y = stepY(-4);
    struct Case
    {
        const char* name;
        double x;
        int voice, chord;  // -1: no target
    };
    const Case cases[] = {
        {"on the first chord: voice 0 wins a tie", chordX(0, 0), 0, 0},
        {"the midpoint goes to the earlier chord", (chordX(0, 0) + chordX(0, 1)) / 2, 0, 0},
        {"just past the midpoint", (chordX(0, 0) + chordX(0, 1)) / 2 + 0.05 * score->scale(), 0, 1},
        {"on the third quarter: voice 0 at the same x", chordX(0, 2), 0, 2},
        {"the header designates nothing", headerX() - 0.5 * score->scale(), -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const EdNotePath target = aim(tool, c.x, y);
        EXPECT_EQ(c.voice, target.voice);
        EXPECT_EQ(c.chord, target.chordIndex);
    }
    // Voice 1 only when strictly nearer: a voice-1 chord alone at the
    // second quarter wins there.
    MnMeasure* first = score->staff(0)->measure(0);
    fillVoice(first, 1, 1, 60480);
    delete first->voiceChords(0)[1];
    first->voiceChords(0).removeAt(1);
    first->voiceChords(0)[0]->setDuration(120960);
    const EdNotePath target = aim(tool, chordX(1, 1), y);
    EXPECT_EQ(1, target.voice);
    EXPECT_EQ(1, target.chordIndex);
}

TEST_F(NewNoteToolTest, AClickWritesTheChosenValueInTheInputVoiceAsOneUndoStep)
{
    context.noteInput().inputDotted = true;
    context.noteInput().inputVoice = 1;
    const int snapshots = document.snapshotCount();
    UiNewNoteCmd* tool = new UiNewNoteCmd(core);
    ASSERT_TRUE(core.startTool(tool));
    core.view.setCamera(chordX(0, 0), stepY(-6), 16 * score->scale());
    core.view.drawFrame(-1, -1);
    EXPECT_TRUE(core.mouseMove(0, 400, 300));
    EXPECT_EQ(tool->target(), core.renderer.previewNotePath);
    EXPECT_EQ(0, tool->target().voice);
    EXPECT_TRUE(core.leftButtonDown(leftButton, 400, 300));
    EXPECT_FALSE(core.hasPendingTool());
    EXPECT_TRUE(core.renderer.previewNotePath.isUnset());
    MnChord* written = score->staff(0)->measure(0)->voiceChords(1)[0];
    EXPECT_EQ(0, written->time());
    EXPECT_EQ(90720, written->duration());
    // G4, the second line, joins the half note's C4.
    MnNote* g4 = nullptr;
    for (int i = 0; i < written->noteCount(); ++i)
        if (written->note(i)->step() == 4 && written->note(i)->octave() == 4)
            g4 = written->note(i);
    ASSERT_NE(nullptr, g4);
    EXPECT_EQ(std::vector<int>{g4->keyNumber()}, window.taps);
    EXPECT_EQ(1, core.cursor().voice());
    EXPECT_EQ(0, core.cursor().time());
    EXPECT_EQ(snapshots + 1, document.snapshotCount());
    EXPECT_EQ(60480, context.noteInput().inputDuration);
    EXPECT_TRUE(context.noteInput().inputDotted);
    // The next move starts the tool again.
    core.mouseMove(0, 400, 300);
    EXPECT_TRUE(core.hasPendingTool());
}

TEST_F(NewNoteToolTest, AClickOnNothingEndsNoteInputAndARestOverAGraceChordWritesNothing)
{
    context.noteInput().inputVoice = 1;
    context.noteInput().inputDotted = true;
    core.view.setCamera(-5000, -5000, 100);
    core.view.drawFrame(-1, -1);
    core.mouseMove(0, 400, 300);
    ASSERT_TRUE(core.hasPendingTool());
    core.leftButtonDown(leftButton, 400, 300);
    EXPECT_EQ(0, context.noteInput().inputDuration);
    EXPECT_FALSE(context.noteInput().inputDotted);
    EXPECT_EQ(1, context.noteInput().inputVoice);

    addGraceChords(score->staff(0)->measure(0), 0, 1, 1);
    context.noteInput().inputDuration = 60480;
    context.noteInput().inputRest = true;
    const int snapshots = document.snapshotCount();
    UiNewNoteCmd* tool = new UiNewNoteCmd(core);
    ASSERT_TRUE(core.startTool(tool));
    MarkFinder finder(score->staff(0)->measure(0)->voiceChords(0)[1]->note(0));
    {
        MnCache cache;
        finder.render(&document, core.view.scrollX, core.view.scrollY, core.view.zoom, 800, 600, -1, -1);
    }
    ASSERT_TRUE(finder.found);
    core.view.setCamera(finder.centre.x, stepY(-4), 16 * score->scale());
    core.view.drawFrame(-1, -1);
    core.mouseMove(0, 400, 300);
    EXPECT_EQ(-1, tool->target().scoreIndex);
    EXPECT_EQ(1, tool->target().chordIndex);
    core.leftButtonDown(leftButton, 400, 300);
    EXPECT_EQ(snapshots, document.snapshotCount());
    EXPECT_EQ(60480, context.noteInput().inputDuration);
    EXPECT_TRUE(context.noteInput().inputRest);
}

}  // namespace
