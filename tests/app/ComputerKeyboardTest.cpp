#include "app/UiComputerKeyboard.h"

#include "commands/EdCommandFixture.h"
#include "editing/EdCursor.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "panels/UiHeldKeys.h"
#include "panels/UiKeyCodes.h"
#include "playback/MrRecorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class FakeKeyboardHost : public UiComputerKeyboardHost
{
public:
    struct Entered
    {
        int key;
        bool addToChord;
        bool operator==(const Entered& other) const { return key == other.key && addToChord == other.addToChord; }
    };

    void keyDown(int key) override { sounded.push_back(key); }
    void keyUp(int key) override { released.push_back(key); }
    MrRecorder* recorder() override { return &recording; }
    int chordThreshold() override { return 64; }
    void enterNote(int key, bool addToChord) override { entered.push_back({key, addToChord}); }
    void invalidatePanels() override { ++panelRepaints; }
    int keyboardLanguage() override { return UiNoteKeys::english; }
    bool textFieldHasFocus() override { return textField; }

    std::vector<int> sounded;
    std::vector<int> released;
    std::vector<Entered> entered;
    MrRecorder recording;
    int panelRepaints = 0;
    bool textField = false;
};

class ComputerKeyboardTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        UiHeldKeys::clearAll();
        context.mainWindow = true;
    }
    void TearDown() override { UiHeldKeys::clearAll(); }

    bool down(unsigned code, unsigned modifiers = 0) { return keyboard.keyDown(code, modifiers); }
    bool up(unsigned code) { return keyboard.keyUp(code); }

    FakeKeyboardHost host;
    UiComputerKeyboard keyboard{host};
};

using Entered = FakeKeyboardHost::Entered;
constexpr unsigned ctrl = UiComputerKeyboard::ctrl;
constexpr unsigned alt = UiComputerKeyboard::alt;

}  // namespace

TEST_F(ComputerKeyboardTest, keysWithinTheThresholdMakeOneChordAndAHeldKeySoundsOnce)
{
    const struct
    {
        unsigned long long at;
        unsigned code;
        bool press;
    } script[] = {
        {1000, 'Z', true},   // A3, a new chord
        {1030, 'C', true},   // 30 ms on: C4 joins it
        {1040, 'C', false},
        {1130, 'B', true},   // 100 ms on: a chord of its own
        {1160, 'B', true},   // the auto-repeat enters again, within the threshold, silently
        {1300, 'B', true},   // and again, as a chord of its own
        {1310, 'B', false},
        {1320, 'Z', false},
    };
    for (const auto& step : script) {
        context.clock = step.at;
        step.press ? down(step.code) : up(step.code);
    }
    const std::vector<Entered> entered = {{36, false}, {39, true}, {43, false}, {43, true}, {43, false}};
    EXPECT_EQ(host.entered, entered);
    EXPECT_EQ(host.sounded, (std::vector<int>{36, 39, 43}));
    EXPECT_EQ(host.released, (std::vector<int>{39, 43, 36}));
    EXPECT_EQ(host.panelRepaints, 6);
    EXPECT_FALSE(UiHeldKeys::isHeld(36));
    EXPECT_EQ(keyboard.lastNoteKeyTime, 1300u);
}

TEST_F(ComputerKeyboardTest, ctrlAltReAnchorsSilentlyAndCtrlAloneStillEnters)
{
    const int redraws = context.pianoRedraws;
    EXPECT_TRUE(down('B', ctrl | alt));
    EXPECT_EQ(context.noteInput().keyboardTranspose, 4);
    EXPECT_EQ(context.pianoRedraws, redraws + 1);
    up('B');
    down('B', ctrl | alt);
    EXPECT_EQ(context.pianoRedraws, redraws + 1) << "the same transpose again: no redraw";
    EXPECT_TRUE(host.sounded.empty());
    EXPECT_TRUE(host.entered.empty());
    EXPECT_TRUE(host.released.empty()) << "its key-up lets go of nothing";

    context.noteInput().keyboardTranspose = 0;
    down('Z', ctrl);
    EXPECT_EQ(host.entered, (std::vector<Entered>{{36, false}}));
    // At octave 1 and transpose -3 the three positions below C play nothing.
    context.noteInput().keyboardOctave = 1;
    context.noteInput().keyboardTranspose = -3;
    for (unsigned code : {'Z', 'S', 'X'})
        EXPECT_FALSE(down(code)) << char(code);
    down('C');
    EXPECT_EQ(host.entered.back().key, 0);
}

