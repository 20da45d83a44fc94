#include "commands/EdIntervalCommands.h"

#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnNote.h"

int EdIntervalCommands::intervalOfCommand(unsigned id)
{
    if (id >= firstAboveId && id <= lastAboveId)
        return int(id - firstAboveId) + 2;
    if (id >= firstBelowId && id <= lastBelowId)
        return -(int(id - firstBelowId) + 2);
    return 0;
}

bool EdIntervalCommands::intervalPitch(int interval, int& step, int& octave, int& accidental)
{
    const int distance = interval < 0 ? -interval : interval;
    if (distance < 2 || distance > 9)
        return false;
    int s = step;
    int o = octave;
    int a = accidental;
    if (distance == 8) {
        o += interval > 0 ? 1 : -1;
    } else {
        a = MnAccidentalNone;
        s += interval > 0 ? interval - 1 : interval + 1;
        while (s > 6)
            s -= 7, ++o;
        while (s < 0)
            s += 7, --o;
    }
    // A0 is the lowest key of the piano, C8 the highest.
    const bool inRange = (o >= 1 && o <= 7) || (o == 0 && s >= 5) || (o == 8 && s == 0);
    if (!inRange)
        return false;
    step = s;
    octave = o;
    accidental = a;
    return true;
}

void EdIntervalCommands::addIntervalNote(int interval)
{
    EdContext& context = EdContext::current();
    bool found = false;
    {
        EdCommand edit;
        EdView* view = context.activeView();
        if (!view)
            return;
        const EdSelection& selection = view->selection();
        // Adding a note to a chord deletes nothing: the selection is read as it is.
        for (int i = 0; i < selection.count(); ++i) {
            MnElement* element = selection.element(i);
            if (!element->isKindOf(MnNote::staticClass()))
                continue;
            found = true;
            MnNote* note = static_cast<MnNote*>(element);
            int step = note->step();
            int octave = note->octave();
            int accidental = note->accidental();
            if (!intervalPitch(interval, step, octave, accidental))
                continue;
            if (note->chord()->addNote(step, octave, accidental, note->isTied()))
                edit.markModified();
        }
    }
    if (!found)
        context.showHint(hintId);
}

void EdIntervalCommands::addRows()
{
    auto handler = [](unsigned id) { addIntervalNote(intervalOfCommand(id)); };
    EdCommandTable::addRange(firstAboveId, lastAboveId, handler, &EdCommandTable::whenScore);
    EdCommandTable::addRange(firstBelowId, lastBelowId, handler, &EdCommandTable::whenScore);
}
