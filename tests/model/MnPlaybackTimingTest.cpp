#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const int whole = 241920;
const int dottedHalf = 181440;
const int half = 120960;
const int dottedQuarter = 90720;
const int quarter = 60480;
const int eighth = 30240;
const int sixteenth = 15120;

struct Timing
{
    int start;
    int length;
};

Timing playback(const MnChord* chord, MnMeasure* next = nullptr)
{
    Timing timing{0, -1};
    timing.start = chord->playbackTime(next, timing.length);
    return timing;
}

// A score of one staff with the given number of 4/4 measures.
class Bars : public ::testing::Test
{
protected:
    void withBars(int count)
    {
        while (score.staff(0)->measureCount() < count)
            score.insertMeasure(-1);
    }
    MnMeasure* bar(int number) { return score.staff(0)->measure(number - 1); }

    MnScore score;
};

} // namespace

TEST_F(Bars, SingleAppoggiaturaTakesHalfOfItsMainChord)
{
    withBars(1);
    VoiceBuilder voice(bar(1), 0);
    voice.note(half, 0, 4);
    MnChord* grace = voice.grace(eighth);
    MnChord* main = voice.note(half, 2, 4);

    EXPECT_TRUE(grace->isSingleAppoggiatura());
    Timing g = playback(grace);
    EXPECT_EQ(g.start, half);
    EXPECT_EQ(g.length, quarter);
    Timing m = playback(main);
    EXPECT_EQ(m.start, half + quarter);
    EXPECT_EQ(m.length, quarter);
}

TEST_F(Bars, TwoGraceChordsBeforeTheFirstQuarterSoundBeforeTheBarLine)
{
    withBars(1);
    VoiceBuilder voice(bar(1), 0);
    MnChord* first = voice.grace(sixteenth);
    MnChord* second = voice.grace(sixteenth);
    MnChord* main = voice.note(quarter, 0, 5);
    voice.chord(dottedHalf);

    Timing a = playback(first);
    Timing b = playback(second);
    EXPECT_EQ(a.start, -30240);
    EXPECT_EQ(a.length, 15120);
    EXPECT_EQ(b.start, -15120);
    EXPECT_EQ(b.length, 15120);
    Timing m = playback(main);
    EXPECT_EQ(m.start, 0);
    EXPECT_EQ(m.length, quarter);
}

TEST_F(Bars, SlashedGraceBeforeADottedQuarterTakesAQuarterOfItsUndottedValue)
{
    withBars(1);
    VoiceBuilder voice(bar(1), 0);
    voice.note(quarter, 0, 4);
    MnChord* grace = voice.grace(eighth, true);
    MnChord* main = voice.note(dottedQuarter, 2, 4);
    voice.chord(eighth);
    voice.chord(quarter);

    EXPECT_FALSE(grace->isSingleAppoggiatura());
    Timing g = playback(grace);
    EXPECT_EQ(g.start, quarter - 15120);
    EXPECT_EQ(g.length, 15120);
    Timing m = playback(main);
    EXPECT_EQ(m.start, quarter);
    EXPECT_EQ(m.length, dottedQuarter);
}

TEST_F(Bars, EndGraceChordsFollowTheMeasureThatPlaysNext)
{
    withBars(3);
    VoiceBuilder one(bar(1), 0);
    one.note(whole, 0, 4);
    MnChord* endGrace = one.grace(eighth);
    VoiceBuilder two(bar(2), 0);
    two.note(half, 0, 4);
    two.note(half, 0, 4);
    VoiceBuilder three(bar(3), 0);
    three.note(quarter, 0, 4);
    three.note(dottedHalf, 0, 4);

    // The staff's next measure begins with a half note...
    Timing natural = playback(endGrace);
    EXPECT_EQ(natural.start, whole - half / 4);
    EXPECT_EQ(natural.length, half / 4);
    // ...but under a jump the grace chord leads into measure 3's quarter.
    Timing jumped = playback(endGrace, bar(3));
    EXPECT_EQ(jumped.start, whole - quarter / 4);
    EXPECT_EQ(jumped.length, quarter / 4);

    // In the last measure there is no main chord at all.
    VoiceBuilder last(bar(3), 0);
    last.note(whole, 0, 4);
    MnChord* lonely = last.grace(eighth);
    Timing alone = playback(lonely);
    EXPECT_EQ(alone.start, whole - 15120);
    EXPECT_EQ(alone.length, 15120);
}

