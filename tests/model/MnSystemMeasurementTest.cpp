#include "model/MnScore.h"

#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnColumnLayout.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnStaffDefinition.h"
#include "model/LayoutFixtures.h"
#include "model/ModelBuilders.h"
#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int Whole = 241920;
constexpr int Half = 120960;
constexpr int Quarter = 60480;
constexpr int Eighth = 30240;

std::vector<int> onsetsOf(const BcArray<int>& onsets)
{
    std::vector<int> values;
    for (int i = 0; i < onsets.count(); ++i)
        values.push_back(onsets[i]);
    return values;
}

void fillQuarters(MnMeasure* measure)
{
    VoiceBuilder voice(measure, 0);
    for (int i = 0; i < 4; ++i)
        voice.note(Quarter, i, 5);
}

} // namespace

TEST(MnSystemMeasurement, DurationSpacingByValue)
{
    struct Row
    {
        int ticks;
        double spacing;
    };
    const Row rows[] = {
        {241920, 10.0}, {181440, 12.5}, {120960, 7.5}, {90720, 8.125}, {60480, 5.0}, {45360, 6.25},
        {30240, 3.125}, {22680, 6.25},  {15120, 3.125}, {5670, 6.25},  {3780, 3.125},
        // A triplet quarter, a dotted whole and a sum of values are no
        // standard values.
        {40320, 3.125}, {362880, 3.125}, {60480 + 15120, 3.125},
    };
    for (const Row& row : rows)
        EXPECT_EQ(durationSpacing(row.ticks), row.spacing) << row.ticks;
}

TEST(MnSystemMeasurement, FourQuartersAreSpacedByValueAfterRoomAtTheStart)
{
    struct Row
    {
        const char* what;
        double partScale;
        double start;
        double gap;
    };
    // The first onset keeps 4 + 1.5 x the largest part scale from the bar
    // line. A notehead needs 2.5 per part scale left of its onset, and the
    // one before reaches 1.5 right of its own.
    const Row rows[] = {
        {"part scale 1", 1.0, 5.5, 5.0},
        {"part scale 2", 2.0, 7.0, 6.5},
        {"part scale 3", 3.0, 8.5, 9.0},
    };
    for (const Row& row : rows) {
        StaffFixture fixture(1);
        fixture.score.part(0)->setScale(row.partScale);
        fillQuarters(fixture.measure(0));
        BcArray<int> onsets;
        BcArray<double> x;
        fixture.score.layoutMeasureColumn(0, onsets, x, 1.0);
        EXPECT_EQ(onsetsOf(onsets), (std::vector<int>{0, 60480, 120960, 181440, 241920})) << row.what;
        ASSERT_EQ(x.count(), 5) << row.what;
        EXPECT_DOUBLE_EQ(x[0], row.start) << row.what;
        for (int j = 1; j < 4; ++j)
            EXPECT_DOUBLE_EQ(x[j] - x[j - 1], row.gap) << row.what;
        // The single bar line takes 0.1 per part scale at the end.
        EXPECT_DOUBLE_EQ(x[4] - x[3], 5.0 + 0.1 * row.partScale) << row.what;
        EXPECT_DOUBLE_EQ(fixture.score.measureNaturalWidth(0), 20.0) << row.what;
        MnCache scope;
        EXPECT_DOUBLE_EQ(fixture.measure(0)->contentWidth(), 20.0) << row.what;
        EXPECT_DOUBLE_EQ(fixture.measure(0)->headerWidth(), x[4] - 20.0) << row.what;
    }
}

TEST(MnSystemMeasurement, TheOnsetsOfAColumnAreThoseOfAllStaves)
{
    StaffFixture fixture(1);
    fixture.score.insertStaff(-1);
    VoiceBuilder halves(fixture.staff->measure(0), 0);
    halves.note(Half, 0, 5);
    halves.chord(Half);
    VoiceBuilder quarters(fixture.score.staff(1)->measure(0), 0);
    quarters.note(Quarter, 0, 4);
    quarters.note(Quarter, 1, 4);
    quarters.chord(Half);
    BcArray<int> onsets;
    BcArray<double> x;
    fixture.score.layoutMeasureColumn(0, onsets, x, 1.0);
    EXPECT_EQ(onsetsOf(onsets), (std::vector<int>{0, 60480, 120960, 241920}));
    // Both staves' measures are as wide as the column.
    MnCache scope;
    EXPECT_DOUBLE_EQ(fixture.score.staff(1)->measure(0)->width(), fixture.staff->measure(0)->width());
    EXPECT_DOUBLE_EQ(fixture.staff->measure(0)->width(), x[3]);
}

