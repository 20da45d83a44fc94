#include "editing/QuorvaneDocument.h"
#include "foundation/GeBox2d.h"
#include "model/EdPath.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCredit.h"
#include "model/MnMeasure.h"
#include "model/MnPageNumber.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"
#include "render/ReTablature.h"

#include <algorithm>
#include <memory>

// The composition above one system: a document's works, the pages of a
// sheet music and blank manuscript paper.

static bool isScoreOrSheet(const MnElement* work)
{
    return work && (work->isKindOf(MnScore::staticClass()) || work->isKindOf(MnSheetMusic::staticClass()));
}

// The index of a work among the document's scores and sheets in works
// order, the index every note path and pick path counts.
static int workIndexOf(const MnElement* work, const BcArray<MnElement*>& works)
{
    int index = 0;
    for (int i = 0; i < works.count(); ++i) {
        if (works[i] == work)
            return index;
        if (isScoreOrSheet(works[i]))
            ++index;
    }
    return -1;
}

void ReSystem::compose(QuorvaneDocument* document)
{
    MnCache cache;
    renderer->pickPath = EdPath::unset();
    if (!document)
        return;
    const BcArray<MnElement*>& order = document->displayOrder();
    const BcArray<MnElement*>& works = document->works();
    for (int i = 0; i < order.count(); ++i) {
        MnElement* work = order[i];
        if (!isScoreOrSheet(work))
            continue;
        const int workIndex = workIndexOf(work, works);
        if (work->isKindOf(MnSheetMusic::staticClass())) {
            composeSheetMusic(static_cast<MnSheetMusic*>(work), workIndex);
            continue;
        }
        MnScore* score = static_cast<MnScore*>(work);
        if (score->staffCount() == 0)
            continue;
        const GePoint2d position = score->position();
        composeScore(score, 0, score->staff(0)->measureCount(), position, 2.0, workIndex);
        if (score->showsStartingTempo() && score->tempoCount() > 0) {
            renderer->pushScale(position.x, position.y, score->scale());
            setColorBySelection(score->tempo(0));
            composeText(score->tempo(0), position, nullptr);
            renderer->popTransform();
        }
    }
}

void ReSystem::composeSheetMusic(MnSheetMusic* sheet, int workIndex)
{
    if (!sheet)
        return;
    // A sheet without a score or staves still shows its paper and credits.
    MnScore* score = sheet->score();
    const int measures = score && score->staffCount() > 0 ? score->staff(0)->measureCount() : 0;
    const int pageCount = sheet->pageCount();
    BcArray<int> pages;
    BcArray<int> firstMeasures;
    int measure = 0;
    for (int page = 0; page < pageCount; ++page) {
        pages.add(page);
        firstMeasures.add(measure);
        const int systems = sheet->systemsOnPage(page);
        for (int s = 0; s < systems && measure < measures; ++s) {
            double stretch = 1.0;
            measure += sheet->fitSystem(measure, stretch);
        }
    }
    // Turning pages are drawn last, on top, the higher page first.
    if (sheet->turnAngle() > 0) {
        for (int i = pages.count() - 1; i >= 0; --i) {
            if (sheet->pageTurnAngle(pages[i]) == 0)
                continue;
            const int page = pages[i];
            const int first = firstMeasures[i];
            pages.removeAt(i);
            firstMeasures.removeAt(i);
            pages.add(page);
            firstMeasures.add(first);
        }
    }

    const double pageWidth = sheet->pageWidth();
    const double pageHeight = sheet->pageHeight();
    const int paper = sheet->paperColor();
    for (int p = 0; p < pages.count(); ++p) {
        const int page = pages[p];
        const double angle = sheet->pageTurnAngle(page);
        GePoint2d origin;
        if (!sheet->pageOrigin(page, origin, false))
            continue;
        if (!renderer->isVisible(origin.x, origin.y, pageWidth, pageHeight, 9 * staffLineThickness))
            continue;
        double x = origin.x;
        const double y = origin.y;
        if (angle != 0) {
            const double pivot = angle > 0 ? origin.x : origin.x + pageWidth;
            renderer->pushYRotation(pivot, -angle);
            x = angle > 0 ? 0.0 : -pageWidth;
        }
        drawPaper(x, y, pageWidth, pageHeight, paper & 0xFFFFFF, (paper >> 24) & 0xFF, isSelected(sheet) ? 3 : 2,
                  angle >= 0);
        renderer->markFrame(GeBox2d(GePoint2d(x - 3, y + 3), GePoint2d(x + pageWidth + 3, y - pageHeight - 3)),
                            GeBox2d(GePoint2d(x + 3, y - 3), GePoint2d(x + pageWidth - 3, y - pageHeight + 3)), sheet);

        int first = firstMeasures[p];
        const int systems = sheet->systemsOnPage(page);
        const GePoint2d content = sheet->pageContentOrigin(page);
        for (int s = 0; s < systems && first < measures; ++s) {
            double stretch = 1.0;
            const int count = sheet->fitSystem(first, stretch);
            const double xOffset = page == 0 && s == 0 ? content.x : -score->partsExtents(true).x * score->scale();
            const GePoint2d systemOrigin(sheet->leftMargin(page) + xOffset + x,
                                         content.y - sheet->topMargin() - sheet->systemDistance(page) * s + y);
            composeScore(score, first, count, systemOrigin, stretch, workIndex);
            if (first == 0 && score->showsStartingTempo() && score->tempoCount() > 0) {
                const GePoint2d at(systemOrigin.x, content.y - sheet->topMargin() + y);
                renderer->pushScale(at.x, at.y, score->scale());
                setColorBySelection(score->tempo(0));
                composeText(score->tempo(0), at, nullptr);
                renderer->popTransform();
            }
            first += count;
        }

        for (int c = 0; c < sheet->creditCount(); ++c) {
            MnCredit* credit = sheet->credit(c);
            if (credit && credit->page() == page)
                composeText(credit, GePoint2d(x, y), nullptr);
        }
        if (MnText* number = sheet->pageNumberText(page)) {
            setColorBySelection(sheet->pageNumberTemplate());
            composeText(number, GePoint2d(x, y), sheet->pageNumberTemplate());
        }
        if (angle != 0)
            renderer->popTransform();
    }
}

