#include "model/MnMeasure.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/ModelBuilders.h"
#include "model/VoiceText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int Half = 120960;
constexpr int Quarter = 60480;
constexpr int Eighth = 30240;
constexpr int Sixteenth = 15120;

// A voice written as values: a positive value is a note (C5), a negative one
// a rest; 'g' before a value in the text form makes a grace chord.
struct Step
{
    int value;
    bool grace = false;
};

Step note(int value) { return {value}; }
Step rest(int value) { return {-value}; }
Step grace(int value) { return {value, true}; }

// Enters the steps into voice 0 from time 0; grace chords go before the
// next chord entered. Answers false when an entry is refused.
bool enter(MnMeasure& measure, const std::vector<Step>& steps)
{
    int time = 0;
    std::vector<int> graces;
    for (const Step& step : steps) {
        if (step.grace) {
            graces.push_back(step.value);
            continue;
        }
        const int value = step.value > 0 ? step.value : -step.value;
        MnChord* chord = nullptr;
        if (step.value > 0) {
            MnNote* entered = measure.setNote(0, time, 0, 5, MnAccidentalNone, value, false);
            if (!entered)
                return false;
            chord = entered->chord();
        } else {
            if (!measure.setRest(0, time, value))
                return false;
            const BcArray<MnChord*>& chords = measure.voiceChords(0);
            for (int i = 0; i < chords.count(); ++i) {
                if (!chords[i]->isGrace() && chords[i]->time() == time)
                    chord = chords[i];
            }
        }
        for (int graceValue : graces) {
            if (!measure.addGraceNote(chord, 4, 5, MnAccidentalNone, graceValue))
                return false;
        }
        graces.clear();
        time += chord->soundingDuration();
    }
    return true;
}

std::string links(const MnMeasure& measure)
{
    std::string text;
    for (int i = 0; i < measure.chordCount(0, false); ++i) {
        if (i > 0)
            text += " ";
        text += std::to_string(measure.beamLink(0, i));
    }
    return text;
}

std::string groups(const MnMeasure& measure)
{
    std::string text;
    for (int i = 0; i < measure.chordCount(0, false); ++i) {
        int first = -1;
        int last = -1;
        if (i > 0)
            text += " ";
        if (measure.beamGroup(0, i, first, last))
            text += std::to_string(first) + "-" + std::to_string(last);
        else
            text += "-";
    }
    return text;
}

} // namespace

