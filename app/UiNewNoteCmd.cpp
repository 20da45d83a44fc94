#include "app/UiNewNoteCmd.h"

#include "app/UiQuorvaneViewCore.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffDefinition.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int accidentalNone = 3;

bool countsAsScore(const MnElement* work)
{
    return work && (work->isKindOf(MnScore::staticClass()) || work->isKindOf(MnSheetMusic::staticClass()));
}

MnScore* scoreOfWork(MnElement* work)
{
    if (work->isKindOf(MnSheetMusic::staticClass()))
        return static_cast<MnSheetMusic*>(work)->score();
    return static_cast<MnScore*>(work);
}

// The position of a work among the scores and sheet musics, in works order.
int worksIndex(const QuorvaneDocument* document, const MnElement* work)
{
    int counted = 0;
    const BcArray<MnElement*>& works = document->works();
    for (int i = 0; i < works.count(); ++i) {
        if (!countsAsScore(works[i]))
            continue;
        if (works[i] == work)
            return counted;
        ++counted;
    }
    return -1;
}

int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The cursor of the active view at a position of a staff, from the staff,
// the voice and the time alone: the insertion may have replaced the chord
// that the target named.
void placeCursor(MnStaff* staff, int voice, int time, int graceIndex)
{
    EdView* active = EdContext::current().activeView();
    if (!active || !staff)
        return;
    EdCursor& cursor = active->cursor();
    if (cursor.setAtStaffStart(staff, voice))
        cursor.setPosition(time, graceIndex, false);
}

}  // namespace

UiNewNoteCmd::UiNewNoteCmd(UiViewCore& view) : UiCommand(&view), core(view)
{
}

void UiNewNoteCmd::end()
{
    noteTarget = EdNotePath();
    core.renderer.previewNotePath = EdNotePath();
    UiCommand::end();
}

bool UiNewNoteCmd::onMouseMove(unsigned, Point point)
{
    EdNotePath fresh;
    hitTest(fresh, point);
    if (fresh != noteTarget) {
        noteTarget = fresh;
        core.renderer.previewNotePath = fresh;
        core.redraw(true);
    }
    return true;
}

bool UiNewNoteCmd::onLButtonDown(unsigned, Point)
{
    EdContext::NoteInput& input = EdContext::current().noteInput();
    int duration = input.inputDuration;
    bool rest = input.inputRest;
    bool dotted = input.inputDotted;
    if (noteTarget.isUnset()) {
        duration = 0;
        rest = false;
        dotted = false;
    } else if (duration > 0 && insertNote()) {
        markModified();
    }
    finish();
    // The commit told the observers, which end note input on an empty
    // selection: the value stays chosen for the next note.
    EdContext::NoteInput& after = EdContext::current().noteInput();
    after.inputDuration = duration;
    after.inputRest = rest;
    after.inputDotted = dotted;
    return true;
}

bool UiNewNoteCmd::hitTest(EdNotePath& target, Point point)
{
    MnCache cache;
    QuorvaneDocument* document = core.document();
    if (!document) {
        target.scoreIndex = -1;
        return false;
    }
    const GePoint2d p = core.clientToModel(point.x, point.y);
    const BcArray<MnElement*>& order = document->displayOrder();
    for (int i = order.count() - 1; i >= 0; --i) {
        MnElement* work = order[i];
        if (!countsAsScore(work))
            continue;
        bool found = false;
        if (work->isKindOf(MnScore::staticClass())) {
            MnScore* score = static_cast<MnScore*>(work);
            const int count = score->staffCount() > 0 ? score->staff(0)->measureCount() : 0;
            found = computeNotePath(target, p, score, 0, count, score->position(), 2.0);
        } else {
            MnSheetMusic* sheet = static_cast<MnSheetMusic*>(work);
            MnScore* score = sheet->score();
            if (!score)
                continue;
            const double indentLater = -score->partsExtents(true).x * score->scale();
            int firstMeasure = 0;
            int system = 0;
            const int pages = sheet->pageCount();
            for (int page = 0; page < pages && !found; ++page) {
                GePoint2d origin;
                const bool placed = sheet->pageOrigin(page, origin, false);
                const bool under = placed && p.isInRect(origin, sheet->pageWidth(), -sheet->pageHeight());
                const int systems = sheet->systemsOnPage(page);
                const GePoint2d content = under ? sheet->pageContentOrigin(page) : GePoint2d();
                for (int k = 0; k < systems; ++k) {
                    double stretch = 1.0;
                    const int count = sheet->fitSystem(firstMeasure, stretch);
                    if (under) {
                        const double indent = system == 0 ? content.x : indentLater;
                        const GePoint2d o(origin.x + sheet->leftMargin(page) + indent,
                                          origin.y + content.y - sheet->topMargin() - k * sheet->systemDistance(page));
                        if (computeNotePath(target, p, score, firstMeasure, count, o, stretch)) {
                            found = true;
                            break;
                        }
                    }
                    firstMeasure += count;
                    ++system;
                }
                if (under && !found) {
                    // A page hides what lies below it.
                    target.scoreIndex = -1;
                    return false;
                }
            }
        }
        if (found) {
            target.scoreIndex = worksIndex(document, work);
            return target.scoreIndex >= 0;
        }
    }
    target.scoreIndex = -1;
    return false;
}

