#include "model/MnPageLayout.h"

#include "foundation/BcFiler.h"
#include "model/MnLimits.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"

#include <cmath>

BC_IMPLEMENT_CLASS(MnPageLayout)

MnPageLayout::MnPageLayout(MnSheetMusic* sheetMusic, int page)
    : layoutSheet(sheetMusic), layoutPage(page),
      layoutSystemSpacing(sheetMusic ? sheetMusic->systemSpacing() : 20.0)
{
}

MnElement* MnPageLayout::parent() const
{
    return layoutSheet;
}

bool MnPageLayout::read(BcFiler& filer)
{
    int page = 0;
    double x = 0.0;
    double y = 0.0;
    double spacing = 0.0;
    if (!filer.readInt(page) || !filer.readDouble(x) || !filer.readDouble(y) || !filer.readDouble(spacing))
        return false;
    // The page is looked up by index; the offset and spacing fill pages by
    // division.
    if (!mnIsPage(page) || !isPosition(GePoint2d(x, y)) || !mnIsSystemSpacing(spacing))
        return false;
    layoutPage = page;
    layoutOffset = GePoint2d(x, y);
    layoutSystemSpacing = spacing;
    return filer.isOk();
}

bool MnPageLayout::write(BcFiler& filer) const
{
    filer.writeInt(layoutPage);
    filer.writeDouble(layoutOffset.x);
    filer.writeDouble(layoutOffset.y);
    filer.writeDouble(layoutSystemSpacing);
    return filer.isOk();
}

GePoint2d MnPageLayout::position() const
{
    return layoutOffset;
}

double MnPageLayout::width() const
{
    return 0.0;
}

double MnPageLayout::height() const
{
    return 0.0;
}

bool MnPageLayout::moveTo(const GePoint2d& point)
{
    double y = point.y;
    if (layoutSheet) {
        MnScore* score = layoutSheet->score();
        double usableHeight = layoutSheet->pageHeight() - layoutSheet->topMargin() - layoutSheet->bottomMargin();
        double lowest = score ? score->height() * score->scale() - usableHeight : -usableHeight;
        // The lower limit first, so that a score taller than the page still
        // starts at the top.
        y = std::fmax(y, lowest);
    }
    y = std::fmin(y, 0.0);
    if (!mnIsCoordinate(y))
        return false;
    if (y == layoutOffset.y)
        return false;
    layoutOffset.y = y;
    return true;
}

GePoint2d MnPageLayout::toPageCoordinates(const GePoint2d& point, const EdPath*) const
{
    if (!layoutSheet)
        return point;
    GePoint2d origin = layoutSheet->position();
    layoutSheet->pageOrigin(layoutPage, origin, false);
    return GePoint2d(origin.x + layoutSheet->leftMargin(layoutPage) + point.x,
                     origin.y - layoutSheet->topMargin() + point.y);
}

bool MnPageLayout::setSystemSpacing(double spacing)
{
    if (!mnIsSystemSpacing(spacing))
        return false;
    layoutSystemSpacing = spacing;
    return true;
}

double MnPageLayout::scale() const
{
    MnScore* score = layoutSheet ? layoutSheet->score() : nullptr;
    return score ? score->scale() : 1.0;
}
