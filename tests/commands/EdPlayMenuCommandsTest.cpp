#include "EdCommandFixture.h"

#include "commands/EdCommandRows.h"
#include "commands/EdCommandTable.h"
#include "commands/EdPlayMenuCommands.h"

#include <vector>

namespace {

class EdPlayMenuCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        EdCommandTable::clear();
        EdCommandRows::install();
    }

    void run(unsigned id) { EXPECT_TRUE(EdCommandTable::execute(id, EdCommandTable::gather())) << id; }
};

}

TEST_F(EdPlayMenuCommandsTest, keyboardOctaveAndTranspositionRedrawThePiano)
{
    for (int octave = 1; octave <= 7; ++octave) {
        run(32936 + unsigned(octave));
        EXPECT_EQ(context.noteInput().keyboardOctave, octave);
    }
    EXPECT_EQ(context.pianoRedraws, 7);

    struct Case
    {
        const char* name;
        int octave;
        int transposeBefore;
        int semitones;
        int expected;
        bool redrawn;
    } cases[] = {
        {"G at octave 2", 2, 0, -5, -5, true},
        {"G at octave 1: nothing", 1, 0, -5, 0, false},
        {"G# at octave 1: nothing", 1, 2, -4, 2, false},
        {"A at octave 1", 1, 0, -3, -3, true},
        {"the same value: no redraw", 4, 6, 6, 6, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        context.noteInput().keyboardOctave = c.octave;
        context.noteInput().keyboardTranspose = c.transposeBefore;
        context.pianoRedraws = 0;
        EdPlayMenuCommands::cmdKeyboardTranspose(c.semitones);
        EXPECT_EQ(context.noteInput().keyboardTranspose, c.expected);
        EXPECT_EQ(context.pianoRedraws, c.redrawn ? 1 : 0);
    }
    // The transposition ids run from -5 to +6.
    context.noteInput().keyboardOctave = 4;
    run(33052);
    EXPECT_EQ(context.noteInput().keyboardTranspose, 6);
    run(33046);
    EXPECT_EQ(context.noteInput().keyboardTranspose, 0);

    // Without a main window the values are kept, only the redraw is skipped.
    context.mainWindow = false;
    context.pianoRedraws = 0;
    run(32938);
    run(33043);
    EXPECT_EQ(context.noteInput().keyboardOctave, 2);
    EXPECT_EQ(context.noteInput().keyboardTranspose, -3);
    EXPECT_EQ(context.pianoRedraws, 0);
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdPlayMenuCommandsTest, instrumentsAreKeptEvenWithThePlayerClosed)
{
    const std::pair<unsigned, int> cases[] = {{32784, 3}, {32785, 6}, {32961, 10}, {32783, 0}};
    for (const auto& [id, code] : cases) {
        run(id);
        EXPECT_EQ(context.playerPreviewInstrument(), code);
    }
}

TEST_F(EdPlayMenuCommandsTest, volumeLevelsStepsAndMute)
{
    context.playerOpen = true;
    run(33078);
    EXPECT_EQ(context.volume, 0xBFFFBFFFu);
    EXPECT_EQ(context.savedVolume, 0xBFFFBFFFu);

    struct Case
    {
        const char* name;
        unsigned saved;
        unsigned id;
        unsigned expected;
    } cases[] = {
        {"100%", 0x1234u, 33077, 0xFFFFFFFFu},
        {"25%", 0xFFFFFFFFu, 33080, 0x3FFF3FFFu},
        {"up from full stays", 0xFFFFFFFFu, 33072, 0xFFFFFFFFu},
        {"up near the top: full", 58982u, 33072, 0xFFFFFFFFu},
        {"up one step", 58981u, 33072, ((58981u + 6553u) << 16) | (58981u + 6553u)},
        {"down from 6553: silent", 6553u, 33073, 0u},
        {"down one step, from the left channel", 0x0001A000u, 33073, 0x8667u | (0x8667u << 16)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        context.savedVolume = c.saved;
        run(c.id);
        EXPECT_EQ(context.volume, c.expected);
        EXPECT_EQ(context.savedVolume, c.expected);
    }

    // Mute twice restores; Up after Mute sounds one step above the saved level.
    run(33079);
    run(33074);
    EXPECT_EQ(context.volume, 0u);
    EXPECT_TRUE(context.playerIsMuted());
    run(33074);
    EXPECT_EQ(context.volume, 0x7FFF7FFFu);
    run(33074);
    run(33072);
    EXPECT_EQ(context.volume, (0x7FFFu + 6553u) | ((0x7FFFu + 6553u) << 16));

    // A closed player: the commands are greyed, and do nothing when called.
    context.playerOpen = false;
    for (unsigned id : {33077u, 33078u, 33079u, 33080u, 33072u, 33073u, 33074u})
        EXPECT_FALSE(EdCommandTable::execute(id, EdCommandTable::gather())) << id;
    const unsigned before = context.volume;
    EdPlayMenuCommands::cmdVolume(0);
    EdPlayMenuCommands::cmdVolumeMute();
    EdPlayMenuCommands::cmdVolumeDown();
    EXPECT_EQ(context.volume, before);
}

TEST_F(EdPlayMenuCommandsTest, tuningsGoToTheFretboard)
{
    const std::pair<unsigned, int> cases[] = {{33099, 1}, {33101, 2}, {33102, 3}, {33103, 4}, {33098, 0}};
    for (const auto& [id, preset] : cases) {
        run(id);
        EXPECT_TRUE(context.tuning.equals(FretboardTuning::preset(preset))) << id;
    }
    EXPECT_EQ(context.tuningChanges, 5);
    run(33098);
    EXPECT_EQ(context.tuningChanges, 5);

    context.tuning = FretboardTuning::preset(3);
    run(33100);
    ASSERT_EQ(context.tuningDialogs.size(), 1u);
    EXPECT_TRUE(context.tuningDialogs[0].equals(FretboardTuning::preset(0)));
    EXPECT_TRUE(context.tuning.equals(FretboardTuning::preset(3)));

    context.mainWindow = false;
    EdPlayMenuCommands::cmdTuning(1);
    EdPlayMenuCommands::cmdTuningCustom();
    EdPlayMenuCommands::cmdCapo();
    EXPECT_TRUE(context.tuning.equals(FretboardTuning::preset(3)));
    EXPECT_EQ(context.tuningDialogs.size(), 1u);
    EXPECT_FALSE(context.capo.on);
    EXPECT_EQ(context.capoRepaints, 0);
}

TEST_F(EdPlayMenuCommandsTest, capoBringsThePointerIntoThePane)
{
    struct Case
    {
        const char* name;
        int x, y;
        int expectedX;
    } cases[] = {
        {"left of the pane: a tenth in", 20, 20, 150},
        {"inside: x kept", 400, 900, 400},
        {"right of the pane", 590, 250, 550},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        context.capo = EdContext::FretboardCapo{false, 7, false};
        context.pointer[0] = c.x;
        context.pointer[1] = c.y;
        run(33104);
        EXPECT_TRUE(context.capo.on);
        EXPECT_EQ(context.capo.fret, 0);
        EXPECT_TRUE(context.capo.awaitingPointer);
        EXPECT_EQ(context.pointer[0], c.expectedX);
        EXPECT_EQ(context.pointer[1], 250);
    }
    const int moves = context.pointerMoves;
    run(33104);
    EXPECT_FALSE(context.capo.on);
    EXPECT_EQ(context.pointerMoves, moves);
    EXPECT_EQ(context.capoRepaints, 4);
}
