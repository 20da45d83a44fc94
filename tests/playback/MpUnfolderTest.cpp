#include "playback/MpUnfolder.h"

#include "common/MpTestPerformance.h"
#include "foundation/BcString.h"
#include "model/MnLyric.h"
#include "model/MnOctave.h"
#include "model/MnStaffChange.h"
#include "playback/MpTestScores.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// Repeats written out: the order of the copied measures, what is left of
// the marks that led the performance, and what comes along with each
// measure: lines, lyrics, staff changes.

namespace {

const int endRepeat = MnBarlineEndRepeat;
const int startRepeat = MnBarlineStartRepeat;

// Measure m of every staff holds four quarter notes of key 20 + m (+ 30 in
// the second staff), so that a copy tells where it came from. Key changes
// go in first: the notes are spelled in the key where they stand.
std::unique_ptr<MnScore> numberedScore(int measures, int staves = 2,
                                       const std::vector<std::pair<int, int>>& keyChanges = {})
{
    std::unique_ptr<MnScore> score = restScore(measures, staves);
    for (int s = 0; s < staves; ++s) {
        for (const auto& [measure, key] : keyChanges) {
            MnStaff* staff = score->staff(s);
            const int time = staff->measureStartTime(measure - 1);
            staff->insertStaffChange(time);
            staff->definitionAt(time, true)->setKey(key);
        }
    }
    for (int s = 0; s < staves; ++s) {
        for (int m = 0; m < measures; ++m) {
            MpVoiceWriter voice(score->staff(s)->measure(m), 0);
            for (int q = 0; q < 4; ++q)
                voice.chord(quarter, {20 + 30 * s + m + 1});
        }
    }
    return score;
}

std::unique_ptr<MnScore> unfolded(const MnScore& score)
{
    MpUnfolder unfolder;
    return std::unique_ptr<MnScore>(unfolder.unfold(&score));
}

// The source measure of each measure of the staff, from its first note.
std::vector<int> sourceMeasures(const MnScore& score, int staffIndex = 0)
{
    std::vector<int> found;
    const MnStaff* staff = score.staff(staffIndex);
    for (int m = 0; m < staff->measureCount(); ++m) {
        const MnChord* chord = staff->measure(m)->voiceChords(0)[0];
        found.push_back(chord->noteCount() > 0 ? chord->note(0)->keyNumber() - 20 - 30 * staffIndex : 0);
    }
    return found;
}

void expectNoJumpMarks(const MnScore& score)
{
    for (int s = 0; s < score.staffCount(); ++s) {
        for (int m = 0; m < score.staff(s)->measureCount(); ++m) {
            const MnMeasure* measure = score.staff(s)->measure(m);
            SCOPED_TRACE("staff " + std::to_string(s) + " measure " + std::to_string(m + 1));
            EXPECT_TRUE(measure->barline() < MnBarlineEndRepeat || measure->barline() > MnBarlineEndStartRepeat);
            EXPECT_EQ(measure->voltaMask(), 0);
            EXPECT_FALSE(measure->isVoltaClosed());
            EXPECT_TRUE(measure->voltaText(true).isEmpty());
            EXPECT_EQ(measure->repeatMarker(), MnRepeatMarkerNone);
            EXPECT_EQ(measure->repeatJump(), MnRepeatJumpNone);
        }
    }
}

// Start, length and kind of the lines of a class in a staff.
using LineSpan = std::tuple<int, int, int>;

std::vector<LineSpan> linesOf(const MnScore& score, const BcClass* lineClass, int staffIndex = 0)
{
    std::vector<LineSpan> found;
    const BcArray<MnLine*>& lines = score.staff(staffIndex)->lineArray();
    for (int i = 0; i < lines.count(); ++i) {
        if (lines[i]->isKindOf(lineClass))
            found.emplace_back(lines[i]->start(), lines[i]->length(), lines[i]->kind());
    }
    return found;
}

MnLyric* addLyric(MnStaff* staff, int start, const char* text, int pass)
{
    MnLyric* lyric = staff->addLyric(start, 0);
    lyric->setText(BcString(text));
    lyric->setPassThrough(pass);
    return lyric;
}

struct UnfoldCase
{
    std::string name;
    int measures;
    std::vector<MeasureMarks> marks;
    std::vector<int> order;
};

void PrintTo(const UnfoldCase& row, std::ostream* out)
{
    *out << row.name;
}

class MpUnfoldOrderTest : public ::testing::TestWithParam<UnfoldCase>
{
};

} // namespace

