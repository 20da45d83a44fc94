// How the score's measure columns fall into systems and the systems into
// pages, and where the pages lie in the document: spread out in rows, or as
// a book of two-page spreads with a page that turns.

#include "model/MnSheetMusic.h"

#include "model/MnCache.h"
#include "model/MnMeasure.h"
#include "model/MnPageLayout.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

#include <algorithm>
#include <cmath>

double MnSheetMusic::usableWidth() const
{
    return pageWidth() - leftMargin(0) - rightMargin(0);
}

double MnSheetMusic::usableHeight() const
{
    return pageHeight() - topMargin() - bottomMargin();
}

const MnPageLayout* MnSheetMusic::lastPageLayout(int page) const
{
    for (int i = pageLayouts.count() - 1; i >= 0; --i) {
        if (pageLayouts[i]->page() == page)
            return pageLayouts[i];
    }
    return nullptr;
}

double MnSheetMusic::systemDistance(int page) const
{
    const MnPageLayout* layout = page > 0 ? lastPageLayout(page) : nullptr;
    const double spacing = layout ? layout->systemSpacing() : sheetSystemSpacing;
    if (!sheetScore)
        return 20.0 + spacing;
    return (sheetScore->height() + 20.0 + spacing) * sheetScore->scale();
}

GePoint2d MnSheetMusic::pageContentOrigin(int page) const
{
    if (page == 0)
        return sheetScore ? sheetScore->position() : GePoint2d(0.0, 0.0);
    const MnPageLayout* layout = lastPageLayout(page);
    return layout ? layout->position() : GePoint2d(0.0, 0.0);
}

double MnSheetMusic::changeRoomAfter(int measure) const
{
    const MnStaff* staff = sheetScore->staff(0);
    const MnMeasure* ending = staff->measure(measure);
    const int end = ending->startTime() + ending->length();
    const double key = sheetScore->keySignatureWidth(end, true, 4.0);
    const double time = sheetScore->timeSignatureWidth(end, key > 0.0 ? 2.0 : 4.0);
    if (key + time <= 0.0)
        return 0.0;
    // Before a single bar line or a start repeat the courtesy signature
    // stands in the old system.
    const bool courtesy = ending->barline() == 0 || ending->barline() == 4;
    return key + time + (courtesy ? sheetScore->scaledByLargestPart(1.2) : 0.0);
}

int MnSheetMusic::fitSystem(int firstMeasure, double& stretch) const
{
    MnCache scope;
    const MnStaff* staff = sheetScore ? sheetScore->staff(0) : nullptr;
    const int measures = staff ? staff->measureCount() : 0;
    if (firstMeasure < 0 || firstMeasure >= measures) {
        stretch = 1.0;
        return 1;
    }
    if (!MnCache::isCurrent(fitStamp) || fitCounts.count() != measures) {
        fitCounts.setSize(measures);
        fitStretches.setSize(measures);
        for (int i = 0; i < measures; ++i)
            fitCounts[i] = 0;
        fitStamp = MnCache::currentStamp();
    }
    if (fitCounts[firstMeasure] > 0) {
        stretch = fitStretches[firstMeasure];
        return fitCounts[firstMeasure];
    }

    // The room for measures: the usable width less the indent of the
    // labels and the header of clef, key and time signature.
    const double scale = sheetScore->scale();
    const double indent = firstMeasure == 0 ? sheetScore->position().x : -sheetScore->partsExtents(true).x * scale;
    double room = (usableWidth() - indent) / scale;
    const MnMeasure* first = staff->measure(firstMeasure);
    const int start = first->startTime();
    const double time = sheetScore->timeSignatureWidth(start, 0.0);
    room -= sheetScore->keyColumnWidth(start, time > 0.0) + sheetScore->clefWidth() + time;
    // A change at the system's start shows in the header, not in the
    // measure's own room for it.
    if (firstMeasure > 0)
        room += sheetScore->keySignatureWidth(start, true, 2.0) + sheetScore->timeSignatureWidth(start, 2.0);

    const double x0 = first->position().x - sheetScore->scaledByLargestPart(first->leadingBarlineSpace(true));
    int next = firstMeasure + 1;
    for (; next < measures; ++next) {
        if (staff->measure(next - 1)->systemBreak() != 0)
            break;
        const MnMeasure* measure = staff->measure(next);
        const double need =
            measure->width() + sheetScore->scaledByLargestPart(measure->barlineSpace(true)) + changeRoomAfter(next);
        if (room < measure->position().x - x0 + need)
            break;
    }

    double fixed = 0.0;
    double content = 0.0;
    for (int i = firstMeasure; i < next; ++i) {
        fixed += staff->measure(i)->headerWidth();
        content += staff->measure(i)->contentWidth();
    }
    if (firstMeasure > 0)
        fixed += sheetScore->scaledByLargestPart(first->leadingBarlineSpace(true));
    fixed += sheetScore->scaledByLargestPart(staff->measure(next - 1)->barlineSpace(true));
    if (next < measures)
        fixed += changeRoomAfter(next - 1);
    const double fitted = (room - fixed) / content;
    stretch = std::isfinite(fitted) ? fitted : 1.0;
    fitCounts[firstMeasure] = next - firstMeasure;
    fitStretches[firstMeasure] = stretch;
    return next - firstMeasure;
}

