#include "panels/UiInstrumentServices.h"

#include "app/Quorvane.h"
#include "app/UiMidi.h"
#include "commands/EdNoteInputCommands.h"
#include "editing/EdContext.h"
#include "editing/EdView.h"
#include "panels/UiNoteKeys.h"
#include "playback/MpPlayer.h"

#include <wx/utils.h>

#include <cstring>

namespace {

UiInstrumentServices programServices;
UiInstrumentServices* installed = nullptr;

MpPlayer* player()
{
    return Quorvane::exists() ? Quorvane::instance().editingContext().player() : nullptr;
}

MrRecorder* recorder()
{
    if (!Quorvane::exists())
        return nullptr;
    UiMidi* midi = Quorvane::instance().editingContext().midiService();
    return midi ? midi->recorder() : nullptr;
}

}

UiInstrumentServices& UiInstrumentServices::current()
{
    return installed ? *installed : programServices;
}

UiInstrumentServices* UiInstrumentServices::install(UiInstrumentServices* services)
{
    UiInstrumentServices* previous = installed;
    installed = services;
    return previous;
}

void UiInstrumentServices::soundingKeys(unsigned char keys[keyCount])
{
    std::memset(keys, 0, keyCount);
    if (MpPlayer* playing = player())
        playing->keysDown(keys);
}

void UiInstrumentServices::keyDown(int key)
{
    if (MpPlayer* playing = player())
        playing->keyDown(key);
}

void UiInstrumentServices::keyUp(int key)
{
    if (MpPlayer* playing = player())
        playing->keyUp(key);
}

bool UiInstrumentServices::isRecording()
{
    MrRecorder* recording = recorder();
    return recording && recording->isRecording();
}

void UiInstrumentServices::recordKeyDown(int key)
{
    if (MrRecorder* recording = recorder())
        recording->addEvent(EdContext::current().tickCount(), key);
}

void UiInstrumentServices::recordKeyUp(int key)
{
    if (MrRecorder* recording = recorder())
        recording->releaseKey(EdContext::current().tickCount(), key);
}

void UiInstrumentServices::enterNote(int key)
{
    EdNoteInputCommands::enterNote(key, false);
}

void UiInstrumentServices::setKeyboardOctaveFromKey(int key)
{
    UiNoteKeys::setKeyboardOctaveFromKey(key);
}

bool UiInstrumentServices::ctrlAndAltHeld()
{
    return wxGetKeyState(WXK_CONTROL) && wxGetKeyState(WXK_ALT);
}

const EdSelection* UiInstrumentServices::activeSelection()
{
    EdView* view = EdContext::current().activeView();
    return view ? &view->selection() : nullptr;
}

int UiInstrumentServices::keyboardOctave()
{
    return EdContext::current().noteInput().keyboardOctave;
}

int UiInstrumentServices::keyboardTranspose()
{
    return EdContext::current().noteInput().keyboardTranspose;
}

std::u32string UiInstrumentServices::keyLabels()
{
    const int language = Quorvane::exists() ? Quorvane::instance().keyboardLanguage : 0;
    std::u32string labels;
    for (const wchar_t* c = UiNoteKeys::layoutForLanguage(language).labels; *c; ++c)
        labels += char32_t(*c);
    return labels;
}
