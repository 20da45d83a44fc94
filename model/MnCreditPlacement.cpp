#include "model/MnCredit.h"

#include "model/EdHorizontalGuideLine.h"
#include "model/EdVerticalGuideLine.h"
#include "model/MnCache.h"
#include "model/MnSheetMusic.h"

// Snapping distance of a credit's guide lines, in millimetres of paper.
static constexpr double creditGuideTolerance = 2.0;

bool MnCredit::addGuideLines(BcArray<EdGuideLine*>& guideLines, const EdPath*)
{
    MnCache scope;
    GePoint2d pageOrigin;
    if (!creditSheet || !creditSheet->pageOrigin(0, pageOrigin, false))
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
