#pragma once

#include "playback/SfEnvelope.h"
#include "playback/SfLfo.h"
#include "playback/SfLowPass.h"

struct SfRegion;

// One sounding region: its sample read at the key's pitch with linear
// interpolation, shaped by two envelopes, two LFOs and the low-pass, with
// every control updated once per block of at most 64 frames.
class SfVoice
{
public:
    static constexpr int blockFrames = 64;

    // Where a voice adds its frames: the left (or only) channel and the
    // right one (null in mono), each stride floats from frame to frame.
    struct Output
    {
        float* left = nullptr;
        float* right = nullptr;
        int stride = 1;
    };

    int playingPreset = -1; // -1: free
    int playingKey = 0;     // MIDI key number
    const SfRegion* region = nullptr;
    double pitchInputTimecents = 0.0;
    double pitchOutputFactor = 0.0;
    double sourceSamplePosition = 0.0;
    float noteGainDb = 0.0f;
    float panFactorLeft = 0.0f;
    float panFactorRight = 0.0f;
    unsigned playIndex = 0;
    unsigned loopStart = 0; // looping while loopStart < loopEnd
    unsigned loopEnd = 0;
    SfEnvelope volumeEnvelope;
    SfEnvelope modulationEnvelope;
    SfLowPass lowPass;
    SfLfo modLfo;
    SfLfo vibLfo;

    bool isFree() const { return playingPreset < 0; }
    bool isReleased() const { return volumeEnvelope.segment >= SfEnvelope::releasing; }

    // velocity in 0..1, above 0.
    void start(const SfRegion& region, int preset, int key, float velocity, unsigned playIndex, float rate,
               float globalGainDb);
    // Note off: both envelopes release, and a loop that lasts until release
    // ends, so the sample plays on to its end.
    void release(float rate);
    // Released with a release time of 0: it fades within 10 ms.
    void cut(float rate);
    // Adds frames of this voice to output; the voice becomes free when its
    // sample or its volume envelope ends.
    void render(const float* samples, const Output& output, int frames, float rate);

private:
    template <bool filtered, bool stereo>
    void mix(const float* samples, float* left, float* right, int stride, int frames, float gainLeft,
             float gainRight, double step);

    double fixedStep = 0.0;  // read step per frame while the pitch is not modulated
    float fixedGain = 0.0f;  // gain while the volume is not modulated
};
