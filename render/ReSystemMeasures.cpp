#include "foundation/BcSettings.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "render/ReRenderer.h"
#include "render/ReScorePass.h"
#include "render/ReSystem.h"

#include <algorithm>

// The measure pass: each measure column of a system laid out once, then
// staff by staff its pick mark, barlines, re-coloured staff lines, staff
// changes, chords and tablature.

// Room that a barline takes at the end of a system (A) and before it inside
// one (B), by barline code.
static double endOfSystemOffset(int code)
{
    static const double table[] = {0.1, 0.7, 0.4, 0.4, -0.2, 0.4};
    return code >= 0 && code < 6 ? table[code] : 0.0;
}

static double roomBeforeBarline(int code)
{
    static const double table[] = {0.1, 0.7, 1.3, 2.6, 0.4, 2.6};
    return code >= 0 && code < 6 ? table[code] : 0.0;
}

static void setSettingColor(ReRenderer* renderer, BcSettings::Key key)
{
    const int color = BcSettings::current().value(key);
    renderer->setColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, 255);
}

// Whether a measure out of view must still be composed on the staff: a slur
// is under way there, or one through a chord of the measure reaches another.
static bool carriesSlur(ReScorePass& pass, int staffIndex, MnMeasure* measure, bool isFirst)
{
    for (int i = 0; i < 4; ++i) {
        if (pass.slurs[4 * staffIndex + i].xs.count() > 0)
            return true;
    }
    for (int v = 0; v < MnMeasure::voiceCount; ++v) {
        const BcArray<MnChord*>& chords = measure->voiceChords(v);
        for (int i = 0; i < chords.count(); ++i) {
            MnChord* chord = chords[i];
            const bool normalStart = isFirst && !chord->isGrace() && chord->time() == 0;
            const bool graceStart = isFirst && i == 0;
            if (ReSlur::crossesMeasure(false, chord, normalStart) || ReSlur::crossesMeasure(true, chord, graceStart))
                return true;
        }
    }
    return false;
}

