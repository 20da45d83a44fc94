#pragma once

#include "app/UiPlayerPort.h"
#include "playback/MpMidiHandOff.h"
#include "playback/MrRecorder.h"
#include "playback/UiMIDIInput.h"
#include "playback/UiMIDIInputHost.h"

class MpPlayer;

// The program's MIDI input and recorder, and what the input reaches of the
// program: the player, the held-key flags that the instrument panels show,
// the chord threshold, note entry at the cursor and the recorder. Messages
// travel from the driver's thread to the interface thread through the
// application's hand-off, which runs on the toolkit's event loops.
class UiMidi : public UiMidiInputPort, public UiMIDIInputHost, public MpMidiHandOff
{
public:
    // The player may be null (no sound); it must outlive the input. The
    // application object must exist from open to close.
    explicit UiMidi(MpPlayer* player);
    ~UiMidi() override;

    // Start-up: routes the application's hand-off to the input and opens
    // the first device, quietly.
    bool open() override;
    bool close() override;

    UiMIDIInput& input() { return midiInput; }

    // UiMIDIInputHost
    void keyDown(int key) override;
    void keyUp(int key) override;
    void noteOffAll() override;
    bool isHeldByMidiInput(int key) override;
    void setHeldByMidiInput(int key, bool held) override;
    void invalidatePanels() override;
    bool releaseMidiInputKeys() override;
    int chordThreshold() override;
    void enterNote(int key, bool addToChord) override;
    MrRecorder* recorder() override { return &recording; }

    // MpMidiHandOff, on the driver's thread.
    void post(unsigned timestamp, unsigned message) override;

private:
    MpPlayer* player;
    MrRecorder recording;
    UiMIDIInput midiInput;
};