TEST_F(Bars, ChordPlayedAtAnswersGraceChordsAfterTheLastChord)
{
    withBars(2);
    VoiceBuilder one(bar(1), 0);
    one.note(half, 0, 4);
    MnChord* halfNote = one.note(half, 2, 4);
    MnChord* firstGrace = one.grace(sixteenth);
    MnChord* secondGrace = one.grace(sixteenth);
    VoiceBuilder two(bar(2), 0);
    two.note(quarter, 0, 5);
    two.chord(dottedHalf);

    const int length = bar(1)->length();
    int sounding = -1;
    EXPECT_EQ(bar(1)->chordPlayedAt(length - 30240, 0, nullptr, sounding), firstGrace);
    EXPECT_EQ(sounding, 15120);
    EXPECT_EQ(bar(1)->chordPlayedAt(length - 15120, 0, nullptr, sounding), secondGrace);
    EXPECT_EQ(sounding, 15120);
    EXPECT_EQ(bar(1)->chordPlayedAt(half, 0, nullptr, sounding), halfNote);
    EXPECT_EQ(sounding, half - 30240);

    // Nothing starts in the middle of a chord; the failed query leaves the
    // length alone.
    sounding = -7;
    EXPECT_EQ(bar(1)->chordPlayedAt(half + 1, 0, nullptr, sounding), nullptr);
    EXPECT_EQ(bar(1)->chordPlayedAt(0, 2, nullptr, sounding), nullptr);
    EXPECT_EQ(sounding, -7);
}

// Every chord of a table of measures is found again at the start that
// playback gives it; the lengths agree except that a chord followed by grace
// chords (an appoggiatura included) gives up their time.
TEST_F(Bars, ChordPlayedAtInvertsPlaybackTime)
{
    struct Row
    {
        const char* name;
        std::function<void(MnMeasure*, MnMeasure*)> build;
    };
    const std::vector<Row> rows = {
        {"plain quarters",
         [](MnMeasure* m, MnMeasure*) {
             VoiceBuilder v(m, 0);
             for (int i = 0; i < 4; ++i)
                 v.note(quarter, i, 4);
         }},
        {"appoggiatura before a half note",
         [](MnMeasure* m, MnMeasure*) {
             VoiceBuilder v(m, 0);
             v.note(half, 0, 4);
             v.grace(eighth);
             v.note(half, 1, 4);
         }},
        {"two graces at the start of the measure",
         [](MnMeasure* m, MnMeasure*) {
             VoiceBuilder v(m, 0);
             v.grace(sixteenth);
             v.grace(sixteenth);
             v.note(quarter, 0, 5);
             v.note(dottedQuarter, 1, 5);
             v.note(eighth, 2, 5);
             v.note(quarter, 3, 5);
         }},
        {"slashed grace before a dotted quarter",
         [](MnMeasure* m, MnMeasure*) {
             VoiceBuilder v(m, 0);
             v.note(quarter, 0, 4);
             v.grace(eighth, true);
             v.note(dottedQuarter, 2, 4);
             v.note(eighth, 3, 4);
             v.note(quarter, 4, 4);
         }},
        {"three graces before an eighth",
         [](MnMeasure* m, MnMeasure*) {
             VoiceBuilder v(m, 0);
             v.note(half, 0, 4);
             v.note(quarter, 1, 4);
             v.grace(sixteenth);
             v.grace(sixteenth, true);
             v.grace(sixteenth);
             v.note(eighth, 2, 4);
             v.note(eighth, 3, 4);
         }},
        {"end graces before the next measure's quarter",
         [](MnMeasure* m, MnMeasure* next) {
             VoiceBuilder v(m, 0);
             v.note(half, 0, 4);
             v.note(half, 2, 4);
             v.grace(sixteenth);
             v.grace(sixteenth);
             VoiceBuilder w(next, 0);
             w.note(quarter, 0, 5);
             w.note(dottedHalf, 1, 5);
         }},
        {"triplet with a grace inside",
         [](MnMeasure* m, MnMeasure*) {
             VoiceBuilder v(m, 0);
             v.triplet(eighth);
             v.grace(sixteenth, true);
             v.triplet(eighth);
             v.triplet(eighth);
             v.note(dottedHalf, 1, 4);
         }},
        {"second voice with an appoggiatura",
         [](MnMeasure* m, MnMeasure*) {
             VoiceBuilder v(m, 1);
             v.note(quarter, 0, 3);
             v.grace(eighth);
             v.note(quarter, 1, 3);
             v.note(half, 2, 3);
         }},
    };

    for (const Row& row : rows) {
        MnScore fresh;
        fresh.insertMeasure(-1);
        MnStaff* staff = fresh.staff(0);
        MnMeasure* measure = staff->measure(0);
        row.build(measure, staff->measure(1));
        for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            for (int i = 0; i < chords.count(); ++i) {
                MnChord* chord = chords[i];
                SCOPED_TRACE(std::string(row.name) + ", voice " + std::to_string(voice) + ", chord " +
                             std::to_string(i));
                Timing timing = playback(chord);
                int length = -1;
                EXPECT_EQ(measure->chordPlayedAt(timing.start, voice, nullptr, length), chord);

                // Grace chords right after the chord take a quarter of
                // their main chord's undotted value each from it.
                int graceTime = 0;
                if (!chord->isGrace()) {
                    int graces = 0;
                    const MnChord* after = chord->nextChord();
                    for (; after && after->isGrace(); after = after->nextChord())
                        ++graces;
                    graceTime = graces * (after ? after->undottedDuration() / 4 : 15120);
                }
                EXPECT_EQ(length, timing.length - graceTime);
            }
        }
    }
}

