#include "model/MnSheetMusic.h"

#include "foundation/BcMemoryFiler.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPageLayout.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnStaffDefinition.h"
#include "model/LayoutFixtures.h"
#include "model/ModelBuilders.h"
#include "model/VoiceBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Half = 120960;
constexpr int Quarter = 60480;
constexpr int Eighth = 30240;

// A new sheet with the given number of measures.
void growTo(MnSheetMusic& sheet, int measures)
{
    while (sheet.score()->staff(0)->measureCount() < measures)
        sheet.score()->insertMeasure(-1);
}

// Every measure ends a page: as many pages as measures.
void breakPages(MnSheetMusic& sheet, int pages)
{
    growTo(sheet, pages);
    for (int i = 0; i < pages; ++i)
        sheet.score()->staff(0)->measure(i)->setSystemBreak(MnSystemBreakPage);
}

// Reads a page layout record, as from a file, into a new layout of the page.
MnPageLayout* readLayout(MnSheetMusic& sheet, int page, double y, double spacing)
{
    BcMemoryFiler filer;
    filer.writeInt(page);
    filer.writeDouble(0.0);
    filer.writeDouble(y);
    filer.writeDouble(spacing);
    filer.rewind();
    MnPageLayout* layout = sheet.pageLayout(page, true);
    EXPECT_TRUE(layout->read(filer));
    return layout;
}

class LabelMeasurer : public CharacterWidthMeasurer
{
public:
    explicit LabelMeasurer(double leftmost) : leftmost(leftmost) {}
    double labelsLeftmostX(const MnScore&, bool) const override { return leftmost; }

private:
    double leftmost;
};

} // namespace

TEST(MnPagination, ANewSheetIsOnePageOfOneSystem)
{
    MnSheetMusic sheet;
    MnCache scope;
    EXPECT_EQ(sheet.pageCount(), 1);
    EXPECT_EQ(sheet.systemsOnPage(0), 1);
    EXPECT_EQ(sheet.systemCount(), 1);
    double stretch = 0.0;
    EXPECT_EQ(sheet.fitSystem(0, stretch), 4);
    EXPECT_GT(stretch, 1.0);
    EXPECT_EQ(sheet.width(), 210.0);
    EXPECT_EQ(sheet.height(), 297.0);
    EXPECT_EQ(xy(sheet.score()->position()), xy(GePoint2d(10.0, -80.0)));
}

TEST(MnPagination, TheScoreStaysOnTheFirstPage)
{
    {
        // Part names reaching 30 left of the staves push a new score right.
        LabelMeasurer labels(-30.0);
        MnSheetMusic sheet;
        EXPECT_EQ(xy(sheet.score()->position()), xy(GePoint2d(30.0, -80.0)));
    }
    MnSheetMusic sheet;
    MnScore* score = sheet.score();
    EXPECT_TRUE(score->moveTo(GePoint2d(-50.0, 40.0)));
    EXPECT_EQ(xy(score->position()), xy(GePoint2d(0.0, 0.0)));
    // Right: the first measure ends at the right margin; down: the staves
    // end at the bottom margin.
    EXPECT_TRUE(score->moveTo(GePoint2d(1000.0, -1000.0)));
    MnCache scope;
    const MnMeasure* first = score->staff(0)->measure(0);
    EXPECT_DOUBLE_EQ(score->position().x, 190.0 - (first->position().x + first->width()));
    EXPECT_DOUBLE_EQ(score->position().y, score->height() - 265.0);
    EXPECT_FALSE(score->moveTo(GePoint2d(2000.0, -2000.0)));
}

