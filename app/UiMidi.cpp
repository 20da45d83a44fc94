#include "app/UiMidi.h"

#include "app/Quorvane.h"
#include "app/UiHandOff.h"
#include "commands/EdNoteInputCommands.h"
#include "editing/EdContext.h"
#include "panels/UiHeldKeys.h"
#include "panels/UiInstrumentPanel.h"
#include "playback/MpPlayer.h"

UiMidi::UiMidi(MpPlayer* player) : player(player)
{
    midiInput.setHost(this);
    midiInput.setHandOff(this);
}

UiMidi::~UiMidi()
{
    midiInput.close();
}

bool UiMidi::open()
{
    Quorvane& app = Quorvane::instance();
    app.setMidiDataReceiver([this](unsigned timestamp, unsigned message) { midiInput.onData(timestamp, message); });
    app.setMidiHotPlug([this] { midiInput.pollDevices(); });
    return midiInput.open();
}

bool UiMidi::close()
{
    const bool closed = midiInput.close();
    Quorvane& app = Quorvane::instance();
    app.setMidiHotPlug(nullptr);
    app.setMidiDataReceiver(nullptr);
    return closed;
}

void UiMidi::keyDown(int key)
{
    if (player)
        player->keyDown(key);
}

void UiMidi::keyUp(int key)
{
    if (player)
        player->keyUp(key);
}

void UiMidi::noteOffAll()
{
    if (player && player->isOpen())
        player->noteOffAll();
}

bool UiMidi::isHeldByMidiInput(int key)
{
    return UiHeldKeys::at(key).byMidiInput;
}

void UiMidi::setHeldByMidiInput(int key, bool on)
{
    UiHeldKeys::setByMidiInput(key, on);
}

void UiMidi::invalidatePanels()
{
    UiInstrumentPanel::invalidateAll();
}

bool UiMidi::releaseMidiInputKeys()
{
    return UiInstrumentPanel::releaseMidiInputKeys();
}

int UiMidi::chordThreshold()
{
    return Quorvane::instance().settings.chordThreshold;
}

void UiMidi::enterNote(int key, bool addToChord)
{
    EdNoteInputCommands::enterNote(key, addToChord);
}

void UiMidi::post(unsigned timestamp, unsigned message)
{
    Quorvane::instance().midiHandOff().post(timestamp, message);
}
