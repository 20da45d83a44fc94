#include "commands/EdStructureCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdNotePath.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/GeMatrix2d.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCredit.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "playback/MpUnfolder.h"

namespace {

template <class T>
T* as(MnElement* element)
{
    return element && element->isKindOf(T::staticClass()) ? static_cast<T*>(element) : nullptr;
}

int inputVoice()
{
    return EdContext::current().noteInput().inputVoice;
}

// Adds a new work and hands it to the placing tool; a work that the view
// cannot place leaves the document again, so that nothing unrecorded stays.
bool placeNewWork(QuorvaneDocument* document, EdView* view, MnElement* work, MnElement* placed,
                  const GeMatrix2d& placement)
{
    if (!document->addWork(work)) {
        delete work;
        return false;
    }
    if (view->placeElement(placed, placement))
        return true;
    if (document->removeWork(work))
        delete work;
    return false;
}

// The score that a free score or a sheet music shows, else null.
MnScore* scoreOf(MnElement* element)
{
    if (MnScore* score = as<MnScore>(element))
        return score;
    if (MnSheetMusic* sheet = as<MnSheetMusic>(element))
        return sheet->score();
    return nullptr;
}

// ---- Measure/New

// The 0-based index before which a selected element asks for the new
// measure (-1 appends); false for an element that does not decide.
bool measureIndexFor(MnElement* element, MnScore*& score, int& index)
{
    if (MnMeasure* measure = as<MnMeasure>(element)) {
        score = measure->staff()->score();
        index = measure->index() - 1;
        return true;
    }
    if (MnStaffChange* change = as<MnStaffChange>(element)) {
        MnStaff* staff = change->staff();
        score = staff->score();
        index = -1;
        for (int m = 0; m < staff->measureCount(); ++m) {
            const int start = staff->measureStartTime(m);
            if (start > change->startTime() && staff->definitionAt(start, false) != change) {
                index = m;
                break;
            }
        }
        return true;
    }
    MnStaff* staff = as<MnStaff>(element);
    if (MnTablature* tablature = as<MnTablature>(element))
        staff = tablature->staff();
    if (!staff)
        return false;
    score = staff->score();
    index = -1;
    for (int m = 1; m < staff->measureCount(); ++m) {
        if (staff->definitionAt(staff->measureStartTime(m), false) != staff) {
            index = m;
            break;
        }
    }
    return true;
}

}

void EdStructureCommands::cmdNewMeasure()
{
    EdContext& context = EdContext::current();
    if (!context.activeView())
        return;
    bool hint = false;
    {
        EdCommand edit;
        EdView* view = context.activeView();
        QuorvaneDocument* document = context.activeDocument();
        if (!view || !document)
            return;
        EdSelection& selection = view->selection();
        MnScore* score = nullptr;
        int index = -1;
        bool decided = false;
        for (int i = 0; i < selection.count() && !decided; ++i)
            decided = measureIndexFor(selection.element(i), score, index);
        if (!decided) {
            const BcArray<MnElement*>& works = document->works();
            score = works.count() == 2 ? scoreOf(works[1]) : nullptr;
            index = -1;
        }
        if (!score) {
            hint = true;
        } else if (score->insertMeasure(index)) {
            edit.markModified();
            for (int s = 0; s < score->staffCount(); ++s) {
                MnStaff* staff = score->staff(s);
                for (int m = 0; m < staff->measureCount(); ++m)
                    selection.remove(staff->measure(m));
                selection.add(staff->measure(index < 0 ? staff->measureCount() - 1 : index));
            }
            // A player going on in this score after the new measure goes on
            // at the same music, now one measure later.
            MnStaff* first = score->staff(0);
            const EdNotePath made(first->measure(index < 0 ? first->measureCount() - 1 : index), document->works());
            EdNotePath& playing = edit.playbackPosition;
            if (made.scoreIndex >= 0 && playing.scoreIndex == made.scoreIndex && playing.staffIndex >= 0 &&
                playing.staffIndex < score->staffCount() && playing.measureIndex >= made.measureIndex)
                ++playing.measureIndex;
            edit.keepPlaybackPosition = true;
        }
    }
    if (hint)
        context.showHint(newMeasureId);
}

// ---- Staff/New

void EdStructureCommands::cmdNewStaff()
{
    EdContext& context = EdContext::current();
    if (!context.activeView())
        return;
    EdCommand edit;
    EdView* view = context.activeView();
    QuorvaneDocument* document = context.activeDocument();
    if (!view || !document)
        return;
    EdSelection& selection = view->selection();
    const int voice = inputVoice();

    // A chord (or the first of a measure) inside the staff: a staff change there.
    if (selection.count() == 1) {
        MnElement* element = selection.element(0);
        MnChord* chord = as<MnChord>(element);
        if (MnNote* note = as<MnNote>(element))
            chord = note->chord();
        if (MnMeasure* measure = as<MnMeasure>(element)) {
            const BcArray<MnChord*>& chords = measure->voiceChords(voice);
            chord = chords.isEmpty() ? nullptr : chords[0];
        }
        if (chord) {
            MnMeasure* measure = chord->measure();
            if (chord->time() != 0 && measure->isMeasureRest(chord->voice())) {
                const BcArray<MnChord*>& chords = measure->voiceChords(chord->voice());
                chord = chords[0];
            }
            const int time = measure->startTime() + chord->time();
            if (time >= 1) {
                MnStaff* staff = measure->staff();
                if (staff->insertStaffChange(time)) {
                    edit.markModified();
                    selection.clear();
                    selection.add(staff->definitionAt(time, true));
                }
                return;
            }
        }
    }

    // One staff: a new staff and part right below it.
    MnStaff* chosen = nullptr;
    int staves = 0;
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* element = selection.element(i);
        MnStaff* staff = as<MnStaff>(element);
        if (MnStaffChange* change = as<MnStaffChange>(element))
            staff = change->staff();
        if (!staff)
            continue;
        if (!chosen)
            chosen = staff;
        ++staves;
    }
    if (staves == 1) {
        if (MnStaff* made = chosen->score()->insertStaff(chosen->index() + 1)) {
            edit.markModified();
            selection.clear();
            selection.add(made);
            view->cursor().setAtStaffStart(made, voice);
        }
        return;
    }

    // Otherwise a new free score, placed with the pointer.
    MnScore* score = new MnScore();
    score->setShowStartingTempo(false);
    MnStaff* first = score->staff(0);
    if (placeNewWork(document, view, score, first, GeMatrix2d::identity))
        view->cursor().setAtStaffStart(first, voice);
}