TEST(MnPagination, BreaksEndSystemsAndPages)
{
    MnSheetMusic sheet;
    growTo(sheet, 8);
    MnStaff* staff = sheet.score()->staff(0);
    staff->measure(1)->setSystemBreak(MnSystemBreakSystem);
    staff->measure(4)->setSystemBreak(MnSystemBreakPage);
    MnCache scope;
    double stretch = 0.0;
    EXPECT_EQ(sheet.fitSystem(0, stretch), 2);
    EXPECT_EQ(sheet.fitSystem(2, stretch), 3);
    EXPECT_EQ(sheet.fitSystem(5, stretch), 3);
    EXPECT_EQ(sheet.pageCount(), 2);
    EXPECT_EQ(sheet.systemsOnPage(0), 2);
    EXPECT_EQ(sheet.systemsOnPage(1), 1);
    EXPECT_EQ(sheet.systemCount(), 3);

    int system = -1;
    int first = -1;
    int count = -1;
    EXPECT_EQ(sheet.locateMeasure(3, &system, &first, &count), 0);
    EXPECT_EQ(system, 1);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(sheet.locateMeasure(7, &system, &first, &count), 1);
    EXPECT_EQ(system, 0);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(count, 3);
    // A measure outside the score answers the page count and writes nothing.
    system = first = count = -7;
    EXPECT_EQ(sheet.locateMeasure(8, &system, &first, &count), 2);
    EXPECT_EQ(sheet.locateMeasure(-1, &system, &first, &count), 2);
    EXPECT_EQ(system, -7);
    EXPECT_EQ(first, -7);
    EXPECT_EQ(count, -7);
}

TEST(MnPagination, SystemsTakeTheMeasuresThatFitAndAToWideOneStandsAlone)
{
    MnSheetMusic sheet;
    growTo(sheet, 40);
    MnStaff* staff = sheet.score()->staff(0);
    staff->measure(10)->setUserWidth(400.0);
    MnCache scope;
    int measure = 0;
    double stretch = 0.0;
    while (measure < 10) {
        const int count = sheet.fitSystem(measure, stretch);
        EXPECT_GE(stretch, 1.0) << measure;
        measure += count;
    }
    EXPECT_EQ(measure, 10);
    EXPECT_EQ(sheet.fitSystem(10, stretch), 1);
    EXPECT_LT(stretch, 0.0);
    EXPECT_GE(sheet.fitSystem(11, stretch), 2);
}

TEST(MnPagination, APageWhoseFirstSystemDoesNotFitTakesTheRest)
{
    MnSheetMusic sheet;
    growTo(sheet, 12);
    MnStaff* staff = sheet.score()->staff(0);
    for (int i = 0; i < 12; ++i)
        staff->measure(i)->setSystemBreak(MnSystemBreakSystem);
    staff->measure(0)->setSystemBreak(MnSystemBreakPage);
    // A damaged layout puts the second page's first system far below it.
    readLayout(sheet, 1, -1000.0, 20.0);
    {
        MnCache scope;
        EXPECT_EQ(sheet.pageCount(), 2);
        EXPECT_EQ(sheet.systemsOnPage(1), 11);
    }
    // A page break still ends that page; the next page fits five systems.
    staff->measure(6)->setSystemBreak(MnSystemBreakPage);
    MnCache scope;
    EXPECT_EQ(sheet.pageCount(), 3);
    EXPECT_EQ(sheet.systemsOnPage(1), 6);
    EXPECT_EQ(sheet.systemsOnPage(2), 5);
}

