#include "app/UiQuorvaneViewCore.h"

#include "editing/EdCommand.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "render/RePicker.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>

namespace {

// Lays out the whole document and keeps the box of one measure, and the
// width of the widest other measure, in drawing coordinates.
class EdGoToExtents : public RePicker
{
public:
    explicit EdGoToExtents(MnMeasure* target) : target(target) {}

    bool begin(QuorvaneDocument*, double, double, double, double) override { return true; }
    void end(double, double) override {}
    bool isVisibleX(double, double, double) override { return true; }
    bool isVisible(double, double, double, double, double) override { return true; }
    void markFrame(const GeBox2d& outer, const GeBox2d&, MnElement* element) override
    {
        mark(outer.a, outer.b, element);
    }
    void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override
    {
        mark(corner, GePoint2d(corner.x + width, corner.y + height), element);
    }
    void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element) override
    {
        mark(from, to, element);
    }

    MnMeasure* target;
    GePoint2d low;  // the target's box
    GePoint2d high;
    bool hasBox = false;
    double widest = 0.0;

private:
    void mark(const GePoint2d& from, const GePoint2d& to, MnElement* element)
    {
        if (!element || !element->isKindOf(MnMeasure::staticClass()))
            return;
        const GePoint2d a = topTransform().transform(from);
        const GePoint2d b = topTransform().transform(to);
        if (element != target) {
            widest = std::max(widest, std::fabs(b.x - a.x));
            return;
        }
        if (!hasBox) {
            low = high = a;
            hasBox = true;
        }
        for (const GePoint2d& p : {a, b}) {
            low = GePoint2d(std::min(low.x, p.x), std::min(low.y, p.y));
            high = GePoint2d(std::max(high.x, p.x), std::max(high.y, p.y));
        }
    }
};

int indexIn(MnStaff* staff, MnMeasure* measure)
{
    for (int i = 0; i < staff->measureCount(); ++i) {
        if (staff->measure(i) == measure)
            return i;
    }
    return -1;
}

}  // namespace

void UiViewCore::turnPage(MnSheetMusic* sheet, bool forward, bool markActivity)
{
    const unsigned long long start = window.tickCount();
    unsigned long long previous = start;
    double progress = 0.0;
    for (;;) {
        const unsigned long long now = window.tickCount();
        progress += double(now - previous) / 1000.0 * 2.0;
        previous = now;
        if (progress >= 1 || sheet->presentation() != MnSheetMusic::Book)
            break;
        const double angle = forward ? 180.0 * progress : 180.0 - 180.0 * progress;
        if (angle >= 0 && angle <= 180)
            sheet->setTurnAngle(angle);
        redraw(markActivity);
        if (window.playerSounding())
            window.refreshPanels();
    }
    sheet->setTurnAngle(0.0);
}

void UiViewCore::goTo(MnMeasure* measure, EdCommand* edit, bool markActivity)
{
    MnCache cache;
    MnElement* staffElement = measure ? measure->parent() : nullptr;
    MnStaff* staff = staffElement && staffElement->isKindOf(MnStaff::staticClass())
                         ? static_cast<MnStaff*>(staffElement)
                         : nullptr;
    MnElement* scoreElement = staff ? staff->parent() : nullptr;
    MnScore* score = scoreElement && scoreElement->isKindOf(MnScore::staticClass())
                         ? static_cast<MnScore*>(scoreElement)
                         : nullptr;
    if (score && shown && !score->parent()) {
        shown->bringToFront(score);
        EdGoToExtents extents(measure);
        {
            ReSystem system(&extents);
            system.compose(shown);
        }
        if (extents.hasBox) {
            GePoint2d low = extents.low;
            GePoint2d high = extents.high;
            const double centre = (low.x + high.x) / 2;
            low.x = std::min(low.x, centre - extents.widest / 2);
            high.x = std::max(high.x, centre + extents.widest / 2);
            const double top = score->position().y;
            view.flyTo(GePoint2d(low.x, top), GePoint2d(high.x, top - score->height() * score->scale()), 3.0,
                       markActivity);
        }
    } else if (score && shown && score->sheetMusic() && score->parent() == score->sheetMusic()) {
        MnSheetMusic* sheet = score->sheetMusic();
        shown->bringToFront(sheet);
        const int index = indexIn(staff, measure);
        if (sheet->presentation() == MnSheetMusic::Book && index >= 0) {
            int page = sheet->locateMeasure(index, nullptr, nullptr, nullptr);
            int first = sheet->spreadFirstPage();
            if (page != first && page != first + 1) {
                const GePoint2d corner = sheet->position();
                view.flyTo(corner, GePoint2d(corner.x + sheet->width(), corner.y - sheet->height()), 1.1,
                           markActivity);
                for (;;) {
                    page = sheet->locateMeasure(index, nullptr, nullptr, nullptr);
                    first = sheet->spreadFirstPage();
                    bool turned = false;
                    if (page < first) {
                        const int current = sheet->currentPage();
                        if (current > 0) {
                            MnCache turn;
                            sheet->setCurrentPage(current - 1);
                            sheet->setCurrentPage(std::max(0, sheet->spreadFirstPage()));
                            turned = sheet->currentPage() != current;
                        }
                        turnPage(sheet, false, markActivity);
                    } else if (page > first + 1) {
                        turnPage(sheet, true, markActivity);
                        turned = sheet->nextSpread();
                    } else {
                        break;
                    }
                    // A turn that changes nothing would repeat for ever.
                    if (!turned)
                        break;
                    if (edit) {
                        edit->markModified();
                    }
                }
            }
        }
        GePoint2d corner1;
        GePoint2d corner2;
        if (findElementBox(corner1, corner2, GePoint2d(), measure))
            view.flyTo(corner1, corner2, 1.1, markActivity);
    }
    redraw(markActivity);
}