void ReSystem::composeMeasureColumn(ReScorePass& pass, int X, double& cx)
{
    MnScore* score = pass.score;
    const int F = pass.first;
    const int L = pass.last;
    BcArray<int> onsets;
    BcArray<double> xs;
    score->layoutMeasureColumn(X, onsets, xs, pass.stretch);
    if (xs.isEmpty())
        return;
    const double changes = X == F ? pass.firstChanges : 0.0;
    const double Y = xs[xs.count() - 1] - changes;
    pass.line->addMeasure(pass.staff0->measureStartTime(X), cx - changes, onsets, xs);

    for (int j = 0; j < pass.staffCount; ++j) {
        MnStaff* staff = score->staff(j);
        MnMeasure* M = staff->measure(X);
        const double cy = pass.staffY(j);
        if (!renderer->isVisibleX(cx, Y, 10.0) && !carriesSlur(pass, j, M, X == F))
            continue;

        const double s = pass.partScale[j];
        const double a = M->barlineStaffScale();
        const int code = M->barline();
        const double V = X == F && F > 0 ? pass.scaled(M->leadingBarlineSpace(true)) : 0.0;
        const double fH = X == L ? pass.scaled(endOfSystemOffset(code)) : 0.0;
        const double Q = fH + V + Y;
        const bool last = j == pass.staffCount - 1;
        const bool through = M->isToNextStaff() && !last;
        const bool toTab = M->isToTablature();
        const bool atEnd = X == L;
        MnTablature* tablature = staff->tablature();
        const double tabTop = tablature ? cy + s * tablature->position().y : cy;
        const double tabHeight = tablature ? s * tablature->height() : 0.0;
        const double toNext = last ? 0.0 : cy - pass.staffY(j + 1);
        const double staffHeight = staff->height();
        const double B = roomBeforeBarline(code);

        // Pick mark: with hidden staves only the barline picks the measure.
        if (pass.hideStaves) {
            const double b1 = pass.scaled(B);
            const double b2 = X < L ? pass.scaled(staff->measure(X + 1)->leadingBarlineSpace(false))
                                    : pass.scaled(endOfSystemOffset(code));
            renderer->markRect(GePoint2d(cx + Y - b1, cy), b1 + b2, -(through ? toNext : staffHeight), M);
        } else {
            renderer->markRect(GePoint2d(cx + std::max(0.0, -V), cy), Q - std::max(0.0, V), -staffHeight, M);
        }

        // The barline that opens a later system: a start repeat before it
        // is drawn here.
        if (X == F && F > 0) {
            MnMeasure* before = staff->measure(X - 1);
            setColorMode(pass.headerSelected[j] || isSelected(before) ? 3 : 2);
            const int beforeCode = before->barline();
            if (pass.hideStaves || !tablature) {
                drawBarline(cx, cy, through ? toNext : staffHeight, beforeCode, true, false, a, s, s, 5, 2.0);
            } else {
                drawBarline(cx, cy, toTab ? -s * tablature->position().y : staffHeight, beforeCode, true, false, a, s,
                            s, 5, 2.0);
                drawBarline(cx, tabTop, through ? tabTop - pass.staffY(j + 1) : tabHeight, beforeCode, true, false, a,
                            s, s, tablature->stringCount(), 3.0);
            }
        }

        // The colour of the measure's end.
        const int measureStart = staff->measureStartTime(X);
        const int endTime = measureStart + M->length();
        MnStaffDefinition* E = endTime > 0 ? staff->definitionAt(endTime, true) : staff;
        const bool endClef = E && E->changesClef();
        MnStaffDefinition* startDefinition = staff->definitionAt(measureStart, false);
        const bool measureDefSelected =
            !endClef && startDefinition == staff->definitionAt(endTime - 1, false) && isSelected(startDefinition);
        auto setEndColour = [&]() {
            if (pass.headerSelected[j])
                setColorMode(3);
            else if (measureDefSelected || isSelected(M))
                setSettingColor(renderer, BcSettings::selectionColor);
            else
                setColorMode(2);
        };
        setEndColour();

        if (!depthMode) {
            const double x = cx + Y + (X == L ? pass.scaled(endOfSystemOffset(code)) - a * endOfSystemOffset(code) : 0.0);
            if (pass.hideStaves || !tablature) {
                drawBarline(x, cy, through ? toNext : staffHeight, code, false, atEnd, a, s, s, 5, 2.0);
            } else {
                drawBarline(x, cy, toTab ? -s * tablature->position().y : staffHeight, code, false, atEnd, a, s, s, 5,
                            2.0);
                drawBarline(x, tabTop, through ? tabTop - pass.staffY(j + 1) : tabHeight, code, false, atEnd, a, s, s,
                            tablature->stringCount(), 3.0);
            }
        } else {
            renderer->pushDepth(j * -10.0);
            const double x = cx + Y;
            const double depthStep = (j + 1) * -10.0 - j * -10.0;
            if (tablature) {
                drawBarline(x, cy, toTab ? -s * tablature->position().y : staffHeight, code, false, atEnd, a, s, s, 5,
                            2.0);
                drawBarline(x, tabTop, tabHeight, code, false, atEnd, a, s, s, tablature->stringCount(), 3.0);
                if (through) {
                    const double bottom = tabTop - tabHeight;
                    drawBarlineLink(x, bottom, bottom - pass.staffY(j + 1), depthStep, code, atEnd, a);
                }
            } else {
                drawBarline(x, cy, staffHeight, code, false, atEnd, a, s, s, 5, 2.0);
                if (through) {
                    const double bottom = cy - staffHeight;
                    drawBarlineLink(x, bottom, bottom - pass.staffY(j + 1), depthStep, code, atEnd, a);
                }
            }
            renderer->popDepth();
        }

        openStaffScope(j, pass.origin.x, cy, s);
        if (!pass.hideStaves) {
            bool linesDone = false;
            if (!pass.headerSelected[j] && (measureDefSelected || isSelected(M))) {
                setEndColour();
                drawStaffLines(cx + std::max(0.0, -V), cy, Q - std::max(0.0, V));
                linesDone = true;
            }
            if (X > F) {
                if (MnStaffDefinition* change = staff->definitionAt(measureStart, true)) {
                    if (change != staff)
                        drawKeyTimeChange(change, GePoint2d(cx, cy), M->leadingBarlineSpace(false));
                }
            }
            // Changes inside the measure, each re-colouring the lines up to
            // it when the definition before it is selected.
            MnStaffDefinition* previous = staff;
            double segmentStart = 0.0;
            for (int c = 0; c < staff->changeCount(); ++c) {
                MnStaffChange* change = staff->change(c);
                const int time = change->startTime();
                if (time <= measureStart) {
                    previous = change;
                    continue;
                }
                if (time >= endTime)
                    break;
                const int onset = time - measureStart;
                int k = -1;
                for (int i = 0; i < onsets.count() && i < xs.count(); ++i) {
                    if (onsets[i] == onset) {
                        k = i;
                        break;
                    }
                }
                if (k < 0) {
                    previous = change;
                    continue;
                }
                const double xk = xs[k] - changes;
                double extent = 0.0;
                for (int v = 0; v < MnMeasure::voiceCount; ++v) {
                    const BcArray<MnChord*>& chords = M->voiceChords(v);
                    for (int i = 0; i < chords.count(); ++i) {
                        if (chords[i]->time() == onset)
                            extent = std::max(extent, chords[i]->leftExtent(MnChord::ExtentChanges));
                    }
                }
                if (!linesDone && isSelected(previous)) {
                    setSettingColor(renderer, BcSettings::selectionColor);
                    drawStaffLines(cx + segmentStart, cy, xk - extent * s - segmentStart);
                }
                drawStaffChange(change, cx + xk, cy, extent);
                segmentStart = xk - extent * s;
                previous = change;
            }
            if (!linesDone && isSelected(previous)) {
                double length = Y - segmentStart;
                if (endClef)
                    length -= B * a + 6.0 * s;
                setSettingColor(renderer, BcSettings::selectionColor);
                drawStaffLines(cx + segmentStart, cy, length);
            }
        }

        MeasureStaff at;
        at.measure = M;
        at.measureIndex = X;
        at.staffIndex = j;
        at.onsets = &onsets;
        at.xs = &xs;
        at.width = Y;
        at.cx = cx;
        at.cy = cy;
        at.s = s;
        at.endX = Y - B * a - (endClef ? 6.0 * s : 0.0);
        at.isFirst = X == F;
        at.isLast = X == L;
        composeVoices(pass, at);

        if (!pass.hideStaves && E)
            drawClefChange(E, cx + Y, cy, B * a);
        closeStaffScope();

        if (tablature) {
            renderer->markRect(GePoint2d(cx + std::max(0.0, -V), tabTop), Q - std::max(0.0, V), -tabHeight, M);
            openStaffScope(j, pass.origin.x, tabTop, s);
            pass.tablatures[j].flush(M, cx + Y);
            closeStaffScope();
        }
    }
    cx += Y;
}
