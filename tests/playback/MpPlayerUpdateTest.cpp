#include "playback/MpPlayerTestSupport.h"

#include "editing/EdCommand.h"
#include "model/MnPart.h"

#include <memory>
#include <string>
#include <vector>

// Playback follows the edits of the played score.

namespace {

std::vector<unsigned> soundingPlayIndices(const MpPlayer& player)
{
    std::vector<unsigned> indices;
    for (const SfVoice& voice : player.synthesizer()->voices) {
        if (!voice.isFree() && !voice.isReleased())
            indices.push_back(voice.playIndex);
    }
    return indices;
}

MnChord* chordOf(MnScore& score, int staff, int measure, int index)
{
    return score.staff(staff)->measure(measure)->voiceChords(0)[index];
}

// An edit that leaves the played score as it was costs a comparison: the
// performance goes on as if nothing happened. One that changes it restarts
// the performer, whose pass counters then start afresh.
TEST_F(MpPlayerTest, anEditThatLeavesThePlayedScoreKeepsThePerformance)
{
    std::unique_ptr<MnScore> score = quarterScore(2, 2);
    play(*score);
    performTo(quarter + 3780);
    MnChord* sounding = chordOf(*score, 1, 0, 1);
    ASSERT_TRUE(player.isNotePlaying(sounding, 1));
    const std::vector<unsigned> voices = soundingPlayIndices(player);
    ASSERT_EQ(voices.size(), 2u);
    const double due = player.nextEventTime();

    score->staff(1)->measure(1)->setBarline(MnBarlineDouble);
    score->staff(1)->measure(1)->setBarline(MnBarlineSingle);
    player.update(score->staff(0)->measure(0));
    player.update(score.get());
    EXPECT_TRUE(player.isNotePlaying(sounding, 1)) << "pass counters kept";
    EXPECT_EQ(soundingPlayIndices(player), voices);
    EXPECT_EQ(player.nextEventTime(), due);
    performTo(2 * quarter);
    EXPECT_EQ(soundingVoices(player, midiOf(quarterKey(0, 2))), 1);
    EXPECT_EQ(soundingVoices(player, midiOf(quarterKey(0, 1))), 0);

    // A real change: the same place, a performer started afresh.
    const double dueNext = player.nextEventTime();
    score->staff(1)->measure(1)->voiceChords(0)[3]->note(0)->setTied(true);
    player.update(score->staff(0)->measure(0));
    EXPECT_EQ(player.nextEventTime(), dueNext);
    MnChord* now = chordOf(*score, 0, 0, 2);
    EXPECT_TRUE(player.isNotePlaying(now, 0));
    EXPECT_FALSE(player.isNotePlaying(now, 1)) << "pass counters restarted";
    EXPECT_EQ(soundingVoices(player), 2) << "the notes sounding go on";
}

TEST_F(MpPlayerTest, changingAPartsInstrumentReleasesTheOldPresetsKeys)
{
    std::unique_ptr<MnScore> score = restScore(2);
    MpVoiceWriter(score->staff(0)->measure(0), 0).chord(whole, {keyC4, keyG4});
    MpVoiceWriter(score->staff(0)->measure(1), 0).chord(whole, {keyE4});
    play(*score);
    performTo(quarter);
    ASSERT_EQ(soundingVoices(player, midiOf(keyC4), 0), 1);
    unsigned char keys[MpPlayer::keyCount];
    player.keysDown(keys);
    ASSERT_EQ(keys[keyG4], 1);

    ASSERT_TRUE(score->part(0)->setInstrument(MnInstrumentGuitar));
    player.update(score->staff(0)->measure(0));
    EXPECT_EQ(soundingVoices(player), 0);
    player.keysDown(keys);
    for (unsigned char key : keys)
        EXPECT_EQ(key, 0);

    performTo(whole + 3780);
    EXPECT_EQ(soundingVoices(player, midiOf(keyE4), 1), 1) << "the guitar plays on";
    EXPECT_EQ(soundingVoices(player), 1);
}

struct EndCase
{
    const char* name;
    bool chord; // else null
};

class MpPlayerUpdateEndTest : public MpPlayerTest, public ::testing::WithParamInterface<EndCase>
{
};

// An element that stands for no score ends playback at the next step.
TEST_P(MpPlayerUpdateEndTest, noScoreEndsPlaybackAtTheNextStep)
{
    std::unique_ptr<MnScore> score = quarterScore(2);
    play(*score);
    performTo(quarter);
    ASSERT_EQ(soundingVoices(player), 1);
    player.update(GetParam().chord ? chordOf(*score, 0, 1, 0) : nullptr);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(player.isNotePlaying(chordOf(*score, 0, 0, 1), 0));
    EXPECT_EQ(soundingVoices(player), 1) << "until the next step";
    deliver(4096);
    EXPECT_EQ(soundingVoices(player), 0);
    EXPECT_EQ(player.nextEventTime(), 0.0);

    // Nothing is left to update or play on.
    player.update(nullptr);
    deliver(4096);
    EXPECT_FALSE(player.isPlaying());
}

INSTANTIATE_TEST_SUITE_P(Elements, MpPlayerUpdateEndTest,
                         ::testing::Values(EndCase{"null", false}, EndCase{"chord", true}),
                         [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

// A document whose second work is a score of four measures of quarters,
// played from its start; edits go through transactions, which hand the
// player the measure at the play position.
class MpPlayerEditTest : public MpPlayerTest
{
protected:
    void SetUp() override
    {
        MpPlayerTest::SetUp();
        ASSERT_TRUE(document.OnNewDocument());
        context.document = &document;
        {
            EdCommand edit;
            ASSERT_TRUE(document.addWork(quarterScore(4).release()));
            edit.markModified();
        }
        score = static_cast<MnScore*>(document.works()[1]);
    }

    QuorvaneDocument document;
    MnScore* score = nullptr;
};

TEST_F(MpPlayerEditTest, deletingAnEarlierMeasureGoesOnAtTheSamePlaceInTheMeasure)
{
    play(*score);
    EXPECT_TRUE(player.isPlaying(&document));
    EXPECT_TRUE(context.playerPlays(&document));
    performTo(2 * whole + 2 * quarter + 3780);
    ASSERT_EQ(soundingVoices(player, midiOf(quarterKey(2, 2))), 1);
    EdNotePath position;
    EXPECT_EQ(player.playingPosition(position, 0), EdNotePath(0, 0, 2));

    {
        // As the delete command does it.
        EdCommand edit;
        ASSERT_TRUE(score->removeMeasure(0));
        edit.playbackPosition.adjustForRemoval(EdNotePath(0, 0, 0));
        edit.keepPlaybackPosition = true;
        edit.markModified();
    }
    EXPECT_EQ(player.playingPosition(position, 0), EdNotePath(0, 0, 1));
    EXPECT_TRUE(player.isPlaying(&document));
    EXPECT_TRUE(player.isNotePlaying(chordOf(*score, 0, 1, 2), 0));
    EXPECT_FALSE(player.isNotePlaying(chordOf(*score, 0, 1, 1), 0));

    // The steps keep their times: the next quarter of the same measure
    // comes when it was due.
    performTo(2 * whole + 3 * quarter);
    EXPECT_EQ(soundingVoices(player, midiOf(quarterKey(2, 3))), 1);
    EXPECT_EQ(soundingVoices(player, midiOf(quarterKey(2, 2))), 0);
    EXPECT_EQ(soundingVoices(player), 1);
}

TEST_F(MpPlayerEditTest, anInstrumentChangedInATransactionReachesThePlayer)
{
    play(*score);
    performTo(quarter);
    ASSERT_EQ(soundingVoices(player, midiOf(quarterKey(0, 1)), 0), 1);
    {
        EdCommand edit;
        ASSERT_TRUE(score->part(0)->setInstrument(MnInstrumentFlute));
        edit.markModified();
    }
    EXPECT_EQ(soundingVoices(player), 0);
    performTo(2 * quarter);
    EXPECT_EQ(soundingVoices(player, midiOf(quarterKey(0, 2)), 4), 1) << "the flute plays on";
    EXPECT_GE(player.updateLockNanoseconds(), 0);
}

} // namespace
