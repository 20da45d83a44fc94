#include "model/MnSheetMusic.h"
#include "model/MnTempo.h"
#include "panels/UiScoreDlg.h"
#include "tests/panels/PageFixture.h"

TEST(ScorePageStatisticsTest, theDurationIsShownInSecondsOrMinutesAtTheStartingTempo)
{
    constexpr long long measure = 4 * 60480;
    struct Row
    {
        const char* name;
        long long ticks;
        int beatUnit, beatsPerMinute;
        const char* shown;
    };
    const Row rows[] = {
        {"4 measures at 96", 4 * measure, 60480, 96, "10:000"},
        {"4 measures at 48", 4 * measure, 60480, 48, "20:000"},
        {"32 measures at 96", 32 * measure, 60480, 96, "1:20:000"},
        {"just under a minute", 95 * 60480, 60480, 96, "59:375"},
        {"long enough to need 64 bits", 1000000LL * measure, 1, 120, "2016000000:00:000"},
        {"no beat unit", measure, 0, 96, "-"},
        {"no tempo", measure, 60480, 0, "-"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(UiScoreDlg::duration(row.ticks, row.beatUnit, row.beatsPerMinute), row.shown) << row.name;
}

TEST_F(PageFixture, tiedNotesCountOnceAndChordsCountTheirOnsetsAcrossStaves)
{
    MnScore* score = addScore(makeScore(2, 1, 0));
    MnMeasure* top = score->staff(0)->measure(0);
    MnMeasure* bottom = score->staff(1)->measure(0);
    fillVoice(top, 1, 0, 120960);
    fillVoice(bottom, 1, 0, 120960);
    ASSERT_NE(putNote(top, 0, 0, 60480, 0, 4), nullptr);
    MnNote* tied = putNote(top, 0, 60480, 60480, 0, 4);
    ASSERT_NE(tied, nullptr);
    tied->setTied(true);
    UiScoreDlg::Statistics counts = UiScoreDlg::statistics(*score);
    EXPECT_EQ(counts.untied, 2);
    EXPECT_EQ(counts.notes, 1);
    EXPECT_EQ(counts.chords, 1);

    // A three-note chord and a note of the other staff at its time.
    MnChord* chord = chordAt(top, 0, 60480 * 2);
    ASSERT_NE(putNote(top, 0, 60480 * 2, 60480, 0, 5), nullptr);
    chord = chordAt(top, 0, 60480 * 2);
    ASSERT_NE(chord, nullptr);
    chord->addNote(2, 5, 3, false);
    chord->addNote(4, 5, 3, false);
    ASSERT_NE(putNote(bottom, 0, 60480 * 2, 60480, 0, 3), nullptr);
    counts = UiScoreDlg::statistics(*score);
    EXPECT_EQ(counts.notes, 1 + 4);
    EXPECT_EQ(counts.chords, 1 + 1);
    EXPECT_EQ(counts.staves, 2);
    EXPECT_EQ(counts.measures, 1);
    EXPECT_EQ(counts.systems, 1) << "a free score";
    EXPECT_EQ(counts.duration, "2:500");
}

TEST_F(PageFixture, theScorePageShowsItsScoresStatisticsAndASheetsSystems)
{
    auto* sheet = new MnSheetMusic();
    ASSERT_TRUE(document.addWork(sheet));
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiScoreDlg>(controls);
    ASSERT_TRUE(load(*page, {sheet->score()}));
    EXPECT_EQ(controls->text(1191), std::to_string(sheet->systemCount()));
    EXPECT_EQ(controls->text(1184), "4");
    EXPECT_EQ(controls->text(1180), "10:000");
    sheet->score()->tempo(0)->setBeatsPerMinute(48);
    ASSERT_TRUE(load(*page, {sheet->score()}));
    EXPECT_EQ(controls->text(1180), "20:000");
}

TEST_F(PageFixture, mixedScalesStayUntilTheScaleItselfChanges)
{
    MnScore* a = addScore(makeScore(1, 1));
    MnScore* b = addScore(makeScore(1, 1));
    ASSERT_TRUE(a->setScale(0.8));
    ASSERT_TRUE(b->setScale(1.2));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiScoreDlg>(controls);
    ASSERT_TRUE(load(*page, {a, b}));
    EXPECT_EQ(controls->text(1086), "*Various*");

    controls->click(1194);  // show staff
    EXPECT_DOUBLE_EQ(a->scale(), 0.8);
    EXPECT_DOUBLE_EQ(b->scale(), 1.2);

    controls->moveSlider(1329, 90);
    EXPECT_DOUBLE_EQ(a->scale(), 0.9);
    EXPECT_DOUBLE_EQ(b->scale(), 0.9);
    EXPECT_EQ(controls->text(1086), "90");

    controls->type(1086, "200");
    EXPECT_DOUBLE_EQ(a->scale(), 1.5) << "held in 50..150";
    EXPECT_EQ(controls->text(1086), "200");
    controls->type(1086, "30");
    EXPECT_DOUBLE_EQ(b->scale(), 0.5);

    int before = steps();
    controls->click(1330);  // reset
    EXPECT_EQ(steps(), before + 1);
    EXPECT_DOUBLE_EQ(a->scale(), 1.0);
    EXPECT_DOUBLE_EQ(b->scale(), 1.0);

    ASSERT_TRUE(a->setScale(0.8));
    ASSERT_TRUE(load(*page, {a}));
    EXPECT_EQ(controls->text(1086), "80");
}
