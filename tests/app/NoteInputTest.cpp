#include "app/UiNoteInput.h"

#include "common/EdFakeContext.h"
#include "editing/EdCommand.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "model/MnTuplet.h"
#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

namespace {

class NoteInputTest : public ::testing::Test
{
protected:
    NoteInputTest()
    {
        document.OnNewDocument();
        sheet = new MnSheetMusic;
        document.addWork(sheet);
        staff = sheet->score()->staff(0);
        while (staff->measureCount() < 2)
            sheet->score()->insertMeasure(-1);
        context.activate(&document);
        context.view.selection().clear();
    }
    ~NoteInputTest() override { context.view.selection().clear(); }

    void select(std::initializer_list<MnElement*> elements)
    {
        context.view.selection().clear();
        for (MnElement* e : elements)
            context.view.selection().add(e);
        UiNoteInput::selectionChanged(context);
    }
    EdContext::NoteInput& input() { return context.noteInput(); }

    EdFakeContext context;
    QuorvaneDocument document;
    MnSheetMusic* sheet = nullptr;
    MnStaff* staff = nullptr;
};

}

TEST_F(NoteInputTest, theSelectedChordsGiveTheirCommonValue)
{
    VoiceBuilder one(staff->measure(0), 0);
    MnChord* dottedQuarter = one.note(90720, 0, 4);
    MnChord* rest = one.chord(60480);
    MnChord* note = one.note(60480, 2, 4);
    VoiceBuilder two(staff->measure(1), 1);
    MnChord* wholeAndHalf = two.note(362880, 1, 4);
    MnChord* secondA = two.note(30240, 1, 4);
    MnChord* secondB = two.note(30240, 3, 4);

    struct Case
    {
        const char* name;
        std::vector<MnElement*> selected;
        int duration, dotted, rest, voice;  // voice -1: as before (set to 0)
    };
    const Case cases[] = {
        {"dotted quarter", {dottedQuarter}, 60480, true, false, 0},
        {"a note selects its chord", {dottedQuarter->note(0)}, 60480, true, false, 0},
        {"dotted whole stands for itself", {wholeAndHalf}, 362880, false, false, 1},
        {"rest and note: no rest", {rest, note}, 60480, false, false, 0},
        {"dotted and undotted quarters", {dottedQuarter, note}, 60480, false, false, 0},
        {"values differ", {wholeAndHalf, note}, 0, false, false, 0},
        {"two chords of voice 2 keep the voice", {secondA, secondB}, 30240, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        input().inputVoice = 0;
        input().inputRest = true;
        context.view.selection().clear();
        for (MnElement* e : c.selected)
            context.view.selection().add(e);
        UiNoteInput::selectionChanged(context);
        EXPECT_EQ(input().inputDuration, c.duration);
        EXPECT_EQ(input().inputDotted, bool(c.dotted));
        EXPECT_EQ(input().inputRest, bool(c.rest));
        EXPECT_EQ(input().inputVoice, c.voice);
    }
}

TEST_F(NoteInputTest, anEmptySelectionClearsTheInputUnlessAToolRuns)
{
    for (bool tool : {false, true}) {
        SCOPED_TRACE(tool);
        input().inputDuration = 30240;
        input().inputRest = true;
        input().inputDotted = true;
        input().inputVoice = 1;
        if (tool)
            context.view.pendingTool = new EdCommand;
        select({});
        EXPECT_EQ(input().inputDuration, tool ? 30240 : 0);
        EXPECT_EQ(input().inputRest, tool);
        EXPECT_EQ(input().inputDotted, tool);
        EXPECT_EQ(input().inputVoice, 1);
        context.view.discardPendingTool();
    }
}

TEST_F(NoteInputTest, aSelectedScoreShowsItsTempoUnlessItPlays)
{
    sheet->score()->tempo(0)->setBeatsPerMinute(300);
    select({sheet});
    EXPECT_EQ(context.toolbarTempos, std::vector<int>{208});
    sheet->score()->tempo(0)->setBeatsPerMinute(96);
    select({sheet->score()});
    EXPECT_EQ(context.toolbarTempos, (std::vector<int>{208, 96}));
    context.playing = true;
    select({sheet});
    EXPECT_EQ(context.toolbarTempos.size(), 2u);

    struct Case
    {
        const char* text;
        int tempo;
    };
    const Case texts[] = {{"abc", 40}, {"300", 208}, {" 120x", 120}, {"-5", 40}, {"+96", 96}, {"", 40}};
    for (const Case& c : texts)
        EXPECT_EQ(UiNoteInput::tempoOfText(c.text), c.tempo) << c.text;
}

TEST_F(NoteInputTest, theCursorStaysWhereTheSelectionCoversIt)
{
    VoiceBuilder voice(staff->measure(0), 0);
    MnChord* first = voice.note(60480, 0, 4);
    MnChord* second = voice.note(60480, 2, 4);
    VoiceBuilder next(staff->measure(1), 0);
    MnChord* later = next.note(60480, 4, 4);
    const int end = staff->totalTicks();
    struct Case
    {
        const char* name;
        std::vector<MnElement*> selected;
        bool stays;
    };
    const Case cases[] = {
        {"its chord", {second}, true},
        {"a note of its chord", {second->note(0)}, true},
        {"its measure", {staff->measure(0)}, true},
        {"its staff", {staff}, true},
        {"another chord", {first}, false},
        {"a chord of another measure", {later}, false},
        {"nothing", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EdCursor& cursor = context.view.cursor();
        ASSERT_TRUE(cursor.setAtChord(second, 0, false));
        const int at = cursor.time();
        context.view.selection().clear();
        for (MnElement* e : c.selected)
            context.view.selection().add(e);
        UiNoteInput::selectionChanged(context);
        EXPECT_EQ(cursor.time(), c.stays ? at : end);
        EXPECT_EQ(cursor.anchorTime(), c.stays ? at : end);
        EXPECT_EQ(cursor.staff(), staff);
    }
}