// The list of played chords holds exactly the answers of chordPlayedAt, for
// the staff's next measure and for another one: every time that answers is
// listed once, in order, with the answer's chord and length, and no other
// time answers.
TEST_F(Bars, PlayedChordsListEveryAnswerOfChordPlayedAt)
{
    struct Row
    {
        const char* name;
        std::function<void(MnMeasure*, MnMeasure*, MnMeasure*)> build;
    };
    const std::vector<Row> rows = {
        {"graces at both bar lines and an appoggiatura",
         [](MnMeasure* m, MnMeasure* next, MnMeasure* other) {
             VoiceBuilder v(m, 0);
             v.grace(sixteenth);
             v.grace(sixteenth, true);
             v.note(quarter, 0, 4);
             v.grace(eighth);
             v.note(quarter, 1, 4);
             v.note(half, 2, 4);
             v.grace(sixteenth);
             VoiceBuilder w(next, 0);
             w.grace(sixteenth, true);
             w.grace(sixteenth, true);
             w.note(eighth, 0, 5);
             w.note(eighth, 0, 5);
             w.note(3 * quarter, 1, 5);
             VoiceBuilder o(other, 0);
             o.grace(eighth, true);
             o.note(whole, 3, 5);
         }},
        {"eight graces reach back to the chord before",
         [](MnMeasure* m, MnMeasure*, MnMeasure*) {
             VoiceBuilder v(m, 0);
             v.note(half, 0, 4);
             v.note(sixteenth, 1, 4);
             for (int i = 0; i < 8; ++i)
                 v.grace(sixteenth, true);
             v.note(7560, 2, 4);
             v.note(7560, 2, 4);
             v.note(quarter - 7560, 3, 4);
         }},
        {"triplets and a second voice",
         [](MnMeasure* m, MnMeasure* next, MnMeasure*) {
             VoiceBuilder v(m, 0);
             v.triplet(eighth);
             v.grace(sixteenth, true);
             v.triplet(eighth);
             v.triplet(eighth);
             v.note(dottedHalf, 1, 4);
             VoiceBuilder u(m, 1);
             u.note(quarter, 0, 3);
             u.grace(eighth);
             u.note(quarter, 1, 3);
             u.note(half, 2, 3);
             VoiceBuilder w(next, 1);
             w.grace(sixteenth, true);
             w.note(whole, 4, 3);
         }},
    };

    for (const Row& row : rows) {
        MnScore fresh;
        fresh.insertMeasure(-1);
        fresh.insertMeasure(-1);
        MnStaff* staff = fresh.staff(0);
        MnMeasure* measure = staff->measure(0);
        row.build(measure, staff->measure(1), staff->measure(2));
        const int length = measure->length();
        for (MnMeasure* next : {static_cast<MnMeasure*>(nullptr), staff->measure(2)}) {
            for (int voice = 0; voice < MnMeasure::voiceCount; ++voice) {
                SCOPED_TRACE(std::string(row.name) + ", voice " + std::to_string(voice) +
                             (next ? ", another next measure" : ""));
                BcArray<MnPlayedChord> played;
                measure->playedChords(voice, next, played);
                for (int i = 0; i < played.count(); ++i) {
                    if (i > 0) {
                        EXPECT_LT(played[i - 1].time, played[i].time);
                    }
                    int sounding = -1;
                    EXPECT_EQ(measure->chordPlayedAt(played[i].time, voice, next, sounding), played[i].chord);
                    EXPECT_EQ(sounding, played[i].length);
                }
                int answers = 0;
                for (int time = -length; time <= 2 * length; time += 315) {
                    int sounding = -1;
                    answers += measure->chordPlayedAt(time, voice, next, sounding) != nullptr;
                }
                EXPECT_EQ(answers, played.count());
            }
        }
    }
}
