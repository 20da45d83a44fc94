#include "foundation/BcSettings.h"
#include "foundation/BcString.h"
#include "model/EdPath.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnMeasureNumber.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "render/ReRenderer.h"
#include "render/ReScorePass.h"
#include "render/ReSystem.h"

#include <algorithm>
#include <cmath>

// What stands at the left of a system before its first measure, the grey
// header that floats at the view's left edge over a long lone score, and
// the courtesy signatures at a system's end.

static void setSettingColor(ReRenderer* renderer, BcSettings::Key key)
{
    const int color = BcSettings::current().value(key);
    renderer->setColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, 255);
}

// The first chord of voice 0 of the staff's measure: it knows the clef and
// key in force there.
static MnChord* firstChord(MnStaff* staff, int measure)
{
    MnMeasure* m = staff->measure(measure);
    const BcArray<MnChord*>& chords = m->voiceChords(0);
    return chords.isEmpty() ? nullptr : chords[0];
}

void ReSystem::composeFloatingHeader(ReScorePass& pass)
{
    const GePoint2d origin = pass.origin;
    if (!(renderer->viewTopLeft.x > origin.x))
        return;
    MnScore* score = pass.score;
    MnStaff* staff0 = pass.staff0;
    const double W = renderer->topTransform().inverse().transform(GePoint2d(renderer->viewTopLeft.x, 0.0)).x;
    auto measureWidth = [&](int i) {
        const MnMeasure* measure = staff0->measure(i);
        return measure->contentWidth() * pass.stretch + measure->headerWidth();
    };

    // The measure at the view's left edge.
    int atEdge = 0;
    double a = pass.timeColumn;
    for (int i = 0; i < staff0->measureCount() && W - origin.x > a; ++i) {
        atEdge = i;
        a += measureWidth(i);
    }
    const int edgeTime = staff0->measureStartTime(atEdge);
    double widestKey = 0.0;
    for (int k = 0; k < pass.staffCount; ++k) {
        const int fifths = score->staff(k)->definitionAt(edgeTime, false)->key();
        widestKey = std::max(widestKey, 2.0 * std::abs(fifths) * pass.partScale[k]);
    }
    const double hw = pass.clefColumn + widestKey;

    // The number of the measure under the header's right edge.
    double b = pass.keyColumn + pass.clefColumn + pass.timeColumn - hw;
    int number = 1;
    for (int i = 0; i < staff0->measureCount() && W - origin.x > b; ++i) {
        number = i + 1;
        b += measureWidth(i);
    }
    if (!(hw < std::fabs(renderer->visibleBox.b.x - renderer->visibleBox.a.x) / 3))
        return;

    renderer->setColor(159, 159, 159, 255);
    const double x = W;
    for (int j = 0; j < pass.staffCount; ++j) {
        MnStaff* staff = score->staff(j);
        const double top = pass.staffY(j);
        const double s = pass.partScale[j];
        if (j == 0) {
            const BcString text(number);
            double bx = 0, by = 0, w = 0, h = 0;
            if (renderer->measureText(text, 8.0, 0, false, &bx, &by, &w, &h))
                renderer->drawText(text, x + pass.clefColumn - 0.5 * w - bx, top + 7.0 - by, 8.0, 0, false);
        }
        MnChord* chord = firstChord(staff, atEdge);
        openStaffScope(j, origin.x, top, s);
        drawStaffLines(x, top, hw);
        if (chord) {
            drawClef(x + 0.5 * pass.clefColumn, top, chord->clef(), 1.0, true);
            drawKeySignature(x + pass.clefColumn, top, chord->keySignature(), chord->clef(), false, true);
        }
        closeStaffScope();
        renderer->markRect(GePoint2d(x, top), hw, -staff->height(), staff->definitionAt(edgeTime, false));
        if (MnTablature* tablature = staff->tablature()) {
            const double tabTop = top + s * tablature->position().y;
            openStaffScope(j, origin.x, tabTop, s);
            pass.tablatures[j].drawHeader(GePoint2d(x, tabTop), hw, true);
            closeStaffScope();
            renderer->markRect(GePoint2d(x, tabTop), hw, -s * tablature->height(), tablature);
        }
    }
    renderer->setClip(true, W + hw);
}

