// Where a staff stands and what dragging it does. Every system of the laid
// out pages repeats the stack of staves, so a drag means something else for
// each staff of each system: it moves the score or a page's first system,
// or changes the distance between two staves or between two systems.

#include "model/MnStaff.h"

#include "model/EdHorizontalGuideLine.h"
#include "model/EdPath.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnLyric.h"
#include "model/MnLyricIterator.h"
#include "model/MnMeasure.h"
#include "model/MnPageLayout.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnTablature.h"

#include <algorithm>
#include <cmath>

// Slack kept above the bottom margin when a drag lowers the score.
static constexpr double bottomSlack = 0.1;

bool MnStaff::isSystemPath(const EdPath* path) const
{
    // A path picked before the score lost staves or measures names nothing.
    if (!path || path->isUnset() || path->kind() != EdPath::KindStaff || !owner)
        return false;
    const int staff = path->level(2);
    const int measure = path->level(3);
    return staff >= 0 && staff < owner->staffCount() && measure >= 0 && measure < owner->staff(0)->measureCount();
}

bool MnStaff::locateSystem(const EdPath* path, int& page, int& system) const
{
    const MnSheetMusic* sheet = owner ? owner->sheetMusic() : nullptr;
    if (!sheet || !isSystemPath(path))
        return false;
    MnCache scope;
    int onPage = 0;
    const int found = sheet->locateMeasure(path->level(3), &onPage, nullptr, nullptr);
    if (found >= sheet->pageCount())
        return false;
    page = found;
    system = onPage;
    return true;
}

double MnStaff::width() const
{
    if (!owner)
        return 0.0;
    MnCache scope;
    double unbroken = owner->systemHeaderWidth(0);
    // The unbroken line spaces every measure at a stretch of 2.
    for (int i = 0; i < measures.count(); ++i)
        unbroken += measures[i]->headerWidth() + 2.0 * measures[i]->contentWidth();
    return unbroken;
}

bool MnStaff::moveTo(const GePoint2d& point)
{
    if (!owner || !std::isfinite(point.x) || !std::isfinite(point.y))
        return false;
    const GePoint2d at = position();
    if (!isMove(at, point))
        return false;
    if (staffIndex == 0) {
        const GePoint2d origin = owner->position();
        const double scale = owner->scale();
        owner->moveTo(GePoint2d(origin.x + (point.x - origin.x) * scale, origin.y + (point.y - origin.y) * scale));
        return true;
    }
    if (staffIndex >= owner->staffCount())
        return false;
    // The top line goes to the point, but keeps clear of the staff above
    // (or its tablature) by 6 steps per part scale of the two.
    const MnStaff* above = owner->staff(staffIndex - 1);
    const double aboveScale = above->partScale();
    const double least = 6.0 * (partScale() + aboveScale);
    double distance = 0.0;
    if (const MnTablature* tablature = above->tablature())
        distance = above->position().y + tablature->position().y * aboveScale - point.y -
                   tablature->height() * aboveScale;
    else
        distance = above->position().y - point.y - above->height();
    // The spacing keeps the range that the staff's record holds.
    return setSpacing(std::max(least, distance) + 8.0);
}

GePoint2d MnStaff::dragPosition(const EdPath* path) const
{
    GePoint2d at = position();
    int page = 0;
    int system = 0;
    if (!locateSystem(path, page, system))
        return at;
    MnCache scope;
    MnSheetMusic* sheet = owner->sheetMusic();
    if (page > 0) {
        // A later page's systems start where its layout says.
        if (const MnPageLayout* layout = sheet->paginatedPageLayout(page, true)) {
            const GePoint2d origin = owner->position();
            at = GePoint2d(at.x + layout->position().x - origin.x, at.y + layout->position().y - origin.y);
        }
    }
    at.y -= system * sheet->systemDistance(page) / owner->scale();
    return at;
}

// The spacing of the systems of a page after the system's first staff was
// dragged by dy: every system above it moves with it, and the last of them
// stays above the bottom margin. False when nothing changes.
static bool dragSystemSpacing(const MnScore* score, const MnSheetMusic* sheet, double originY, double anchorY,
                              double dy, int system, double& spacing)
{
    const double delta = dy / system;
    if (delta == 0.0 || !std::isfinite(delta))
        return false;
    const double scale = score->scale();
    const double y = originY + (anchorY - originY) * scale;
    const double usable = sheet->pageHeight() - sheet->topMargin() - sheet->bottomMargin();
    const double widest = ((y + usable - scale * score->height() - bottomSlack) / system + spacing * scale) / scale;
    const double dragged = std::max(0.0, std::min(widest, spacing - delta));
    // As for every move, a ten-billionth is none.
    if (std::fabs(dragged - spacing) <= 1e-10)
        return false;
    spacing = dragged;
    return true;
}