TEST(MnSystemMeasurement, TrailingGraceChordsGetRoomBeforeTheBarLine)
{
    StaffFixture fixture(1);
    MnMeasure* measure = fixture.measure(0);
    fillQuarters(measure);
    BcArray<int> onsets;
    BcArray<double> plain;
    fixture.score.layoutMeasureColumn(0, onsets, plain, 1.0);

    MnChord* first = insertGraceChord(measure, 0, 4, Eighth);
    first->addNote(1, 5, MnAccidentalNone, false);
    MnChord* second = insertGraceChord(measure, 0, 5, Eighth);
    second->addNote(2, 5, MnAccidentalNone, false);
    BcArray<double> x;
    fixture.score.layoutMeasureColumn(0, onsets, x, 1.0);
    ASSERT_EQ(x.count(), 5);
    MnCache scope;
    const MnChord* last = measure->voiceChords(0)[3];
    const double graces = 0.6 * (first->width() + second->width());
    // The bar line stays clear of the grace chords after the last quarter,
    // which leaves them less room than they need.
    EXPECT_LT(plain[4] - 0.1 - (plain[3] + last->rightExtent()), graces);
    EXPECT_DOUBLE_EQ(x[4] - 0.1 - (x[3] + last->rightExtent()), graces);
    EXPECT_DOUBLE_EQ(x[3], plain[3]);
}

TEST(MnSystemMeasurement, KeyAndTimeSignatureRoom)
{
    StaffFixture fixture(3);
    fixture.score.insertStaff(-1);
    fixture.score.part(1)->setScale(1.5);
    MnStaff* upper = fixture.staff;
    MnStaff* lower = fixture.score.staff(1);
    upper->setKey(-3);
    lower->setKey(-3);
    const int second = Whole;
    const int third = 2 * Whole;
    ASSERT_TRUE(lower->insertStaffChange(second));
    MnStaffChange* toC = lower->change(0);
    toC->setKey(0);
    ASSERT_TRUE(upper->insertStaffChange(third));
    MnStaffChange* toD = upper->change(0);
    toD->setKey(2);

    // The change to C shows three naturals in the larger part: 6 x 1.5,
    // and the gap at that scale.
    EXPECT_DOUBLE_EQ(fixture.score.keySignatureWidth(second, true, 2.0), 9.0 + 3.0);
    EXPECT_DOUBLE_EQ(fixture.score.keySignatureWidth(second, true, 0.0), 9.0);
    // Without changesOnly, the signatures in effect: none below, three
    // flats above.
    EXPECT_DOUBLE_EQ(fixture.score.keySignatureWidth(second, false, 2.0), 6.0 + 2.0);
    EXPECT_DOUBLE_EQ(fixture.score.keySignatureWidth(second + 1, true, 2.0), 0.0);
    // A key change in the same clef: 1 plus the room of the key.
    EXPECT_FALSE(toD->changesClef());
    EXPECT_DOUBLE_EQ(toD->width(), 1.0 + 4.0);
    EXPECT_DOUBLE_EQ(toC->width(), 1.0 + 9.0);

    // Time signatures: the staves' own at time 0, 12/8 wider, a change of
    // the time signature alone.
    EXPECT_DOUBLE_EQ(fixture.score.timeSignatureWidth(0, 0.0), 4.0 * 1.5);
    EXPECT_DOUBLE_EQ(fixture.score.timeSignatureWidth(second, 2.0), 0.0);
    upper->insertStaffChange(second);
    upper->definitionAt(second, true)->setTimeType(MnTime12_8);
    EXPECT_DOUBLE_EQ(fixture.score.timeSignatureWidth(second, 2.0), 7.0 + 2.0);
    EXPECT_DOUBLE_EQ(fixture.score.clefWidth(), 8.0 * 1.5);
}