void ReSystem::composeSheetPage(MnSheetMusic* sheet, int clefMode, int measuresPerSystem)
{
    MnScore* score = sheet ? sheet->score() : nullptr;
    if (!score || score->staffCount() == 0)
        return;
    GePoint2d origin;
    if (!sheet->pageOrigin(0, origin, false))
        return;
    const double pageWidth = sheet->pageWidth();
    const double pageHeight = sheet->pageHeight();
    if (!renderer->isVisible(origin.x, origin.y, pageWidth, pageHeight, 9 * staffLineThickness))
        return;
    const int paper = sheet->paperColor();
    drawPaper(origin.x, origin.y, pageWidth, pageHeight, paper & 0xFFFFFF, (paper >> 24) & 0xFF,
              isSelected(sheet) ? 3 : 2, true);
    const double x = origin.x;
    const double y = origin.y;
    renderer->markFrame(GeBox2d(GePoint2d(x - 3, y + 3), GePoint2d(x + pageWidth + 3, y - pageHeight - 3)),
                        GeBox2d(GePoint2d(x + 3, y - 3), GePoint2d(x + pageWidth - 3, y - pageHeight + 3)), sheet);

    const int measures = score->staff(0)->measureCount();
    const GePoint2d content = sheet->pageContentOrigin(0);
    int first = 0;
    const int systems = sheet->systemsOnPage(0);
    for (int i = 0; i < systems && first < measures; ++i) {
        double stretch = 1.0;
        const int count = sheet->fitSystem(first, stretch);
        const double xOffset = i == 0 ? content.x : -score->partsExtents(true).x * score->scale();
        const GePoint2d systemOrigin(sheet->leftMargin(0) + xOffset + x,
                                     content.y - sheet->topMargin() - sheet->systemDistance(0) * i + y);
        composeBlankSystem(clefMode, measuresPerSystem, score, first, count, systemOrigin, stretch);
        first += count;
    }
}

// With clef mode 3 a clef marks only the staves of a grand staff: a brace
// over two staves, treble above bass.
static bool isGrandStaffPart(const MnScore* score, int staffIndex, int time)
{
    const MnPartGroup* group = score->innermostPartGroup(staffIndex);
    if (!group || group->staffCount() != 2 || group->bracketType() != 0)
        return false;
    const int upper = group->firstStaff();
    if (upper < 0 || upper + 1 >= score->staffCount())
        return false;
    return score->staff(upper)->definitionAt(time, false)->clef() == 0 &&
           score->staff(upper + 1)->definitionAt(time, false)->clef() == 1;
}

// Room at a system's end for the barline, by barline code.
static double endOfSystemOffset(int code)
{
    static const double table[] = {0.1, 0.7, 0.4, 0.4, -0.2, 0.4};
    return code >= 0 && code < 6 ? table[code] : 0.0;
}