bool MnStaff::dragTo(const GePoint2d& point, const EdPath* path)
{
    if (!isSystemPath(path) || !std::isfinite(point.x) || !std::isfinite(point.y))
        return false;
    MnSheetMusic* sheet = owner->sheetMusic();
    if (!sheet)
        return moveTo(point);
    MnCache scope;
    const int measure = path->level(3);
    const int staff = path->level(2);
    int page = 0;
    int system = 0;
    if (!locateSystem(path, page, system))
        return false;
    const GePoint2d anchor = dragPosition(path);
    const double scale = owner->scale();
    const double usable = sheet->pageHeight() - sheet->topMargin() - sheet->bottomMargin();

    if (page == 0 && staff == 0) {
        if (system == 0)
            return measure == 0 ? moveTo(point) : false;
        double spacing = sheet->systemSpacing();
        if (!dragSystemSpacing(owner, sheet, owner->position().y, anchor.y, point.y - anchor.y, system, spacing))
            return false;
        return sheet->setSystemSpacing(spacing);
    }
    if (page == 0) {
        // Every system down to this one grows by the change, so the
        // grabbed staff moves by system + 1 times it.
        double delta = (point.y - anchor.y) / (system + 1);
        if (delta == 0.0)
            return false;
        const double lowest = -(owner->position().y + usable - system * sheet->systemDistance(0) -
                                scale * owner->height() - bottomSlack) /
                              (system + 1) / scale;
        delta = std::max(delta, lowest);
        const GePoint2d at = position();
        return moveTo(GePoint2d(at.x, at.y + delta));
    }
    if (staff != 0)
        return false;
    MnPageLayout* layout = sheet->paginatedPageLayout(page, true);
    if (!layout)
        return false;
    const GePoint2d origin = layout->position();
    if (system == 0)
        return layout->moveTo(
            GePoint2d(origin.x + (point.x - origin.x) * scale, origin.y + (point.y - origin.y) * scale));
    double spacing = layout->systemSpacing();
    if (!dragSystemSpacing(owner, sheet, origin.y, anchor.y, point.y - anchor.y, system, spacing))
        return false;
    return layout->setSystemSpacing(spacing);
}

bool MnStaff::addGuideLines(BcArray<EdGuideLine*>& lines, const EdPath* path)
{
    const bool picked = isSystemPath(path);
    const int staff = picked ? path->level(2) : staffIndex;
    MnSheetMusic* sheet = owner ? owner->sheetMusic() : nullptr;
    if (staff != 0 || !sheet)
        return true;
    MnCache scope;
    const int pages = sheet->pageCount();
    const int page = sheet->locateMeasure(picked ? path->level(3) : 0, nullptr, nullptr, nullptr);
    GePoint2d origin;
    if (page >= pages || !sheet->pageOrigin(page, origin, false))
        return true;
    // The first staves of the systems of the pages beside this one.
    const double tolerance = 5.0 * owner->scale();
    for (int neighbour = page - 1; neighbour <= page + 1; neighbour += 2) {
        GePoint2d other;
        if (neighbour < 0 || neighbour >= pages || !sheet->pageOrigin(neighbour, other, false) || other.y != origin.y)
            continue;
        const MnPageLayout* layout = neighbour > 0 ? sheet->paginatedPageLayout(neighbour, false) : nullptr;
        double y = (layout ? layout->position().y : position().y) + other.y - sheet->topMargin();
        const int systems = sheet->systemsOnPage(neighbour);
        for (int system = 0; system < systems; ++system) {
            lines.add(new EdHorizontalGuideLine(y, tolerance));
            y -= sheet->systemDistance(neighbour);
        }
    }
    return true;
}

MnElement* MnStaff::selectionTarget(const EdPath* path)
{
    const bool picked = isSystemPath(path);
    const int staff = picked ? path->level(2) : staffIndex;
    if (!picked || (path->level(2) < 1 && path->level(3) < 1))
        return staff == 0 && owner ? static_cast<MnElement*>(owner) : this;
    MnSheetMusic* sheet = owner->sheetMusic();
    MnCache scope;
    int page = 0;
    int system = 0;
    if (!locateSystem(path, page, system) || staff != 0)
        return this;
    // The first staff of a page's first system drags that page's layout.
    if (page > 0 && system == 0) {
        MnPageLayout* layout = sheet->paginatedPageLayout(page, true);
        return layout ? static_cast<MnElement*>(layout) : this;
    }
    if (page == 0 && path->level(3) == 0)
        return owner;
    return this;
}

GePoint2d MnStaff::toPageCoordinates(const GePoint2d& point, const EdPath* path) const
{
    if (!owner)
        return point;
    const double scale = owner->scale();
    const GePoint2d origin = owner->position();
    const GePoint2d firstPage = owner->toPageCoordinates(origin, nullptr);
    const GePoint2d onFirstPage(firstPage.x + (point.x - origin.x) * scale,
                                firstPage.y + (point.y - origin.y) * scale);
    MnCache scope;
    int page = 0;
    int system = 0;
    GePoint2d pageCorner;
    MnSheetMusic* sheet = owner->sheetMusic();
    if (!locateSystem(path, page, system) || page == 0 || !sheet->pageOrigin(page, pageCorner, false))
        return onFirstPage;
    const MnPageLayout* layout = sheet->paginatedPageLayout(page, true);
    if (!layout)
        return onFirstPage;
    const GePoint2d start = layout->position();
    return GePoint2d(pageCorner.x + sheet->leftMargin(page) + start.x + (point.x - start.x) * scale,
                     pageCorner.y - sheet->topMargin() + start.y + (point.y - start.y) * scale);
}

void MnStaff::measureSyllables() const
{
    if (MnCache::isCurrent(syllableStamp))
        return;
    syllableStamp = MnCache::currentStamp();
    // One walk per line: each syllable stands on the chord that begins it.
    for (int i = 0; i < lyrics.count(); ++i) {
        const MnLyric* lyric = lyrics[i];
        MnLyricIterator walk(lyric);
        const MnChord* last = nullptr;
        for (walk.begin(); !walk.atEnd(); walk.next()) {
            walk.start->raiseSyllableWidth(lyric->syllableWidth(walk.syllable));
            last = walk.end;
        }
        // The same walk ends where the line ends: no second walk for it.
        lyric->keepDuration(last);
    }
}