void ReSystem::composeStaffHeaders(ReScorePass& pass)
{
    MnScore* score = pass.score;
    const GePoint2d origin = pass.origin;
    const int F = pass.first;
    const int lastStart = pass.staff0->measureStartTime(pass.last);
    for (int j = 0; j < pass.staffCount; ++j) {
        MnStaff* staff = score->staff(j);
        const double top = pass.staffY(j);
        const double s = pass.partScale[j];
        setColorMode(2);

        if (F > 0 && j == 0) {
            if (MnText* number = score->measureNumberText(F)) {
                setColorBySelection(score->measureNumberTemplate());
                composeText(number, origin, score->measureNumberTemplate());
            }
        }

        // A later system whose first measure leaves negative room for the
        // barline before it starts its content further left; the header's
        // own marks keep the full width.
        double e = 0.0;
        if (F > 0) {
            const double v = pass.scaled(staff->measure(F)->leadingBarlineSpace(true));
            e = v < 0.0 ? -v : 0.0;
        }

        MnStaffDefinition* D0 = staff->definitionAt(pass.t0, false);
        MnStaffDefinition* D1 = staff->definitionAt(lastStart, false);
        const bool d0Selected = isSelected(D0);
        pass.headerSelected[j] = D0 == D1 && d0Selected;
        openStaffScope(j, origin.x, top, s);
        setColorMode(pass.headerSelected[j] ? 3 : 2);
        drawStaffLines(origin.x, top, pass.systemEnd);
        if (!pass.headerSelected[j] && d0Selected) {
            setSettingColor(renderer, BcSettings::selectionColor);
            drawStaffLines(origin.x, top, e + pass.headerWidth);
        }
        if (MnChord* chord = firstChord(staff, F)) {
            drawClef(origin.x + 0.5 * pass.clefColumn, top, chord->clef(), 1.0, true);
            drawKeySignature(origin.x + pass.clefColumn, top, chord->keySignature(), chord->clef(), false, true);
        }
        if (pass.timeColumn > 0.0)
            drawTimeSignature(origin.x + pass.clefColumn + pass.keyColumn + 0.5 * pass.timeColumn, top, D0->time());
        closeStaffScope();
        setColorMode(2);

        MnTablature* tablature = staff->tablature();
        if (!depthMode) {
            if (j == 0 && pass.staffCount >= 2) {
                drawBarline(origin.x, top, score->height(), 0, false, false, pass.scaled(1.0), pass.partScale[0],
                            pass.partScale[pass.staffCount - 1], 5, 2.0);
            } else if (pass.staffCount == 1 && tablature) {
                drawBarline(origin.x, top, (tablature->height() - tablature->position().y) * s, 0, false, false,
                            pass.scaled(1.0), s, s, 5, 2.0);
            }
        } else {
            renderer->pushDepth(j * -10.0);
            const double height = tablature ? (tablature->height() - tablature->position().y) * s : staff->height();
            drawBarline(origin.x, top, height, 0, false, false, 1.0, s, s, 5, 2.0);
            if (j < pass.staffCount - 1) {
                const double bottom = top - height;
                drawBarlineLink(origin.x, bottom, bottom - pass.staffY(j + 1), (j + 1) * -10.0 - j * -10.0, 0, false,
                                1.0);
            }
            renderer->popDepth();
        }

        if (F > 0 || j > 0) {
            renderer->pickPath = EdPath(EdPath::KindStaff, pass.pathIndex, j, F);
            renderer->markRect(GePoint2d(origin.x, top), e + pass.headerWidth, -staff->height(), D0);
            renderer->pickPath = EdPath::unset();
        }

        if (tablature) {
            const double tabTop = top + s * tablature->position().y;
            openStaffScope(j, origin.x, tabTop, s);
            pass.tablatures[j].drawHeader(GePoint2d(origin.x, tabTop), pass.headerWidth, false);
            if (pass.timeColumn > 0.0 && tablature->isCapoOn()) {
                pass.tablatures[j].drawCapo(isSelected(tablature) ? 3 : 2,
                                            origin.x + pass.clefColumn + pass.keyColumn + 0.5 * pass.timeColumn,
                                            tabTop);
            }
            closeStaffScope();
            renderer->pickPath = EdPath(EdPath::KindStaff, pass.pathIndex, j, F);
            renderer->markRect(GePoint2d(origin.x, tabTop), e + pass.headerWidth, -s * tablature->height(), tablature);
            renderer->pickPath = EdPath::unset();
        }
    }
}

