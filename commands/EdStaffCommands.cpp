#include "commands/EdStaffCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "foundation/BcString.h"
#include "model/MnChord.h"
#include "model/MnLyric.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"

#include <algorithm>
#include <vector>

namespace {

template <class T>
T* as(MnElement* element)
{
    return element && element->isKindOf(T::staticClass()) ? static_cast<T*>(element) : nullptr;
}

// Opens the transaction on the active view and runs the work; the work
// answers false for a hint.
template <class Work>
void run(unsigned id, Work work)
{
    EdContext& context = EdContext::current();
    if (!context.activeView())
        return;
    bool hint = false;
    {
        EdCommand edit;
        EdView* view = context.activeView();
        if (!view)
            return;
        hint = !work(edit, view->selection());
    }
    if (hint)
        context.showHint(id);
}

bool group(EdCommand& edit, EdSelection& selection)
{
    std::vector<MnStaff*> staves;
    for (int i = 0; i < selection.count(); ++i) {
        if (MnStaff* staff = as<MnStaff>(selection.element(i)))
            staves.push_back(staff);
    }
    if (staves.empty())
        return false;
    // Staves of other scores than the last selected one's are left alone.
    MnScore* score = staves.back()->score();
    int first = staves.back()->index();
    int last = first;
    for (MnStaff* staff : staves) {
        if (staff->score() != score)
            continue;
        first = std::min(first, staff->index());
        last = std::max(last, staff->index());
    }
    MnTablature* tablature = score->staff(last)->tablature();
    const bool withTablature = tablature && selection.contains(tablature);
    if (last == first && !withTablature)
        return false;
    const int count = last - first + 1;
    if (MnPartGroup* made = score->addPartGroup(first, count)) {
        made->setCoversTablature(withTablature);
        if (count >= 3 || (count == 1 && withTablature))
            made->setBracketType(1);
        edit.markModified();
        selection.clear();
        selection.add(made);
    }
    // A refused group (a duplicate or a crossing one) says nothing.
    return true;
}

bool lyrics(EdCommand& edit, EdSelection& selection)
{
    if (selection.count() != 1)
        return false;
    MnElement* element = selection.element(0);
    MnChord* chord = as<MnChord>(element);
    if (MnNote* note = as<MnNote>(element))
        chord = note->chord();
    if (!chord)
        return false;
    MnMeasure* measure = chord->measure();
    MnLyric* lyric = measure->staff()->addLyric(measure->startTime() + chord->time(), chord->voice());
    if (!lyric)
        return false;
    lyric->setText(BcString("La"));
    edit.markModified();
    selection.clear();
    selection.add(lyric);
    return true;
}

// The pane's tuning on a new tablature. The pane names a string by its
// letter from A, the model by its step from C.
void tuneLikeFretboard(MnTablature* tablature, const EdContext::VisibleFretboard& pane)
{
    if (pane.stringCount != tablature->stringCount() && pane.stringCount >= 3 && pane.stringCount <= 8)
        tablature->setStringCount(pane.stringCount);
    const int strings = std::min({pane.stringCount, tablature->stringCount(), EdContext::VisibleFretboard::maxStrings});
    for (int i = 0; i < strings; ++i) {
        const int letter = pane.letter[i];
        if (letter < 0)
            continue;
        const int step = (letter % 7 + 5) % 7;
        const int accidental = letter < 7 ? 0 : letter < 14 ? -1 : 1;
        tablature->setTuning(i, step, pane.octave[i], accidental);
    }
    if (pane.frets >= 1) {
        tablature->setFrets(pane.frets);
        if (tablature->capoFret() > tablature->frets())
            tablature->setCapoFret(tablature->frets());
    }
    if (pane.capoOn && pane.capoFret > 0) {
        tablature->setCapoOn(true);
        if (pane.capoFret <= tablature->frets())
            tablature->setCapoFret(pane.capoFret);
    }
}

bool tablature(EdCommand& edit, EdSelection& selection)
{
    std::vector<MnStaff*> staves;
    for (int i = 0; i < selection.count(); ++i) {
        if (MnStaff* staff = as<MnStaff>(selection.element(i)))
            staves.push_back(staff);
    }
    if (staves.empty())
        return false;
    EdContext::VisibleFretboard pane;
    const bool paneShown = EdContext::current().visibleFretboardTuning(pane);
    std::vector<MnTablature*> listed;
    for (MnStaff* staff : staves) {
        if (!staff->tablature()) {
            MnTablature* made = new MnTablature(staff);
            if (paneShown)
                tuneLikeFretboard(made, pane);
            staff->setTablature(made);
            edit.markModified();
        }
        if (std::find(listed.begin(), listed.end(), staff->tablature()) == listed.end())
            listed.push_back(staff->tablature());
    }
    selection.clear();
    for (MnTablature* each : listed)
        selection.add(each);
    return true;
}

}

void EdStaffCommands::cmdGroup() { run(groupId, &group); }
void EdStaffCommands::cmdLyrics() { run(lyricsId, &lyrics); }
void EdStaffCommands::cmdTablature() { run(tablatureId, &tablature); }

void EdStaffCommands::addRows()
{
    EdCommandTable::add({groupId, [](unsigned) { cmdGroup(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({lyricsId, [](unsigned) { cmdLyrics(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({tablatureId, [](unsigned) { cmdTablature(); }, &EdCommandTable::whenScore});
}
