#include "app/UiQuorvaneViewCore.h"

#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "render/RePicker.h"

#include <algorithm>

namespace {

int measureIndex(MnStaff* staff, MnMeasure* measure)
{
    for (int i = 0; i < staff->measureCount(); ++i) {
        if (staff->measure(i) == measure)
            return i;
    }
    return -1;
}

}  // namespace

// Lays out what lies about the pick point and keeps the chord whose
// horizontal span holds it, within a band about the staff that drew it.
// Its view is a narrow column through the point, tall enough for any band,
// so that a pick does not lay out the whole document.
class UiChordPicker : public RePicker
{
public:
    bool isVisibleX(double x, double width, double margin) override
    {
        return ReRenderer::isVisibleX(x, width, margin);
    }
    bool isVisible(double x, double y, double width, double height, double margin) override
    {
        return ReRenderer::isVisible(x, y, width, height, margin);
    }
    void markFrame(const GeBox2d&, const GeBox2d&, MnElement*) override {}
    void markRect(const GePoint2d& corner, double width, double height, MnElement* element) override
    {
        markSpan(corner, GePoint2d(corner.x + width, corner.y + height), element);
    }
    void markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element) override;

    MnChord* chord = nullptr;
    GePoint2d where;
    int band = 0;
    bool betweenChords = true;

private:
    void offer(MnChord* candidate, double left, double right, double top, double scale);
    double best = 0.0;
};

void UiChordPicker::offer(MnChord* candidate, double left, double right, double top, double scale)
{
    const GePoint2d& p = localPickPoint;
    if (!candidate || p.x < left || p.x > right)
        return;
    if (chord && !(right - left < best))
        return;
    chord = candidate;
    best = right - left;
    where = GePoint2d(p.x, (p.y - top) / (scale > 0 ? scale : 1.0));
}

void UiChordPicker::markSpan(const GePoint2d& from, const GePoint2d& to, MnElement* element)
{
    if (!element || !element->isKindOf(MnMeasure::staticClass()))
        return;
    MnMeasure* measure = static_cast<MnMeasure*>(element);
    MnStaff* staff = measure->staff();
    MnScore* score = staff ? staff->score() : nullptr;
    if (!score)
        return;
    const int index = measureIndex(staff, measure);
    const int j = staff->index();
    if (index < 0 || j < 0 || j >= score->staffCount())
        return;
    const GePoint2d p1(std::min(from.x, to.x), std::max(from.y, to.y));
    const GePoint2d p2(std::max(from.x, to.x), std::min(from.y, to.y));

    MnSheetMusic* sheet = score->sheetMusic();
    double between = 20.0;
    if (sheet) {
        const int page = sheet->locateMeasure(index, nullptr, nullptr, nullptr);
        const double scale = score->scale() > 0 ? score->scale() : 1.0;
        between = sheet->systemDistance(page) / scale - score->height();
    }
    double top = p1.y;
    double bottom = p2.y;
    if (band == 0) {
        top += 10;
        bottom -= 10;
    } else if (band < 0) {
        if (j + 1 < score->staffCount())
            bottom += score->staff(j + 1)->position().y - (staff->position().y - staff->height());
        else
            bottom -= between;
    } else {
        if (j > 0) {
            MnStaff* previous = score->staff(j - 1);
            top += previous->position().y - previous->height() - staff->position().y;
        } else {
            top += between;
        }
    }
    const GePoint2d& p = localPickPoint;
    if (p.x < p1.x || p.x > p2.x || p.y > top || p.y < bottom)
        return;

    // A measure without natural width has no spans to share out.
    const double natural = measure->contentWidth();
    if (!(natural > 0))
        return;
    const double stretch = (p2.x - p1.x - measure->headerWidth()) / natural;
    BcArray<int> onsets;
    BcArray<double> xs;
    score->layoutMeasureColumn(index, onsets, xs, stretch);
    if (xs.isEmpty())
        return;
    const double end = xs[xs.count() - 1];
    if (!chord)
        best = end - xs[0];
    auto offsetOf = [&](int time) {
        for (int i = 0; i < onsets.count() && i < xs.count(); ++i) {
            if (onsets[i] == time)
                return xs[i];
        }
        return end;
    };
    MnMeasure* next = index + 1 < staff->measureCount() ? staff->measure(index + 1) : nullptr;
    const double scale = staff->partScale();
    for (int v = 0; v < MnMeasure::voiceCount; ++v) {
        const int n = measure->chordCount(v, true);
        double previous = 0.0;
        for (int i = 0; i < n; ++i) {
            MnChord* c = measure->chordAt(i, v, true);
            const double x = c ? offsetOf(c->time()) : end;
            if (betweenChords) {
                MnChord* following = i + 1 < n ? measure->chordAt(i + 1, v, true) : nullptr;
                const double after = following ? offsetOf(following->time()) : end;
                const double left = i == 0 ? 0.0 : (previous + x) / 2;
                const double right = i + 1 < n ? (x + after) / 2 : end;
                offer(c, p1.x + left, p1.x + right, p1.y, scale);
            } else {
                offer(c, p1.x + (i == 0 ? 0.0 : previous), p1.x + x, p1.y, scale);
            }
            previous = x;
        }
        if (!betweenChords && n > 0 && next && next->chordCount(v, true) > 0)
            offer(next->chordAt(0, v, true), p1.x + previous, p1.x + end, p1.y, scale);
    }
}

MnChord* UiViewCore::chordAtPoint(const GePoint2d& point, GePoint2d* where, int band, bool betweenChords)
{
    if (!shown)
        return nullptr;
    int width = 0;
    int height = 0;
    window.clientSize(width, height);
    UiChordPicker picker;
    picker.setPickPoint(point);
    picker.band = band;
    picker.betweenChords = betweenChords;
    // A band reaches at most to the next system of a page, or across a
    // score on the desk: the column spans that much above and below.
    double reach = 20.0;
    const BcArray<MnElement*>& works = shown->works();
    for (int i = 0; i < works.count(); ++i) {
        MnElement* work = works[i];
        if (!work)
            continue;
        if (work->isKindOf(MnSheetMusic::staticClass()))
            reach = std::max(reach, static_cast<MnSheetMusic*>(work)->pageHeight());
        else if (work->isKindOf(MnScore::staticClass()))
            reach = std::max(reach, work->height() * std::max(1.0, static_cast<MnScore*>(work)->scale()));
        else
            reach = std::max(reach, work->height());
    }
    // Two of the view's pixels wide, at the view's detail.
    const double unitsPerPixel = view.zoom / (width > 0 ? width : 1);
    if (!(unitsPerPixel > 0))
        return nullptr;
    {
        MnCache cache;
        picker.render(shown, point.x, point.y, 2 * unitsPerPixel, 2.0, 2 * reach / unitsPerPixel, -1, -1);
    }
    if (where)
        *where = picker.where;
    return picker.chord;
}

MnChord* UiViewCore::chordAtPoint(const GePoint2d& point, double& height)
{
    GePoint2d where;
    MnChord* chord = chordAtPoint(point, &where, 0, true);
    height = where.y;
    return chord;
}
