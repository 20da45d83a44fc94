#pragma once

#include "playback/SfEnvelopeParameters.h"

// A running volume or modulation envelope. It moves through its segments
// one block at a time: a segment change takes effect after the block in
// which its time ran out, and a segment of no length is passed over.
class SfEnvelope
{
public:
    enum Segment : short { unstarted, delaying, attacking, holding, decaying, sustaining, releasing, finished };

    float level = 0.0f;
    // The per-sample factor of an exponential segment, else the step.
    float slope = 0.0f;
    int samplesUntilNextSegment = 0;
    short segment = unstarted;
    short velocity = 0;
    SfEnvelopeParameters parameters;
    bool exponential = false;
    bool isVolumeEnvelope = false;

    // Starts from the beginning for a key and a velocity of 0..127; a hold
    // or decay that the key scales is still in timecents in parameters.
    void start(const SfEnvelopeParameters& parameters, int key, int velocity, bool isVolumeEnvelope, float rate);
    // Goes to the release segment from wherever it is.
    void release(float rate);
    void process(int frames, float rate);

    // seconds x rate as a sample count, 0 for nothing and at most INT_MAX.
    static int samples(double seconds, double rate);

private:
    void nextSegment(int from, float rate);
    void enter(Segment next, int samples, float level, float slope, bool exponential);

    float blockFactor = 1.0f; // slope to the power of a whole block
};
