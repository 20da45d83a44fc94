#include "EdCommandFixture.h"

#include "commands/EdCommandRows.h"
#include "commands/EdCommandTable.h"

#include <string>
#include <vector>

namespace {

class EdPlayStatesTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        EdCommandTable::clear();
        EdCommandRows::install();
    }
};

// 'E' enabled, 'C' enabled and checked, '-' greyed, '?' greyed but checked.
std::string states(const EdCommandInputs& inputs, const std::vector<unsigned>& ids)
{
    std::string out;
    for (unsigned id : ids) {
        EdCommandState state = EdCommandTable::state(id, inputs);
        out += state.enabled ? (state.checked ? 'C' : 'E') : (state.checked ? '?' : '-');
    }
    return out;
}

const std::vector<unsigned> volumeIds = {33077, 33078, 33079, 33080, 33072, 33073, 33074};
const std::vector<unsigned> instrumentIds = {32783, 32784, 32785, 32961};
const std::vector<unsigned> octaveIds = {32937, 32938, 32939, 32940, 32941, 32942, 32943};
const std::vector<unsigned> transposeIds = {33041, 33042, 33043, 33044, 33045, 33046,
                                            33047, 33048, 33049, 33050, 33051, 33052};
const std::vector<unsigned> tuningIds = {33098, 33099, 33101, 33102, 33103, 33100, 33104};
const std::vector<unsigned> scoreIds = {32957, 32959, 33027, 32881, 32874, 32873};
const std::vector<unsigned> fileIds = {32849, 32850, 57607};

}

TEST_F(EdPlayStatesTest, playbackStates)
{
    // Play score, Playback tracking, Record, MIDI input.
    const std::vector<unsigned> ids = {32786, 33023, 33025, 32964};
    struct Case
    {
        const char* name;
        bool score;
        bool playing;
        bool paused;
        bool tracking;
        int midi;
        const char* expected;
    } cases[] = {
        {"no score, stopped, no device", false, false, false, true, 0, "-?--"},
        {"a score, stopped", true, false, false, false, 0, "EE--"},
        {"a score, tracking, input on", true, false, false, true, 1, "EC-C"},
        {"playing without a score, input off", false, true, false, false, 2, "C--E"},
        {"paused without a score", false, true, true, false, 0, "----"},
        {"paused with a score", true, true, true, false, 0, "EE--"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EdCommandInputs inputs;
        inputs.document = true;
        inputs.score = c.score;
        inputs.playerOpen = true;
        inputs.playing = c.playing;
        inputs.paused = c.paused;
        inputs.toggles.playbackTracking = c.tracking;
        inputs.midiInput = c.midi;
        EXPECT_EQ(states(inputs, ids), c.expected);
    }
}

TEST_F(EdPlayStatesTest, playMenuStates)
{
    EdCommandInputs inputs;
    EXPECT_EQ(states(inputs, volumeIds), "-------");
    inputs.playerOpen = true;
    EXPECT_EQ(states(inputs, volumeIds), "EEEEEEE");
    inputs.muted = true;
    EXPECT_EQ(states(inputs, volumeIds), "EEEEEEC");

    const std::pair<int, const char*> instruments[] = {{0, "CEEE"}, {3, "ECEE"}, {6, "EECE"}, {10, "EEEC"}, {1, "EEEE"}};
    for (const auto& [code, expected] : instruments) {
        inputs.previewInstrument = code;
        EXPECT_EQ(states(inputs, instrumentIds), expected) << code;
    }

    for (int octave = 1; octave <= 7; ++octave) {
        inputs.noteInput.keyboardOctave = octave;
        std::string expected(7, 'E');
        expected[size_t(octave - 1)] = 'C';
        EXPECT_EQ(states(inputs, octaveIds), expected);
        EXPECT_EQ(states(inputs, transposeIds), octave == 1 ? "--EEEEEEEEEE" : "EEEEEEEEEEEE");
    }

    const std::pair<int, const char*> tunings[] = {{0, "CEEEEEE"}, {1, "ECEEEEE"}, {2, "EECEEEE"},
                                                   {3, "EEECEEE"}, {4, "EEEECEE"}, {-1, "EEEEECE"}};
    for (const auto& [preset, expected] : tunings) {
        inputs.fretboardPreset = preset;
        EXPECT_EQ(states(inputs, tuningIds), expected) << preset;
    }
    inputs.capoOn = true;
    EXPECT_EQ(states(inputs, tuningIds), "EEEEECC");
}

TEST_F(EdPlayStatesTest, toolSheetAndFileStates)
{
    EdCommandInputs inputs;
    EXPECT_EQ(states(inputs, scoreIds), "------");
    EXPECT_EQ(states(inputs, fileIds), "EE-");
    inputs.document = true;
    EXPECT_EQ(states(inputs, scoreIds), "------");
    EXPECT_EQ(states(inputs, fileIds), "EEE");
    inputs.score = true;
    EXPECT_EQ(states(inputs, scoreIds), "EEEEEE");
}

TEST_F(EdPlayStatesTest, gatherReadsThePlayerTheInputAndTheFretboard)
{
    context.playerOpen = true;
    context.playing = true;
    context.paused = true;
    context.volume = 0;
    context.midiState = EdContext::midiInputOff;
    context.setPlayerPreviewInstrument(6);
    context.tuning = FretboardTuning::preset(2);
    context.capo.on = true;
    EdCommandInputs inputs = EdCommandTable::gather();
    EXPECT_TRUE(inputs.playerOpen);
    EXPECT_TRUE(inputs.playing);
    EXPECT_TRUE(inputs.paused);
    EXPECT_TRUE(inputs.muted);
    EXPECT_EQ(inputs.previewInstrument, 6);
    EXPECT_EQ(inputs.midiInput, EdContext::midiInputOff);
    EXPECT_EQ(inputs.fretboardPreset, 2);
    EXPECT_TRUE(inputs.capoOn);

    // The guitar's strings on 20 frets are no preset; a closed player
    // neither plays nor pauses.
    context.tuning = FretboardTuning::preset(0);
    context.tuning.frets = 20;
    context.playerOpen = false;
    inputs = EdCommandTable::gather();
    EXPECT_EQ(inputs.fretboardPreset, -1);
    EXPECT_FALSE(inputs.playing);
    EXPECT_FALSE(inputs.paused);
    EXPECT_FALSE(inputs.muted);
}
