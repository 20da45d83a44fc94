#include "common/MpFakeMidiInput.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "playback/MrRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int q = MrRecorder::quarter;

struct Placed
{
    int tick;
    int key;
    int duration;
    bool operator==(const Placed& other) const
    {
        return tick == other.tick && key == other.key && duration == other.duration;
    }
};

std::ostream& operator<<(std::ostream& out, const Placed& placed)
{
    return out << "{" << placed.tick << ", key " << placed.key << ", " << placed.duration << "}";
}

// Every note of the first voice of the first staff, by staff time.
std::vector<Placed> notesOf(const MnScore& score)
{
    std::vector<Placed> found;
    const MnStaff* staff = score.staff(0);
    for (int m = 0; m < staff->measureCount(); ++m) {
        const MnMeasure* measure = staff->measure(m);
        const BcArray<MnChord*>& chords = measure->voiceChords(0);
        for (int c = 0; c < chords.count(); ++c) {
            for (int n = 0; n < chords[c]->noteCount(); ++n)
                found.push_back(Placed{measure->startTime() + chords[c]->time(), chords[c]->note(n)->keyNumber(),
                                       chords[c]->duration()});
        }
    }
    return found;
}

struct Struck
{
    int ms;
    int key;
};

struct QuantiseCase
{
    const char* name;
    std::vector<Struck> played;
    // Empty: no score.
    std::vector<Placed> notes;
    int measures;
};

class MrRecorderQuantiseTest : public ::testing::TestWithParam<QuantiseCase>
{
};

TEST_P(MrRecorderQuantiseTest, putsEveryOnsetOnOneGridAsQuarters)
{
    const QuantiseCase& row = GetParam();
    MrRecorder recorder;
    const unsigned long long start = 70000;
    recorder.start(start);
    for (const Struck& struck : row.played)
        recorder.addEvent(start + struck.ms, struck.key);
    recorder.stop();
    std::unique_ptr<MnScore> score(recorder.toScore());
    if (row.notes.empty()) {
        EXPECT_EQ(score, nullptr);
        return;
    }
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->staffCount(), 1);
    EXPECT_EQ(notesOf(*score), row.notes);
    EXPECT_EQ(score->staff(0)->measureCount(), row.measures);
    // A second quantisation of the same events gives the same score.
    std::unique_ptr<MnScore> again(recorder.toScore());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(notesOf(*again), row.notes);
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, MrRecorderQuantiseTest,
    ::testing::Values(
        // The last quarter ends on the bar line: an empty measure follows.
        QuantiseCase{"halfSeconds", {{0, 39}, {500, 41}, {1000, 43}, {1500, 44}},
                     {{0, 39, q}, {q, 41, q}, {2 * q, 43, q}, {3 * q, 44, q}}, 2},
        QuantiseCase{"unitIsTheSmallestGapAbove200", {{0, 39}, {300, 40}, {1200, 41}},
                     {{0, 39, q}, {q, 40, q}, {4 * q, 41, q}}, 2},
        // Gaps 150, 450 and 100: the unit is 450 ms; 150 ms lands on the
        // first quarter, replacing the note there.
        QuantiseCase{"gapsOf200AndLessAreNoUnit", {{0, 39}, {150, 40}, {600, 41}, {700, 42}},
                     {{0, 40, q}, {q, 41, q}, {2 * q, 42, q}}, 1},
        // On the 500 ms grid, 1020 ms falls on the third quarter too and
        // only the later note stays.
        QuantiseCase{"twoNotes20msApartKeepTheLater", {{0, 39}, {500, 40}, {1000, 50}, {1020, 45}},
                     {{0, 39, q}, {q, 40, q}, {2 * q, 45, q}}, 1},
        QuantiseCase{"halfAStepRoundsUp", {{0, 39}, {500, 40}, {1250, 41}}, {{0, 39, q}, {q, 40, q}, {3 * q, 41, q}}, 2},
        QuantiseCase{"justAbove200", {{0, 39}, {201, 40}}, {{0, 39, q}, {q, 40, q}}, 1},
        QuantiseCase{"onsetsStartAtTheFirstNote", {{4000, 39}, {4500, 40}}, {{0, 39, q}, {q, 40, q}}, 1},
        QuantiseCase{"aLongSilenceAppendsMeasures", {{0, 39}, {300, 40}, {300 * 41, 41}},
                     {{0, 39, q}, {q, 40, q}, {41 * q, 41, q}}, 11},
        QuantiseCase{"nothingPlayed", {}, {}, 0},
        QuantiseCase{"oneNote", {{100, 39}}, {}, 0},
        QuantiseCase{"allWithin200ms", {{0, 39}, {100, 40}, {200, 41}}, {}, 0}),
    [](const ::testing::TestParamInfo<QuantiseCase>& info) { return std::string(info.param.name); });

// Notes of one onset are sorted by key, and the quarter keeps the last.
TEST(MrRecorderTest, notesOnOneQuarterLeaveTheLastInEventOrder)
{
    MrRecorder recorder;
    recorder.start(1000);
    recorder.addEvent(1000, 50);
    recorder.addEvent(1000, 40); // same start: sorted before key 50
    recorder.addEvent(1600, 44);
    std::unique_ptr<MnScore> score(recorder.toScore());
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(notesOf(*score), (std::vector<Placed>{{0, 50, q}, {q, 44, q}}));
}

