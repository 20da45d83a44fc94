#include "commands/EdCursorCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/GePoint2d.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

namespace {

// A place in a staff: the time from the staff's start and the distance of a
// grace chord from the chord it precedes (0 for that chord).
struct Position
{
    int time;
    int grace;

    // A grace chord further from its main chord comes first.
    bool before(const Position& other) const
    {
        return time < other.time || (time == other.time && grace > other.grace);
    }
    bool operator==(const Position& other) const { return time == other.time && grace == other.grace; }
};

// Where the cursor stands when it is at the chord (EdCursor::setAtChord).
Position positionOf(const MnChord* chord)
{
    const MnChord* main = nullptr;
    const int distance = EdCursor::graceRun(chord, &main);
    const MnChord* at = distance > 0 && main ? main : chord;
    const int grace = distance > 0 && main ? distance : 0;
    return Position{at->measure()->startTime() + at->time(), grace};
}

void selectChord(EdSelection& selection, MnChord* chord, bool restsToo)
{
    if (chord->noteCount() > 0) {
        for (int i = 0; i < chord->noteCount(); ++i)
            selection.add(chord->note(i));
    } else if (restsToo) {
        selection.add(chord);
    }
}

// Selects what lies between the cursor's anchor and the cursor, which the
// move just put at the chord.
void selectRange(EdView& view, MnChord* chord)
{
    EdSelection& selection = view.selection();
    selection.clear();
    const EdCursor& cursor = view.cursor();
    const Position anchor{cursor.anchorTime(), cursor.anchorGraceIndex()};
    const Position at{cursor.time(), cursor.graceIndex()};
    if (anchor == at) {
        selectChord(selection, chord, true);
        return;
    }
    const Position start = anchor.before(at) ? anchor : at;
    const Position end = anchor.before(at) ? at : anchor;
    const bool forward = at == start;
    for (MnChord* walk = chord; walk; walk = forward ? walk->nextChord() : walk->previousChord()) {
        if (!walk->measure())
            break;
        const Position place = positionOf(walk);
        if (forward ? end.before(place) : place.before(start))
            break;
        selectChord(selection, walk, !walk->isGrace());
    }
}

// The index of the measure holding the time (the first for a negative
// time), or -1.
int measureIndexAt(const MnStaff* staff, int time)
{
    if (staff->measureCount() == 0)
        return -1;
    if (time < 0)
        return 0;
    const MnMeasure* measure = staff->measureAtTime(time);
    for (int i = 0; measure && i < staff->measureCount(); ++i) {
        if (staff->measure(i) == measure)
            return i;
    }
    return -1;
}

// The chords of the cursor's voice in a measure, or null when the cursor
// has no voice.
const BcArray<MnChord*>* voiceChords(MnMeasure* measure, int voice)
{
    if (voice < 0 || voice >= MnMeasure::voiceCount)
        return nullptr;
    return &measure->voiceChords(voice);
}

// Ctrl+Left and Ctrl+Right: the chord the cursor goes to, or null.
MnChord* measureStep(EdCursor& cursor, bool right)
{
    MnStaff* staff = cursor.staff();
    if (!staff)
        return nullptr;
    const int index = measureIndexAt(staff, cursor.time());
    if (index < 0)
        return nullptr;
    if (right) {
        const bool last = index + 1 >= staff->measureCount();
        const BcArray<MnChord*>* chords = voiceChords(staff->measure(last ? index : index + 1), cursor.voice());
        if (!chords || chords->isEmpty())
            return nullptr;
        return last ? (*chords)[chords->count() - 1] : (*chords)[0];
    }
    int target = index;
    if (cursor.time() < 0 || cursor.time() == staff->measureStartTime(index))
        --target;
    if (target < 0)
        return nullptr;
    const BcArray<MnChord*>* chords = voiceChords(staff->measure(target), cursor.voice());
    if (!chords || chords->isEmpty())
        return nullptr;
    return (*chords)[0];
}

void moveCursor(bool right)
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    EdCommand edit;
    const bool extend = context.isShiftDown();
    EdCursor& cursor = view->cursor();
    MnChord* chord = nullptr;
    if (context.isCtrlDown()) {
        chord = measureStep(cursor, right);
        if (!chord || !cursor.setAtChord(chord, cursor.voice(), extend))
            return;
    } else {
        chord = right ? cursor.moveNext(extend) : cursor.movePrevious(extend);
        if (!chord)
            return;
    }
    selectRange(*view, chord);
}