TEST(MnBeamGroups, LinksAndGroupsOfAVoice)
{
    const struct
    {
        const char* name;
        std::vector<Step> voice;
        const char* links;
        const char* groups;
    } cases[] = {
        {"four eighths fill one group of the 4/4 beat grouping",
         {note(Eighth), note(Eighth), note(Eighth), note(Eighth), rest(Half)}, "0 1 1 1 2", "0-3 0-3 0-3 0-3 -"},
        {"eight eighths make two groups of four",
         {note(Eighth), note(Eighth), note(Eighth), note(Eighth), note(Eighth), note(Eighth), note(Eighth),
          note(Eighth)},
         "0 1 1 1 0 1 1 1", "0-3 0-3 0-3 0-3 4-7 4-7 4-7 4-7"},
        {"a quarter between two eighths leaves nothing to beam",
         {note(Eighth), note(Quarter), note(Eighth), rest(Half)}, "2 2 2 2", "- - - -"},
        {"a rest inside a beam continues it",
         {note(Eighth), rest(Eighth), note(Eighth), note(Eighth), rest(Half)}, "0 1 1 1 2", "0-3 0-3 0-3 0-3 -"},
        {"a rest at the start of a group is not beamed",
         {rest(Eighth), note(Eighth), note(Eighth), note(Eighth), rest(Half)}, "2 0 1 1 2", "- 1-3 1-3 1-3 -"},
        {"a rest that ends the voice is not beamed",
         {rest(Half), note(Quarter), note(Eighth), rest(Eighth)}, "2 2 2 2", "- - - -"},
        {"sixteenths group by the quarter when the measure divides into sixteenths",
         {note(Sixteenth), note(Sixteenth), note(Eighth), note(Sixteenth), note(Sixteenth), note(Eighth), rest(Half)},
         "0 1 1 0 1 1 2", "0-2 0-2 0-2 3-5 3-5 3-5 -"},
        {"grace eighths beam only with each other",
         {grace(Eighth), grace(Eighth), note(Quarter), rest(Quarter), rest(Half)}, "0 1 2 2 2", "0-1 0-1 - - -"},
        {"a normal group passes over a grace chord inside it",
         {note(Eighth), note(Eighth), grace(Eighth), note(Eighth), note(Eighth), rest(Half)}, "0 1 2 1 1 2",
         "0-4 0-4 - 0-4 0-4 -"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MnMeasure measure(nullptr, 1, MnTime4_4);
        ASSERT_TRUE(enter(measure, c.voice));
        ASSERT_EQ(voiceFault(measure, 0), "");
        EXPECT_EQ(links(measure), c.links);
        EXPECT_EQ(groups(measure), c.groups);
    }
}

TEST(MnBeamGroups, TupletsBeamByThemselves)
{
    MnMeasure measure(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(measure.makeTuplet(0, 0, Quarter, 3, false));
    for (int time : {0, 20160, 40320})
        ASSERT_NE(measure.setNote(0, time, 0, 5, MnAccidentalNone, Eighth, false), nullptr);
    ASSERT_NE(measure.setNote(0, Quarter, 0, 5, MnAccidentalNone, Eighth, false), nullptr);
    ASSERT_NE(measure.setNote(0, Quarter + Eighth, 0, 5, MnAccidentalNone, Eighth, false), nullptr);
    // The triplet is one group whatever the grouping; the eighth after it
    // begins a beam of its own.
    EXPECT_EQ(links(measure), "0 1 1 0 1 2");
    EXPECT_EQ(groups(measure), "0-2 0-2 0-2 3-4 3-4 -");
}

TEST(MnBeamGroups, BeamModesOverrideTheGrouping)
{
    const struct
    {
        int chord;
        int mode;
        const char* links;
    } cases[] = {
        {1, 2, "2 2 0 1 0 1 1 1"}, // no beam: splits the group
        {2, 0, "0 1 0 1 0 1 1 1"}, // begins a beam: a new group there
        {4, 1, "0 1 1 1 1 1 1 1"}, // continues: joins the groups
        {4, 3, "0 1 1 1 1 1 1 1"}, // continues with a secondary break
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " on chord " << c.chord);
        MnMeasure measure(nullptr, 1, MnTime4_4);
        ASSERT_TRUE(enter(measure, std::vector<Step>(8, note(Eighth))));
        ASSERT_TRUE(measure.voiceChords(0)[c.chord]->setBeamMode(c.mode));
        EXPECT_EQ(links(measure), c.links);
    }
    // A beam mode on a rest is not its own link.
    MnMeasure restMode(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(enter(restMode, {note(Eighth), rest(Eighth), note(Eighth), note(Eighth), rest(Half)}));
    ASSERT_TRUE(restMode.voiceChords(0)[1]->setBeamMode(2));
    EXPECT_EQ(links(restMode), "0 1 1 1 2");
}

TEST(MnBeamGroups, MeterGrouping)
{
    const struct
    {
        int type;
        int eighths;
        const char* links;
    } cases[] = {
        {MnTime6_8, 6, "0 1 1 0 1 1"},
        {MnTime9_8, 9, "0 1 1 0 1 1 0 1 1"},
        {MnTime2_4, 4, "0 1 0 1"},
        {MnTime3_4, 6, "0 1 1 1 1 1"}, // the whole bar: four times a sixth of a whole
        {MnTime2_2, 8, "0 1 1 1 0 1 1 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.links);
        StaffFixture fixture(1, c.type);
        ASSERT_EQ(fixture.measure(0)->beats() * fixture.measure(0)->beatTicks(), c.eighths * Eighth);
        ASSERT_TRUE(enter(*fixture.measure(0), std::vector<Step>(c.eighths, note(Eighth))));
        EXPECT_EQ(links(*fixture.measure(0)), c.links);
    }
}

TEST(MnBeamGroups, StemSettersActOnTheBeamGroup)
{
    MnMeasure measure(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(enter(measure, {note(Eighth), note(Eighth), grace(Eighth), note(Eighth), note(Eighth), note(Eighth),
                                note(Eighth), note(Eighth), note(Eighth)}));
    const BcArray<MnChord*>& chords = measure.voiceChords(0);
    MnChord* embeddedGrace = chords[2];
    ASSERT_TRUE(embeddedGrace->isGrace());

    // One eighth of the first four sets all four, not the grace chord among
    // them and not the next group.
    EXPECT_TRUE(chords[1]->setStemDirection(1));
    for (int i : {0, 1, 3, 4})
        EXPECT_EQ(chords[i]->stemSetting(), 1) << i;
    EXPECT_EQ(embeddedGrace->stemSetting(), 0);
    for (int i = 5; i < 9; ++i)
        EXPECT_EQ(chords[i]->stemSetting(), 0) << i;

    EXPECT_TRUE(chords[0]->setStemInverted(true));
    for (int i : {0, 1, 3, 4})
        EXPECT_TRUE(chords[i]->isStemInverted()) << i;
    EXPECT_FALSE(embeddedGrace->isStemInverted());

    // A grace slash is for grace chords only.
    EXPECT_FALSE(chords[0]->setGraceSlash(true));
    EXPECT_FALSE(chords[0]->hasGraceSlash());
    EXPECT_TRUE(embeddedGrace->setGraceSlash(true));
    EXPECT_TRUE(embeddedGrace->hasGraceSlash());

    // Values the record cannot hold are refused.
    EXPECT_FALSE(chords[0]->setStemDirection(2));
    EXPECT_FALSE(chords[0]->setBeamMode(4));
    EXPECT_EQ(chords[0]->stemSetting(), 1);
    EXPECT_EQ(chords[0]->beamMode(), -1);

    // Joining the second group to the first gives it the first's stem.
    EXPECT_TRUE(chords[5]->setBeamMode(1));
    for (int i = 5; i < 9; ++i) {
        EXPECT_EQ(chords[i]->stemSetting(), 1) << i;
        EXPECT_TRUE(chords[i]->isStemInverted()) << i;
    }

    // An unbeamed chord takes the setting alone.
    MnMeasure alone(nullptr, 1, MnTime4_4);
    ASSERT_TRUE(enter(alone, {note(Quarter), note(Quarter), rest(Half)}));
    EXPECT_TRUE(alone.voiceChords(0)[0]->setStemDirection(-1));
    EXPECT_EQ(alone.voiceChords(0)[0]->stemSetting(), -1);
    EXPECT_EQ(alone.voiceChords(0)[1]->stemSetting(), 0);
}
