// The guide lines that the document offers a dragged work: the edges of the
// pages of the other sheets for a sheet, the corners of the other free
// scores for a staff of a free score.

#include "editing/QuorvaneDocument.h"

#include "model/EdHorizontalGuideLine.h"
#include "model/EdVerticalGuideLine.h"
#include "model/MnCache.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

// Appends the value unless an equal one is there.
static void addOnce(BcArray<double>& values, double value)
{
    for (int i = 0; i < values.count(); ++i) {
        if (values[i] == value)
            return;
    }
    values.add(value);
}

// The top-left corners of the sheet's shown pages on the desk.
static void pageOrigins(MnSheetMusic* sheet, BcArray<GePoint2d>& origins)
{
    const int pages = sheet->pageCount();
    for (int page = 0; page < pages; ++page) {
        GePoint2d origin;
        if (sheet->pageOrigin(page, origin, false))
            origins.add(origin);
    }
}

// One vertical line per x, then one horizontal line per y.
static void appendLines(BcArray<EdGuideLine*>& lines, const BcArray<double>& xs, const BcArray<double>& ys,
                        double tolerance)
{
    for (int i = 0; i < xs.count(); ++i)
        lines.add(new EdVerticalGuideLine(xs[i], tolerance));
    for (int i = 0; i < ys.count(); ++i)
        lines.add(new EdHorizontalGuideLine(ys[i], tolerance));
}

bool QuorvaneDocument::addGuideLines(BcArray<EdGuideLine*>& lines, MnElement* dragged)
{
    // Page edges snap within 5 desk units.
    static const double pageTolerance = 5.0;
    if (!dragged)
        return true;
    BcArray<double> xs;
    BcArray<double> ys;

    if (dragged->isKindOf(MnSheetMusic::staticClass())) {
        MnCache scope;
        for (int i = 0; i < workList.count(); ++i) {
            MnElement* work = workList[i];
            if (work == dragged || !work->isKindOf(MnSheetMusic::staticClass()))
                continue;
            MnSheetMusic* sheet = static_cast<MnSheetMusic*>(work);
            BcArray<GePoint2d> origins;
            pageOrigins(sheet, origins);
            for (int p = 0; p < origins.count(); ++p) {
                addOnce(ys, origins[p].y);
                addOnce(ys, origins[p].y - sheet->pageHeight());
                addOnce(xs, origins[p].x);
                addOnce(xs, origins[p].x + sheet->pageWidth());
            }
        }
        appendLines(lines, xs, ys, pageTolerance);
        return true;
    }

    if (!dragged->isKindOf(MnStaff::staticClass()))
        return true;
    const MnStaff* staff = static_cast<const MnStaff*>(dragged);
    const MnScore* score = staff->score();
    if (!score || score->parent())
        return true;
    for (int i = 0; i < workList.count(); ++i) {
        const MnElement* work = workList[i];
        if (work == score || !work->isKindOf(MnScore::staticClass()))
            continue;
        const GePoint2d at = work->position();
        addOnce(ys, at.y);
        addOnce(xs, at.x);
    }
    appendLines(lines, xs, ys, pageTolerance * staff->partScale() * score->scale());
    return true;
}
