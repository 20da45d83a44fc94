#include "model/MnCredit.h"

#include "foundation/BcFiler.h"
#include "model/MnSheetMusic.h"

#include <cmath>

BC_IMPLEMENT_CLASS(MnCredit)

MnCredit::MnCredit(MnSheetMusic* sheetMusic, int page)
    : creditSheet(sheetMusic), creditPage(page < 0 ? 0 : page)
{
}

MnElement* MnCredit::parent() const
{
    return creditSheet;
}

bool MnCredit::read(BcFiler& filer)
{
    if (!MnText::read(filer))
        return false;
    int page = 0;
    int type = 0;
    int alignment = 0;
    if (!filer.readInt(page))
        return false;
    // The page picks the page's margins and place.
    if (page < 0)
        return false;
    creditPage = page;
    if (!filer.readInt(type))
        return false;
    setType(type);
    if (!filer.readInt(alignment))
        return false;
    setCreditAlignment(alignment);
    return filer.isOk();
}

bool MnCredit::write(BcFiler& filer) const
{
    MnText::write(filer);
    filer.writeInt(creditPage);
    filer.writeInt(creditType);
    filer.writeInt(creditJustification);
    return filer.isOk();
}

double MnCredit::width() const
{
    return 0.0;
}

bool MnCredit::moveTo(const GePoint2d& point)
{
    GePoint2d before = position();
    storePosition(point);
    if (creditSheet) {
        // The box on the page, as the text composer lays the credit out: x
        // from the page's left edge, y from its top, downward negative.
        double left = creditSheet->leftMargin(creditPage);
        double right = creditSheet->rightMargin(creditPage);
        double top = creditSheet->topMargin();
        double printableRight = creditSheet->pageWidth() - right;
        double printableBottom = -(creditSheet->pageHeight() - creditSheet->bottomMargin());
        GeBox2d box = extents();
        double boxLeft = std::fmin(box.a.x, box.b.x);
        double boxRight = std::fmax(box.a.x, box.b.x);
        double boxTop = std::fmax(box.a.y, box.b.y);
        double boxBottom = std::fmin(box.a.y, box.b.y);
        GePoint2d clamped = position();
        if (boxLeft < left)
            clamped.x += left - boxLeft;
        else if (boxRight > printableRight)
            clamped.x -= boxRight - printableRight;
        if (boxTop > -top)
            clamped.y -= boxTop + top;
        else if (boxBottom < printableBottom)
            clamped.y += printableBottom - boxBottom;
        storePosition(clamped);
    }
    GePoint2d after = position();
    double dx = after.x - before.x;
    double dy = after.y - before.y;
    return std::sqrt(dx * dx + dy * dy) > 1e-10;
}

GePoint2d MnCredit::toPageCoordinates(const GePoint2d& point, const EdPath*) const
{
    if (!creditSheet)
        return point;
    // Dragging and snapping work on the first page, whatever page the
    // credit stands on.
    GePoint2d sheet = creditSheet->position();
    return GePoint2d(sheet.x + creditSheet->leftMargin(0) + point.x,
                     sheet.y - creditSheet->topMargin() + point.y);
}

bool MnCredit::setText(const BcString& text)
{
    if (text.isEmpty())
        return false;
    return MnText::setText(text);
}

bool MnCredit::setPage(int page)
{
    if (page < 0)
        return false;
    creditPage = page;
    return true;
}

void MnCredit::setType(int type)
{
    creditType = type >= MnCreditNone && type < typeCount ? type : MnCreditNone;
}

void MnCredit::setCreditAlignment(int alignment)
{
    creditJustification = alignment >= -1 && alignment <= 2 ? alignment : -1;
}
