#include "model/MnStaff.h"

#include "foundation/BcClass.h"
#include "foundation/BcMemoryFiler.h"
#include "model/EdGuideLine.h"
#include "model/EdHorizontalGuideLine.h"
#include "model/EdPath.h"
#include "model/MnCache.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnPageLayout.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnTablature.h"
#include "model/LayoutFixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int Quarter = 60480;

// A sheet of `pages` pages of `systems` systems of one measure each, with
// `staves` staves: page p, system s holds measure p x systems + s.
std::unique_ptr<MnSheetMusic> pagedSheet(int pages, int systems, int staves = 2)
{
    std::unique_ptr<MnSheetMusic> sheet(new MnSheetMusic);
    MnScore* score = sheet->score();
    while (score->staffCount() < staves)
        score->insertStaff(-1);
    while (score->staff(0)->measureCount() < pages * systems)
        score->insertMeasure(-1);
    while (score->staff(0)->measureCount() > pages * systems)
        score->removeMeasure(score->staff(0)->measureCount() - 1);
    for (int i = 0; i < pages * systems; ++i)
        score->staff(0)->measure(i)->setSystemBreak((i + 1) % systems == 0 ? MnSystemBreakPage
                                                                          : MnSystemBreakSystem);
    return sheet;
}

EdPath staffPath(int staff, int firstMeasure)
{
    return EdPath(EdPath::KindStaff, 0, staff, firstMeasure);
}

std::vector<double> positionsOf(const BcArray<EdGuideLine*>& lines)
{
    std::vector<double> positions;
    for (int i = 0; i < lines.count(); ++i)
        positions.push_back(lines[i]->position);
    return positions;
}

void deleteAll(BcArray<EdGuideLine*>& lines)
{
    for (int i = 0; i < lines.count(); ++i)
        delete lines[i];
    lines.removeAll();
}

} // namespace

TEST(MnStaffGeometry, StavesStandBelowEachOtherByTheirSpacing)
{
    MnScore score;
    score.insertStaff(-1);
    score.insertStaff(-1);
    score.moveTo(GePoint2d(5.0, -30.0));
    EXPECT_EQ(score.staff(0)->position().y, -30.0);
    EXPECT_EQ(score.staff(1)->position().y, -50.0);
    EXPECT_EQ(score.staff(2)->position().y, -70.0);
    EXPECT_EQ(score.staff(2)->position().x, 5.0);

    // Six strings (15 high) 12 below staff 0's bottom line.
    score.staff(0)->setTablature(new MnTablature(score.staff(0)));
    EXPECT_EQ(score.staff(1)->position().y, -30.0 - 47.0);
}

TEST(MnStaffGeometry, DraggingAStaffChangesItsSpacingButKeepsItClear)
{
    struct Row
    {
        const char* what;
        double lowerScale;
        double y;
        double spacing;
    };
    // Staff 0's top line stands at -80.
    const Row rows[] = {
        {"onto the staff above: 12 steps stay free", 1.0, -80.0, 20.0},
        {"far below", 1.0, -130.0, 50.0},
        {"a larger part keeps more room", 1.5, -80.0, 23.0},
    };
    for (const Row& row : rows) {
        MnScore score;
        score.insertStaff(-1);
        score.moveTo(GePoint2d(0.0, -80.0));
        score.part(1)->setScale(row.lowerScale);
        MnStaff* lower = score.staff(1);
        EXPECT_TRUE(lower->moveTo(GePoint2d(0.0, row.y))) << row.what;
        EXPECT_DOUBLE_EQ(lower->spacing(), row.spacing) << row.what;
    }
    // Staff 0 moves the score; a point where the staff stands is no move.
    MnScore score;
    EXPECT_TRUE(score.staff(0)->moveTo(GePoint2d(3.0, -4.0)));
    EXPECT_EQ(xy(score.position()), xy(GePoint2d(3.0, -4.0)));
    EXPECT_FALSE(score.staff(0)->moveTo(GePoint2d(3.0, -4.0)));
}