bool UiNewNoteCmd::computeNotePath(EdNotePath& target, const GePoint2d& pointer, MnScore* score, int firstMeasure,
                                   int measureCount, const GePoint2d& o, double stretch)
{
    const int staves = score->staffCount();
    if (staves <= 0 || measureCount <= 0)
        return false;
    MnStaff* first = score->staff(0);
    if (firstMeasure < 0 || firstMeasure + measureCount > first->measureCount())
        return false;
    const double scale = score->scale() > 0 ? score->scale() : 1.0;
    const GePoint2d p(o.x + (pointer.x - o.x) / scale, o.y + (pointer.y - o.y) / scale);

    const int t0 = first->measure(firstMeasure)->startTime();
    const double timeWidth = score->timeSignatureWidth(t0, 0.0);
    double keyColumn = 0.0;
    double gap = 0.0;
    for (int i = 0; i < staves; ++i) {
        MnStaff* staff = score->staff(i);
        const double term = std::abs(staff->definitionAt(t0, false)->key()) * 2 * staff->partScale();
        keyColumn = std::max(keyColumn, term);
        if (term > 0)
            gap = std::max(gap, staff->partScale() * (timeWidth > 0 ? 2.0 : 0.0));
    }
    const double header = score->clefWidth() + timeWidth + keyColumn + gap +
                          score->scaledByLargestPart(first->measure(firstMeasure)->leadingBarlineSpace(true));
    const double room =
        firstMeasure == 0 ? 0.0 : score->keySignatureWidth(t0, true, 2.0) + score->timeSignatureWidth(t0, 2.0);

    double systemWidth = 0.0;
    for (int j = firstMeasure; j < firstMeasure + measureCount; ++j)
        systemWidth += first->measure(j)->headerWidth() + score->measureNaturalWidth(j) * stretch;
    systemWidth += score->scaledByLargestPart(first->measure(firstMeasure + measureCount - 1)->barlineSpace(true));
    systemWidth -= room;
    const double topScale = first->partScale();
    const double bottomScale = score->staff(staves - 1)->partScale();
    if (!p.isInRect(GePoint2d(o.x + header, o.y + 6 * topScale), systemWidth,
                    -(score->height() + 6 * topScale + 6 * bottomScale)))
        return false;

    const bool rest = EdContext::current().noteInput().inputRest;
    double x = o.x + header;
    BcArray<int> onsets;
    BcArray<double> positions;
    for (int j = firstMeasure; j < firstMeasure + measureCount; ++j) {
        onsets.removeAll();
        positions.removeAll();
        score->layoutMeasureColumn(j, onsets, positions, stretch);
        if (positions.isEmpty())
            continue;
        const double shift = j == firstMeasure ? room : 0.0;
        const double end = positions[positions.count() - 1];
        const double E = end - shift;
        double D = o.y;
        for (int i = 0; i < staves; ++i) {
            MnStaff* staff = score->staff(i);
            if (i > 0)
                D += staff->position().y - score->staff(i - 1)->position().y;
            if (j >= staff->measureCount())
                continue;
            MnMeasure* measure = staff->measure(j);
            const double partScale = staff->partScale() > 0 ? staff->partScale() : 1.0;
            const GePoint2d q(p.x, D + (p.y - D) / partScale);
            const double boxHeight = -(measure->height() + 12);
            if (!q.isInRect(GePoint2d(x, D + 6), E, boxHeight))
                continue;
            auto chordX = [&](const MnChord* chord) {
                double at = end;
                for (int k = 0; k < onsets.count() && k < positions.count(); ++k) {
                    if (onsets[k] == chord->time()) {
                        at = positions[k];
                        break;
                    }
                }
                return at + chord->graceOffset() * partScale - shift;
            };
            int bestVoice = -1;
            int bestIndex = -1;
            double bestDistance = 0.0;
            for (int v = 0; v < MnMeasure::voiceCount; ++v) {
                const BcArray<MnChord*>& chords = measure->voiceChords(v);
                const int n = chords.count();
                for (int c = 0; c < n; ++c) {
                    const double cx = chordX(chords[c]);
                    const double left = c == 0 ? 0.0 : (chordX(chords[c - 1]) + cx) / 2;
                    const double right = c + 1 == n ? E : (cx + chordX(chords[c + 1])) / 2;
                    if (!q.isInRect(GePoint2d(x + left, D + 6), right - left, boxHeight))
                        continue;
                    const double distance = std::abs(p.x - (x + cx));
                    if (bestVoice < 0 || distance < bestDistance) {
                        bestVoice = v;
                        bestIndex = c;
                        bestDistance = distance;
                        break;
                    }
                }
            }
            if (bestVoice < 0)
                continue;
            MnChord* chord = measure->voiceChords(bestVoice)[bestIndex];
            const int time = measure->startTime() + chord->time();
            const int offset = middleCPosition(staff->definitionAt(time, false)->clef());
            const double height = q.y - D - offset;
            const int n = int(height > 0 ? height + 0.5 : height - 0.5);
            target.scoreIndex = 0;
            target.staffIndex = i;
            target.measureIndex = j;
            target.voice = bestVoice;
            target.chordIndex = bestIndex;
            target.noteStep = n - 7 * floorDiv(n, 7);
            target.noteOctave = 4 + floorDiv(n, 7);
            // A rest cannot be written on a grace chord.
            return !(rest && chord->isGrace());
        }
        x += E;
    }
    return false;
}