TEST(MnPagination, SystemsWithoutDistanceFillThePageUpToABreak)
{
    // Staves of a tiny part scale that stand close enough rise above each
    // other: the score's height turns negative, and a system spacing of
    // -(height + 20) leaves no distance between the systems.
    auto tallSheet = [](double spacingFromZero) {
        std::unique_ptr<MnSheetMusic> sheet(new MnSheetMusic);
        MnScore* score = sheet->score();
        growTo(*sheet, 30);
        while (score->staffCount() < 4)
            score->insertStaff(-1);
        for (int s = 0; s < 4; ++s) {
            score->part(s)->setScale(0.01);
            if (s > 0) {
                EXPECT_TRUE(score->staff(s)->setSpacing(0.1));
            }
        }
        MnStaff* staff = score->staff(0);
        for (int i = 0; i < 30; ++i)
            staff->measure(i)->setSystemBreak(MnSystemBreakSystem);
        staff->measure(19)->setSystemBreak(MnSystemBreakPage);
        EXPECT_LT(score->height(), -20.0);
        EXPECT_TRUE(sheet->setSystemSpacing(-(score->height() + 20.0) + spacingFromZero));
        return sheet;
    };
    struct Row
    {
        const char* what;
        double spacingFromZero;
    };
    const Row rows[] = {
        {"no distance between systems", 0.0},
        {"a negative distance", -1.0},
        {"a distance of a billionth", 1e-9},
    };
    for (const Row& row : rows) {
        std::unique_ptr<MnSheetMusic> sheet = tallSheet(row.spacingFromZero);
        MnCache scope;
        // The first page takes every system up to its page break.
        EXPECT_EQ(sheet->pageCount(), 2) << row.what;
        EXPECT_EQ(sheet->systemsOnPage(0), 20) << row.what;
        EXPECT_EQ(sheet->systemCount(), 30) << row.what;
    }
}

TEST(MnPagination, PagesSpreadOutInRows)
{
    MnSheetMusic sheet;
    breakPages(sheet, 5);
    sheet.moveTo(GePoint2d(7.0, 3.0));
    const double width = sheet.pageWidth();
    const double height = sheet.pageHeight();
    sheet.setPagesPerRow(2);
    MnCache scope;
    ASSERT_EQ(sheet.pageCount(), 5);
    GePoint2d origin;
    ASSERT_TRUE(sheet.pageOrigin(3, origin, true));
    EXPECT_EQ(xy(origin), xy(GePoint2d(width, -height)));
    ASSERT_TRUE(sheet.pageOrigin(4, origin, false));
    EXPECT_EQ(xy(origin), xy(GePoint2d(7.0, 3.0 - 2.0 * height)));
    EXPECT_EQ(sheet.width(), 2.0 * width);
    EXPECT_EQ(sheet.height(), 3.0 * height);
    // A layout's point on its page: the page's corner and margins added.
    MnPageLayout* layout = sheet.pageLayout(3, true);
    EXPECT_EQ(xy(layout->toPageCoordinates(GePoint2d(1.0, -2.0), nullptr)),
              xy(GePoint2d(7.0 + width + sheet.leftMargin(3) + 1.0, 3.0 - height - sheet.topMargin() - 2.0)));

    // Two corners of every page, but page 3's top-left corner is page 0's
    // bottom-right one.
    BcArray<GePoint2d> corners;
    EXPECT_TRUE(sheet.addSnapPoints(corners));
    EXPECT_EQ(corners.count(), 9);
    EXPECT_EQ(xy(corners[6]), xy(GePoint2d(2.0 * width, -2.0 * height)));

    sheet.setPagesPerRow(5);
    MnCache later;
    ASSERT_TRUE(sheet.pageOrigin(3, origin, true));
    EXPECT_EQ(xy(origin), xy(GePoint2d(3.0 * width, 0.0)));
    EXPECT_EQ(sheet.width(), 5.0 * width);
    EXPECT_EQ(sheet.height(), height);
}