int MnSheetMusic::pageCount() const
{
    if (MnCache::isCurrent(paginationStamp))
        return paginatedPages;
    MnCache scope;
    systemsPerPage.removeAll();
    systemStarts.removeAll();
    systemPages.removeAll();
    systemSlots.removeAll();
    const MnStaff* staff = sheetScore ? sheetScore->staff(0) : nullptr;
    const int measures = staff ? staff->measureCount() : 0;
    int pages = 0;
    int systems = 0;
    int measure = 0;
    while (measure < measures) {
        const double room = usableHeight() + pageContentOrigin(pages).y - sheetScore->height() * sheetScore->scale();
        // A page whose systems cannot be counted (no distance between them,
        // or a distance that leaves no room even for the first) takes every
        // system up to a page break.
        const double quotient = room / systemDistance(pages);
        int fits = 0;
        if (std::isfinite(quotient) && std::fabs(quotient) < 1e9)
            fits = int(quotient) + 1;
        int onPage = 0;
        for (;;) {
            systemStarts.add(measure);
            systemPages.add(pages);
            systemSlots.add(onPage);
            double stretch = 1.0;
            measure += fitSystem(measure, stretch);
            ++onPage;
            if (onPage == fits || measure >= measures || staff->measure(measure - 1)->systemBreak() == 2)
                break;
        }
        systemsPerPage.add(onPage);
        systems += onPage;
        ++pages;
    }
    if (pages == 0) {
        // A sheet without measures still shows its paper.
        systemsPerPage.add(0);
        pages = 1;
    }
    paginatedPages = pages;
    paginatedSystems = systems;
    paginationStamp = MnCache::currentStamp();
    return pages;
}

int MnSheetMusic::systemsOnPage(int page) const
{
    MnCache scope;
    const int pages = pageCount();
    return page >= 0 && page < pages ? systemsPerPage[page] : 0;
}

int MnSheetMusic::systemCount() const
{
    MnCache scope;
    pageCount();
    return paginatedSystems;
}

int MnSheetMusic::locateMeasure(int measure, int* systemOnPage, int* firstMeasureOfSystem, int* measureCount) const
{
    MnCache scope;
    const int pages = pageCount();
    const int measures = sheetScore ? sheetScore->staff(0)->measureCount() : 0;
    if (measure < 0 || measure >= measures || systemStarts.isEmpty())
        return pages;
    // The last system that starts at or before the measure; the first one
    // starts at measure 0.
    const int* first = &systemStarts[0];
    const int low = int(std::upper_bound(first, first + systemStarts.count(), measure) - first) - 1;
    if (systemOnPage)
        *systemOnPage = systemSlots[low];
    if (firstMeasureOfSystem)
        *firstMeasureOfSystem = systemStarts[low];
    if (measureCount)
        *measureCount = (low + 1 < systemStarts.count() ? systemStarts[low + 1] : measures) - systemStarts[low];
    return systemPages[low];
}

