#include "app/UiFrameKeyboard.h"

#include "app/Quorvane.h"
#include "app/UiMidi.h"
#include "app/UiViewInput.h"
#include "commands/EdNoteInputCommands.h"
#include "editing/EdContext.h"
#include "panels/UiGdkKeymap.h"
#include "panels/UiKeyCodes.h"
#include "playback/MpPlayer.h"

#include <wx/event.h>
#include <wx/textentry.h>
#include <wx/utils.h>
#include <wx/window.h>

UiFrameKeyboard::UiFrameKeyboard(Quorvane& app) : app(app), keymap(std::make_unique<UiGdkKeymap>())
{
    app.keyboardLanguage = UiNoteKeys::languageFromKeymap(*keymap);
    UiGdkKeymap::watch([this] { readKeyboardLanguage(); });
}

UiFrameKeyboard::~UiFrameKeyboard()
{
    UiGdkKeymap::watch(nullptr);
    keyboard.releaseAll();
}

void UiFrameKeyboard::readKeyboardLanguage()
{
    const int language = UiNoteKeys::languageFromKeymap(*keymap);
    if (language == app.keyboardLanguage)
        return;
    app.keyboardLanguage = language;
    EdContext& context = EdContext::current();
    if (context.hasMainWindow())
        context.redrawPianoKeyboard();
}

void UiFrameKeyboard::useKeymap(std::unique_ptr<UiKeymap> replacement)
{
    if (!replacement)
        return;
    keymap = std::move(replacement);
    readKeyboardLanguage();
}

unsigned UiFrameKeyboard::codeOf(const wxKeyEvent& event) const
{
    return UiKeyCodes::fromEvent(event.GetRawKeyFlags(), event.GetKeyCode(), app.keyboardLanguage);
}

unsigned UiFrameKeyboard::modifiersNow()
{
    const UiViewKeys& keys = UiViewKeys::shared();
    unsigned modifiers = 0;
    if (keys.isDown(UiViewKeys::leftControl) || keys.isDown(UiViewKeys::rightControl) || wxGetKeyState(WXK_CONTROL))
        modifiers |= UiComputerKeyboard::ctrl;
    if (keys.isDown(UiViewKeys::leftAlt) || keys.isDown(UiViewKeys::rightAlt) || wxGetKeyState(WXK_ALT))
        modifiers |= UiComputerKeyboard::alt;
    return modifiers;
}

void UiFrameKeyboard::onKey(wxKeyEvent& event)
{
    unsigned modifiers = 0;
    if (event.ControlDown())
        modifiers |= UiComputerKeyboard::ctrl;
    if (event.AltDown())
        modifiers |= UiComputerKeyboard::alt;
    if (!key(codeOf(event), modifiers, event.GetEventType() == wxEVT_KEY_DOWN))
        event.Skip();
}

bool UiFrameKeyboard::key(unsigned code, unsigned modifiers, bool down)
{
    if (code == 0)
        return false;
    return down ? keyboard.keyDown(code, modifiers) : keyboard.keyUp(code);
}

void UiFrameKeyboard::keyDown(int key)
{
    if (MpPlayer* player = app.playback())
        player->keyDown(key);
}

void UiFrameKeyboard::keyUp(int key)
{
    if (MpPlayer* player = app.playback())
        player->keyUp(key);
}

MrRecorder* UiFrameKeyboard::recorder()
{
    UiMidi* midi = app.midi();
    return midi ? midi->recorder() : nullptr;
}

int UiFrameKeyboard::chordThreshold()
{
    return app.settings.chordThreshold;
}

void UiFrameKeyboard::enterNote(int key, bool addToChord)
{
    EdNoteInputCommands::enterNote(key, addToChord);
}

void UiFrameKeyboard::invalidatePanels()
{
    EdContext::current().refreshInstrumentPanes();
}

int UiFrameKeyboard::keyboardLanguage()
{
    return app.keyboardLanguage;
}

bool UiFrameKeyboard::textFieldHasFocus()
{
    return dynamic_cast<wxTextEntry*>(wxWindow::FindFocus()) != nullptr;
}
