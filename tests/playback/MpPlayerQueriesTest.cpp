#include "playback/MpPlayerServices.h"
#include "playback/MpPlayerTestSupport.h"

#include <memory>
#include <string>

// What the interface thread asks while a score plays.

namespace {

MnChord* chordOf(MnScore& score, int staff, int measure, int index)
{
    return score.staff(staff)->measure(measure)->voiceChords(0)[index];
}

// Two measures of quarters repeated, then a third: 1 2 1 2 3.
std::unique_ptr<MnScore> repeatedScore()
{
    std::unique_ptr<MnScore> score = quarterScore(3);
    applyMarks(*score, {{.measure = 2, .barline = MnBarlineEndRepeat}});
    return score;
}

struct PlayingCase
{
    const char* name;
    int startTime;
    int displayFloor;
    int steps;   // performer steps after the first
    int measure; // the chord asked about (0-based measure, voice 0)
    int chord;
    int pass;
    bool playing;
};

class MpPlayerPlayingTest : public MpPlayerTest, public ::testing::WithParamInterface<PlayingCase>
{
};

TEST_P(MpPlayerPlayingTest, isNotePlaying)
{
    const PlayingCase& row = GetParam();
    std::unique_ptr<MnScore> score = repeatedScore();
    // Two graces lead the third measure, before its bar line.
    MnMeasure* third = score->staff(0)->measure(2);
    ASSERT_NE(third->addGraceNoteByKey(third->voiceChords(0)[0], keyC5, MnTicksSixteenth), nullptr);
    ASSERT_NE(third->addGraceNoteByKey(third->voiceChords(0)[1], keyC5, MnTicksSixteenth), nullptr);
    play(*score, row.startTime, row.displayFloor);
    performSteps(row.steps);
    ASSERT_TRUE(player.isPlaying());
    EXPECT_EQ(player.isNotePlaying(chordOf(*score, 0, row.measure, row.chord), row.pass), row.playing);
}

constexpr int measureSteps = 64;
constexpr int quarterSteps = 16;

// Play order 1 2 1 2 3; a step is a 64th.
INSTANTIATE_TEST_SUITE_P(
    Table, MpPlayerPlayingTest,
    ::testing::Values(
        PlayingCase{"soundingChord", 0, 0, 1, 0, 0, 0, true},
        PlayingCase{"nextChordNotYet", 0, 0, 1, 0, 1, 0, false},
        PlayingCase{"sameIndexOtherMeasure", 0, 0, 1, 1, 0, 0, false},
        PlayingCase{"beforeTheDisplayFloor", 0, 2 * quarter, 1, 0, 0, 0, false},
        PlayingCase{"atTheDisplayFloor", 0, 2 * quarter, 2 * quarterSteps + 1, 0, 2, 0, true},
        PlayingCase{"firstPassAskedForTheFirst", 0, 0, 1, 0, 0, 1, true},
        PlayingCase{"firstPassAskedForTheSecond", 0, 0, 1, 0, 0, 2, false},
        PlayingCase{"secondPassAskedForTheSecond", 0, 0, 2 * measureSteps + 1, 0, 0, 2, true},
        PlayingCase{"secondPassAskedForTheFirst", 0, 0, 2 * measureSteps + 1, 0, 0, 1, false},
        PlayingCase{"secondPassAnyPass", 0, 0, 2 * measureSteps + 1, 0, 0, 0, true},
        // The graces of measure 3 sound in the last eighth of measure 2 on
        // its second pass, a 16th each; before that the repeat leads back
        // to measure 1.
        PlayingCase{"leadingGraceOfTheNextMeasure", 0, 0, 3 * measureSteps + 57, 2, 0, 0, true},
        PlayingCase{"secondGraceNotYet", 0, 0, 3 * measureSteps + 57, 2, 1, 0, false},
        PlayingCase{"secondGrace", 0, 0, 3 * measureSteps + 61, 2, 1, 0, true},
        PlayingCase{"noGraceBeforeTheRepeat", 0, 0, measureSteps + 57, 2, 0, 0, false},
        // Started in measure 2 with the floor there: measure 1 counts again
        // once the repeat is pending.
        PlayingCase{"pendingJumpClearsTheFloor", whole, whole, measureSteps + 1, 0, 0, 0, true}),
    [](const ::testing::TestParamInfo<PlayingCase>& info) { return std::string(info.param.name); });

TEST_F(MpPlayerTest, aPendingJumpClearsTheDisplayFloor)
{
    std::unique_ptr<MnScore> score = repeatedScore();
    play(*score, whole, whole + quarter);
    EXPECT_EQ(player.displayFloor(), whole + quarter);
    performSteps(0);
    EXPECT_EQ(player.displayFloor(), whole + quarter);
    performSteps(1);
    EXPECT_EQ(player.displayFloor(), -1) << "the repeat at the end of the measure is pending";
}

TEST_F(MpPlayerTest, chordsOfAnotherScoreNeverPlay)
{
    std::unique_ptr<MnScore> score = quarterScore(1);
    std::unique_ptr<MnScore> other = quarterScore(1);
    play(*score);
    performSteps(1);
    EXPECT_TRUE(player.isNotePlaying(chordOf(*score, 0, 0, 0), 0));
    EXPECT_FALSE(player.isNotePlaying(chordOf(*other, 0, 0, 0), 0));
    EXPECT_FALSE(player.isNotePlaying(nullptr, 0));
}

struct PositionCase
{
    const char* name;
    int steps;
    unsigned lookAhead; // ms
    int measure;        // 0-based
};

class MpPlayerPositionTest : public MpPlayerTest, public ::testing::WithParamInterface<PositionCase>
{
};

// 250 ms at 120 per quarter look half a quarter ahead, through the jumps
// that the performance would take.
TEST_P(MpPlayerPositionTest, playingPositionLooksAheadInPlayOrder)
{
    const PositionCase& row = GetParam();
    std::unique_ptr<MnScore> score = repeatedScore();
    play(*score);
    performSteps(row.steps);
    EdNotePath position;
    EXPECT_EQ(player.playingPosition(position, row.lookAhead), EdNotePath(-1, 0, row.measure));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MpPlayerPositionTest,
    ::testing::Values(PositionCase{"now", measureSteps + 60, 0, 1},
                      PositionCase{"withinTheMeasure", measureSteps + 40, 250, 1},
                      PositionCase{"acrossTheRepeatToItsTarget", measureSteps + 60, 250, 0},
                      PositionCase{"afterTheRepeatOnwards", 3 * measureSteps + 60, 250, 2},
                      PositionCase{"pastTheEndTheLastMeasure", 5 * measureSteps - 2, 1000, 2}),
    [](const ::testing::TestParamInfo<PositionCase>& info) { return std::string(info.param.name); });

TEST_F(MpPlayerTest, thePositionIsInTheActiveDocument)
{
    QuorvaneDocument document;
    ASSERT_TRUE(document.OnNewDocument());
    MnScore* first = quarterScore(1).release();
    MnScore* second = quarterScore(3).release();
    ASSERT_TRUE(document.addWork(first));
    ASSERT_TRUE(document.addWork(second));
    context.document = &document;
    play(*second, whole + quarter, whole + quarter);
    EdNotePath position;
    EXPECT_EQ(player.playingPosition(position, 0), EdNotePath(1, 0, 1));
    EXPECT_TRUE(player.isPlaying(&document));
    QuorvaneDocument other;
    EXPECT_FALSE(player.isPlaying(&other));
    player.stop();
}

TEST_F(MpPlayerTest, keysDownWhilePlaying)
{
    std::unique_ptr<MnScore> score = quarterScore(1, 2);
    unsigned char keys[MpPlayer::keyCount];
    player.keyDown(keyC5);
    player.keysDown(keys);
    EXPECT_EQ(keys[keyC5], 0) << "preview keys are no performance";

    play(*score);
    performSteps(quarterSteps + 1);
    player.keysDown(keys);
    for (int key = 0; key < MpPlayer::keyCount; ++key) {
        const bool sounding = key == quarterKey(0, 1) || key == quarterKey(0, 1) + 1;
        EXPECT_EQ(keys[key], sounding ? 1 : 0) << "key " << key;
    }
    player.stop();
    player.keysDown(keys);
    for (unsigned char key : keys)
        EXPECT_EQ(key, 0);
}

// The adapters that the shell installs reach the player.
TEST_F(MpPlayerTest, theServicesAndTheContextAskThePlayer)
{
    std::unique_ptr<MnScore> score = quarterScore(1);
    MpPlayerServices services(player);
    ReServices::install(&services);
    EdNotePath position(5, 5, 5);
    EXPECT_FALSE(context.playerIsPlaying());
    EXPECT_FALSE(context.playerPosition(0, position));
    EXPECT_EQ(position, EdNotePath(5, 5, 5));

    play(*score);
    performSteps(1);
    EXPECT_TRUE(ReServices::current().isNotePlaying(chordOf(*score, 0, 0, 0), 0));
    EXPECT_FALSE(ReServices::current().isNotePlaying(chordOf(*score, 0, 0, 1), 0));
    EXPECT_TRUE(context.playerIsPlaying());
    EXPECT_FALSE(context.playerPlays(nullptr));
    EXPECT_TRUE(context.playerPosition(250, position));
    EXPECT_EQ(position, EdNotePath(-1, 0, 0));
    context.playerStop();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(ReServices::current().isNotePlaying(chordOf(*score, 0, 0, 0), 0));
    ReServices::install(nullptr);
}

} // namespace