TEST_P(MpUnfoldOrderTest, CopiesTheMeasuresInPlayOrder)
{
    const UnfoldCase& row = GetParam();
    std::unique_ptr<MnScore> score = numberedScore(row.measures);
    for (const MeasureMarks& marks : row.marks)
        applyMarks(*score, {marks});
    std::unique_ptr<MnScore> result = unfolded(*score);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(sourceMeasures(*result, 0), row.order);
    EXPECT_EQ(sourceMeasures(*result, 1), row.order);
    expectNoJumpMarks(*result);
    // Unfolded, the score plays as it is written.
    std::vector<int> written;
    for (int m = 1; m <= int(row.order.size()); ++m)
        written.push_back(m);
    EXPECT_EQ(measuresEntered(*result), written);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, MpUnfoldOrderTest,
    ::testing::Values(
        UnfoldCase{"TwoMeasureRepeatThenMeasureThree", 3, {{.measure = 2, .barline = endRepeat}}, {1, 2, 1, 2, 3}},
        UnfoldCase{"OneMeasureRepeat", 1, {{.measure = 1, .barline = endRepeat}}, {1, 1}},
        UnfoldCase{"OneMeasureRepeatThreeTimes", 2, {{.measure = 1, .barline = endRepeat, .repeats = 3}}, {1, 1, 1, 2}},
        UnfoldCase{"OneMeasureRepeatAfterAStart",
                   3,
                   {{.measure = 1, .barline = startRepeat}, {.measure = 2, .barline = endRepeat}},
                   {1, 2, 2, 3}},
        UnfoldCase{"FirstAndSecondEndings",
                   5,
                   {{.measure = 4, .barline = endRepeat, .voltas = 0x1}, {.measure = 5, .voltas = 0x2}},
                   {1, 2, 3, 4, 1, 2, 3, 5}},
        UnfoldCase{"DaCapoAlFine",
                   4,
                   {{.measure = 2, .barline = endRepeat},
                    {.measure = 3, .jump = MnRepeatJumpFine},
                    {.measure = 4, .jump = MnRepeatJumpDaCapoAlFine}},
                   {1, 2, 1, 2, 3, 4, 1, 2, 1, 2, 3}},
        UnfoldCase{"DalSegnoAlCoda",
                   6,
                   {{.measure = 2, .marker = MnRepeatMarkerSegno},
                    {.measure = 3, .jump = MnRepeatJumpToCoda},
                    {.measure = 4, .jump = MnRepeatJumpDalSegnoAlCoda},
                    {.measure = 5, .marker = MnRepeatMarkerCoda}},
                   {1, 2, 3, 4, 2, 3, 5, 6}},
        UnfoldCase{"NoRepeats",
                   3,
                   {{.measure = 1, .marker = MnRepeatMarkerSegno},
                    {.measure = 2, .voltas = 0x1, .marker = MnRepeatMarkerCoda},
                    {.measure = 3, .jump = MnRepeatJumpFine}},
                   {1, 2, 3}}),
    [](const ::testing::TestParamInfo<UnfoldCase>& info) { return info.param.name; });

TEST(MpUnfolder, PedalAcrossABarLineEndsWhereItEnded)
{
    std::unique_ptr<MnScore> score = numberedScore(3);
    addPedal(score->staff(0), 2 * quarter, whole);
    std::unique_ptr<MnScore> result = unfolded(*score);
    EXPECT_EQ(linesOf(*result, MnPedal::staticClass()),
              (std::vector<LineSpan>{{2 * quarter, whole, MnPedalSignLineHook}}));
}

