#pragma once

#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdSelectionObserver.h"
#include "editing/EdView.h"
#include "model/MnChord.h"
#include "model/MnNote.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"

// Stands in for the application's selection observer: derives the
// note-input state from the active view's selection after every
// transaction that changed it, as the application does.
class EdInputObserver : public EdSelectionObserver
{
public:
    explicit EdInputObserver(EdContext& context) : context(context) {}

    void selectionChanged() override
    {
        ++calls;
        EdView* view = context.activeView();
        if (!view)
            return;
        EdContext::NoteInput& input = context.noteInput();
        const EdSelection& selection = view->selection();
        if (selection.isEmpty()) {
            if (!view->hasPendingTool()) {
                input.inputDuration = 0;
                input.inputRest = false;
                input.inputDotted = false;
            }
            return;
        }
        if (selection.count() == 1 && selection.element(0)->isKindOf(MnTuplet::staticClass())) {
            const int span = static_cast<MnTuplet*>(selection.element(0))->span();
            input.inputDuration = mnIsDottedDuration(span) ? span * 2 / 3 : span;
            return;
        }
        bool first = true;
        int duration = 0;
        bool dotted = false;
        bool rest = false;
        const MnChord* only = nullptr;
        int chords = 0;
        for (int i = 0; i < selection.count(); ++i) {
            MnElement* element = selection.element(i);
            const MnChord* chord = nullptr;
            if (element->isKindOf(MnNote::staticClass()))
                chord = static_cast<MnNote*>(element)->chord();
            else if (element->isKindOf(MnChord::staticClass()))
                chord = static_cast<MnChord*>(element);
            if (!chord)
                continue;
            ++chords;
            only = chord;
            if (first) {
                duration = chord->undottedDuration();
                dotted = chord->isDotted();
                rest = chord->isRest();
                first = false;
                continue;
            }
            duration = duration == chord->undottedDuration() ? duration : 0;
            dotted = dotted && chord->isDotted();
            rest = rest && chord->isRest();
        }
        input.inputDuration = duration;
        input.inputDotted = dotted;
        input.inputRest = rest;
        if (chords == 1 && selection.count() == 1)
            input.inputVoice = only->voice();
    }

    EdContext& context;
    int calls = 0;
};
