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
    static constexpr int blockFrames = SfLowPass::longestBlock;

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
    // One block of a voice between its two halves: its points, read and
    // interpolated, wait there while the synthesizer runs the filters of
    // several voices side by side.
    struct Block
    {
        float values[blockFrames];
        int count = 0; // points read before the sample ended
        float gain = 0.0f;
    };

    // The first half of a block of at most blockFrames frames: the block's
    // controls (filter, pitch, gain), the envelopes and LFOs advanced by it,
    // and the sample's points read into block.
    void beginBlock(const float* samples, int frames, float rate, Block& block);
    // The second half: adds the block, filtered when the filter is on, to
    // output at its first frame; the voice becomes free when its sample or
    // its volume envelope ended.
    void endBlock(const Block& block, const Output& output);

private:
    // Reads up to frames interpolated points into values, stepping the read
    // position; answers how many it read before the sample ended.
    int interpolate(const float* samples, float* values, int frames, double step);

    double fixedStep = 0.0;  // read step per frame while the pitch is not modulated
    float fixedGain = 0.0f;  // gain while the volume is not modulated
};