TEST(MnPagination, ABookShowsTheCurrentSpreadAndTheTurningPage)
{
    MnSheetMusic sheet;
    breakPages(sheet, 6);
    sheet.setPresentation(MnSheetMusic::Book);
    sheet.setCurrentPage(2);
    sheet.setTurnAngle(120.0);
    const double width = sheet.pageWidth();
    MnCache scope;
    ASSERT_EQ(sheet.pageCount(), 6);
    struct Row
    {
        int page;
        bool shown;
        double x;
        double angle;
    };
    // Past 90 degrees the turning page shows its back (page 4) over the
    // next spread's right page; its front (3) is hidden.
    const Row rows[] = {
        {0, false, 0.0, 0.0}, {1, false, 0.0, 0.0}, {2, true, 0.0, 0.0},
        {3, false, 0.0, 120.0}, {4, true, 0.0, -60.0}, {5, true, width, 0.0},
    };
    for (const Row& row : rows) {
        GePoint2d origin(-1.0, -1.0);
        EXPECT_EQ(sheet.pageOrigin(row.page, origin, true), row.shown) << row.page;
        if (row.shown) {
            EXPECT_EQ(xy(origin), xy(GePoint2d(row.x, 0.0))) << row.page;
        }
        EXPECT_EQ(sheet.pageTurnAngle(row.page), row.angle) << row.page;
    }
    EXPECT_EQ(sheet.width(), 2.0 * width);
    EXPECT_EQ(sheet.spreadFirstPage(), 2);

    // Up to 90 degrees the front shows, over the current right page.
    sheet.setTurnAngle(45.0);
    GePoint2d origin;
    EXPECT_TRUE(sheet.pageOrigin(3, origin, true));
    EXPECT_EQ(xy(origin), xy(GePoint2d(width, 0.0)));
    EXPECT_FALSE(sheet.pageOrigin(4, origin, true));
    // At rest only the spread.
    sheet.setTurnAngle(0.0);
    EXPECT_TRUE(sheet.pageOrigin(3, origin, true));
    EXPECT_FALSE(sheet.pageOrigin(5, origin, true));
}

TEST(MnPagination, ABookWhoseFirstPageIsARightPage)
{
    MnSheetMusic sheet;
    breakPages(sheet, 6);
    sheet.setPresentation(MnSheetMusic::Book);
    sheet.setFirstPageRight(true);
    EXPECT_EQ(sheet.spreadFirstPage(), -1);
    GePoint2d origin;
    EXPECT_TRUE(sheet.pageOrigin(0, origin, true));
    EXPECT_EQ(xy(origin), xy(GePoint2d(sheet.pageWidth(), 0.0)));
    std::vector<int> spreads{sheet.currentPage()};
    while (sheet.nextSpread())
        spreads.push_back(sheet.currentPage());
    EXPECT_EQ(spreads, (std::vector<int>{0, 1, 3, 5}));
    EXPECT_EQ(sheet.spreadFirstPage(), 5);

    // A current page past the last one steps back to the last spread.
    sheet.setCurrentPage(9);
    EXPECT_TRUE(sheet.pageOrigin(5, origin, true));
    EXPECT_EQ(sheet.currentPage(), 5);
}

// Everything a pass reads of a sheet's layout.
static std::vector<double> layoutOf(MnSheetMusic& sheet)
{
    std::vector<double> values;
    MnCache scope;
    const MnScore* score = sheet.score();
    values.push_back(sheet.pageCount());
    for (int page = 0; page < sheet.pageCount(); ++page)
        values.push_back(sheet.systemsOnPage(page));
    const MnStaff* staff = score->staff(0);
    for (int i = 0; i < staff->measureCount(); ++i) {
        double stretch = 0.0;
        values.push_back(sheet.fitSystem(i, stretch));
        values.push_back(stretch);
        values.push_back(staff->measure(i)->position().x);
        values.push_back(staff->measure(i)->width());
        BcArray<int> onsets;
        BcArray<double> x;
        score->layoutMeasureColumn(i, onsets, x, 1.25);
        for (int j = 0; j < x.count(); ++j) {
            values.push_back(onsets[j]);
            values.push_back(x[j]);
        }
    }
    return values;
}

