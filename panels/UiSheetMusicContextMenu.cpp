#include "panels/UiSheetMusicContextMenu.h"

#include "editing/EdContext.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

void UiSheetMusicContextMenu::reset()
{
    notMain = works = withRepeats = sheetMusics = firstPageHidden = lastPageHidden = 0;
}

void UiSheetMusicContextMenu::testRepeats(MnScore* score)
{
    if (!score || score->staffCount() < 1)
        return;
    const MnStaff* staff = score->staff(0);
    for (int m = 0; m < staff->measureCount(); ++m) {
        const MnMeasure* measure = staff->measure(m);
        const int barline = measure->barline();
        if (barline == MnBarlineEndRepeat || barline == MnBarlineEndStartRepeat
            || measure->repeatJump() > MnRepeatJumpToCoda) {
            ++withRepeats;
            return;
        }
    }
}

void UiSheetMusicContextMenu::visit(MnElement* element)
{
    if (!element)
        return;
    if (element->isKindOf(MnSheetMusic::staticClass())) {
        MnSheetMusic* sheet = static_cast<MnSheetMusic*>(element);
        ++sheetMusics;
        // Spread out, every page shows: there is nothing to turn and the
        // repeats stay as the pages print them.
        if (sheet->presentation() == 1) {
            GePoint2d origin;
            if (!sheet->pageOrigin(0, origin, true))
                ++firstPageHidden;
            if (sheet->pageCount() > 0 && !sheet->pageOrigin(sheet->pageCount() - 1, origin, true))
                ++lastPageHidden;
            testRepeats(sheet->score());
        }
    } else if (element->isKindOf(MnScore::staticClass())) {
        testRepeats(static_cast<MnScore*>(element));
    }
    const QuorvaneDocument* document = EdContext::current().activeDocument();
    const int index = document ? document->works().indexOf(element) : -1;
    if (index >= 0) {
        ++works;
        if (index != document->mainScoreIndex())
            ++notMain;
    }
}

void UiSheetMusicContextMenu::build(UiContextMenuList& list)
{
    if (notMain > 0)
        offer(list, 10032, -1, 32881);  // Set as main score
    if (sheetMusics < works)
        offer(list, 10056, 0, 32819);  // Wrap in Sheet music
    if (firstPageHidden > 0)
        offer(list, 10033, -1, 32874);  // Previous page
    if (lastPageHidden > 0)
        offer(list, 10034, -1, 32873);  // Next page
    if (sheetMusics > 0)
        offer(list, 10035, -1, 32840);  // Add Credit
    if (withRepeats > 0)
        offer(list, 10099, -1, 33086);  // Unfold repeats
}
