#include "model/MnCache.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "render/ReRenderer.h"
#include "render/ReScorePass.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>

// One system of a score: its geometry, the culling test, the sub-composers
// and the order of the passes. The header and courtesy signatures, the
// measure pass and the chords of a measure are in their own files.

ReScorePass::ReScorePass(ReSystem*, MnScore* score, int firstMeasure, int measureCount, GePoint2d origin,
                         double stretch, int pathIndex)
    : score(score), first(firstMeasure), count(measureCount), last(firstMeasure + measureCount - 1), origin(origin),
      stretch(stretch), pathIndex(pathIndex), hideStaves(score->hidesStaves()), staffCount(score->staffCount()),
      staff0(score->staff(0))
{
    const double topY = staff0->position().y;
    for (int k = 0; k < staffCount; ++k) {
        staffOffset.push_back(score->staff(k)->position().y - topY);
        partScale.push_back(score->staff(k)->partScale());
    }

    MnMeasure* firstColumn = staff0->measure(first);
    MnMeasure* lastColumn = staff0->measure(last);
    t0 = staff0->measureStartTime(first);
    tn = staff0->measureStartTime(last + 1);
    endsScore = last + 1 >= staff0->measureCount();

    clefColumn = score->clefWidth();
    timeColumn = score->timeSignatureWidth(t0, 0.0);
    keyColumn = score->keyColumnWidth(t0, timeColumn > 0.0);
    if (first > 0)
        firstChanges = score->keySignatureWidth(t0, true, 2.0) + score->timeSignatureWidth(t0, 2.0);
    headerWidth = keyColumn + clefColumn + timeColumn + scaled(firstColumn->leadingBarlineSpace(true));
    double measures = 0.0;
    for (int m = first; m <= last; ++m) {
        const MnMeasure* measure = staff0->measure(m);
        measures += measure->contentWidth() * stretch + measure->headerWidth();
    }
    contentWidth = measures + scaled(lastColumn->barlineSpace(true)) - firstChanges;
    systemEnd = headerWidth + contentWidth;
    if (!endsScore) {
        const double key = score->keySignatureWidth(tn, true, 4.0);
        courtesyWidth = key + score->timeSignatureWidth(tn, key > 0.0 ? 2.0 : 4.0);
    }
}

double ReScorePass::scaled(double v) const
{
    return score->scaledByLargestPart(v);
}

bool ReScorePass::isCulled(ReSystem* system) const
{
    return !system->renderer->isVisible(origin.x, origin.y + 20.0, systemEnd + courtesyWidth, score->height() + 40.0,
                                        10.0);
}

void ReScorePass::buildSubComposers(ReSystem* system)
{
    beam = std::make_unique<ReBeam>(system);
    graceBeam = std::make_unique<ReBeam>(system);
    tuplet = std::make_unique<ReTuplet>(system);
    slurs = std::make_unique<ReSlur[]>(4 * staffCount);
    for (int i = 0; i < 4 * staffCount; ++i) {
        slurs[i].renderer = system->renderer;
        slurs[i].grace = (i % 2) == 1;
    }
    const MnMeasure* lastColumn = staff0->measure(last);
    const int duration = staff0->measureStartTime(last) - t0 + lastColumn->length();
    line = std::make_unique<ReLine>(system, t0, duration, staffCount, pathIndex, first, count);
    lastX.assign(2 * staffCount, origin.x + headerWidth);
    lastStem.assign(2 * staffCount, 1);
    if (headerSelected.empty())
        headerSelected.assign(staffCount, 0);
}

void ReSystem::openStaffScope(int staffIndex, double originX, double y, double s)
{
    renderer->pushDepth(staffIndex * -10.0);
    renderer->pushScale(originX, y, s);
    horizontalScale = 1.0 / s;
    horizontalPivot = originX;
}

void ReSystem::closeStaffScope()
{
    renderer->popTransform();
    renderer->popDepth();
    horizontalScale = 1.0;
    horizontalPivot = 0.0;
}

double ReSystem::openGraceScope(double x, double y)
{
    const double saved = horizontalPivot;
    renderer->pushScale(x, y, 0.6);
    // Compensated positions stay in place inside the smaller scale.
    if (horizontalScale != 1.0)
        horizontalPivot = x + (horizontalPivot - x) / 0.6;
    return saved;
}

void ReSystem::closeGraceScope(double savedPivot)
{
    renderer->popTransform();
    horizontalPivot = savedPivot;
}

void ReSystem::composeScore(MnScore* score, int firstMeasure, int measureCount, GePoint2d origin, double stretch,
                            int pathIndex)
{
    if (!score || score->staffCount() == 0)
        return;
    const int measures = score->staff(0)->measureCount();
    if (firstMeasure < 0 || firstMeasure >= measures || measureCount < 1)
        return;
    measureCount = std::min(measureCount, measures - firstMeasure);

    renderer->pushScale(origin.x, origin.y, score->scale());
    renderer->extrusionHeight = symbolDepth;
    ReScorePass pass(this, score, firstMeasure, measureCount, origin, stretch, pathIndex);
    if (pass.isCulled(this)) {
        renderer->popTransform();
        return;
    }

    pass.tablatures = std::make_unique<ReTablature[]>(pass.staffCount);
    for (int k = 0; k < pass.staffCount; ++k)
        pass.tablatures[k].init(renderer, this, score->staff(k)->tablature());

    if (!pass.hideStaves && !depthMode && !score->sheetMusic())
        composeFloatingHeader(pass);
    if (!depthMode)
        composePartNames(score, pathIndex, 0, pass.staffCount, origin, origin.x, firstMeasure >= 1);
    pass.headerSelected.assign(pass.staffCount, 0);
    if (!pass.hideStaves)
        composeStaffHeaders(pass);

    pass.buildSubComposers(this);
    double cx = origin.x + pass.headerWidth;
    for (int m = pass.first; m <= pass.last; ++m)
        composeMeasureColumn(pass, m, cx);

    if (!pass.hideStaves && !pass.endsScore)
        composeCourtesySignatures(pass);

    for (int k = 0; k < pass.staffCount; ++k) {
        const double y = pass.staffY(k);
        openStaffScope(k, origin.x, y, pass.partScale[k]);
        pass.line->composeStaff(score->staff(k), y);
        closeStaffScope();
    }
    renderer->setClip(false, 0.0);
    renderer->popTransform();
}