void ReSystem::composeBlankSystem(int clefMode, int measuresPerSystem, MnScore* score, int firstMeasure,
                                  int measureCount, GePoint2d origin, double stretch)
{
    if (!score || score->staffCount() == 0)
        return;
    MnStaff* staff0 = score->staff(0);
    const int measures = staff0->measureCount();
    if (firstMeasure < 0 || firstMeasure >= measures || measureCount < 1)
        return;
    measureCount = std::min(measureCount, measures - firstMeasure);
    const int lastMeasure = firstMeasure + measureCount - 1;

    renderer->pushScale(origin.x, origin.y, score->scale());
    renderer->extrusionHeight = symbolDepth;
    const int start = staff0->measureStartTime(firstMeasure);
    const double clef = score->clefWidth();
    const double time = score->timeSignatureWidth(start, 0.0);
    const double key = score->keyColumnWidth(start, time > 0.0);
    const double restart =
        firstMeasure > 0 ? score->keySignatureWidth(start, true, 2.0) + score->timeSignatureWidth(start, 2.0) : 0.0;
    const double header = clef + key + time + score->scaledByLargestPart(staff0->measure(firstMeasure)->leadingBarlineSpace(true));
    double width = header - restart;
    for (int m = firstMeasure; m <= lastMeasure; ++m) {
        const MnMeasure* measure = staff0->measure(m);
        width += measure->headerWidth() + measure->contentWidth() * stretch;
    }
    width += score->scaledByLargestPart(staff0->measure(lastMeasure)->barlineSpace(true));
    if (!renderer->isVisible(origin.x, origin.y + 20, width, score->height() + 40, 10)) {
        renderer->popTransform();
        return;
    }

    const int staffCount = score->staffCount();
    std::unique_ptr<ReTablature[]> tablatures = std::make_unique<ReTablature[]>(staffCount);
    for (int k = 0; k < staffCount; ++k)
        tablatures[k].init(renderer, this, score->staff(k)->tablature());
    composePartNames(score, 1, 0, staffCount, origin, origin.x, firstMeasure > 0);

    const double topY = staff0->position().y;
    auto staffY = [&](int k) { return origin.y + score->staff(k)->position().y - topY; };
    const bool showClef = clefMode == 1 || (clefMode == 2 && firstMeasure == 0);
    for (int i = 0; i < staffCount; ++i) {
        MnStaff* staff = score->staff(i);
        const double y = staffY(i);
        const double s = staff->partScale();
        const bool clefHere = clefMode == 3 ? isGrandStaffPart(score, i, start) : showClef;
        openStaffScope(i, origin.x, y, s);
        setColorMode(2);
        drawStaffLines(origin.x, y, width);
        if (clefHere) {
            const BcArray<MnChord*>& chords = staff->measure(firstMeasure)->voiceChords(0);
            const int clefCode = chords.isEmpty() ? staff->definitionAt(start, false)->clef() : chords[0]->clef();
            drawClef(origin.x + clef * 0.5, y, clefCode, 1.0, true);
        }
        closeStaffScope();
        if (i == 0 && staffCount > 1) {
            setColorMode(2);
            drawBarline(origin.x, origin.y, score->height(), 0, false, false, score->scaledByLargestPart(1.0),
                        score->staff(0)->partScale(), score->staff(staffCount - 1)->partScale(), 5, 2.0);
        }
        if (MnTablature* tablature = staff->tablature()) {
            const double tabTop = y + tablature->position().y * s;
            openStaffScope(i, origin.x, tabTop, s);
            tablatures[i].drawHeader(GePoint2d(origin.x, tabTop), width, false);
            closeStaffScope();
        }
    }

    double measureX = origin.x + header;
    for (int m = firstMeasure; m <= lastMeasure && measuresPerSystem > 0; ++m) {
        BcArray<int> onsets;
        BcArray<double> xs;
        score->layoutMeasureColumn(m, onsets, xs, stretch);
        double measureWidth = xs.isEmpty() ? 0.0 : xs[xs.count() - 1];
        if (m == firstMeasure)
            measureWidth -= restart;
        const bool last = m == lastMeasure;
        const double segment = (header + measureWidth - (showClef ? clef : 0.0)) / measuresPerSystem;
        for (int j = 0; j < staffCount; ++j) {
            if (j > 0 && !renderer->isVisibleX(measureX, measureWidth, 10))
                continue;
            MnStaff* staff = score->staff(j);
            MnMeasure* measure = staff->measure(m);
            const double y = staffY(j);
            const double s = staff->partScale();
            const int code = measure->barline();
            const bool lastStaff = j == staffCount - 1;
            const bool down = measure->isToNextStaff() && !lastStaff;
            const bool fromAbove = j > 0 && score->staff(j - 1)->measure(m)->isToNextStaff();
            double shift = 0.0;
            if (last && !down && !fromAbove) {
                const double J = endOfSystemOffset(code);
                shift = score->scaledByLargestPart(J) - J * s;
            }
            const double a = measure->barlineStaffScale();
            const double toNext = lastStaff ? 0.0 : y - staffY(j + 1);
            MnTablature* tablature = staff->tablature();
            for (int l = 1; l <= measuresPerSystem; ++l) {
                const double x = measureX + measureWidth - (l - 1) * segment + shift;
                if (!tablature) {
                    drawBarline(x, y, down ? toNext : staff->height(), code, false, last, a, s, s, 5, 2.0);
                    continue;
                }
                const double tabTop = y + tablature->position().y * s;
                drawBarline(x, y, measure->isToTablature() ? -tablature->position().y * s : staff->height(), code,
                            false, last, a, s, s, 5, 2.0);
                drawBarline(x, tabTop, down ? tabTop - staffY(j + 1) : tablature->height() * s, code, false, last, a,
                            s, s, tablature->stringCount(), 3.0);
            }
        }
        measureX += measureWidth;
    }
    renderer->popTransform();
}
