#include "app/UiComputerKeyboard.h"

#include "commands/EdCursorCommands.h"
#include "commands/EdNoteInputCommands.h"
#include "commands/EdPlayMenuCommands.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdCursor.h"
#include "editing/EdView.h"
#include "model/MnChord.h"
#include "panels/UiHeldKeys.h"
#include "panels/UiKeyCodes.h"
#include "playback/MrRecorder.h"

namespace {

void redrawPiano(EdContext& context)
{
    if (context.hasMainWindow())
        context.redrawPianoKeyboard();
}

}  // namespace

bool UiComputerKeyboard::keyDown(unsigned code, unsigned modifiers)
{
    EdContext& context = EdContext::current();
    const unsigned long long now = context.tickCount();
    // Without Ctrl or Alt a key typed into a text field is the field's.
    if (!(modifiers & (ctrl | alt)) && host.textFieldHasFocus())
        return false;
    const int position = UiNoteKeys::positionOfCode(UiNoteKeys::layoutForLanguage(host.keyboardLanguage()), code);
    if (position >= 0)
        return noteKeyDown(position, modifiers, now);

    switch (code) {
        case UiKeyCodes::back: takeBackLastNote(); return true;
        case UiKeyCodes::tab: EdCursorCommands::selectNextNoteInChord(); return true;
        case UiKeyCodes::escape: EdNoteInputCommands::cmdClearInput(); return true;
        case UiKeyCodes::left: EdCursorCommands::moveCursorLeft(); return true;
        case UiKeyCodes::right: EdCursorCommands::moveCursorRight(); return true;
        case UiKeyCodes::add: EdPlayMenuCommands::cmdVolumeUp(); return true;
        case UiKeyCodes::subtract: EdPlayMenuCommands::cmdVolumeDown(); return true;
        default: break;
    }
    if (code >= UiKeyCodes::digit0 + 1 && code <= UiKeyCodes::digit0 + 7) {
        context.noteInput().keyboardOctave = int(code - UiKeyCodes::digit0);
        redrawPiano(context);
        return true;
    }
    return false;
}

bool UiComputerKeyboard::noteKeyDown(int position, unsigned modifiers, unsigned long long now)
{
    EdContext& context = EdContext::current();
    EdContext::NoteInput& input = context.noteInput();
    if ((modifiers & ctrl) && (modifiers & alt)) {
        // At transpose t the C position plays what this position plays at 0.
        const int transpose = position - UiNoteKeys::cPosition;
        if (transpose != input.keyboardTranspose) {
            input.keyboardTranspose = transpose;
            redrawPiano(context);
        }
        return true;
    }
    const int key = UiNoteKeys::keyIndex(input.keyboardOctave, input.keyboardTranspose, position);
    if (!UiNoteKeys::plays(key))
        return false;
    PressedKey& physical = pressed[position];
    // One preview per press: the auto-repeats of a held key do not sound.
    if (physical.sounding < 0 && UiHeldKeys::setByComputerKeyboard(key, true)) {
        physical.sounding = key;
        host.invalidatePanels();
        host.keyDown(key);
    }
    physical.entered = key;
    MrRecorder* recorder = host.recorder();
    if (recorder && recorder->isRecording()) {
        recorder->addEvent(context.tickCount(), key);
        return true;
    }
    const bool addToChord = now - lastNoteKeyTime < (unsigned long long)host.chordThreshold();
    host.enterNote(key, addToChord);
    lastNoteKeyTime = now;
    return true;
}

bool UiComputerKeyboard::keyUp(unsigned code)
{
    const int position = UiNoteKeys::positionOfCode(UiNoteKeys::layoutForLanguage(host.keyboardLanguage()), code);
    if (position < 0)
        return false;
    const PressedKey physical = pressed[position];
    pressed[position] = PressedKey();
    release(physical);
    return true;
}

void UiComputerKeyboard::releaseAll()
{
    for (PressedKey& physical : pressed) {
        const PressedKey held = physical;
        physical = PressedKey();
        release(held);
    }
}

void UiComputerKeyboard::release(const PressedKey& physical)
{
    if (physical.sounding >= 0) {
        if (UiHeldKeys::setByComputerKeyboard(physical.sounding, false))
            host.invalidatePanels();
        host.keyUp(physical.sounding);
    }
    MrRecorder* recorder = host.recorder();
    if (physical.entered >= 0 && recorder && recorder->isRecording()) {
        const unsigned long long now = EdContext::current().tickCount();
        recorder->releaseKey(now, physical.entered);
        if (physical.sounding >= 0 && physical.sounding != physical.entered)
            recorder->releaseKey(now, physical.sounding);
    }
}

void UiComputerKeyboard::takeBackLastNote()
{
    EdView* view = EdContext::current().activeView();
    if (!view)
        return;
    EdCommand edit;
    MnChord* chord = view->cursor().movePrevious(false);
    if (!chord)
        return;
    if (chord->isGrace()) {
        view->cursor().moveNext(false);
        MnElement* parent = chord->parent();
        if (parent && parent->removeChild(chord))
            edit.markModified();
        return;
    }
    if (chord->clearNotes()) {
        edit.markModified();
        view->selection().clear();
        view->selection().add(chord);
    }
}
