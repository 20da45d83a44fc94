#include "PanelsFixture.h"

#include "editing/EdSelection.h"
#include "model/MnNote.h"
#include "panels/UiRecordingPainter.h"
#include "panels/UiWxPainter.h"

#include <wx/image.h>

#include <filesystem>

using Strings = std::vector<std::string>;

TEST_F(PanelsTest, heldKeysLightThePianoUntilEverySourceLetsGo)
{
    unsigned char states[88];
    UiHeldKeys::setByComputerKeyboard(39, true);
    UiHeldKeys::setByMidiInput(39, true);
    UiHeldKeys::setByComputerKeyboard(39, false);
    piano->computeKeyStates(states);
    EXPECT_EQ(states[39], UiPianoKeyboard::soundingBit) << "MIDI still holds it";
    EXPECT_TRUE(UiInstrumentPanel::releaseMidiInputKeys());
    piano->computeKeyStates(states);
    EXPECT_EQ(states[39], 0);
    EXPECT_FALSE(UiInstrumentPanel::releaseMidiInputKeys()) << "nothing held by MIDI: nothing to repaint";

    // A fretboard press lights the piano; a position past C8 lights nothing.
    const wxPoint fifth = pointOnNeck(0, 5);
    fretboard->mouseDown(fifth.x, fifth.y);
    piano->computeKeyStates(states);
    EXPECT_EQ(states[60], UiPianoKeyboard::soundingBit);
    fretboard->mouseUp(fifth.x, fifth.y, true);
    ASSERT_TRUE(fretboard->setTuning(FretboardTuning::preset(3)));
    const wxPoint high = pointOnNeck(0, 21);
    fretboard->mouseDown(high.x, high.y);
    EXPECT_EQ(fretboard->pressedKey(), 88);
    piano->computeKeyStates(states);
    for (int k = 0; k < 88; ++k)
        EXPECT_EQ(states[k], 0) << k;
}

TEST_F(PanelsTest, pianoGeometryAtFiveHundredTwentyOnePixels)
{
    const UiRect first = UiPianoKeyboard::whiteKeyOutline(1, pianoWidth, pianoHeight);
    EXPECT_EQ(first, (UiRect{1, 4, 10, pianoHeight - 1}));
    const UiRect sharp = UiPianoKeyboard::blackKeyBody(1, pianoWidth, pianoHeight);
    EXPECT_EQ(sharp, (UiRect{7, 3, 13, 80}));

    struct Hit
    {
        int x, y, key;
    } hits[] = {
        {1, 100, 0},  {9, 100, 0}, {7, 79, 1},   {12, 20, 1}, {7, 80, 0},  {10, 100, -1},
        {5, 3, -1},   {5, 4, 0},   {515, 50, 87}, {520, 50, -1}, {0, 50, -1},
    };
    for (const Hit& hit : hits)
        EXPECT_EQ(UiPianoKeyboard::keyAt(hit.x, hit.y, pianoWidth, pianoHeight), hit.key) << hit.x << "," << hit.y;

    int white = 0, black = 0, keys = 0;
    for (int i = 1; i <= UiPianoKeyboard::whiteKeyCount; ++i) {
        ++white;
        black += UiPianoKeyboard::hasBlackKey(i) ? 1 : 0;
        keys += UiPianoKeyboard::hasBlackKey(i) ? 2 : 1;
    }
    EXPECT_EQ(white, 52);
    EXPECT_EQ(black, 36);
    EXPECT_EQ(keys, 88);
    EXPECT_FALSE(UiPianoKeyboard::hasBlackKey(52)) << "C8 ends the keyboard";
    // Every key is reachable once, from the left.
    int last = -1;
    for (int x = 0; x < pianoWidth; ++x)
        for (int y : {100, 40}) {
            const int key = UiPianoKeyboard::keyAt(x, y, pianoWidth, pianoHeight);
            if (key > last) {
                EXPECT_EQ(key, last + 1) << x;
                last = key;
            }
        }
    EXPECT_EQ(last, 87);
}

TEST_F(PanelsTest, labelsFollowTheNoteMappingAndNeedRoom)
{
    struct Case
    {
        int octave, transpose, width, height;
        size_t count;
        const char* first;  // label of the leftmost white label
        int firstX;
    } cases[] = {
        // A3 (white key 22) carries the first character, C5 the last.
        {4, 0, pianoWidth, pianoHeight, 16, "Z", 212},
        // Octave 1 with transpose -3: A0 gets the fourth character.
        {1, -3, pianoWidth, pianoHeight, 13, "C", 2},
        // Too narrow for "M" in half a key, or too low for the text.
        {4, 0, 300, pianoHeight, 0, nullptr, 0},
        {4, 0, pianoWidth, 50, 0, nullptr, 0},
    };
    for (const Case& c : cases) {
        services.octave = c.octave;
        services.transpose = c.transpose;
        UiRecordingPainter painter;
        piano->paint(painter, c.width, c.height);
        const auto texts = painter.texts();
        ASSERT_EQ(texts.size(), c.count) << c.octave << " " << c.width << "x" << c.height;
        EXPECT_EQ(painter.calls.back().kind, UiRecordingPainter::Call::blitCall);
        if (!c.count)
            continue;
        EXPECT_EQ(texts[0]->text, c.first);
        EXPECT_EQ(texts[0]->rect.left, c.firstX);
        EXPECT_EQ(texts[0]->rect.top, c.height - 6) << "white labels sit 6 pixels above the bottom";
    }
    services.octave = 4;
    services.transpose = 0;
    UiRecordingPainter painter;
    piano->paint(painter, pianoWidth, pianoHeight);
    std::string whites;
    for (const auto* call : painter.texts())
        if (call->color == UiPianoKeyboard::whiteLabelColor)
            whites += call->text;
    EXPECT_EQ(whites, "ZXCVBNM,./") << "C5, the last character, ends the white labels";
}