TEST(MnStaffGeometry, TheDragPositionIsTheStaffInThePickedSystem)
{
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(4, 3);
    MnScore* score = sheet->score();
    MnStaff* lower = score->staff(1);
    const GePoint2d at = lower->position();
    double distance = 0.0;
    {
        MnCache scope;
        distance = sheet->systemDistance(0);
    }
    EXPECT_DOUBLE_EQ(lower->dragPosition(nullptr).y, at.y);
    const EdPath third = staffPath(1, 2);
    EXPECT_DOUBLE_EQ(lower->dragPosition(&third).y, at.y - 2.0 * distance);
    // On a later page the systems start at the page's layout, which asking
    // creates.
    EXPECT_EQ(sheet->pageLayout(3, false), nullptr);
    const EdPath onPage3 = staffPath(1, 10);
    const GePoint2d there = lower->dragPosition(&onPage3);
    ASSERT_NE(sheet->pageLayout(3, false), nullptr);
    EXPECT_DOUBLE_EQ(there.y, at.y - score->position().y - distance);
    EXPECT_DOUBLE_EQ(there.x, at.x - score->position().x);
}

TEST(MnStaffGeometry, DragsBySystemAndPage)
{
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(3, 3);
    MnScore* score = sheet->score();
    MnStaff* upper = score->staff(0);
    MnStaff* lower = score->staff(1);

    // The first staff of the third system on page 0, 10 down: the two
    // spacings above it grow by 5 each.
    const EdPath third = staffPath(0, 2);
    EXPECT_TRUE(upper->dragTo(GePoint2d(0.0, upper->dragPosition(&third).y - 10.0), &third));
    EXPECT_DOUBLE_EQ(sheet->systemSpacing(), 25.0);
    // The second staff in the second system: both systems' staves move.
    const EdPath second = staffPath(1, 1);
    EXPECT_TRUE(lower->dragTo(GePoint2d(0.0, lower->dragPosition(&second).y - 6.0), &second));
    EXPECT_DOUBLE_EQ(lower->spacing(), 23.0);
    // The first staff of a later page's first system moves that page.
    const EdPath nextPage = staffPath(0, 3);
    EXPECT_TRUE(upper->dragTo(GePoint2d(0.0, upper->dragPosition(&nextPage).y - 10.0), &nextPage));
    ASSERT_NE(sheet->pageLayout(1, false), nullptr);
    EXPECT_DOUBLE_EQ(sheet->pageLayout(1, false)->position().y, -10.0);
    // Its second system changes that page's system spacing only.
    const EdPath later = staffPath(0, 4);
    EXPECT_TRUE(upper->dragTo(GePoint2d(0.0, upper->dragPosition(&later).y - 4.0), &later));
    EXPECT_DOUBLE_EQ(sheet->pageLayout(1, false)->systemSpacing(), 29.0);
    EXPECT_DOUBLE_EQ(sheet->systemSpacing(), 25.0);
    // Any other staff of a later page does not move.
    const EdPath lowerLater = staffPath(1, 7);
    EXPECT_FALSE(lower->dragTo(GePoint2d(0.0, -200.0), &lowerLater));
    // The first staff of the first system follows a measure 0 path only.
    const EdPath first = staffPath(0, 0);
    EXPECT_TRUE(upper->dragTo(GePoint2d(20.0, -90.0), &first));
    EXPECT_EQ(xy(score->position()), xy(GePoint2d(20.0, -90.0)));
}

