#include "playback/SfPerformer.h"

#include "editing/EdContext.h"
#include "model/MnCodes.h"
#include "playback/SfSynthesizer.h"

static bool isKey(int key)
{
    return key >= 0 && key < SfPerformer::keyCount;
}

// A preview key off the piano: a note number the synthesizer still plays.
static bool isNoteBeyondPiano(int key)
{
    return !isKey(key) && key >= SfPerformer::lowestPreviewKey && key <= SfPerformer::highestPreviewKey;
}

int SfPerformer::instrumentToPreset(int instrument)
{
    // The bank's order: piano, guitar, electric guitar, bass guitar, flute,
    // saxophone, violin, cello, double bass, trumpet.
    switch (instrument) {
    case MnInstrumentGuitar:
        return 1;
    case MnInstrumentElectricGuitar:
        return 2;
    case MnInstrumentBassGuitar:
        return 3;
    case MnInstrumentFlute:
        return 4;
    case MnInstrumentSaxophone:
        return 5;
    case MnInstrumentViolin:
        return 6;
    case MnInstrumentCello:
        return 7;
    case MnInstrumentDoubleBass:
        return 8;
    case MnInstrumentTrumpet:
        return 9;
    default:
        return 0;
    }
}

SfPerformer::SfPerformer() = default;

void SfPerformer::setSynthesizer(SfSynthesizer* synthesizer)
{
    keys->output = synthesizer;
    keys->tapDeadline = 0;
    clearKeyFlags();
    for (auto& presets : keys->held) {
        for (unsigned char& count : presets)
            count = 0;
    }
}

void SfPerformer::noteOn(int instrumentType, int key, double velocity)
{
    if (!isKey(key))
        return;
    if (keys->output)
        keys->output->noteOn(instrumentToPreset(instrumentType), key + lowestMidiKey, float(velocity));
    keys->flags[key] = 1;
}

void SfPerformer::noteOnTimed(int instrumentType, int key, double velocity, unsigned milliseconds)
{
    if (!isKey(key))
        return;
    if (keys->tapDeadline != 0)
        keys->flags[keys->tapKey] = 0;
    strikeTap(instrumentToPreset(instrumentType), key, float(velocity), milliseconds,
              EdContext::current().tickCount());
    keys->flags[key] = 1;
}

void SfPerformer::noteOff(int instrumentType, int key)
{
    if (!isKey(key))
        return;
    if (keys->output)
        keys->output->noteOff(instrumentToPreset(instrumentType), key + lowestMidiKey);
    keys->flags[key] = 0;
}

void SfPerformer::keyDown(int preset, int key)
{
    if (preset < 0 || preset >= SfInstrumentBank::presetCount)
        return;
    if (isNoteBeyondPiano(key)) {
        if (keys->output)
            keys->output->noteOn(preset, key + lowestMidiKey, previewVelocity);
        return;
    }
    if (!isKey(key))
        return;
    if (keys->output)
        keys->output->noteOn(preset, key + lowestMidiKey, previewVelocity);
    if (keys->held[key][preset] < 255)
        ++keys->held[key][preset];
}

void SfPerformer::keyUp(int preset, int key)
{
    if (preset < 0 || preset >= SfInstrumentBank::presetCount)
        return;
    // No count is kept off the piano: the key is released in every preset.
    if (isNoteBeyondPiano(key)) {
        if (keys->output) {
            for (int other = 0; other < SfInstrumentBank::presetCount; ++other)
                keys->output->noteOff(other, key + lowestMidiKey);
        }
        return;
    }
    if (!isKey(key))
        return;
    // The note of the current preset first; else one that an earlier
    // preview instrument struck.
    int struck = preset;
    if (keys->held[key][preset] == 0) {
        for (int other = 0; other < SfInstrumentBank::presetCount; ++other) {
            if (keys->held[key][other] > 0) {
                struck = other;
                break;
            }
        }
    }
    if (keys->held[key][struck] > 0)
        --keys->held[key][struck];
    if (keys->output)
        keys->output->noteOff(struck, key + lowestMidiKey);
}

void SfPerformer::keyTap(int preset, int key, unsigned milliseconds, unsigned long long now)
{
    if (!isKey(key))
        return;
    strikeTap(preset, key, previewVelocity, milliseconds, now);
}

void SfPerformer::strikeTap(int preset, int key, float velocity, unsigned milliseconds, unsigned long long now)
{
    if (keys->tapDeadline != 0 && keys->output)
        keys->output->noteOff(keys->tapPreset, keys->tapKey + lowestMidiKey);
    if (keys->output)
        keys->output->noteOn(preset, key + lowestMidiKey, velocity);
    keys->tapKey = key;
    keys->tapPreset = preset;
    keys->tapDeadline = now + milliseconds;
    // 0 means no tap.
    if (keys->tapDeadline == 0)
        keys->tapDeadline = 1;
}

void SfPerformer::releaseTapDue(unsigned long long now)
{
    if (keys->tapDeadline == 0 || now <= keys->tapDeadline)
        return;
    if (keys->output)
        keys->output->noteOff(keys->tapPreset, keys->tapKey + lowestMidiKey);
    keys->tapDeadline = 0;
}

void SfPerformer::releaseEverything()
{
    if (keys->output)
        keys->output->noteOffAll();
    clearKeyFlags();
}

void SfPerformer::releasePreset(int preset)
{
    for (int key = 0; key < keyCount; ++key) {
        if (keys->output)
            keys->output->noteOff(preset, key + lowestMidiKey);
        keys->flags[key] = 0;
    }
}

void SfPerformer::clearKeyFlags()
{
    for (unsigned char& flag : keys->flags)
        flag = 0;
}
