#include "panels/UiNoteDlg.h"
#include "tests/panels/PageFixture.h"

namespace {

MnChord* quarter(MnScore* score, int measure, int index)
{
    return score->staff(0)->measure(measure)->voiceChords(0)[index];
}

}

TEST(NotePageValueTest, dottedValuesCountAsTwoThirdsForBeaming)
{
    struct Row
    {
        const char* name;
        int duration;
        int undotted;
        bool beamable;
    };
    const Row rows[] = {
        {"quarter", 60480, 60480, false},
        {"dotted quarter", 90720, 60480, false},
        {"eighth", 30240, 30240, true},
        {"dotted eighth", 45360, 30240, true},
        {"dotted sixteenth", 22680, 15120, true},
        {"half", 120960, 120960, false},
    };
    for (const Row& row : rows) {
        MnChord chord(nullptr, 0, 0, row.duration);
        EXPECT_EQ(UiNoteDlg::undottedValue(chord), row.undotted) << row.name;
        EXPECT_EQ(UiNoteDlg::isBeamable(chord), row.beamable) << row.name;
    }
}

TEST_F(PageFixture, theNotePageLoadsTheValuesOfTheNoteAndItsChord)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnChord* chord = quarter(score, 0, 1);
    MnNote* note = chord->note(0);
    ASSERT_TRUE(note->setAccidental(-1));
    ASSERT_TRUE(chord->setStemDirection(-1));
    ASSERT_TRUE(chord->setBeamMode(2));
    note->setTied(true);
    ASSERT_TRUE(note->setTiePlacement(1));
    chord->setArticulations(0x01 | 0x40);
    note->setArpeggio(true);
    ASSERT_TRUE(note->setArpeggioType(2));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiNoteDlg>(controls);
    ASSERT_TRUE(load(*page, {note}));
    struct Row
    {
        const char* name;
        int member;
        int shown;
        int expected;
    };
    const Row rows[] = {
        {"flat", page->accidental, controls->radioIndex(1002), 1},
        {"stem down", page->stem, controls->radioIndex(1005), 2},
        {"no beam", page->beam, controls->radioIndex(1008), 3},
        {"tied", page->tie, controls->check(1090), 1},
        {"tie above", page->tieSide, controls->radioIndex(1014), 2},
        {"staccatissimo", page->articulations[0], controls->check(1092), 1},
        {"staccato", page->articulations[1], controls->check(1093), 0},
        {"fermata", page->articulations[5], controls->check(1091), 1},
        {"arpeggio", page->arpeggio, controls->check(1104), 1},
        {"arrow down", page->arpeggioType, controls->radioIndex(1016), 2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.member, row.expected) << row.name;
        EXPECT_EQ(row.shown, row.expected) << row.name;
    }
    EXPECT_FALSE(controls->isEnabled(1077)) << "a quarter takes no beam";
    EXPECT_FALSE(controls->isShown(1108)) << "no slash for a normal chord";
    EXPECT_TRUE(controls->isEnabled(1012)) << "tied: the side can be chosen";
    EXPECT_FALSE(controls->isEnabled(1020)) << "no slur: no side";
}

TEST_F(PageFixture, graceNotesAloneLoseTieAndArpeggioAndMixedSelectionsTieOnlyNormalNotes)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnMeasure* measure = score->staff(0)->measure(0);
    addGraceChords(measure, 0, 1, 1);
    MnNote* grace = measure->voiceChords(0)[1]->note(0);
    MnNote* normal = measure->voiceChords(0)[2]->note(0);
    ASSERT_TRUE(grace->chord()->isGrace());
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiNoteDlg>(controls);

    ASSERT_TRUE(load(*page, {grace}));
    for (int id : {1085, 1083, 1090, 1094, 1103, 1104})
        EXPECT_FALSE(controls->isEnabled(id)) << id;
    EXPECT_TRUE(controls->isShown(1108));

    ASSERT_TRUE(load(*page, {grace, normal}));
    EXPECT_EQ(page->grace, 2);
    EXPECT_TRUE(controls->isShown(1108)) << "the slash box for the grace notes";
    EXPECT_TRUE(controls->isEnabled(1090));
    controls->click(1090);
    controls->click(1104);
    EXPECT_TRUE(normal->isTied());
    EXPECT_TRUE(normal->hasArpeggio());
    EXPECT_FALSE(grace->isTied());
    EXPECT_FALSE(grace->hasArpeggio());
}

TEST_F(PageFixture, aBeamChangeReachesOnlyTheBeamableNotesOfAMixedSelection)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnMeasure* measure = score->staff(0)->measure(0);
    fillVoice(measure, 0, 1, 30240);
    MnChord* eighth = measure->voiceChords(0)[0];
    MnScore* other = addScore(makeScore(1, 1));
    MnChord* quarterChord = quarter(other, 0, 0);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiNoteDlg>(controls);
    ASSERT_TRUE(load(*page, {eighth->note(0), quarterChord->note(0)}));
    EXPECT_TRUE(controls->isEnabled(1077)) << "beamable mixed";
    controls->click(1011);  // no beam
    EXPECT_EQ(eighth->beamMode(), 2);
    EXPECT_EQ(quarterChord->beamMode(), -1);
}

TEST_F(PageFixture, accidentalNoneStoresThreeAndTheStoredOneChosenAgainChangesNothing)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnChord* chord = quarter(score, 0, 0);
    MnNote* low = chord->note(0);
    MnNote* high = chord->addNote(4, 4, 3, false);
    ASSERT_TRUE(high->setAccidental(1));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiNoteDlg>(controls);

    ASSERT_TRUE(load(*page, {high}));
    controls->click(1067);  // the sharp's picture: already stored
    EXPECT_EQ(high->accidental(), 1);
    EXPECT_EQ(chord->note(1), high) << "not sorted again";

    ASSERT_TRUE(load(*page, {low}));
    controls->click(1001);  // natural
    EXPECT_EQ(low->accidental(), 0);
    controls->click(1070);  // none
    EXPECT_EQ(low->accidental(), 3);
}

TEST_F(PageFixture, aMixedArticulationClickClearsItEverywhere)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnChord* a = quarter(score, 0, 0);
    MnChord* b = quarter(score, 0, 1);
    a->setArticulations(0x08);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiNoteDlg>(controls);
    ASSERT_TRUE(load(*page, {a->note(0), b->note(0)}));
    EXPECT_EQ(controls->check(1096), 2);
    controls->click(1096);
    EXPECT_FALSE(a->hasArticulation(0x08));
    EXPECT_FALSE(b->hasArticulation(0x08));
    EXPECT_EQ(controls->check(1096), 0);
    controls->click(1075);  // its picture
    EXPECT_TRUE(a->hasArticulation(0x08) && b->hasArticulation(0x08));
}
