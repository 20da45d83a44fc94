#include "playback/SfEnvelope.h"

#include <climits>
#include <cmath>

namespace {

constexpr int fullBlock = 64;
// ln(10^-4): exponential segments fall by 80 dB over their length.
constexpr double eightyDecibels = -9.226;
constexpr double shortestRelease = 0.01; // seconds: a release of 0 still fades
constexpr int doneSamples = (1 << 27) - 1;

// A stage time that a key scales: timecents shifted by the key's distance
// from middle C, into seconds.
float keyScaled(float timecents, float perKey, int key)
{
    double scaled = (60 - key) * static_cast<double>(perKey) + timecents;
    return scaled < -10000.0 ? 0.0f : static_cast<float>(std::exp2(scaled / 1200.0));
}

} // namespace

int SfEnvelope::samples(double seconds, double rate)
{
    double count = seconds * rate;
    if (!(count >= 1.0))
        return 0;
    if (count >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(count);
}

void SfEnvelope::start(const SfEnvelopeParameters& stages, int key, int noteVelocity, bool volume, float rate)
{
    parameters = stages;
    if (stages.keyToHold != 0.0f)
        parameters.hold = keyScaled(stages.hold, stages.keyToHold, key);
    if (stages.keyToDecay != 0.0f)
        parameters.decay = keyScaled(stages.decay, stages.keyToDecay, key);
    velocity = static_cast<short>(noteVelocity);
    isVolumeEnvelope = volume;
    level = 0.0f;
    nextSegment(unstarted, rate);
}

void SfEnvelope::release(float rate)
{
    nextSegment(sustaining, rate);
}

void SfEnvelope::process(int frames, float rate)
{
    if (exponential)
        level *= frames == fullBlock ? blockFactor : std::pow(slope, static_cast<float>(frames));
    else
        level += slope * static_cast<float>(frames);
    samplesUntilNextSegment -= frames;
    if (samplesUntilNextSegment <= 0)
        nextSegment(segment, rate);
}

void SfEnvelope::enter(Segment next, int count, float startLevel, float step, bool isExponential)
{
    segment = next;
    samplesUntilNextSegment = count;
    level = startLevel;
    slope = step;
    exponential = isExponential;
    blockFactor = isExponential ? std::pow(step, static_cast<float>(fullBlock)) : 1.0f;
}

void SfEnvelope::nextSegment(int from, float rate)
{
    switch (from) {
    case unstarted:
        if (int count = samples(parameters.delay, rate); count > 0)
            return enter(delaying, count, 0.0f, 0.0f, false);
        [[fallthrough]];
    case delaying: {
        double attack = parameters.attack;
        if (!isVolumeEnvelope)
            attack *= (145 - velocity) / 144.0;
        if (int count = samples(attack, rate); count > 0)
            return enter(attacking, count, 0.0f, 1.0f / static_cast<float>(count), false);
        [[fallthrough]];
    }
    case attacking:
        if (int count = samples(parameters.hold, rate); count > 0)
            return enter(holding, count, 1.0f, 0.0f, false);
        [[fallthrough]];
    case holding: {
        double length = static_cast<double>(parameters.decay) * rate;
        if (length >= 1.0) {
            double sustainLevel = parameters.sustain;
            if (isVolumeEnvelope) {
                double perSample = eightyDecibels / length;
                double count = sustainLevel > 0.0 ? std::log(sustainLevel) / perSample : length;
                if (int n = samples(count, 1.0); n > 0)
                    return enter(decaying, n, 1.0f, static_cast<float>(std::exp(perSample)), true);
            } else if (int n = samples((1.0 - sustainLevel) * length, 1.0); n > 0) {
                return enter(decaying, n, 1.0f, static_cast<float>(-1.0 / length), false);
            }
        }
        [[fallthrough]];
    }
    case decaying:
        return enter(sustaining, INT_MAX, parameters.sustain, 0.0f, false);
    case sustaining: {
        double seconds = parameters.release > 0.0f ? parameters.release : shortestRelease;
        int count = samples(seconds, rate);
        if (count < 1)
            count = 1;
        if (isVolumeEnvelope)
            return enter(releasing, count, level, static_cast<float>(std::exp(eightyDecibels / count)), true);
        return enter(releasing, count, level, -level / static_cast<float>(count), false);
    }
    case releasing:
        return enter(finished, doneSamples, 0.0f, 0.0f, false);
    default:
        samplesUntilNextSegment = doneSamples;
        return;
    }
}
