#include "model/MnScore.h"
#include "model/MnTempo.h"
#include "panels/UiTempoDlg.h"
#include "tests/panels/PageFixture.h"

namespace {

// Control ids of the tempo page.
constexpr int bpmEdit = 1167;
constexpr int quarterPicture = 1154;
constexpr int firstTerm = 1229;
constexpr int otherRadio = 1249;
constexpr int moltoCheck = 1085;
constexpr int troppoCheck = 1087;
constexpr int customEdit = 1086;
constexpr int metronomeCheck = 1088;
constexpr int andante = 8;
constexpr int allegro = 14;

std::string shown(const MnTempo& mark)
{
    return mark.text().toNarrow(BcString::utf8CodePage);
}

}

TEST(TempoPageMarkingTest, aTermAndItsQualifiersGiveTheTypicalBeatsPerMinute)
{
    struct Row
    {
        int term, molto, troppo, expected;
    };
    const Row rows[] = {
        {allegro, 0, 0, 138}, {allegro, 1, 0, 156}, {allegro, 0, 1, 120}, {allegro, 1, 1, 147},
        {allegro, 2, 0, 156},  // a mixed qualifier counts as on
        {0, 0, 0, 24},         {0, 1, 0, 24},       {0, 1, 1, 24},       {19, 0, 0, 200},
        {19, 0, 1, 200},       {19, 1, 1, 200},     {andante, 0, 0, 92},
    };
    for (const Row& row : rows) {
        UiTempoDlg page;
        page.term = row.term;
        page.molto = row.molto;
        page.maNonTroppo = row.troppo;
        page.beatsPerMinuteMixed = true;
        page.tempoFromMarking();
        EXPECT_EQ(page.beatsPerMinute, row.expected) << row.term << " " << row.molto << row.troppo;
        EXPECT_FALSE(page.beatsPerMinuteMixed);
    }
    for (int term : {UiTempoDlg::otherTerm, -1}) {
        UiTempoDlg page;
        page.term = term;
        page.beatsPerMinute = 77;
        page.tempoFromMarking();
        EXPECT_EQ(page.beatsPerMinute, 77) << "\"Other\" and a mixed term keep the number";
    }
    for (int index = 0; index < UiTempoDlg::beatUnitCount; ++index)
        EXPECT_EQ(UiTempoDlg::beatUnitIndex(UiTempoDlg::beatUnitTicks(index)), index);
    EXPECT_EQ(UiTempoDlg::beatUnitIndex(4 * 60480), -1) << "a whole note has no button";
}

TEST_F(PageFixture, termsQualifiersAndOtherRebuildTheMarksText)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnTempo* mark = score->tempo(0);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTempoDlg>(controls);
    ASSERT_TRUE(load(*page, {mark}));
    EXPECT_EQ(controls->radioIndex(firstTerm), UiTempoDlg::otherTerm);
    EXPECT_EQ(controls->radioIndex(1159), 1) << "a quarter";
    EXPECT_EQ(controls->text(bpmEdit), "96");

    controls->click(firstTerm + allegro);
    EXPECT_EQ(mark->term(), allegro);
    EXPECT_EQ(mark->beatsPerMinute(), 138);
    EXPECT_EQ(controls->text(bpmEdit), "138");
    EXPECT_EQ(shown(*mark), "Allegro");
    EXPECT_EQ(steps(), 1);

    controls->click(moltoCheck);
    EXPECT_TRUE(mark->isMolto());
    EXPECT_EQ(mark->beatsPerMinute(), 156);
    EXPECT_EQ(shown(*mark), "Molto Allegro");
    controls->click(troppoCheck);
    EXPECT_EQ(mark->beatsPerMinute(), 147);
    EXPECT_EQ(shown(*mark), "Molto Allegro, ma non troppo");
    EXPECT_EQ(steps(), 3) << "one step per change";

    // Typing the number leaves the term and its qualifiers.
    controls->type(bpmEdit, "100");
    EXPECT_EQ(mark->beatsPerMinute(), 100);
    EXPECT_EQ(mark->term(), allegro);
    EXPECT_TRUE(mark->isMolto());

    controls->click(otherRadio);
    EXPECT_EQ(mark->term(), -1);
    EXPECT_EQ(mark->beatsPerMinute(), 100) << "\"Other\" keeps the number";
    EXPECT_EQ(shown(*mark), " = 100");
    controls->type(customEdit, "Swing");
    EXPECT_EQ(mark->customText(), BcString("Swing"));
    EXPECT_EQ(shown(*mark), "Swing");

    controls->click(metronomeCheck);
    EXPECT_FALSE(mark->showsMetronome());
}

TEST_F(PageFixture, aTermSetsMarksOfDifferentTempiAlike)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnTempo* first = score->tempo(0);
    auto* second = new MnTempo(score);
    score->tempoArray().add(second);
    ASSERT_TRUE(second->setBeatsPerMinute(60));
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTempoDlg>(controls);
    ASSERT_TRUE(load(*page, {first, second}));
    EXPECT_EQ(controls->text(bpmEdit), "*Various*");

    // Another control leaves each number.
    controls->click(metronomeCheck);
    EXPECT_EQ(first->beatsPerMinute(), 96);
    EXPECT_EQ(second->beatsPerMinute(), 60);

    controls->click(firstTerm + andante);
    EXPECT_EQ(first->beatsPerMinute(), 92);
    EXPECT_EQ(second->beatsPerMinute(), 92);
    EXPECT_EQ(controls->text(bpmEdit), "92");
    EXPECT_EQ(shown(*second), "Andante");
}

TEST_F(PageFixture, aBeatUnitWithoutAButtonSurvivesOtherChanges)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnTempo* mark = score->tempo(0);
    ASSERT_TRUE(mark->setBeatUnit(4 * 60480));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTempoDlg>(controls);
    ASSERT_TRUE(load(*page, {mark}));
    EXPECT_EQ(controls->radioIndex(1159), -1);
    controls->click(firstTerm + allegro);
    controls->type(bpmEdit, "80");
    EXPECT_EQ(mark->beatUnit(), 4 * 60480);
    EXPECT_EQ(mark->beatsPerMinute(), 80);

    controls->click(quarterPicture);
    EXPECT_EQ(mark->beatUnit(), 60480);
    EXPECT_EQ(controls->radioIndex(1159), 1);
}

TEST_F(PageFixture, typedBeatsPerMinuteAreStoredOnlyWithinOneTo999)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnTempo* mark = score->tempo(0);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTempoDlg>(controls);
    ASSERT_TRUE(load(*page, {mark}));
    restartHistory();

    controls->type(bpmEdit, "0");
    EXPECT_EQ(mark->beatsPerMinute(), 96) << "0 would divide playback and the score page by zero";
    controls->type(bpmEdit, "");
    EXPECT_EQ(mark->beatsPerMinute(), 96);
    EXPECT_EQ(steps(), 0) << "a refused number records no undo step";

    controls->type(bpmEdit, "12a3");
    EXPECT_EQ(controls->text(bpmEdit), "123");
    EXPECT_EQ(mark->beatsPerMinute(), 123);
    controls->type(bpmEdit, "4567");
    EXPECT_EQ(controls->text(bpmEdit), "456") << "three digits fit";
    EXPECT_EQ(mark->beatsPerMinute(), 456);
}