TEST(MnSystemMeasurement, ALongSyllableWidensItsOnset)
{
    CharacterWidthMeasurer measurer;
    StaffFixture fixture(1);
    fillQuarters(fixture.measure(0));
    BcArray<int> onsets;
    BcArray<double> plain;
    fixture.score.layoutMeasureColumn(0, onsets, plain, 1.0);

    MnLyric* lyric = fixture.staff->addLyric(0, 0);
    ASSERT_TRUE(lyric->setText(BcString("a bbbb c d")));
    BcArray<double> x;
    fixture.score.layoutMeasureColumn(0, onsets, x, 1.0);
    // "bbbb" is 20 wide at size 10: half of it reaches left into the gap
    // after "a" (5 wide), with 3 between the two.
    EXPECT_DOUBLE_EQ(x[0], plain[0]);
    EXPECT_DOUBLE_EQ(x[1] - x[0], 2.5 + 10.0 + 3.0);
    // "c" then stands 10 + 2.5 + 3 after "bbbb".
    EXPECT_DOUBLE_EQ(x[2] - x[1], 15.5);

    // The width follows the text and its size.
    lyric->setSize(5.0);
    fixture.score.layoutMeasureColumn(0, onsets, x, 1.0);
    EXPECT_DOUBLE_EQ(x[1] - x[0], 1.25 + 5.0 + 3.0);
    // Short syllables need only their gap of 3.
    ASSERT_TRUE(lyric->setText(BcString("a b c d")));
    fixture.score.layoutMeasureColumn(0, onsets, x, 1.0);
    EXPECT_DOUBLE_EQ(x[1] - x[0], 1.25 + 1.25 + 3.0);
}

TEST(MnSystemMeasurement, StretchSpreadsTheNaturalWidth)
{
    StaffFixture fixture(2);
    fillQuarters(fixture.measure(1));
    fixture.measure(1)->setUserWidth(6.0);
    BcArray<int> onsets;
    BcArray<double> plain;
    BcArray<double> stretched;
    fixture.score.layoutMeasureColumn(1, onsets, plain, 1.0);
    fixture.score.layoutMeasureColumn(1, onsets, stretched, 2.0);
    const MnMeasure* measure = fixture.measure(1);
    EXPECT_DOUBLE_EQ(stretched[stretched.count() - 1], measure->contentWidth() * 2.0 + measure->headerWidth());
    // Each onset moves by its share of the natural spacing; a stretch of 1
    // or less changes nothing.
    EXPECT_DOUBLE_EQ(stretched[0], plain[0]);
    EXPECT_DOUBLE_EQ(stretched[2] - plain[2], 20.0 * 10.0 / 20.0);
    BcArray<double> squeezed;
    fixture.score.layoutMeasureColumn(1, onsets, squeezed, 0.5);
    EXPECT_DOUBLE_EQ(squeezed[4], plain[4]);
    // The user's width is spread the same way.
    fixture.measure(1)->setUserWidth(0.0);
    BcArray<double> narrow;
    fixture.score.layoutMeasureColumn(1, onsets, narrow, 1.0);
    EXPECT_DOUBLE_EQ(plain[2] - narrow[2], 6.0 * 0.5);
    EXPECT_DOUBLE_EQ(plain[4] - narrow[4], 6.0);
}