bool MnSheetMusic::startsSpread(int page) const
{
    return firstPageRight ? page % 2 != 0 : page % 2 == 0;
}

void MnSheetMusic::bringCurrentPageIn()
{
    const int pages = pageCount();
    while (sheetCurrentPage >= pages && sheetCurrentPage > 0)
        sheetCurrentPage = std::max(0, sheetCurrentPage - (startsSpread(sheetCurrentPage) ? 2 : 1));
}

int MnSheetMusic::bookSlot(int page) const
{
    int slot = page - sheetCurrentPage;
    if (firstPageRight && sheetCurrentPage % 2 == 0)
        slot += 1;
    return slot;
}

int MnSheetMusic::pageColumns() const
{
    const int pages = pageCount();
    if (sheetPagesPerRow < 5 && pages >= sheetPagesPerRow && sheetPagesPerRow > 0)
        return sheetPagesPerRow;
    return pages;
}

bool MnSheetMusic::pageOrigin(int page, GePoint2d& origin, bool pageRelative)
{
    MnCache scope;
    GePoint2d at;
    if (sheetPresentation == Book) {
        bringCurrentPageIn();
        const int slot = bookSlot(page);
        bool shown = slot == 0;
        if (sheetTurnAngle == 0.0)
            shown = shown || slot == 1;
        else if (sheetTurnAngle > 0.0)
            shown = shown || slot == 3 || (slot == 1 && sheetTurnAngle <= 90.0) || (slot == 2 && sheetTurnAngle > 90.0);
        if (!shown)
            return false;
        at = GePoint2d(slot % 2 != 0 ? pageWidth() : 0.0, 0.0);
    } else {
        const int columns = std::max(1, pageColumns());
        at = GePoint2d((page % columns) * pageWidth(), -(page / columns) * pageHeight());
    }
    if (!pageRelative)
        at = GePoint2d(at.x + sheetPosition.x, at.y + sheetPosition.y);
    origin = at;
    return true;
}

double MnSheetMusic::pageTurnAngle(int page)
{
    if (sheetPresentation != Book)
        return 0.0;
    MnCache scope;
    bringCurrentPageIn();
    const int slot = bookSlot(page);
    if (slot == 1)
        return sheetTurnAngle;
    if (slot == 2)
        return sheetTurnAngle - 180.0;
    return 0.0;
}

int MnSheetMusic::spreadFirstPage() const
{
    if (firstPageRight)
        return sheetCurrentPage % 2 != 0 ? sheetCurrentPage : sheetCurrentPage - 1;
    return sheetCurrentPage % 2 == 0 ? sheetCurrentPage : sheetCurrentPage - 1;
}

bool MnSheetMusic::nextSpread()
{
    MnCache scope;
    if (sheetCurrentPage >= pageCount() - 1)
        return false;
    sheetCurrentPage += startsSpread(sheetCurrentPage) ? 2 : 1;
    return true;
}

double MnSheetMusic::width() const
{
    MnCache scope;
    if (sheetPresentation == Book)
        return 2.0 * pageWidth();
    return pageWidth() * pageColumns();
}

double MnSheetMusic::height() const
{
    if (sheetPresentation == Book)
        return pageHeight();
    MnCache scope;
    const int columns = std::max(1, pageColumns());
    const int pages = pageCount();
    const int rows = pages / columns + (pages % columns != 0 ? 1 : 0);
    return pageHeight() * rows;
}

bool MnSheetMusic::addSnapPoints(BcArray<GePoint2d>& points)
{
    MnCache scope;
    auto addPoint = [&points](const GePoint2d& point) {
        for (int i = 0; i < points.count(); ++i) {
            const double dx = points[i].x - point.x;
            const double dy = points[i].y - point.y;
            if (std::sqrt(dx * dx + dy * dy) <= 1e-10)
                return;
        }
        points.add(point);
    };
    const int pages = pageCount();
    for (int page = 0; page < pages; ++page) {
        GePoint2d origin;
        if (!pageOrigin(page, origin, true))
            continue;
        addPoint(origin);
        addPoint(GePoint2d(origin.x + pageWidth(), origin.y - pageHeight()));
    }
    return true;
}
