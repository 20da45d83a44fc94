#include "app/UiStatusPanes.h"

#include "common/EdFakeContext.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCodes.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

namespace {

using P = UiStatusPanes;

std::wstring textOf(const P::Inputs& inputs, int pane)
{
    P::State states[P::paneCount];
    P::states(inputs, states);
    return states[pane].text;
}

P::Inputs withDocument()
{
    P::Inputs inputs;
    inputs.commands.document = true;
    inputs.commands.score = true;
    inputs.commands.playerOpen = true;
    return inputs;
}

}

TEST(StatusPanesTest, octaveMidiVolumeAndUndoTexts)
{
    struct Case
    {
        const char* name;
        void (*set)(P::Inputs&);
        int pane;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"octave alone", [](P::Inputs& i) { i.keyboardOctave = 4; }, P::octave, L"Keyboard octave:  4"},
        {"transpose down", [](P::Inputs& i) { i.keyboardTranspose = -2; }, P::octave, L"Keyboard octave:  4  (-2)"},
        {"transpose up",
         [](P::Inputs& i) {
             i.keyboardOctave = 6;
             i.keyboardTranspose = 3;
         },
         P::octave, L"Keyboard octave:  6  (+3)"},
        {"no MIDI device", [](P::Inputs& i) { i.commands.midiInput = 0; }, P::midiInput, L"MIDI input:  not detected"},
        {"MIDI on",
         [](P::Inputs& i) {
             i.commands.midiInput = 1;
             i.midiDeviceName = L"Keystation 49";
         },
         P::midiInput, L"MIDI input:  Keystation 49"},
        {"MIDI off", [](P::Inputs& i) { i.commands.midiInput = 2; }, P::midiInput, L"MIDI input:  disabled"},
        {"volume 75", [](P::Inputs& i) { i.savedVolume = 49151; }, P::volume, L"Volume:  75%"},
        {"volume full, right word ignored", [](P::Inputs& i) { i.savedVolume = 0x1234FFFF; }, P::volume,
         L"Volume:  100%"},
        {"three steps up from 0", [](P::Inputs& i) { i.savedVolume = 3 * 6553; }, P::volume, L"Volume:  30%"},
        {"muted", [](P::Inputs& i) { i.commands.muted = true; }, P::volume, L"Volume:  mute"},
        {"undo levels",
         [](P::Inputs& i) {
             i.commands.undoIndex = 3;
             i.commands.snapshotCount = 6;
         },
         P::undo, L"Undo levels:  3 - 2"},
        {"no document: no undo levels", [](P::Inputs& i) { i.commands.document = false; }, P::undo, L""},
        {"turn", [](P::Inputs&) {}, P::turn, L"\tTURN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        P::Inputs inputs = withDocument();
        c.set(inputs);
        EXPECT_EQ(textOf(inputs, c.pane), c.text);
    }

    const std::pair<unsigned, int> percents[] = {
        {65535, 100}, {49151, 75}, {32767, 50}, {16383, 25}, {0, 0}, {655 * 6, 5}, {655 * 11 + 300, 10}};
    for (auto [volume, percent] : percents)
        EXPECT_EQ(P::volumePercent(volume), percent) << volume;
}

TEST(StatusPanesTest, modesAreHighlightedOnlyWhereTheyApply)
{
    P::State states[P::paneCount];
    P::Inputs inputs = withDocument();
    inputs.commands.toggles.snapGuideLines = true;
    inputs.commands.toggles.orthoMode = false;
    inputs.commands.toggles.playbackTracking = true;
    P::states(inputs, states);
    EXPECT_EQ(states[P::snap].text, L"\tSNAP");
    EXPECT_TRUE(states[P::snap].highlighted);
    EXPECT_EQ(states[P::ortho].text, L"\tORTHO");
    EXPECT_FALSE(states[P::ortho].highlighted);
    EXPECT_EQ(states[P::tracking].text, L"\tTRACK");
    EXPECT_TRUE(states[P::tracking].highlighted);
    EXPECT_TRUE(P::isCentred(states[P::snap].text));
    EXPECT_FALSE(P::isCentred(L"\t"));

    // A tool that takes Ctrl flips snapping while Ctrl is down; Shift, ortho.
    inputs.commands.toolModifiers = 3;
    inputs.commands.ctrlDown = true;
    inputs.commands.shiftDown = true;
    P::states(inputs, states);
    EXPECT_FALSE(states[P::snap].highlighted);
    EXPECT_TRUE(states[P::ortho].highlighted);

    // No document: the mode panes are empty and plain; no score: no TRACK.
    inputs.commands.document = false;
    inputs.commands.score = false;
    P::states(inputs, states);
    for (int pane : {P::snap, P::ortho, P::tracking}) {
        EXPECT_EQ(states[pane].text, L"") << pane;
        EXPECT_FALSE(states[pane].highlighted) << pane;
    }

    // The player closed: the volume pane is greyed and keeps its text.
    inputs.commands.playerOpen = false;
    P::states(inputs, states);
    EXPECT_FALSE(states[P::volume].enabled);
    EXPECT_TRUE(states[P::volume].keepText);
}