TEST(MnSystemMeasurement, MeasuresFollowEachOtherAfterTheHeader)
{
    StaffFixture fixture(3);
    fixture.score.insertStaff(-1);
    fillQuarters(fixture.measure(1));
    auto scope = std::make_unique<MnCache>();
    const MnStaff* lower = fixture.score.staff(1);
    // Clef 8 and the time signature 4, no key.
    EXPECT_DOUBLE_EQ(fixture.measure(0)->position().x, 12.0);
    double unbroken = 12.0;
    for (int i = 0; i < 3; ++i) {
        const MnMeasure* measure = fixture.measure(i);
        if (i > 0) {
            EXPECT_DOUBLE_EQ(measure->position().x,
                             fixture.measure(i - 1)->position().x + fixture.measure(i - 1)->width());
        }
        EXPECT_DOUBLE_EQ(lower->measure(i)->position().x, measure->position().x);
        EXPECT_DOUBLE_EQ(lower->measure(i)->width(), measure->width());
        EXPECT_DOUBLE_EQ(measure->width(), measure->headerWidth() + measure->contentWidth());
        unbroken += measure->headerWidth() + 2.0 * measure->contentWidth();
    }
    EXPECT_DOUBLE_EQ(fixture.staff->width(), unbroken);
    EXPECT_DOUBLE_EQ(fixture.score.width(), unbroken);

    // A key signature at the start widens the header: 2 flats and 2.
    scope.reset();
    fixture.staff->setKey(-2);
    MnCache later;
    EXPECT_DOUBLE_EQ(fixture.measure(0)->position().x, 12.0 + 4.0 + 2.0);
}

TEST(MnSystemMeasurement, DraggingABarLineWidensTheMeasureBeforeIt)
{
    MnSheetMusic sheet;
    MnScore* score = sheet.score();
    score->insertStaff(-1);
    MnMeasure* fourth = score->staff(0)->measure(3);
    auto userWidths = [&](int index) {
        return std::vector<double>{score->staff(0)->measure(index)->userWidth(),
                                   score->staff(1)->measure(index)->userWidth()};
    };

    EXPECT_TRUE(fourth->moveTo(GePoint2d(fourth->position().x + 2.5, 0.0)));
    EXPECT_EQ(userWidths(2), (std::vector<double>{2.5, 2.5}));
    // Dragging the lower staff's bar line does the same.
    MnMeasure* lowerFourth = score->staff(1)->measure(3);
    EXPECT_TRUE(lowerFourth->moveTo(GePoint2d(lowerFourth->position().x + 1.0, 0.0)));
    EXPECT_EQ(userWidths(2), (std::vector<double>{3.5, 3.5}));
    EXPECT_TRUE(fourth->moveTo(GePoint2d(fourth->position().x - 100.0, 0.0)));
    EXPECT_EQ(userWidths(2), (std::vector<double>{0.0, 0.0}));

    // A measure too wide for any system is refused and keeps its width.
    EXPECT_FALSE(fourth->moveTo(GePoint2d(fourth->position().x + 1000.0, 0.0)));
    EXPECT_EQ(userWidths(2), (std::vector<double>{0.0, 0.0}));
    // The bar line at the system's start does not move.
    MnMeasure* first = score->staff(0)->measure(0);
    EXPECT_FALSE(first->moveTo(GePoint2d(first->position().x + 5.0, 0.0)));
    // No move at all changes nothing and is no failure.
    EXPECT_TRUE(fourth->moveTo(fourth->position()));
}

TEST(MnSystemMeasurement, APassLaysOutEveryColumnOnceAndKeepsItUntilItChanges)
{
    MnSheetMusic sheet;
    MnScore* score = sheet.score();
    score->insertStaff(-1);
    for (int i = 0; i < 4; ++i)
        fillQuarters(score->staff(0)->measure(i));
    const int columns = score->staff(0)->measureCount();

    long long before = MnScore::columnLayoutCount();
    {
        MnCache scope;
        sheet.pageCount();
        for (int i = 0; i < columns; ++i)
            score->staff(1)->measure(i)->width();
        BcArray<int> onsets;
        BcArray<double> x;
        score->layoutMeasureColumn(2, onsets, x, 1.5);
    }
    EXPECT_EQ(MnScore::columnLayoutCount() - before, columns);

    // A later pass lays out nothing that did not change...
    before = MnScore::columnLayoutCount();
    {
        MnCache scope;
        sheet.pageCount();
    }
    EXPECT_EQ(MnScore::columnLayoutCount() - before, 0);
    // ...and only the column of an edit.
    score->staff(1)->measure(2)->addNote(0, Quarter, 4, 4, MnAccidentalSharp, Quarter, false);
    before = MnScore::columnLayoutCount();
    {
        MnCache scope;
        sheet.pageCount();
    }
    EXPECT_EQ(MnScore::columnLayoutCount() - before, 1);
}
