#pragma once

class MrRecorder;

// What the MIDI input reaches outside itself: the player, the key flags
// and windows of the instrument panels, the chord threshold of the
// settings, note entry at the score view's cursor and the recorder. The
// shell implements it over its panels, settings and application object;
// tests install a fake.
//
// keyDown and keyUp run on the driver's thread; everything else on the
// user-interface thread.
class UiMIDIInputHost
{
public:
    static constexpr int keyCount = 88;

    virtual ~UiMIDIInputHost();

    // The player's preview keys: key is the note number less 21 and may lie
    // outside 0..87 (note numbers 0..127 all sound).
    virtual void keyDown(int key) = 0;
    virtual void keyUp(int key) = 0;
    // Every synthesizer note released, when the player is open.
    virtual void noteOffAll() = 0;

    // The byMidiInput flag of the panels' held-key table, key 0..87.
    virtual bool isHeldByMidiInput(int key) = 0;
    virtual void setHeldByMidiInput(int key, bool held) = 0;
    // Repaints every instrument panel's window.
    virtual void invalidatePanels() = 0;
    // Clears every byMidiInput flag, repainting the panels when one was set.
    virtual bool releaseMidiInputKeys() = 0;

    // "ChordThreshold": milliseconds within which a note joins the chord of
    // the note before it.
    virtual int chordThreshold() = 0;
    // Enters the key (0..87) at the score view's cursor, into the chord
    // there when addToChord.
    virtual void enterNote(int key, bool addToChord) = 0;
    // The application's recorder; null when there is none.
    virtual MrRecorder* recorder() = 0;
};