TEST_F(PanelsTest, soundingIsDrawnOverSelected)
{
    MnNote middleC(nullptr, 0, 4, 0, false);  // key 39
    MnNote d(nullptr, 1, 4, 0, false);        // key 41
    ASSERT_EQ(middleC.keyNumber(), 39);
    EdSelection selection;
    selection.add(&middleC);
    selection.add(&d);
    services.selection = &selection;
    UiHeldKeys::setByComputerKeyboard(39, true);
    UiRecordingPainter painter;
    piano->paint(painter, pianoWidth, pianoHeight);
    const wxPoint c = pointOfKey(39), dPoint = pointOfKey(41), e = pointOfKey(43);
    EXPECT_EQ(painter.colorAt(c.x, c.y), UiPianoKeyboard::soundingColor);
    EXPECT_EQ(painter.colorAt(dPoint.x, dPoint.y), UiPianoKeyboard::selectedColor);
    EXPECT_EQ(painter.colorAt(e.x, e.y), UiPianoKeyboard::whiteColor);
    services.selection = nullptr;
}

TEST_F(PanelsTest, pressingGlidingAndLeavingThePiano)
{
    const wxPoint c = pointOfKey(39), cSharp = pointOfKey(40), d = pointOfKey(41);
    struct Case
    {
        const char* name;
        bool recording, ctrlAlt;
        Strings afterPress, afterGlide, afterRelease;
    } cases[] = {
        {"plain", false, false, {"enter 39", "down 39"}, {"enter 40", "down 40", "up 39"}, {"up 40"}},
        {"recording", true, false, {"record 39", "down 39"}, {"enter 40", "down 40", "up 39"}, {"release 40", "up 40"}},
        {"ctrl+alt", false, true, {"anchor 39"}, {}, {}},
    };
    for (const Case& t : cases) {
        services.recording = t.recording;
        services.ctrlAlt = t.ctrlAlt;
        services.calls.clear();
        piano->mouseDown(c.x, c.y);
        EXPECT_EQ(services.calls, t.afterPress) << t.name;
        EXPECT_EQ(piano->pressedKey(), t.ctrlAlt ? -1 : 39) << t.name;
        services.calls.clear();
        piano->mouseMove(c.x, 2, true);  // the top strip: the key keeps sounding
        piano->mouseMove(cSharp.x, cSharp.y, true);
        EXPECT_EQ(services.calls, t.afterGlide) << t.name;
        services.calls.clear();
        piano->mouseUp();
        EXPECT_EQ(services.calls, t.afterRelease) << t.name;
        EXPECT_EQ(piano->pressedKey(), -1);
    }
    services.recording = false;
    services.ctrlAlt = false;
    services.calls.clear();
    piano->mouseDown(d.x, d.y);
    piano->mouseMove(-5, d.y, false);
    EXPECT_EQ(services.calls, (Strings{"enter 41", "down 41", "up 41"})) << "leaving lets go";
    EXPECT_EQ(piano->pressedKey(), -1);
}

TEST_F(PanelsTest, screenshotOfThePianoWithLabelsAndALitKey)
{
    // Keys 26 pixels wide: room for the dialog font's labels.
    const int width = 52 * 26 + 1, height = 160;
    piano->SetSize(0, 0, width, height);
    pump();
    UiHeldKeys::setByComputerKeyboard(39, true);
    UiWxPainter painter(piano, nullptr);
    piano->paint(painter, width, height);
    const wxImage image = painter.bitmap().ConvertToImage();
    const wxPoint c(611, 120);  // white key 24, middle C, above its label
    ASSERT_EQ(UiPianoKeyboard::keyAt(c.x, c.y, width, height), 39);
    EXPECT_EQ(image.GetRed(c.x, c.y), 253);
    EXPECT_EQ(image.GetGreen(c.x, c.y), 216);
    EXPECT_EQ(image.GetBlue(c.x, c.y), 134);
    std::filesystem::create_directories(QRV_TEST_OUTPUT_DIR);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    EXPECT_TRUE(image.SaveFile(QRV_TEST_OUTPUT_DIR "/piano-keyboard.png", wxBITMAP_TYPE_PNG));
}