TEST(MnStaffGeometry, DragsKeepTheScoreAboveTheBottomMargin)
{
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(1, 3);
    MnScore* score = sheet->score();
    const double usable = sheet->pageHeight() - sheet->topMargin() - sheet->bottomMargin();
    auto lastSystemBottom = [&] {
        MnCache scope;
        return score->position().y - 2.0 * sheet->systemDistance(0) - score->height() * score->scale();
    };
    // Pulling staff 1 of the last system far down stops 0.1 above the
    // bottom margin.
    const EdPath third = staffPath(1, 2);
    EXPECT_TRUE(score->staff(1)->dragTo(GePoint2d(0.0, -5000.0), &third));
    EXPECT_NEAR(lastSystemBottom(), -usable + 0.1, 1e-9);
    // With no room left the spacing of the systems cannot grow.
    const EdPath thirdTop = staffPath(0, 2);
    EXPECT_FALSE(score->staff(0)->dragTo(GePoint2d(0.0, -5000.0), &thirdTop));
    EXPECT_EQ(sheet->systemSpacing(), 20.0);
    // Moved up, it may.
    EXPECT_TRUE(score->moveTo(GePoint2d(score->position().x, score->position().y + 10.0)));
    EXPECT_TRUE(score->staff(0)->dragTo(GePoint2d(0.0, -5000.0), &thirdTop));
    EXPECT_NEAR(lastSystemBottom(), -usable + 0.1, 1e-9);
}

TEST(MnStaffGeometry, AStalePathIsUnset)
{
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(2, 2);
    MnStaff* lower = sheet->score()->staff(1);
    const double spacing = lower->spacing();
    const EdPath paths[] = {staffPath(5, 0), staffPath(1, 40), staffPath(-1, 0), EdPath::unset(),
                            EdPath(EdPath::KindLine, 0, 1, 0, 0, 1, -1)};
    for (const EdPath& path : paths) {
        EXPECT_FALSE(lower->dragTo(GePoint2d(0.0, -300.0), &path));
        EXPECT_EQ(xy(lower->dragPosition(&path)), xy(lower->position()));
        EXPECT_EQ(lower->selectionTarget(&path), lower);
    }
    EXPECT_EQ(lower->spacing(), spacing);
    EXPECT_FALSE(lower->dragTo(GePoint2d(0.0, -300.0), nullptr));
}

TEST(MnStaffGeometry, SelectionTargets)
{
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(2, 2);
    MnScore* score = sheet->score();
    MnStaff* upper = score->staff(0);
    MnStaff* lower = score->staff(1);
    struct Row
    {
        const char* what;
        MnStaff* staff;
        EdPath path;
        int target; // 0 the score, 1 the staff, 2 page 1's layout
    };
    const Row rows[] = {
        {"staff 0, no path", upper, EdPath::unset(), 0},
        {"staff 1, no path", lower, EdPath::unset(), 1},
        {"first staff of the first system", upper, staffPath(0, 0), 0},
        {"first staff of a later system", upper, staffPath(0, 1), 1},
        {"second staff of the first system", lower, staffPath(1, 0), 1},
        {"first staff of a later page", upper, staffPath(0, 2), 2},
        {"second system of a later page", upper, staffPath(0, 3), 1},
        {"second staff of a later page", lower, staffPath(1, 2), 1},
        {"a stale path on staff 0", upper, staffPath(0, 99), 0},
    };
    for (const Row& row : rows) {
        MnElement* target = row.staff->selectionTarget(&row.path);
        MnElement* expected = row.staff;
        if (row.target == 0)
            expected = score;
        else if (row.target == 2)
            expected = sheet->pageLayout(1, false);
        EXPECT_NE(expected, nullptr) << row.what;
        EXPECT_EQ(target, expected) << row.what;
    }
}

TEST(MnStaffGeometry, GuideLinesAtTheSystemsOfThePagesBeside)
{
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(3, 2);
    MnScore* score = sheet->score();
    score->setScale(0.5);
    MnStaff* upper = score->staff(0);
    sheet->moveTo(GePoint2d(0.0, 10.0));
    double distance = 0.0;
    {
        MnCache scope;
        distance = sheet->systemDistance(0);
    }
    const double top = 10.0 - sheet->topMargin();
    // Page 2's first system was moved down by its layout.
    const EdPath pageTwo = staffPath(0, 4);
    ASSERT_TRUE(upper->dragTo(GePoint2d(0.0, upper->dragPosition(&pageTwo).y - 20.0), &pageTwo));
    const double pageTwoY = sheet->pageLayout(2, false)->position().y;

    BcArray<EdGuideLine*> lines;
    const EdPath pageOne = staffPath(0, 2);
    EXPECT_TRUE(upper->addGuideLines(lines, &pageOne));
    const double y0 = score->position().y + top;
    EXPECT_EQ(positionsOf(lines),
              (std::vector<double>{y0, y0 - distance, top + pageTwoY, top + pageTwoY - distance}));
    for (int i = 0; i < lines.count(); ++i) {
        EXPECT_TRUE(lines[i]->isKindOf(EdHorizontalGuideLine::staticClass()));
        EXPECT_DOUBLE_EQ(lines[i]->tolerance, 5.0 * 0.5);
    }
    deleteAll(lines);

    // Another staff adds none; pages stacked in a column are not beside.
    const EdPath lowerOnPageOne = staffPath(1, 2);
    EXPECT_TRUE(score->staff(1)->addGuideLines(lines, &lowerOnPageOne));
    EXPECT_EQ(lines.count(), 0);
    sheet->setPagesPerRow(1);
    EXPECT_TRUE(upper->addGuideLines(lines, &pageOne));
    EXPECT_EQ(lines.count(), 0);
}

