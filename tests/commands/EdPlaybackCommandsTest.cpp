#include "EdCommandFixture.h"

#include "commands/EdPlaybackCommands.h"
#include "model/MnSheetMusic.h"

#include <vector>

namespace {

// Three scores; the first is the main score.
class EdPlaybackCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        for (MnScore*& score : scores)
            ASSERT_TRUE(document.addWork(score = makeScore(2, 4)));
        restartHistory();
        ASSERT_EQ(document.mainScoreIndex(), 1);
    }

    MnChord* chord(MnScore* score, int measure, int index)
    {
        return score->staff(0)->measure(measure)->voiceChords(0)[index];
    }

    struct Found
    {
        bool ok;
        MnScore* score;
        int start;
        int cursor;
    };

    Found find()
    {
        Found found{false, reinterpret_cast<MnScore*>(1), 1, 1};
        found.ok = EdPlaybackCommands::startPosition(found.score, found.start, found.cursor);
        return found;
    }

    MnScore* scores[3] = {};
};

}

TEST_F(EdPlaybackCommandsTest, theStartPositionFollowsCursorSelectionAndMainScore)
{
    // The cursor on the second grace chord before the second quarter.
    MnMeasure* measure = scores[1]->staff(0)->measure(1);
    addGraceChords(measure, 0, 1, 2);
    MnChord* secondGrace = measure->voiceChords(0)[1];
    ASSERT_TRUE(context.view.cursor().setAtChord(secondGrace, 0, false));
    ASSERT_EQ(context.view.cursor().graceIndex(), 2);
    int length = 0;
    const int graceSounds = measure->startTime() + secondGrace->playbackTime(nullptr, length);
    const int mainAt = measure->startTime() + measure->voiceChords(0)[3]->time();
    ASSERT_LT(graceSounds, mainAt);
    Found found = find();
    EXPECT_TRUE(found.ok);
    EXPECT_EQ(found.score, scores[1]);
    EXPECT_EQ(found.start, graceSounds);
    EXPECT_EQ(found.cursor, mainAt);

    // Without a cursor the selection decides, when it names one score.
    context.view.cursor().staffSelection().clear();
    struct Case
    {
        const char* name;
        std::vector<MnElement*> selected;
        MnScore* expected;
    } cases[] = {
        {"a note of the second score", {chord(scores[1], 2, 1)->note(0)}, scores[1]},
        {"a staff and a measure of the third", {scores[2]->staff(1), scores[2]->staff(0)->measure(3)}, scores[2]},
        {"elements of two scores: the main score", {chord(scores[1], 0, 0), chord(scores[2], 0, 0)}, scores[0]},
        {"nothing: the main score", {}, scores[0]},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selection().clear();
        for (MnElement* element : c.selected)
            selection().add(element);
        found = find();
        EXPECT_TRUE(found.ok);
        EXPECT_EQ(found.score, c.expected);
        EXPECT_EQ(found.start, 0);
        EXPECT_EQ(found.cursor, 0);
    }
}

TEST_F(EdPlaybackCommandsTest, leadingGraceChordsStartBeforeTheBarAndNoMainScoreFindsNothing)
{
    // Two grace chords sound before the beat (a single one would take the
    // beat as an appoggiatura).
    addGraceChords(scores[0]->staff(1)->measure(0), 0, 0, 2);
    Found found = find();
    EXPECT_TRUE(found.ok);
    EXPECT_EQ(found.score, scores[0]);
    EXPECT_LT(found.start, 0);
    EXPECT_EQ(found.cursor, 0);

    ASSERT_TRUE(document.setMainScoreIndex(-1));
    found = find();
    EXPECT_FALSE(found.ok);
    EXPECT_EQ(found.score, nullptr);
}

