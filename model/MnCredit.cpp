#include "model/MnCredit.h"

#include "foundation/BcFiler.h"
#include "model/MnLimits.h"
#include "model/MnSheetMusic.h"

#include <cmath>

BC_IMPLEMENT_CLASS(MnCredit)

MnCredit::MnCredit(MnSheetMusic* sheetMusic, int page)
    : creditSheet(sheetMusic), creditPage(page < 0 ? 0 : page >= MnMaxPages ? MnMaxPages - 1 : page)
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
    // The page picks the page's margins and place, and is counted from 1
    // where it is shown.
    if (!mnIsPage(page))
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
        // The text composer lays a credit out on its page (margins and
        // justification included), so its box is in page coordinates: x
        // from the page's left edge, y from its top edge, downward negative.
        // A text that nothing measures (the zero box at the origin) is kept
        // on the page by its anchor.
        GeBox2d box = extents();
        if (box.a.x == box.b.x && box.a.y == box.b.y) {
            GePoint2d anchor(creditSheet->leftMargin(creditPage) + position().x,
                             -creditSheet->topMargin() + position().y);
            box = GeBox2d(anchor, anchor);
        }
        double leftEdge = creditSheet->leftMargin(creditPage);
        double rightEdge = creditSheet->pageWidth() - creditSheet->rightMargin(creditPage);
        double topEdge = -creditSheet->topMargin();
        double bottomEdge = -(creditSheet->pageHeight() - creditSheet->bottomMargin());
        double boxLeft = std::fmin(box.a.x, box.b.x);
        double boxRight = std::fmax(box.a.x, box.b.x);
        double boxTop = std::fmax(box.a.y, box.b.y);
        double boxBottom = std::fmin(box.a.y, box.b.y);
        const GeVector2d shift = shiftIntoArea(GeBox2d(GePoint2d(boxLeft, boxBottom), GePoint2d(boxRight, boxTop)),
                                               GeBox2d(GePoint2d(leftEdge, bottomEdge), GePoint2d(rightEdge, topEdge)));
        GePoint2d at = position();
        storePosition(GePoint2d(at.x + shift.x, at.y + shift.y));
    }
    return isMove(before, position());
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
    if (!mnIsPage(page))
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
