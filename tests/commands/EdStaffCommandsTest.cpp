#include "EdCommandFixture.h"

#include "commands/EdStaffCommands.h"
#include "model/MnLyric.h"
#include "model/MnPartGroup.h"
#include "model/MnTablature.h"

#include <string>
#include <vector>

namespace {

using EdStaffCommandsTest = EdCommandFixture;

// A tablature's open strings as "E5 B4 G4", sharps and flats after the letter.
std::string tuning(const MnTablature* tablature)
{
    std::string out;
    for (int i = 0; i < tablature->stringCount(); ++i) {
        const MnTablature::Tuning& t = tablature->tuning(i);
        if (!out.empty())
            out += ' ';
        out += "CDEFGAB"[t.step];
        out += t.accidental < 0 ? "b" : t.accidental > 0 ? "#" : "";
        out += std::to_string(t.octave);
    }
    return out;
}

}

TEST_F(EdStaffCommandsTest, groupCoversTheSelectedStavesOfTheLastSelectedStaffsScore)
{
    struct Case
    {
        std::vector<int> staves;
        bool tablatureSelected;
        int first, count, type; // count 0: no group
        bool hint, coversTablature;
    };
    const Case cases[] = {
        {{0, 1}, false, 0, 2, 0, false, false},
        {{0, 3}, false, 0, 4, 1, false, false},
        {{3, 0}, false, 0, 4, 1, false, false},
        {{2}, true, 2, 1, 1, false, true},
        {{2}, false, 0, 0, 0, true, false},
        {{}, false, 0, 0, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        ASSERT_TRUE(document.OnNewDocument());
        context.hints.clear();
        MnScore* score = addScore(makeScore(4, 1));
        score->staff(2)->setTablature(new MnTablature(score->staff(2)));
        restartHistory();
        selection().clear();
        for (int s : c.staves)
            selection().add(score->staff(s));
        if (c.tablatureSelected)
            selection().add(score->staff(2)->tablature());
        EdStaffCommands::cmdGroup();
        EXPECT_EQ(context.hints, c.hint ? std::vector<unsigned>{32839} : std::vector<unsigned>{});
        if (c.count == 0) {
            EXPECT_EQ(score->partGroupCount(), 0);
            EXPECT_EQ(steps(), 0);
            continue;
        }
        ASSERT_EQ(score->partGroupCount(), 1);
        MnPartGroup* group = score->partGroup(0);
        EXPECT_EQ(group->firstStaff(), c.first);
        EXPECT_EQ(group->staffCount(), c.count);
        EXPECT_EQ(group->bracketType(), c.type);
        EXPECT_EQ(group->coversTablature(), c.coversTablature);
        ASSERT_EQ(selection().count(), 1);
        EXPECT_EQ(selection().element(0), group);
        EXPECT_EQ(steps(), 1);
    }
}

TEST_F(EdStaffCommandsTest, aGroupThatWouldCrossAnotherIsRefusedSilently)
{
    MnScore* score = addScore(makeScore(4, 1));
    ASSERT_NE(score->addPartGroup(1, 2), nullptr);
    restartHistory();
    const auto before = bytes();
    select({score->staff(0), score->staff(1)});
    EdStaffCommands::cmdGroup();
    EXPECT_EQ(score->partGroupCount(), 1);
    EXPECT_TRUE(context.hints.empty());
    EXPECT_EQ(steps(), 0);
    EXPECT_TRUE(sameBytes(before, bytes()));
}

TEST_F(EdStaffCommandsTest, lyricsStartAtTheOneSelectedChordOrNote)
{
    MnScore* score = addScore(makeScore(1, 2, 3));
    MnMeasure* measure = score->staff(0)->measure(1);
    MnChord* chord = measure->voiceChords(0)[2];

    select({chord->note(0), chord->note(1), chord->note(2)});
    EdStaffCommands::cmdLyrics();
    EXPECT_EQ(context.hints, std::vector<unsigned>{33092});
    EXPECT_EQ(score->staff(0)->lyricArray().count(), 0);

    for (MnElement* picked : {static_cast<MnElement*>(chord), static_cast<MnElement*>(chord->note(1))}) {
        select({picked});
        EdStaffCommands::cmdLyrics();
    }
    // The second lyric at the same chord is the staff's to refuse or keep.
    ASSERT_GE(score->staff(0)->lyricArray().count(), 1);
    MnLyric* lyric = score->staff(0)->lyricArray()[0];
    EXPECT_EQ(lyric->start(), measure->startTime() + chord->time());
    EXPECT_EQ(lyric->voice(), 0);
    EXPECT_TRUE(lyric->text() == BcString("La"));
    EXPECT_EQ(lyric->firstChord(), chord);
    ASSERT_EQ(selection().count(), 1);
    EXPECT_TRUE(selection().element(0)->isKindOf(MnLyric::staticClass()));
    EXPECT_EQ(steps(), score->staff(0)->lyricArray().count());
}

TEST_F(EdStaffCommandsTest, aNewTablatureIsTunedLikeTheFretboardPaneWhileItShows)
{
    EdContext::VisibleFretboard bass;
    bass.stringCount = 4;
    const int letters[] = {6, 3, 0, 4}; // G D A E, counted from A
    const int octaves[] = {3, 3, 2, 2};
    for (int i = 0; i < 4; ++i) {
        bass.letter[i] = letters[i];
        bass.octave[i] = octaves[i];
    }
    bass.frets = 20;
    EdContext::VisibleFretboard capo = bass;
    capo.stringCount = 6;
    const int guitar[] = {4, 1, 6, 3, 0, 4};
    const int guitarOctaves[] = {5, 4, 4, 4, 3, 3};
    for (int i = 0; i < 6; ++i) {
        capo.letter[i] = guitar[i];
        capo.octave[i] = guitarOctaves[i];
    }
    capo.letter[2] = 6 + 14; // G sharp
    capo.letter[1] = 1 + 7;  // B flat
    capo.frets = 19;
    capo.capoOn = true;
    capo.capoFret = 3;

    struct Case
    {
        bool shown;
        EdContext::VisibleFretboard pane;
        const char* strings;
        int frets;
        bool capoOn;
        int capoFret;
    };
    const Case cases[] = {
        {false, bass, "E5 B4 G4 D4 A3 E3", 19, false, 1},
        {true, bass, "G3 D3 A2 E2", 20, false, 1},
        {true, capo, "E5 Bb4 G#4 D4 A3 E3", 19, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strings);
        ASSERT_TRUE(document.OnNewDocument());
        MnScore* score = addScore(makeScore(2, 1));
        context.fretboardShown = c.shown;
        context.fretboard = c.pane;
        select({score->staff(1)});
        EdStaffCommands::cmdTablature();
        MnTablature* tablature = score->staff(1)->tablature();
        ASSERT_NE(tablature, nullptr);
        EXPECT_EQ(tuning(tablature), c.strings);
        EXPECT_EQ(tablature->frets(), c.frets);
        EXPECT_EQ(tablature->isCapoOn(), c.capoOn);
        EXPECT_EQ(tablature->capoFret(), c.capoFret);
        EXPECT_EQ(score->staff(0)->tablature(), nullptr);
        ASSERT_EQ(selection().count(), 1);
        EXPECT_EQ(selection().element(0), tablature);
        EXPECT_EQ(steps(), 1);
    }
}

TEST_F(EdStaffCommandsTest, aStaffWithATablatureHasItSelectedWithoutAStep)
{
    MnScore* score = addScore(makeScore(2, 1));
    MnTablature* existing = new MnTablature(score->staff(0));
    score->staff(0)->setTablature(existing);
    restartHistory();
    select({score->staff(0), score->staff(0)});
    EdStaffCommands::cmdTablature();
    ASSERT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().element(0), existing);
    EXPECT_EQ(steps(), 0);

    select({score->staff(0)->measure(0)});
    EdStaffCommands::cmdTablature();
    EXPECT_EQ(context.hints, std::vector<unsigned>{33095});
}
