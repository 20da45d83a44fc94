#include "app/UiQuorvaneViewBoxes.h"

#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnMeasure.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "render/ReScorePass.h"

#include <vector>

namespace {

bool inside(const GePoint2d& p, double left, double top, double width, double height)
{
    return p.x >= left && p.x <= left + width && p.y <= top && p.y >= top - height;
}

// The narrowest part group that holds both staves, else the innermost group
// of the lower staff when it does not start there.
MnPartGroup* groupAcross(MnScore* score, int upper)
{
    MnPartGroup* narrowest = nullptr;
    for (int i = 0; i < score->partGroupCount(); ++i) {
        MnPartGroup* group = score->partGroup(i);
        if (!group || upper < group->firstStaff() || upper >= group->firstStaff() + group->staffCount())
            continue;
        if (!narrowest || group->staffCount() < narrowest->staffCount())
            narrowest = group;
    }
    const int lower = upper + 1;
    if (narrowest && lower < narrowest->firstStaff() + narrowest->staffCount())
        return narrowest;
    MnPartGroup* innermost = score->innermostPartGroup(lower);
    return innermost && innermost->firstStaff() != lower ? innermost : nullptr;
}

}  // namespace

bool UiElementBoxes::findSystemElementBox(GePoint2d& corner1, GePoint2d& corner2, const GePoint2d& point,
                                          MnMeasure* measure, MnScore* score, int firstMeasure, int measureCount,
                                          const GePoint2d& origin, double stretch)
{
    if (!score || score->staffCount() == 0)
        return false;
    const int measures = score->staff(0)->measureCount();
    if (firstMeasure < 0 || firstMeasure >= measures || measureCount < 1)
        return false;
    if (measureCount > measures - firstMeasure)
        measureCount = measures - firstMeasure;
    const double scale = score->scale() > 0 ? score->scale() : 1.0;
    // In the score's own units about the system origin.
    const GePoint2d p(origin.x + (point.x - origin.x) / scale, origin.y + (point.y - origin.y) / scale);
    ReScorePass pass(nullptr, score, firstMeasure, measureCount, origin, stretch, 0);
    const int staves = pass.staffCount;

    std::vector<double> widths;
    for (int m = firstMeasure; m <= pass.last; ++m) {
        const MnMeasure* column = pass.staff0->measure(m);
        widths.push_back(column->headerWidth() + column->contentWidth() * stretch);
    }
    widths[0] -= pass.firstChanges;
    const double total = pass.systemEnd;

    bool holds = false;
    bool found = false;
    GePoint2d a;
    GePoint2d b;
    for (int j = 0; j < staves && !found; ++j) {
        MnStaff* staff = score->staff(j);
        const double y = pass.staffY(j);
        const double ps = pass.partScale[j];
        const double room = margin * ps;
        const double staffHeight = staff->height();
        MnTablature* tablature = staff->tablature();
        const double tabTop = tablature ? y + ps * tablature->position().y : 0.0;
        const double tabHeight = tablature ? ps * tablature->height() : 0.0;
        MnPartGroup* group = j > 0 ? groupAcross(score, j - 1) : nullptr;
        double x = origin.x + pass.headerWidth;
        for (int i = 0; i < measureCount && !found; ++i) {
            const double w = widths[i];
            if (staff->measure(firstMeasure + i) == measure)
                holds = true;
            if (!measure) {
                if (inside(p, x, y, w, staffHeight)) {
                    a = GePoint2d(x, y + room);
                    b = GePoint2d(x + w, y - staffHeight - room);
                    found = true;
                } else if (tablature && inside(p, x, tabTop, w, tabHeight)) {
                    a = GePoint2d(x, tabTop + room);
                    b = GePoint2d(x + w, tabTop - tabHeight - room);
                    found = true;
                } else if (tablature && inside(p, x, y - staffHeight, w, y - staffHeight - tabTop)) {
                    a = GePoint2d(x, y + room);
                    b = GePoint2d(x + w, tabTop - tabHeight - room);
                    found = true;
                } else if (group && inside(p, x, pass.staffY(j - 1), w, pass.staffY(j - 1) - y)) {
                    const int top = group->firstStaff();
                    const int bottom = group->firstStaff() + group->staffCount() - 1;
                    if (top >= 0 && bottom < staves && top <= bottom) {
                        a = GePoint2d(x, pass.staffY(top) + margin * pass.partScale[top]);
                        b = GePoint2d(x + w, pass.staffY(bottom) - score->staff(bottom)->height() -
                                                 margin * pass.partScale[bottom]);
                        found = true;
                    }
                }
            }
            x += w;
        }
    }

    if (!found) {
        const double G = margin * pass.partScale[0];
        const double F = margin * pass.partScale[staves - 1];
        const double E = score->height();
        if (measure && !holds)
            return false;
        a = GePoint2d(origin.x, origin.y + G);
        b = GePoint2d(origin.x + total, origin.y - E - F);
        if (!measure) {
            if (!inside(p, origin.x, origin.y, total, E)) {
                // The labels reach left of the origin: their extent's x is negative.
                const double names = -score->partsExtents(firstMeasure > 0).x;
                if (!(names > 0) || !inside(p, origin.x - names, origin.y, names, E))
                    return false;
                a.x -= names;
            } else {
                double x = origin.x + pass.headerWidth;
                for (double w : widths) {
                    if (p.x >= x && p.x <= x + w) {
                        a.x = x;
                        b.x = x + w;
                        break;
                    }
                    x += w;
                }
            }
        }
    }
    corner1 = GePoint2d(origin.x + (a.x - origin.x) * scale, origin.y + (a.y - origin.y) * scale);
    corner2 = GePoint2d(origin.x + (b.x - origin.x) * scale, origin.y + (b.y - origin.y) * scale);
    return true;
}