TEST(MnStaffGeometry, PagesReadTheirLastLayout)
{
    // A damaged file gives page 1 two layouts: the drag moves the one the
    // pagination reads.
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(2, 2);
    MnPageLayout* first = sheet->pageLayout(1, true);
    MnPageLayout* second = sheet->pageLayout(5, true);
    BcMemoryFiler filer;
    filer.writeInt(1);
    filer.writeDouble(0.0);
    filer.writeDouble(-30.0);
    filer.writeDouble(20.0);
    filer.rewind();
    ASSERT_TRUE(second->read(filer));
    ASSERT_EQ(sheet->pageLayout(1, false), first);
    {
        MnCache scope;
        EXPECT_EQ(sheet->pageContentOrigin(1).y, -30.0);
    }
    MnStaff* upper = sheet->score()->staff(0);
    const EdPath path = staffPath(0, 2);
    EXPECT_DOUBLE_EQ(upper->dragPosition(&path).y, -30.0);
    EXPECT_TRUE(upper->dragTo(GePoint2d(0.0, -40.0), &path));
    EXPECT_EQ(second->position().y, -40.0);
    EXPECT_EQ(first->position().y, 0.0);
}

TEST(MnStaffGeometry, PointsOfAStaffOnItsPage)
{
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(3, 2);
    MnScore* score = sheet->score();
    score->setScale(2.0);
    score->moveTo(GePoint2d(20.0, -50.0));
    sheet->moveTo(GePoint2d(100.0, 0.0));
    MnStaff* upper = score->staff(0);
    const double left = sheet->leftMargin(0);
    const double top = sheet->topMargin();
    // Page 0: from the score's position, at the score's scale.
    EXPECT_EQ(xy(upper->toPageCoordinates(GePoint2d(23.0, -51.0), nullptr)),
              xy(GePoint2d(100.0 + left + 20.0 + 6.0, -top - 50.0 - 2.0)));
    // Page 2: from its layout, on its page.
    const EdPath path = staffPath(0, 5);
    MnPageLayout* layout = sheet->pageLayout(2, true);
    layout->moveTo(GePoint2d(0.0, -10.0));
    const GePoint2d at = upper->toPageCoordinates(GePoint2d(3.0, -11.0), &path);
    EXPECT_DOUBLE_EQ(at.x, 100.0 + 2.0 * sheet->pageWidth() + sheet->leftMargin(2) + 6.0);
    EXPECT_DOUBLE_EQ(at.y, -top - 10.0 - 2.0);
}

