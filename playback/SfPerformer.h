#pragma once

#include "playback/MpPerformer.h"
#include "playback/MpPerformerListener.h"
#include "playback/SfInstrumentBank.h"

class SfSynthesizer;

// The player's performer: it is its own listener and sounds what it
// performs on the synthesizer, keeping a flag per piano key while the
// performance sounds it. It also sounds the preview keys that the panels,
// the computer keyboard and the MIDI input play outside the performance.
//
// Not thread-safe: the player calls everything under its playback lock.
// Nothing here allocates or frees, so the audio callback may call any of it.
//
// The synthesizer, the key flags and the preview keys are one set that
// performers may share: the player prepares an edited score on a spare
// performer outside its lock and only swaps it in under the lock.
class SfPerformer : public MpPerformer, public MpPerformerListener
{
public:
    static constexpr int keyCount = 88;
    static constexpr int lowestMidiKey = 21; // A0, key index 0
    // The preview keys reach every note number, 0..127, off the piano too.
    static constexpr int lowestPreviewKey = -lowestMidiKey;
    static constexpr int highestPreviewKey = 127 - lowestMidiKey;
    static constexpr float previewVelocity = 0.5f;

    // The preset of the program's bank that plays an MnInstrument code:
    // the ten instruments it holds, the piano for any other code.
    static int instrumentToPreset(int instrument);

    SfPerformer();
    SfPerformer(const SfPerformer&) = delete;
    SfPerformer& operator=(const SfPerformer&) = delete;

    // From now on sounds on the synthesizer and keys of the other performer.
    void shareKeys(SfPerformer& other) { keys = other.keys; }

    // Not owned; null silences everything.
    void setSynthesizer(SfSynthesizer* synthesizer);
    SfSynthesizer* synthesizer() const { return keys->output; }

    void noteOn(int instrumentType, int key, double velocity) override;
    // Releases the timed note before it (with the preset that struck it),
    // then sounds this one until tickCount passes now + milliseconds.
    void noteOnTimed(int instrumentType, int key, double velocity, unsigned milliseconds) override;
    void noteOff(int instrumentType, int key) override;

    // A held preview key. keyUp releases the key in the preset that struck
    // it, even when the preview instrument changed in between. Keys off the
    // piano (lowestPreviewKey..highestPreviewKey) sound uncounted, and keyUp
    // releases them in every preset.
    void keyDown(int preset, int key);
    void keyUp(int preset, int key);
    // A preview key that releases itself after the milliseconds; a tap
    // still sounding is released first.
    void keyTap(int preset, int key, unsigned milliseconds, unsigned long long now);
    // Releases the tapped key once now has passed its deadline.
    void releaseTapDue(unsigned long long now);
    bool hasTapPending() const { return keys->tapDeadline != 0; }

    // Every note of the synthesizer released and every key flag cleared.
    void releaseEverything();
    // Releases every key of the preset and clears every key flag.
    void releasePreset(int preset);
    void clearKeyFlags();
    const unsigned char* keyFlags() const { return keys->flags; }

private:
    void strikeTap(int preset, int key, float velocity, unsigned milliseconds, unsigned long long now);

    struct Keys
    {
        SfSynthesizer* output = nullptr;
        unsigned char flags[keyCount] = {};
        // Per key and preset: how many keyDown notes are held.
        unsigned char held[keyCount][SfInstrumentBank::presetCount] = {};
        int tapKey = 39; // middle C
        int tapPreset = 0;
        // When the tap is to be released, on the 64-bit tick count; 0 none.
        unsigned long long tapDeadline = 0;
    };

    Keys ownKeys;
    Keys* keys = &ownKeys;
};
