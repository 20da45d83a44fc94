#include "commands/EdLineCommands.h"

#include "commands/EdCommandTable.h"
#include "commands/UiNewLineCmd.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "model/MnCodes.h"
#include "model/MnDynamic.h"
#include "model/MnMeasure.h"
#include "model/MnOctave.h"
#include "model/MnPedal.h"
#include "model/MnStaff.h"

#include <vector>

namespace {

// The line over the selection's span, selected. True when the selection
// named a span, made or not: then no tool starts.
template <class T>
bool lineOverSpan(EdCommand& edit, EdSelection& selection)
{
    MnStaff* staff = nullptr;
    int start = 0;
    int end = 0;
    if (!selection.staffTimeSpan(staff, start, end))
        return false;
    T* line = staff->addLine<T>(start);
    if (!line)
        return true;
    line->setLength(end - start);
    if (T::staticClass() == MnOctave::staticClass() && staff->definitionAt(start, false)->clef() == MnClefBass)
        line->setKind(-1);
    edit.markModified();
    selection.clear();
    selection.add(line);
    return true;
}

// A pedal mark a measure long in each selected measure, all selected.
bool pedalPerMeasure(EdCommand& edit, EdSelection& selection)
{
    std::vector<MnMeasure*> measures;
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* element = selection.element(i);
        if (element->isKindOf(MnMeasure::staticClass()))
            measures.push_back(static_cast<MnMeasure*>(element));
    }
    bool made = false;
    for (MnMeasure* measure : measures) {
        MnPedal* pedal = measure->staff()->addLine<MnPedal>(measure->startTime());
        if (!pedal)
            continue;
        pedal->setLength(measure->length());
        edit.markModified();
        if (!made)
            selection.clear();
        selection.add(pedal);
        made = true;
    }
    return made;
}

template <class T>
void startTool(EdView* view)
{
    // Another tool is ended before this one takes the view.
    view->discardPendingTool();
    view->startTool(new UiNewLineCmd<T>(view));
}

template <class T>
void lineCommand(bool pedal)
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    view->discardPendingTool();
    {
        EdCommand edit;
        view = context.activeView();
        if (!view)
            return;
        EdSelection& selection = view->selection();
        if (pedal && pedalPerMeasure(edit, selection))
            return;
        if (pedal) {
            // Measures whose pedals were all refused fall back on the span;
            // only a pedal that was made stops the command there.
            MnStaff* staff = nullptr;
            int start = 0;
            int end = 0;
            if (selection.staffTimeSpan(staff, start, end)) {
                MnPedal* line = staff->addLine<MnPedal>(start);
                if (line) {
                    line->setLength(end - start);
                    edit.markModified();
                    selection.clear();
                    selection.add(line);
                    return;
                }
            }
        } else if (lineOverSpan<T>(edit, selection)) {
            return;
        }
    }
    view = context.activeView();
    if (view)
        startTool<T>(view);
}

}

void EdLineCommands::cmdOctave() { lineCommand<MnOctave>(false); }
void EdLineCommands::cmdDynamic() { lineCommand<MnDynamic>(false); }
void EdLineCommands::cmdPedal() { lineCommand<MnPedal>(true); }

void EdLineCommands::addRows()
{
    EdCommandTable::add({octaveId, [](unsigned) { cmdOctave(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({dynamicId, [](unsigned) { cmdDynamic(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({pedalId, [](unsigned) { cmdPedal(); }, &EdCommandTable::whenScore});
}