MnSheetMusic* sheetToTurn(EdContext& context)
{
    if (EdView* view = context.activeView()) {
        const EdSelection& selection = view->selection();
        for (int i = 0; i < selection.count(); ++i) {
            if (selection.element(i)->isKindOf(MnSheetMusic::staticClass()))
                return static_cast<MnSheetMusic*>(selection.element(i));
        }
    }
    QuorvaneDocument* document = context.activeDocument();
    const int main = document ? document->mainScoreIndex() : -1;
    if (main >= 1 && main < document->works().count()) {
        MnElement* work = document->works()[main];
        if (work->isKindOf(MnSheetMusic::staticClass()))
            return static_cast<MnSheetMusic*>(work);
    }
    return nullptr;
}

// The page being turned, redrawn as fast as the view draws for the length
// of a turn; the instrument panes keep showing the sounding keys meanwhile.
void animateTurn(EdContext& context, EdView* view, MnSheetMusic* sheet, bool back)
{
    // Without a view nothing shows the turn; a pass limit keeps a clock
    // that stands still from holding the interface for ever.
    if (!view)
        return;
    const bool book = sheet->presentation() == MnSheetMusic::Book;
    constexpr int maxPasses = 100000;
    const unsigned long long start = context.tickCount();
    for (int pass = 0; pass < maxPasses; ++pass) {
        const double progress = double(context.tickCount() - start) / EdCursorCommands::pageTurnMilliseconds;
        if (progress >= 1.0)
            break;
        if (book) {
            const double angle = back ? 180.0 - 180.0 * progress : 180.0 * progress;
            if (angle >= 0.0 && angle <= 180.0)
                sheet->setTurnAngle(angle);
        }
        view->redraw(true);
        if (context.playerIsPlaying() && !context.playerIsPaused())
            context.refreshInstrumentPanes();
    }
    sheet->setTurnAngle(0.0);
}

void turnPage(bool back)
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    MnSheetMusic* sheet = sheetToTurn(context);
    if (!sheet) {
        context.showHint(back ? EdCursorCommands::previousPageId : EdCursorCommands::nextPageId);
        return;
    }
    MnCache layout;
    GePoint2d origin;
    const int pages = sheet->pageCount();
    if (pages < 1 || sheet->pageOrigin(back ? 0 : pages - 1, origin, true))
        return;
    if (back && sheet->currentPage() != 0) {
        int page = sheet->currentPage() - 1;
        // Back to the first page of the previous spread.
        if (sheet->isFirstPageRight()) {
            if (page % 2 == 0 && page > 0)
                --page;
        } else if (page % 2 == 1) {
            --page;
        }
        sheet->setCurrentPage(page);
        edit.markModified();
    }
    EdView* view = context.activeView();
    if (view && view->document())
        view->document()->bringToFront(sheet);
    animateTurn(context, view, sheet, back);
    if (!back && sheet->nextSpread())
        edit.markModified();
}

}

void EdCursorCommands::moveCursorLeft()
{
    moveCursor(false);
}

void EdCursorCommands::moveCursorRight()
{
    moveCursor(true);
}

void EdCursorCommands::selectNextNoteInChord()
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    EdCommand edit;
    const bool back = context.isShiftDown();
    EdSelection& selection = view->selection();
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* element = selection.element(i);
        if (!element->isKindOf(MnNote::staticClass()))
            continue;
        MnNote* note = static_cast<MnNote*>(element);
        MnChord* chord = note->chord();
        if (!chord || chord->noteCount() < 2)
            continue;
        int index = 0;
        while (index < chord->noteCount() && chord->note(index) != note)
            ++index;
        if (index == chord->noteCount())
            continue;
        const int count = chord->noteCount();
        MnNote* next = chord->note(back ? (index + count - 1) % count : (index + 1) % count);
        selection.clear();
        selection.add(next);
        return;
    }
}

void EdCursorCommands::cmdPreviousPage()
{
    turnPage(true);
}

void EdCursorCommands::cmdNextPage()
{
    turnPage(false);
}

void EdCursorCommands::addRows()
{
    EdCommandTable::add({previousPageId, [](unsigned) { cmdPreviousPage(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({nextPageId, [](unsigned) { cmdNextPage(); }, &EdCommandTable::whenScore});
}