// Onsets so far apart that their ticks pass the longest staff are left
// out; what fits is kept, and nothing overflows on the way.
TEST(MrRecorderTest, onsetsPastTheLongestStaffAreLeftOut)
{
    MrRecorder recorder;
    recorder.start(0);
    recorder.addEvent(0, 39);
    recorder.addEvent(201, 40);
    recorder.addEvent(2000000000ULL, 41);
    std::unique_ptr<MnScore> score(recorder.toScore());
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(notesOf(*score), (std::vector<Placed>{{0, 39, q}, {q, 40, q}}));
}

struct Step
{
    enum Kind
    {
        strike,
        release,
        stop
    } kind;
    unsigned long long tick;
    int key;
};

struct EventCase
{
    const char* name;
    unsigned long long startTick;
    std::vector<Step> steps;
    std::vector<MrEvent> events;
};

class MrRecorderEventTest : public ::testing::TestWithParam<EventCase>
{
};

TEST_P(MrRecorderEventTest, keepsEventsInOrderAndEndsThemByTheReleaseRule)
{
    const EventCase& row = GetParam();
    MrRecorder recorder;
    recorder.start(row.startTick);
    for (const Step& step : row.steps) {
        if (step.kind == Step::strike)
            recorder.addEvent(row.startTick + step.tick, step.key);
        else if (step.kind == Step::release)
            recorder.releaseKey(row.startTick + step.tick, step.key);
        else
            recorder.stop();
    }
    std::vector<MrEvent> events(recorder.events().data(), recorder.events().data() + recorder.events().count());
    EXPECT_EQ(events, row.events);
}

const Step::Kind S = Step::strike;
const Step::Kind R = Step::release;

INSTANTIATE_TEST_SUITE_P(
    Events, MrRecorderEventTest,
    ::testing::Values(
        EventCase{"byStartThenKey", 0, {{S, 300, 50}, {S, 100, 45}, {S, 100, 40}, {S, 200, 45}},
                  {{100, 0, 40}, {100, 200, 45}, {200, 0, 45}, {300, 0, 50}}},
        // Of two equal events the newer stands first: it is the one still
        // open after a release.
        EventCase{"newerOfTwoEqualFirst", 0, {{S, 100, 40}, {S, 100, 40}, {R, 300, 40}},
                  {{100, 300, 40}, {100, 0, 40}}},
        EventCase{"strikingAgainEndsTheOpenEvent", 0, {{S, 100, 40}, {S, 250, 40}, {S, 260, 41}},
                  {{100, 250, 40}, {250, 0, 40}, {260, 0, 41}}},
        EventCase{"aReleaseEndsTheFirstOpenEventOfItsKeyOnly", 0,
                  {{S, 100, 40}, {S, 150, 41}, {S, 160, 40}, {R, 400, 40}, {R, 500, 40}, {R, 600, 41}},
                  {{100, 160, 40}, {150, 600, 41}, {160, 400, 40}}},
        EventCase{"aReleaseReachesOnlyEarlierStarts", 0, {{S, 100, 40}, {R, 100, 40}}, {{100, 0, 40}}},
        EventCase{"nothingWhileNotRecording", 0, {{S, 100, 40}, {Step::stop, 0, 0}, {S, 200, 41}, {R, 300, 40}},
                  {{100, 0, 40}}},
        EventCase{"keysOffThePianoAreNotRecorded", 0, {{S, 100, -1}, {S, 100, 88}, {S, 120, 87}}, {{120, 0, 87}}},
        // Times are the low 32 bits of the tick counts.
        EventCase{"acrossTheTurnOfA32BitClock", (1ULL << 32) - 100, {{S, 50, 40}, {S, 250, 41}, {R, 400, 40}},
                  {{50, 400, 40}, {250, 0, 41}}}),
    [](const ::testing::TestParamInfo<EventCase>& info) { return std::string(info.param.name); });

TEST(MrRecorderTest, startEmptiesTheEventsAndTheArrayGrowsPastItsBlock)
{
    MrRecorder recorder;
    recorder.addEvent(10, 40);
    EXPECT_EQ(recorder.events().count(), 0) << "not recording yet";
    recorder.start(1000);
    const int played = 3 * MrRecorder::eventBlock + 5;
    for (int i = 0; i < played; ++i)
        recorder.addEvent(1000 + unsigned(played - i), i % 88);
    ASSERT_EQ(recorder.events().count(), played);
    for (int i = 1; i < played; ++i)
        ASSERT_LT(recorder.events()[i - 1].start, recorder.events()[i].start);
    recorder.stop();
    EXPECT_FALSE(recorder.isRecording());
    recorder.start(5000);
    EXPECT_TRUE(recorder.isRecording());
    EXPECT_EQ(recorder.startTick(), 5000u);
    EXPECT_EQ(recorder.events().count(), 0);
}

} // namespace