bool UiNewNoteCmd::insertNote()
{
    QuorvaneDocument* document = core.document();
    if (!document || noteTarget.scoreIndex < 0)
        return false;
    MnScore* score = nullptr;
    int counted = 0;
    const BcArray<MnElement*>& works = document->works();
    for (int i = 0; i < works.count() && !score; ++i) {
        if (!countsAsScore(works[i]))
            continue;
        if (counted++ == noteTarget.scoreIndex)
            score = scoreOfWork(works[i]);
    }
    if (!score || noteTarget.staffIndex < 0 || noteTarget.staffIndex >= score->staffCount())
        return false;
    MnStaff* staff = score->staff(noteTarget.staffIndex);
    if (noteTarget.measureIndex < 0 || noteTarget.measureIndex >= staff->measureCount())
        return false;
    MnMeasure* measure = staff->measure(noteTarget.measureIndex);
    if (noteTarget.voice < 0 || noteTarget.voice >= MnMeasure::voiceCount)
        return false;
    const BcArray<MnChord*>& chords = measure->voiceChords(noteTarget.voice);
    if (noteTarget.chordIndex < 0 || noteTarget.chordIndex >= chords.count())
        return false;
    MnChord* chord = chords[noteTarget.chordIndex];
    EdContext& context = EdContext::current();
    const EdContext::NoteInput& input = context.noteInput();
    const int duration = input.inputDuration + (input.inputDotted ? input.inputDuration / 2 : 0);
    const int start = measure->startTime();
    const int time = chord->time();
    if (chord->isGrace()) {
        const int graceIndex = EdCursor::graceRun(chord);
        MnNote* note =
            measure->addNoteToGraceChord(chord, noteTarget.noteStep, noteTarget.noteOctave, accidentalNone, duration);
        if (!note)
            return false;
        placeCursor(staff, noteTarget.voice, start + time, graceIndex);
        core.previewKey(note->keyNumber());
        return true;
    }
    const int voice = input.inputVoice;
    if (!input.inputRest) {
        MnNote* note = measure->addNote(voice, time, noteTarget.noteStep, noteTarget.noteOctave, accidentalNone,
                                        duration, false);
        if (!note)
            return false;
        placeCursor(staff, voice, start + time, 0);
        core.previewKey(note->keyNumber());
        return true;
    }
    if (!measure->setRest(voice, time, duration))
        return false;
    placeCursor(staff, voice, start + time, 0);
    return true;
}