TEST_F(EdPlaybackCommandsTest, playScoreStartsStopsPausesAndResumes)
{
    struct Case
    {
        const char* name;
        bool playing;
        bool paused;
        bool request;
        int plays, stops, pauses, resumes;
    } cases[] = {
        {"stopped: start", false, false, false, 1, 0, 0, 0},
        {"stopped, right click: start", false, false, true, 1, 0, 0, 0},
        {"playing: stop", true, false, false, 0, 1, 0, 0},
        {"playing, right click: pause", true, false, true, 0, 0, 1, 0},
        {"paused: start afresh", true, true, false, 1, 0, 0, 0},
        {"paused, right click: resume", true, true, true, 0, 0, 0, 1},
    };
    context.toggles().playbackTracking = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        context.playerOpen = true;
        context.playing = c.playing;
        context.paused = c.paused;
        context.plays = context.playerStops = context.pauses = context.resumes = 0;
        context.pauseToggleRequest() = c.request;
        EdPlaybackCommands::cmdPlayScore();
        EXPECT_FALSE(context.pauseToggleRequest());
        EXPECT_EQ(context.plays, c.plays);
        EXPECT_EQ(context.playerStops, c.stops);
        EXPECT_EQ(context.pauses, c.pauses);
        EXPECT_EQ(context.resumes, c.resumes);
        if (c.plays) {
            EXPECT_EQ(context.playedScore, scores[0]);
        }
    }
    // A closed player is tried each time.
    context.playerOpen = false;
    context.playing = false;
    context.plays = 0;
    EdPlaybackCommands::cmdPlayScore();
    EdPlaybackCommands::cmdPlayScore();
    EXPECT_EQ(context.plays, 2);
    EXPECT_EQ(context.view.lastGoTo, nullptr);
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdPlaybackCommandsTest, trackingTakesTheViewToWherePlaybackIs)
{
    MnStaff* staff = scores[2]->staff(0);
    ASSERT_TRUE(context.view.cursor().setAtChord(chord(scores[2], 2, 1), 0, false));
    context.view.activityTick = 777;
    context.toggles().playbackTracking = false;
    EdPlaybackCommands::cmdPlayScore();
    EXPECT_EQ(context.view.lastGoTo, nullptr);
    EXPECT_EQ(context.view.activityTick, 777u);
    EXPECT_EQ(context.playedStart, staff->measureStartTime(2) + chord(scores[2], 2, 1)->time());

    context.playing = false;
    context.toggles().playbackTracking = true;
    EdPlaybackCommands::cmdPlayScore();
    EXPECT_EQ(context.view.lastGoTo, staff->measure(2));
    EXPECT_EQ(context.view.activityTick, 0u);
    EXPECT_EQ(context.playedScore, scores[2]);

    // Switched on during playback: at once to the measure being played.
    context.view.lastGoTo = nullptr;
    context.view.activityTick = 777;
    context.playerOpen = true;
    context.playing = true;
    context.playerReports = EdNotePath(scores[1]->staff(1)->measure(3), document.works());
    EdPlaybackCommands::cmdPlaybackTracking();
    EXPECT_FALSE(context.toggles().playbackTracking);
    EXPECT_EQ(context.view.lastGoTo, nullptr);
    EdPlaybackCommands::cmdPlaybackTracking();
    EXPECT_TRUE(context.toggles().playbackTracking);
    EXPECT_EQ(context.view.lastGoTo, scores[1]->staff(1)->measure(3));
    EXPECT_EQ(context.view.activityTick, 0u);
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdPlaybackCommandsTest, recordingEndsInThePlacingTool)
{
    const BcArray<unsigned char> before = bytes();
    const int works = document.works().count();
    context.clock = 4242;
    EdPlaybackCommands::cmdRecord();
    EXPECT_TRUE(context.recording);
    EXPECT_EQ(context.recordStartTick, 4242u);

    // Too little recorded: recording just stops.
    EdPlaybackCommands::cmdRecord();
    EXPECT_FALSE(context.recording);
    EXPECT_EQ(document.works().count(), works);
    EXPECT_EQ(context.view.placedElement, nullptr);

    // A new score waits for the user to place it; cancelling drops it.
    EdPlaybackCommands::cmdRecord();
    MnScore* recorded = makeScore(1, 2);
    context.recordedScore = recorded;
    EdPlaybackCommands::cmdRecord();
    EXPECT_EQ(document.works().count(), works + 1);
    EXPECT_EQ(context.view.placedElement, recorded->staff(0));
    EXPECT_TRUE(context.view.discardPendingTool());
    EXPECT_EQ(document.works().count(), works);
    EXPECT_TRUE(sameBytes(bytes(), before));
    EXPECT_EQ(steps(), 0);

    // Placed, it is one step.
    EdPlaybackCommands::cmdRecord();
    context.recordedScore = makeScore(1, 2);
    EdPlaybackCommands::cmdRecord();
    EXPECT_TRUE(context.view.confirmPendingTool());
    EXPECT_EQ(document.works().count(), works + 1);
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdPlaybackCommandsTest, midiInputOpensStopsAndStarts)
{
    struct Case
    {
        const char* name;
        int state;
        bool opens;
        bool resetWorks;
        bool playerOpen;
        int stateAfter;
        int opensTried, resets, notesOff, released;
        const char16_t* message;
    } cases[] = {
        {"closed, none opens: the reason", EdContext::midiInputClosed, false, true, true, EdContext::midiInputClosed,
         1, 0, 0, 0, u"No MIDI input device is connected"},
        {"closed, one opens", EdContext::midiInputClosed, true, true, true, EdContext::midiInputOn, 1, 0, 0, 0,
         nullptr},
        {"on: notes off, keys released, reset", EdContext::midiInputOn, false, true, true, EdContext::midiInputOff,
         0, 1, 1, 1, nullptr},
        {"on with the player closed", EdContext::midiInputOn, false, true, false, EdContext::midiInputOff, 0, 1, 0,
         1, nullptr},
        {"on, the reset fails: still on", EdContext::midiInputOn, false, false, true, EdContext::midiInputOn, 0, 1,
         1, 1, nullptr},
        {"off: started", EdContext::midiInputOff, false, true, true, EdContext::midiInputOn, 0, 0, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        context.midiState = c.state;
        context.midiOpens = c.opens;
        context.midiFailure = BcString(u"No MIDI input device is connected");
        context.midiResetWorks = c.resetWorks;
        context.playerOpen = c.playerOpen;
        context.midiOpenTries = context.midiResets = context.notesOffAll = context.midiKeyReleases = 0;
        context.messageTexts.clear();
        EdPlaybackCommands::cmdMidiInput();
        EXPECT_EQ(context.midiState, c.stateAfter);
        EXPECT_EQ(context.midiOpenTries, c.opensTried);
        EXPECT_EQ(context.midiResets, c.resets);
        EXPECT_EQ(context.notesOffAll, c.notesOff);
        EXPECT_EQ(context.midiKeyReleases, c.released);
        ASSERT_EQ(context.messageTexts.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_TRUE(context.messageTexts[0] == c.message);
        }
    }
    EXPECT_EQ(steps(), 0);
}