bool UiElementBoxes::findElementBox(QuorvaneDocument* document, GePoint2d& corner1, GePoint2d& corner2,
                                    const GePoint2d& point, MnMeasure* measure)
{
    if (!document)
        return false;
    MnCache cache;
    const BcArray<MnElement*>& order = document->displayOrder();
    for (int i = order.count() - 1; i >= 0; --i) {
        MnElement* work = order[i];
        if (!work)
            continue;
        if (work->isKindOf(MnSheetMusic::staticClass())) {
            MnSheetMusic* sheet = static_cast<MnSheetMusic*>(work);
            MnScore* score = sheet->score();
            const int measures = score && score->staffCount() > 0 ? score->staff(0)->measureCount() : 0;
            const bool book = sheet->presentation() == MnSheetMusic::Book;
            int first = 0;
            for (int page = 0; page < sheet->pageCount(); ++page) {
                GePoint2d pageOrigin;
                const bool placed = sheet->pageOrigin(page, pageOrigin, false);
                const GePoint2d content = sheet->pageContentOrigin(page);
                const int systems = sheet->systemsOnPage(page);
                for (int k = 0; k < systems && first < measures; ++k) {
                    double stretch = 1.0;
                    const int count = sheet->fitSystem(first, stretch);
                    if (count < 1)
                        break;
                    if (placed) {
                        const double indent =
                            page == 0 && k == 0 ? content.x : -score->partsExtents(true).x * score->scale();
                        const GePoint2d origin(pageOrigin.x + sheet->leftMargin(page) + indent,
                                               pageOrigin.y + content.y - sheet->topMargin() -
                                                   sheet->systemDistance(page) * k);
                        if (findSystemElementBox(corner1, corner2, point, measure, score, first, count, origin,
                                                 stretch))
                            return true;
                    }
                    first += count;
                }
                if (placed && !measure &&
                    inside(point, pageOrigin.x, pageOrigin.y, sheet->pageWidth(), sheet->pageHeight())) {
                    corner1 = book ? sheet->position() : pageOrigin;
                    corner2 = GePoint2d(corner1.x + sheet->pageWidth() * (book ? 2 : 1),
                                        corner1.y - sheet->pageHeight());
                    return true;
                }
            }
        } else if (work->isKindOf(MnScore::staticClass())) {
            MnScore* score = static_cast<MnScore*>(work);
            if (score->staffCount() == 0)
                continue;
            if (findSystemElementBox(corner1, corner2, point, measure, score, 0, score->staff(0)->measureCount(),
                                     score->position(), 2.0))
                return true;
        }
    }
    return document->worksExtents(corner1, corner2);
}