TEST(MnPagination, APassAfterEditsEqualsAFreshOne)
{
    CharacterWidthMeasurer measurer;
    MnSheetMusic sheet;
    growTo(sheet, 6);
    MnScore* score = sheet.score();
    score->insertStaff(-1);
    for (int s = 0; s < 2; ++s) {
        for (int i = 0; i < 6; ++i) {
            MnMeasure* measure = score->staff(s)->measure(i);
            measure->addNote(0, 0, 0, 5, MnAccidentalNone, Quarter, false);
            measure->addNote(0, Quarter, 2, 5, MnAccidentalNone, Eighth, false);
            measure->addNote(0, Quarter + Eighth, 4, 5, MnAccidentalNone, Eighth, false);
            measure->addNote(0, Half, 1, 5, MnAccidentalNone, Half, false);
        }
    }
    MnLyric* lyric = score->staff(1)->addLyric(0, 0);
    lyric->setText(BcString("la li lo lu la li lo lu la li lo lu la li lo lu la li lo lu la li lo lu"));
    MnStaff* upper = score->staff(0);
    MnStaff* lower = score->staff(1);

    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"a note added", [&] { upper->measure(1)->addNote(0, 0, 2, 5, MnAccidentalSharp, Quarter, false); }},
        {"an accidental changed",
         [&] {
             lower->measure(2)->voiceChords(0)[0]->note(0)->setAccidental(MnAccidentalDoubleFlat);
         }},
        {"a stem turned", [&] { upper->measure(3)->voiceChords(0)[1]->setStemDirection(1); }},
        {"a beam broken", [&] { upper->measure(3)->voiceChords(0)[2]->setBeamMode(2); }},
        {"a clef change",
         [&] {
             lower->insertStaffChange(Quarter);
             lower->definitionAt(Quarter, true)->setClef(MnClefBass);
         }},
        {"a key change",
         [&] {
             upper->insertStaffChange(4 * Half);
             upper->definitionAt(4 * Half, true)->setKey(-4);
         }},
        {"a part scale", [&] { score->part(1)->setScale(1.4); }},
        {"a bar line", [&] { upper->measure(2)->setBarline(MnBarlineEndStartRepeat); }},
        {"a user width", [&] { lower->measure(4)->setUserWidth(7.0); }},
        {"a grace chord", [&] { upper->measure(4)->addGraceNote(upper->measure(4)->voiceChords(0)[0], 1, 5, 1, Eighth); }},
        {"an arpeggio", [&] { lower->measure(5)->voiceChords(0)[0]->note(0)->setArpeggio(true); }},
        {"a tuplet", [&] { upper->measure(5)->makeTuplet(0, Half, Half, 3, false); }},
        {"a second voice", [&] { lower->measure(1)->addNote(1, 0, 4, 5, MnAccidentalNone, Half, false); }},
        {"a lyric's text", [&] { lyric->setText(BcString("a verylongsyllable b")); }},
        {"a lyric's size", [&] { lyric->setSize(14.0); }},
        {"a rest that takes a syllable",
         [&] { lower->measure(0)->setNote(0, Half, 0, 4, MnAccidentalNone, Quarter, false); }},
        {"a measure inserted", [&] { score->insertMeasure(2); }},
        {"a measure removed", [&] { score->removeMeasure(0); }},
        {"a staff inserted", [&] { score->insertStaff(1); }},
        {"the system spacing", [&] { sheet.setSystemSpacing(60.0); }},
    };
    layoutOf(sheet);
    for (const auto& edit : edits) {
        edit.second();
        MnSheetMusic fresh;
        ASSERT_TRUE(fresh.copyFrom(&sheet)) << edit.first;
        EXPECT_EQ(layoutOf(sheet), layoutOf(fresh)) << edit.first;
    }
    // Another measurer measures the syllables anew.
    class WiderMeasurer : public CharacterWidthMeasurer
    {
        double textWidth(const BcString& text, int, double size, bool) const override
        {
            return text.length() * size;
        }
    };
    const std::vector<double> before = layoutOf(sheet);
    WiderMeasurer wider;
    MnSheetMusic fresh;
    ASSERT_TRUE(fresh.copyFrom(&sheet));
    EXPECT_EQ(layoutOf(sheet), layoutOf(fresh));
    EXPECT_NE(layoutOf(sheet), before);
}