// ---- Sheet music/New

void EdStructureCommands::cmdNewSheetMusic()
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    QuorvaneDocument* document = context.activeDocument();
    if (!view || !document)
        return;
    view->discardPendingTool();
    EdSelection& selection = view->selection();
    MnScore* wrapped = selection.count() == 1 ? as<MnScore>(selection.element(0)) : nullptr;
    // Only a free score is wrapped; one that a sheet shows already stays where it is.
    if (wrapped && wrapped->sheetMusic())
        wrapped = nullptr;

    MnSheetMusic* sheet = new MnSheetMusic();
    if (!wrapped) {
        if (placeNewWork(document, view, sheet, sheet, GeMatrix2d::identity))
            view->cursor().setAtStaffStart(sheet->score()->staff(0), inputVoice());
        return;
    }
    EdCommand edit;
    view = context.activeView();
    if (!view || !document->addWork(sheet)) {
        delete sheet;
        return;
    }
    if (!document->removeWork(wrapped)) {
        document->removeWork(sheet);
        delete sheet;
        return;
    }
    const GePoint2d onCanvas = wrapped->position();
    const GePoint2d inSheet = sheet->score()->position();
    // The sheet's own score goes; the free one takes its place.
    sheet->setScore(wrapped);
    wrapped->moveTo(inSheet);
    const GePoint2d now = wrapped->position();
    sheet->moveTo(GePoint2d(onCanvas.x - now.x - sheet->leftMargin(0), onCanvas.y - now.y + sheet->topMargin()));
    edit.markModified();
    view->cursor().setAtStaffStart(wrapped->staff(0), inputVoice());
}

// ---- Sheet music/Unfold repeats

void EdStructureCommands::cmdUnfoldRepeats()
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    QuorvaneDocument* document = context.activeDocument();
    if (!view || !document)
        return;
    view->discardPendingTool();
    EdSelection& selection = view->selection();
    MnScore* source = nullptr;
    for (int i = 0; i < selection.count() && !source; ++i)
        source = scoreOf(selection.element(i));
    if (!source || source->staffCount() == 0) {
        context.showHint(unfoldRepeatsId);
        return;
    }
    MpUnfolder unfolder;
    MnScore* unfolded = unfolder.unfold(source);
    if (!unfolded || unfolded->staffCount() == 0) {
        delete unfolded;
        return;
    }
    placeNewWork(document, view, unfolded, unfolded->staff(0), GeMatrix2d::identity);
}

// ---- Sheet music/Credit

void EdStructureCommands::cmdCredit()
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    QuorvaneDocument* document = context.activeDocument();
    if (!view || !document)
        return;
    EdSelection& selection = view->selection();
    MnSheetMusic* sheet = nullptr;
    int sheets = 0;
    for (int i = 0; i < selection.count(); ++i) {
        if (MnSheetMusic* each = as<MnSheetMusic>(selection.element(i))) {
            sheet = each;
            ++sheets;
        }
    }
    if (sheets != 1) {
        context.showHint(creditId);
        return;
    }
    view->discardPendingTool();
    GePoint2d origin;
    bool shown = false;
    double left = 0.0;
    double top = 0.0;
    {
        MnCache scope;
        shown = sheet->pageOrigin(0, origin, false);
        left = sheet->leftMargin(0);
        top = sheet->topMargin();
    }
    if (!shown) {
        // Page 0 is not on screen (a book showing a later spread): no tool
        // can place the credit, so it is recorded where it is made.
        EdCommand edit;
        view = context.activeView();
        MnCredit* credit = sheet->addCredit(0);
        if (!credit || !view)
            return;
        if (credit->creditAlignment() != -1) {
            credit->setCreditAlignment(-1);
            credit->relayout();
        }
        edit.markModified();
        view->selection().clear();
        view->selection().add(credit);
        return;
    }
    MnCredit* credit = sheet->addCredit(0);
    if (!credit)
        return;
    if (credit->creditAlignment() != -1) {
        credit->setCreditAlignment(-1);
        credit->relayout();
    }
    // Pointer positions become positions from the first page's top-left
    // margin corner.
    const GeMatrix2d placement = GeMatrix2d::translation(-(origin.x + left), -(origin.y - top));
    if (!view->placeElement(credit, placement))
        sheet->removeChild(credit);
}

void EdStructureCommands::addRows()
{
    EdCommandTable::add({newSheetMusicId, [](unsigned) { cmdNewSheetMusic(); }, &EdCommandTable::whenDocument});
    EdCommandTable::add({unfoldRepeatsId, [](unsigned) { cmdUnfoldRepeats(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({creditId, [](unsigned) { cmdCredit(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({newStaffId, [](unsigned) { cmdNewStaff(); }, &EdCommandTable::whenDocument});
    EdCommandTable::add({newMeasureId, [](unsigned) { cmdNewMeasure(); }, &EdCommandTable::whenScore});
}