void ReSystem::composeCourtesySignatures(ReScorePass& pass)
{
    MnScore* score = pass.score;
    const int tn = pass.tn;
    const double k0 = score->keySignatureWidth(tn, true, 0.0);
    const double t0w = score->timeSignatureWidth(tn, 0.0);
    if (!(k0 + t0w > 0.0))
        return;
    const double k = score->keySignatureWidth(tn, true, 4.0);
    const double tw = score->timeSignatureWidth(tn, k > 0.0 ? 2.0 : 4.0);
    double gap = k - k0;
    if (gap == 0.0)
        gap = tw - t0w;
    const double xEnd = pass.origin.x + pass.headerWidth + pass.contentWidth;

    for (int j = 0; j < pass.staffCount; ++j) {
        MnStaff* staff = score->staff(j);
        const double top = pass.staffY(j);
        const double s = pass.partScale[j];
        MnTablature* tablature = staff->tablature();
        MnStaffDefinition* Dc = staff->definitionAt(tn, false);
        setColorBySelection(Dc);

        double lead = 0.0;
        MnMeasure* ending = staff->measure(pass.last);
        const int code = ending->barline();
        if (code == 0 || code == 4) {
            // A single barline before a change is doubled: the system ends
            // on its own line, the courtesy signatures follow it.
            const double a = ending->barlineStaffScale();
            const double x = xEnd + 1.2 * a - 0.5 * staffLineThickness * a;
            drawBarline(x, top, staff->height(), 0, false, false, a, s, s, 5, 2.0);
            const bool through = ending->isToNextStaff() && j < pass.staffCount - 1;
            double bottom = top - staff->height();
            if (tablature) {
                const double tabTop = top + s * tablature->position().y;
                drawBarline(x, tabTop, s * tablature->height(), 0, false, false, a, s, s, tablature->stringCount(),
                            3.0);
                if (ending->isToTablature())
                    drawBarlineLink(x, bottom, bottom - tabTop, 0.0, 0, false, a);
                bottom = tabTop - s * tablature->height();
            }
            if (through)
                drawBarlineLink(x, bottom, bottom - pass.staffY(j + 1), 0.0, 0, false, a);
            lead = pass.scaled(1.2);
        }

        openStaffScope(j, pass.origin.x, top, s);
        drawStaffLines(xEnd, top, lead + k + tw);
        MnStaffDefinition* change = staff->definitionAt(tn, true);
        if (change && change->isKindOf(MnStaffChange::staticClass())) {
            if (change->changesKey()) {
                int fifths = change->key();
                bool cancel = false;
                if (fifths == 0) {
                    cancel = true;
                    fifths = staff->definitionAt(tn - 1, false)->key();
                }
                drawKeySignature(xEnd + lead + 0.5 * gap, top, fifths, change->clef(), cancel, true);
            }
            if (change->changesTime()) {
                drawTimeSignature(xEnd + lead + 0.5 * gap + k0 + (k0 > 0.0 ? 0.5 * gap : 0.0) + 0.5 * t0w, top,
                                  change->time());
            }
        }
        closeStaffScope();
        renderer->markRect(GePoint2d(xEnd, top), lead + k + tw, -staff->height(), Dc);

        if (tablature) {
            const double tabTop = top + s * tablature->position().y;
            openStaffScope(j, pass.origin.x, tabTop, s);
            pass.tablatures[j].flush(Dc, xEnd + lead + k + tw);
            closeStaffScope();
            renderer->markRect(GePoint2d(xEnd, tabTop), lead + k + tw, -s * tablature->height(), Dc);
        }
    }
}