TEST(MnStaffGeometry, TablatureDragsStayOnTheFirstPage)
{
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(2, 3, 1);
    MnScore* score = sheet->score();
    MnStaff* staff = score->staff(0);
    MnTablature* tablature = new MnTablature(staff);
    staff->setTablature(tablature);
    score->moveTo(GePoint2d(10.0, 0.0));
    const double usable = sheet->pageHeight() - sheet->topMargin() - sheet->bottomMargin();

    // In the second system the drag is spread over the two systems.
    const EdPath second = staffPath(0, 1);
    double distance = 0.0;
    {
        MnCache scope;
        distance = sheet->systemDistance(0);
    }
    EXPECT_DOUBLE_EQ(tablature->dragPosition(&second).y, tablature->position().y - distance);
    EXPECT_TRUE(tablature->dragTo(GePoint2d(0.0, tablature->dragPosition(&second).y - 8.0), &second));
    EXPECT_DOUBLE_EQ(tablature->distance(), 12.0 + 4.0);

    // Far down: the last system on page 0 ends 0.1 above the bottom margin.
    const EdPath third = staffPath(0, 2);
    {
        MnCache scope;
        ASSERT_EQ(sheet->systemsOnPage(0), 3);
    }
    EXPECT_TRUE(tablature->dragTo(GePoint2d(0.0, -10000.0), &third));
    MnCache scope;
    EXPECT_NEAR(score->position().y - 2.0 * sheet->systemDistance(0) - score->height() * score->scale(),
                -usable + 0.1, 1e-9);
    // A later page, or no system at all, moves nothing.
    const EdPath later = staffPath(0, 4);
    EXPECT_FALSE(tablature->dragTo(GePoint2d(0.0, -40.0), &later));
    EXPECT_FALSE(tablature->dragTo(GePoint2d(0.0, -40.0), nullptr));
}

TEST(MnStaffGeometry, LinesAndLyricsStandInTheirSystemOnLaterPages)
{
    std::unique_ptr<MnSheetMusic> sheet = pagedSheet(3, 1, 1);
    sheet->moveTo(GePoint2d(50.0, 0.0));
    MnScore* score = sheet->score();
    MnStaff* staff = score->staff(0);
    const int start = staff->measure(2)->startTime();
    MnDynamic* loud = new MnDynamic(staff);
    MnDynamic* soft = new MnDynamic(staff);
    ASSERT_TRUE(staff->insertLine(loud, start));
    ASSERT_TRUE(staff->insertLine(soft, start + Quarter));
    loud->moveTo(GePoint2d(0.0, 6.0));
    soft->moveTo(GePoint2d(0.0, 9.0));
    MnLyric* verse = staff->addLyric(start, 0);
    MnLyric* chorus = staff->addLyric(start, 0);
    verse->setText(BcString("la"));
    chorus->setText(BcString("lo"));
    chorus->moveTo(GePoint2d(0.0, -20.0));
    MnPageLayout* layout = sheet->pageLayout(2, true);
    layout->moveTo(GePoint2d(0.0, -30.0));

    // The third page's first system starts at its layout.
    const double pageX = 50.0 + 2.0 * sheet->pageWidth() + sheet->leftMargin(2);
    const double systemY = -sheet->topMargin() - 30.0;
    const EdPath loudPath(EdPath::KindLine, 0, 0, 0, 2, 1, -1);
    const GePoint2d loudAt = loud->toPageCoordinates(loud->position(), &loudPath);
    EXPECT_DOUBLE_EQ(loudAt.x, pageX);
    EXPECT_DOUBLE_EQ(loudAt.y, systemY + loud->position().y);
    const EdPath versePath(EdPath::KindLyric, 0, 0, 0, 2, 1);
    const GePoint2d verseAt = verse->toPageCoordinates(verse->position(), &versePath);
    EXPECT_DOUBLE_EQ(verseAt.x, pageX + verse->position().x);
    EXPECT_DOUBLE_EQ(verseAt.y, systemY + verse->position().y);

    // Guide lines at the other marks, at their heights on that page.
    BcArray<EdGuideLine*> lines;
    EXPECT_TRUE(loud->addGuideLines(lines, &loudPath));
    bool atSoft = false;
    for (int i = 0; i < lines.count(); ++i)
        atSoft = atSoft || lines[i]->position == systemY + soft->position().y + 2.0 * 1.15;
    EXPECT_TRUE(atSoft);
    deleteAll(lines);
    EXPECT_TRUE(verse->addGuideLines(lines, &versePath));
    EXPECT_EQ(positionsOf(lines), (std::vector<double>{systemY + chorus->position().y}));
    deleteAll(lines);
}