TEST(MpUnfolder, FirstEndingKeepsAPedalFromTheMeasureBeforeAsOneLine)
{
    // 1 2 3 [4 :| [5; the pedal runs from the middle of 3 to the middle of 4.
    std::unique_ptr<MnScore> score = numberedScore(5);
    applyMarks(*score, {{.measure = 4, .barline = endRepeat, .voltas = 0x1}, {.measure = 5, .voltas = 0x2}});
    addPedal(score->staff(0), 2 * whole + 2 * quarter, whole);
    std::unique_ptr<MnScore> result = unfolded(*score);
    ASSERT_EQ(sourceMeasures(*result), (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 5}));
    // The second time it stops where the second ending begins.
    EXPECT_EQ(linesOf(*result, MnPedal::staticClass()),
              (std::vector<LineSpan>{{2 * whole + 2 * quarter, whole, MnPedalSignLineHook},
                                     {6 * whole + 2 * quarter, 2 * quarter, MnPedalSignLineHook}}));
}

TEST(MpUnfolder, HairpinCoveringTheTargetOfARepeatGoesOnAfterTheJump)
{
    // 1 |: 2 3 :| 4; a crescendo from the middle of 1 to the middle of 2.
    std::unique_ptr<MnScore> score = numberedScore(4);
    applyMarks(*score, {{.measure = 1, .barline = startRepeat}, {.measure = 3, .barline = endRepeat}});
    addDynamic(score->staff(0), 2 * quarter, whole, MnDynamicCrescendoHairpin);
    // A line of another staff and class stays where it is.
    addLine<MnOctave>(score->staff(1), 2 * whole, 2 * quarter, MnOctaveOneUp);
    std::unique_ptr<MnScore> result = unfolded(*score);
    ASSERT_EQ(sourceMeasures(*result), (std::vector<int>{1, 2, 3, 2, 3, 4}));
    EXPECT_EQ(linesOf(*result, MnDynamic::staticClass()),
              (std::vector<LineSpan>{{2 * quarter, whole, MnDynamicCrescendoHairpin},
                                     {3 * whole, 2 * quarter, MnDynamicCrescendoHairpin}}));
    EXPECT_EQ(linesOf(*result, MnOctave::staticClass(), 1),
              (std::vector<LineSpan>{{2 * whole, 2 * quarter, MnOctaveOneUp},
                                     {4 * whole, 2 * quarter, MnOctaveOneUp}}));
    EXPECT_TRUE(linesOf(*result, MnOctave::staticClass(), 0).empty());
}

TEST(MpUnfolder, LyricsAreSungInTheirPass)
{
    // |: 1 2 :| 3
    std::unique_ptr<MnScore> score = numberedScore(3);
    applyMarks(*score, {{.measure = 2, .barline = endRepeat}});
    MnStaff* staff = score->staff(0);
    addLyric(staff, 0, "one", 1);
    addLyric(staff, 0, "two", 2);
    // A verse of every pass that runs across the end of the repeat.
    addLyric(staff, whole + 2 * quarter, "a b c d", 0);
    addLyric(staff, 2 * whole, "three", 2);

    std::unique_ptr<MnScore> result = unfolded(*score);
    ASSERT_EQ(sourceMeasures(*result), (std::vector<int>{1, 2, 1, 2, 3}));
    std::vector<std::tuple<int, std::string, int>> lyrics;
    const BcArray<MnLyric*>& found = result->staff(0)->lyricArray();
    for (int i = 0; i < found.count(); ++i) {
        lyrics.emplace_back(found[i]->start(), found[i]->text().toNarrow(BcString::utf8CodePage),
                            found[i]->passThrough());
    }
    // The verse stops at each jump and where the repeat ends; after it the
    // syllables left go on. Pass 2 at measure 3 is never sung: measure 3
    // is entered once.
    const std::vector<std::tuple<int, std::string, int>> expected = {
        {0, "one", 1},
        {whole + 2 * quarter, "a b", 0},
        {2 * whole, "two", 1},
        {3 * whole + 2 * quarter, "a b", 0},
        {4 * whole, "c d", 0},
    };
    EXPECT_EQ(lyrics, expected);
}