TEST_F(ComputerKeyboardTest, aKeyUpLetsGoOfTheKeyItsKeyDownSounded)
{
    down('Z');
    EXPECT_TRUE(UiHeldKeys::isHeld(36));
    down('5');
    EXPECT_EQ(context.noteInput().keyboardOctave, 5);
    down('V', ctrl | alt);
    EXPECT_EQ(context.noteInput().keyboardTranspose, 2);
    up('Z');
    EXPECT_EQ(host.released, std::vector<int>{36});
    EXPECT_FALSE(UiHeldKeys::isHeld(36));
    EXPECT_FALSE(UiHeldKeys::isHeld(50));

    // Focus gone while held: every held key lets go.
    down('Z');
    down('X');
    keyboard.releaseAll();
    EXPECT_EQ(host.released, (std::vector<int>{36, 50, 52}));
    for (int key = 0; key < UiHeldKeys::keyCount; ++key)
        EXPECT_FALSE(UiHeldKeys::isHeld(key)) << key;
}

TEST_F(ComputerKeyboardTest, digitsChooseTheOctaveUnlessATextFieldTypesThem)
{
    const struct
    {
        unsigned code;
        bool textField;
        unsigned modifiers;
        int octave;
    } cases[] = {
        {'1', false, 0, 1}, {'7', false, 0, 7}, {'3', false, 0, 3}, {'8', false, 0, 4},
        {'9', false, 0, 4}, {'0', false, 0, 4}, {'2', true, 0, 4},  {'2', true, alt, 2},
    };
    for (const auto& c : cases) {
        context.noteInput().keyboardOctave = 4;
        host.textField = c.textField;
        down(c.code, c.modifiers);
        EXPECT_EQ(context.noteInput().keyboardOctave, c.octave) << char(c.code) << " " << c.textField;
    }
    // A note key types into the field too, but its key-up still lets go.
    host.textField = false;
    context.noteInput().keyboardOctave = 4;
    down('Z');
    host.textField = true;
    EXPECT_FALSE(down('X'));
    up('Z');
    EXPECT_EQ(host.sounded, std::vector<int>{36});
    EXPECT_EQ(host.released, std::vector<int>{36});
}

TEST_F(ComputerKeyboardTest, whileRecordingKeysBecomeEventsAndAReleaseClosesOnlyItsOwn)
{
    host.recording.start(1000);
    context.clock = 1100;
    down('Z');
    context.clock = 1150;
    down('X');
    context.clock = 1200;
    down('3');  // the octave changes while both are held
    up('Z');
    EXPECT_TRUE(host.entered.empty()) << "no notes entered while recording";
    const BcArray<MrEvent>& events = host.recording.events();
    ASSERT_EQ(events.count(), 2);
    for (int i = 0; i < events.count(); ++i) {
        const MrEvent& event = events[i];
        EXPECT_EQ(event.isOpen(), event.key == 38) << event.key;
    }
    EXPECT_EQ(keyboard.lastNoteKeyTime, 0u);
}

TEST_F(ComputerKeyboardTest, backspaceTurnsTheLastChordIntoASelectedRestInOneStep)
{
    MnScore* score = addScore(makeScore(1, 2));
    MnMeasure* measure = score->staff(0)->measure(0);
    MnChord* second = measure->voiceChords(0)[1];
    ASSERT_TRUE(context.view.cursor().setAtChord(measure->voiceChords(0)[2], 0, false));
    down(UiKeyCodes::back);
    EXPECT_TRUE(second->isRest());
    EXPECT_EQ(selection().count(), 1);
    EXPECT_TRUE(selection().contains(second));
    EXPECT_EQ(steps(), 1);

    addGraceChords(measure, 0, 3, 1);
    restartHistory();
    MnChord* grace = measure->voiceChords(0)[3];
    ASSERT_TRUE(grace->isGrace());
    const int chords = measure->voiceChords(0).count();
    ASSERT_TRUE(context.view.cursor().setAtChord(measure->voiceChords(0)[4], 0, false));
    down(UiKeyCodes::back);
    EXPECT_EQ(measure->voiceChords(0).count(), chords - 1) << "the grace chord is gone";
    EXPECT_EQ(steps(), 1);

    context.activeViewPresent = false;
    EXPECT_TRUE(down(UiKeyCodes::back)) << "no view: nothing, quietly";
}

TEST_F(ComputerKeyboardTest, keypadPlusAndMinusStepTheVolume)
{
    const struct
    {
        const char* name;
        bool open;
        unsigned code;
        unsigned before;
        unsigned after;
    } cases[] = {
        {"up to full", true, UiKeyCodes::add, 65000, 0xFFFFFFFFu},
        {"down to silence", true, UiKeyCodes::subtract, 6000, 0},
        {"one step down", true, UiKeyCodes::subtract, 40000, (40000 - 6553) * 0x10001u},
        {"closed player, up", false, UiKeyCodes::add, 65000, 65000},
        {"closed player, down", false, UiKeyCodes::subtract, 6000, 6000},
    };
    for (const auto& c : cases) {
        context.playerOpen = c.open;
        context.savedVolume = c.before;
        context.volume = c.before;
        down(c.code);
        EXPECT_EQ(context.savedVolume, c.after) << c.name;
        EXPECT_EQ(context.volume, c.after) << c.name;
    }
}