TEST(StatusPanesTest, layoutClicksAndTheWheel)
{
    P::Rect rects[P::paneCount];
    P::layout(1600, 22, 1.0, 0, rects);
    const int widths[P::paneCount] = {160, 180, 0, 45, 45, 15, 45, 15, 135, 180, 45};
    int fixed = 0;
    for (int i = 0; i < P::paneCount; ++i)
        fixed += widths[i];
    for (int i = 0; i < P::paneCount; ++i)
        EXPECT_EQ(rects[i].width, i == P::cursor ? 1600 - fixed : widths[i]) << i;
    EXPECT_EQ(rects[P::turn].x + rects[P::turn].width, 1600);
    // At 1.5 the volume pane is three scaled snap widths.
    EXPECT_EQ(P::width(P::volume, 1.5), 3 * 67);
    EXPECT_EQ(P::width(P::octave, 1.5), 240);
    // A bar too narrow for the fixed panes leaves the stretching one empty.
    P::layout(300, 22, 1.0, 2, rects);
    EXPECT_EQ(rects[P::cursor].width, 0);

    P::layout(1600, 22, 1.0, 2, rects);
    struct Case
    {
        int pane;
        P::Action action;
        unsigned command;
    };
    const Case clicks[] = {
        {P::turn, P::postCommand, 32853},      {P::volume, P::postCommand, 33074},
        {P::tracking, P::postCommand, 33023},  {P::snap, P::toggleSnap, 0},
        {P::ortho, P::toggleOrtho, 0},         {P::midiInput, P::postCommand, 32964},
        {P::octave, P::nothing, 0},            {P::cursor, P::nothing, 0},
        {P::undo, P::nothing, 0},              {P::spacer1, P::nothing, 0},
    };
    for (const Case& c : clicks) {
        SCOPED_TRACE(c.pane);
        const P::Rect& r = rects[c.pane];
        int hit = P::clickedPane(rects, r.x + r.width / 2, r.y + r.height / 2);
        P::Click click = P::clickOn(hit);
        EXPECT_EQ(click.action, c.action);
        EXPECT_EQ(click.command, c.command);
    }
    EXPECT_EQ(P::clickedPane(rects, 1599, 30), -1);
    // Overlapping rectangles: the order decides.
    P::Rect overlapping[P::paneCount];
    for (P::Rect& r : overlapping)
        r = P::Rect{0, 0, 10, 10};
    EXPECT_EQ(P::clickedPane(overlapping, 5, 5), int(P::turn));
    overlapping[P::turn] = P::Rect{};
    overlapping[P::volume] = P::Rect{};
    EXPECT_EQ(P::clickedPane(overlapping, 5, 5), int(P::tracking));

    EXPECT_EQ(P::wheelCommand(P::volume, true, 120), 33072u);
    EXPECT_EQ(P::wheelCommand(P::volume, true, -120), 33073u);
    EXPECT_EQ(P::wheelCommand(P::volume, false, 120), 0u);
    EXPECT_EQ(P::wheelCommand(P::undo, true, 120), 0u);
}

TEST(StatusPanesTest, theCursorPane)
{
    EdFakeContext context;
    QuorvaneDocument document;
    document.OnNewDocument();
    MnSheetMusic* sheet = new MnSheetMusic;
    document.addWork(sheet);
    MnStaff* staff = sheet->score()->staff(0);
    while (staff->measureCount() < 3)
        sheet->score()->insertMeasure(-1);
    context.activate(&document);
    const int q = MnTicksQuarter;
    const int bar = staff->measure(0)->length();
    ASSERT_EQ(bar, 4 * q);
    {
        // Four quarters and a grace chord kept at the measure's end, before
        // the next measure's first chord.
        VoiceBuilder one(staff->measure(0), 0);
        for (int i = 0; i < 4; ++i)
            one.note(q, 0, 4);
        one.grace(q / 2);
        VoiceBuilder two(staff->measure(1), 0);
        two.note(q, 0, 4);
        two.grace(q / 2);
        two.note(q, 1, 4);
        two.note(2 * q, 2, 4);
    }
    EdCursor& cursor = context.view.cursor();
    cursor.staffSelection().add(staff);

    const wchar_t* const gap = L"                ";
    auto text = [&](int measure, int chord, int grace) {
        std::wstring t = L"Score 1" + std::wstring(gap) + L"Staff 1" + gap + L"Measure " + std::to_wstring(measure) +
                         gap + L"Chord " + std::to_wstring(chord);
        if (grace)
            t += L" (-" + std::to_wstring(grace) + L")";
        return t;
    };
    struct Row
    {
        const char* name;
        int voice, time, grace;
        std::wstring text;
    };
    const Row rows[] = {
        {"first chord", 0, 0, 0, text(1, 1, 0)},
        {"inside the third quarter", 0, 2 * q + 5, 0, text(1, 3, 0)},
        {"second measure", 0, bar + q, 0, text(2, 2, 0)},
        {"grace chord in the measure", 0, bar + q, 1, text(2, 2, 1)},
        {"grace chord at the previous measure's end", 0, bar, 1, text(1, 5, 1)},
        {"all voices", -1, 0, 0, L""},
        {"before the first measure", 0, -1, 0, L""},
        {"past the last measure", 0, staff->measureCount() * bar, 0, L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        cursor.setVoice(row.voice);
        cursor.setPosition(row.time, row.grace, false);
        EXPECT_EQ(P::cursorText(&document, &context.view), row.text);
    }
    // A voice without a chord up to the cursor's time gives nothing.
    { VoiceBuilder emptied(staff->measure(2), 1); }
    cursor.setVoice(1);
    cursor.setPosition(2 * bar + q, 0, false);
    EXPECT_EQ(P::cursorText(&document, &context.view), L"");
    cursor.setPosition(q, 0, false);
    EXPECT_EQ(P::cursorText(&document, &context.view), text(1, 1, 0));
    EXPECT_EQ(P::cursorText(&document, nullptr), L"");
    EXPECT_EQ(P::cursorText(nullptr, &context.view), L"");
}