TEST(MpUnfolder, TimeSignatureChangeInARepeatIsWrittenAtEachCopy)
{
    // |: 1 (4/4) 2 (3/4) :| 3 (3/4), in two staves.
    std::unique_ptr<MnScore> score = restScore(3, 2);
    for (int s = 0; s < 2; ++s) {
        MnStaff* staff = score->staff(s);
        for (int m = 0; m < 3; ++m) {
            MnMeasure* measure = staff->measure(m);
            const int beats = m == 0 ? 4 : 3;
            ASSERT_TRUE(measure->setBeats(beats));
            MpVoiceWriter voice(measure, 0);
            for (int q = 0; q < beats; ++q)
                voice.chord(quarter, {21 + m});
            MpVoiceWriter(measure, 1).rest(beats * quarter);
        }
        ASSERT_TRUE(staff->insertStaffChange(whole));
        staff->definitionAt(whole, true)->setTimeType(MnTime3_4);
    }
    applyMarks(*score, {{.measure = 2, .barline = endRepeat}});
    const int ownType = score->staff(0)->time();

    std::unique_ptr<MnScore> result = unfolded(*score);
    for (int s = 0; s < 2; ++s) {
        SCOPED_TRACE(s);
        const MnStaff* staff = result->staff(s);
        ASSERT_EQ(staff->measureCount(), 5);
        std::vector<int> lengths;
        std::vector<int> types;
        for (int m = 0; m < 5; ++m) {
            lengths.push_back(staff->measure(m)->length() / quarter);
            types.push_back(staff->definitionAt(staff->measure(m)->startTime(), false)->time());
        }
        EXPECT_EQ(lengths, (std::vector<int>{4, 3, 4, 3, 3}));
        EXPECT_EQ(types, (std::vector<int>{ownType, MnTime3_4, ownType, MnTime3_4, MnTime3_4}));
    }
}

TEST(MpUnfolder, KeyInForceAtAJumpTargetIsRestored)
{
    struct Row
    {
        std::string name;
        int measures;
        std::initializer_list<MeasureMarks> marks;
        std::vector<std::pair<int, int>> keyChanges; // measure, key
        std::vector<int> order;
        std::vector<int> keys; // in force at each unfolded measure
    };
    const Row rows[] = {
        {"BackToTheFirstMeasure", 3, {{.measure = 2, .barline = endRepeat}}, {{2, 3}}, {1, 2, 1, 2, 3}, {0, 3, 0, 3, 3}},
        {"BackToALaterMeasure",
         4,
         {{.measure = 1, .barline = startRepeat}, {.measure = 3, .barline = endRepeat}},
         {{2, 3}, {3, -2}},
         {1, 2, 3, 2, 3, 4},
         {0, 3, -2, 3, -2, -2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<MnScore> score = numberedScore(row.measures, 2, row.keyChanges);
        applyMarks(*score, row.marks);
        std::unique_ptr<MnScore> result = unfolded(*score);
        EXPECT_EQ(sourceMeasures(*result), row.order);
        for (int s = 0; s < result->staffCount(); ++s) {
            std::vector<int> keys;
            const MnStaff* staff = result->staff(s);
            for (int m = 0; m < staff->measureCount(); ++m)
                keys.push_back(staff->definitionAt(staff->measure(m)->startTime(), false)->key());
            EXPECT_EQ(keys, row.keys) << "staff " << s;
        }
    }
}

TEST(MpUnfolder, AnyScoreGivesAScore)
{
    MpUnfolder unfolder;
    std::unique_ptr<MnScore> fromNothing(unfolder.unfold(nullptr));
    ASSERT_NE(fromNothing, nullptr);
    EXPECT_EQ(fromNothing->staffCount(), 1);
    // The same unfolder serves again, and a score of rests unfolds to itself.
    std::unique_ptr<MnScore> score = restScore(2, 3);
    std::unique_ptr<MnScore> again(unfolder.unfold(score.get()));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->staffCount(), 3);
    EXPECT_EQ(again->staff(2)->measureCount(), 2);
}
