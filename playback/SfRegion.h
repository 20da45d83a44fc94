#pragma once

#include "playback/SfEnvelopeParameters.h"

// One playable mapping of a sample: a preset zone and an instrument zone
// combined, with the sample header's positions folded in. Positions are
// indices into the synthesizer's samples; a region's end and offset always
// lie inside them, and a looping region's loop inside its own sample.
struct SfRegion
{
    enum LoopMode { noLoop = 0, loopContinuously = 1, loopUntilRelease = 2 };

    int loopMode = noLoop;
    unsigned sampleRate = 0;
    int loKey = 0;
    int hiKey = 127;
    int loVel = 0;
    int hiVel = 127;
    unsigned exclusiveClass = 0;
    int offset = 0;
    int end = 0;
    int loopStart = 0;
    int loopEnd = 0;
    int transpose = 0;     // semitones
    int tune = 0;          // cents
    int rootKey = 60;
    int keyTracking = 100; // cents per key
    float attenuation = 0.0f; // dB
    float pan = 0.0f;         // -0.5..0.5
    SfEnvelopeParameters volumeEnvelope;
    SfEnvelopeParameters modulationEnvelope;
    int filterQ = 0;          // centibels
    int filterCutoff = 13500; // absolute cents
    int modEnvToPitch = 0;
    int modEnvToFilterCutoff = 0;
    int modLfoToFilterCutoff = 0;
    int modLfoToVolume = 0; // centibels
    float modLfoDelay = 0.0f; // seconds
    int modLfoFrequency = 0;  // absolute cents
    int modLfoToPitch = 0;
    float vibLfoDelay = 0.0f;
    int vibLfoFrequency = 0;
    int vibLfoToPitch = 0;
};
