#include "model/MnCredit.h"

#include "model/EdHorizontalGuideLine.h"
#include "model/EdVerticalGuideLine.h"
#include "model/MnSheetMusic.h"

// Snapping distance of a credit's guide lines, in millimetres of paper.
static constexpr double creditGuideTolerance = 2.0;

// The top-left corner of the sheet's first page in the document, or false
// when the page is not shown. Pages spread out in rows always show page 0
// at the sheet's position. A book shows it as the left page of the current
// spread, or as its right page while the turning page lies open (at most
// 90 degrees). The pagination steps a current page past the last page back
// into range first; until it is in, the current page is taken as stored.
static bool firstPageOrigin(const MnSheetMusic* sheet, GePoint2d& origin)
{
    GePoint2d at = sheet->position();
    if (sheet->presentation() == MnSheetMusic::Book) {
        const int current = sheet->currentPage();
        int slot = -current;
        if (sheet->isFirstPageRight() && current % 2 == 0)
            slot += 1;
        if (slot == 1 && sheet->turnAngle() <= 90.0)
            at.x += sheet->pageWidth();
        else if (slot != 0)
            return false;
    }
    origin = at;
    return true;
}

bool MnCredit::addGuideLines(BcArray<EdGuideLine*>& guideLines, const EdPath*)
{
    GePoint2d pageOrigin;
    if (!creditSheet || !firstPageOrigin(creditSheet, pageOrigin))
        return true;
    const double originX = pageOrigin.x + creditSheet->leftMargin(0);
    const double originY = pageOrigin.y - creditSheet->topMargin();
    for (int i = 0; i < creditSheet->creditCount(); ++i) {
        const MnCredit* other = creditSheet->credit(i);
        if (other == this)
            continue;
        const GePoint2d at = other->position();
        guideLines.add(new EdHorizontalGuideLine(originY + at.y, creditGuideTolerance));
        // Only free credits stand at their own x.
        if (creditJustification == -1 && other->creditAlignment() == -1)
            guideLines.add(new EdVerticalGuideLine(originX + at.x, creditGuideTolerance));
    }
    return true;
}
