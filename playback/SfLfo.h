#pragma once

#include "playback/SfEnvelope.h"

#include <cmath>

// A triangle between -1 and 1 that starts after its delay, advanced once per
// block.
struct SfLfo
{
    int samplesUntilStart = 0;
    float level = 0.0f;
    float delta = 0.0f; // per sample

    void start(float delaySeconds, int frequencyCents, float rate)
    {
        samplesUntilStart = SfEnvelope::samples(delaySeconds, rate);
        level = 0.0f;
        delta = static_cast<float>(4.0 * 8.176 * std::exp2(frequencyCents / 1200.0) / rate);
    }

    void process(int frames)
    {
        if (samplesUntilStart > 0) {
            samplesUntilStart -= frames;
            return;
        }
        level += delta * static_cast<float>(frames);
        if (level > 1.0f) {
            level = 2.0f - level;
            delta = -delta;
        } else if (level < -1.0f) {
            level = -2.0f - level;
            delta = -delta;
        }
        // A frequency beyond a block's worth of swing would fold past the
        // other peak; the triangle never leaves its range.
        if (level > 1.0f)
            level = 1.0f;
        else if (level < -1.0f)
            level = -1.0f;
    }
};
