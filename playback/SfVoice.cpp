#include "playback/SfVoice.h"

#include "playback/SfRegion.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr double fixedOne = 4294967296.0;    // 2^32
constexpr float fractionUnit = 1.0f / 4294967296.0f;

float decibelsToGain(double decibels)
{
    return decibels <= -100.0 ? 0.0f : static_cast<float>(std::pow(10.0, 0.05 * decibels));
}

} // namespace

void SfVoice::start(const SfRegion& playing, int preset, int key, float velocity, unsigned index, float rate,
                    float globalGainDb)
{
    region = &playing;
    playingPreset = preset;
    playingKey = key;
    playIndex = index;
    noteGainDb = globalGainDb - playing.attenuation + 20.0f * std::log10(velocity);
    fixedGain = decibelsToGain(noteGainDb);

    double note = (key + playing.transpose + playing.tune / 100.0 - playing.rootKey) * playing.keyTracking / 100.0 +
                  playing.rootKey;
    pitchInputTimecents = note * 100.0;
    pitchOutputFactor = playing.sampleRate / (std::exp2(playing.rootKey / 12.0) * rate);
    fixedStep = std::exp2(pitchInputTimecents / 1200.0) * pitchOutputFactor;

    panFactorLeft = std::sqrt(0.5f - playing.pan);
    panFactorRight = std::sqrt(0.5f + playing.pan);
    sourceSamplePosition = playing.offset;
    bool looping = playing.loopMode != SfRegion::noLoop && playing.loopStart < playing.loopEnd;
    loopStart = looping ? static_cast<unsigned>(playing.loopStart) : 0;
    loopEnd = looping ? static_cast<unsigned>(playing.loopEnd) : 0;

    int midiVelocity = static_cast<int>(velocity * 127.0f);
    volumeEnvelope.start(playing.volumeEnvelope, key, midiVelocity, true, rate);
    modulationEnvelope.start(playing.modulationEnvelope, key, midiVelocity, false, rate);
    lowPass.start(playing.filterQ, playing.filterCutoff, rate);
    modLfo.start(playing.modLfoDelay, playing.modLfoFrequency, rate);
    vibLfo.start(playing.vibLfoDelay, playing.vibLfoFrequency, rate);
}

void SfVoice::release(float rate)
{
    volumeEnvelope.release(rate);
    modulationEnvelope.release(rate);
    if (region && region->loopMode == SfRegion::loopUntilRelease)
        loopEnd = loopStart;
}

void SfVoice::cut(float rate)
{
    volumeEnvelope.parameters.release = 0.0f;
    modulationEnvelope.parameters.release = 0.0f;
    release(rate);
}

void SfVoice::beginBlock(const float* samples, int frames, float rate, Block& block)
{
    const SfRegion& playing = *region;
    if (playing.modLfoToFilterCutoff != 0 || playing.modEnvToFilterCutoff != 0) {
        double cutoff = playing.filterCutoff + modLfo.level * playing.modLfoToFilterCutoff +
                        modulationEnvelope.level * playing.modEnvToFilterCutoff;
        lowPass.active = cutoff <= SfLowPass::highestCutoff;
        if (lowPass.active)
            lowPass.setCutoff(cutoff, rate);
    }
    double step = fixedStep;
    if (playing.modLfoToPitch != 0 || playing.vibLfoToPitch != 0 || playing.modEnvToPitch != 0) {
        double cents = pitchInputTimecents + modLfo.level * playing.modLfoToPitch +
                       vibLfo.level * playing.vibLfoToPitch + modulationEnvelope.level * playing.modEnvToPitch;
        step = std::exp2(cents / 1200.0) * pitchOutputFactor;
    }
    float gain = fixedGain;
    if (playing.modLfoToVolume != 0)
        gain = decibelsToGain(noteGainDb + modLfo.level * playing.modLfoToVolume * 0.1);
    block.gain = volumeEnvelope.level * gain;

    volumeEnvelope.process(frames, rate);
    if (playing.modEnvToPitch != 0 || playing.modEnvToFilterCutoff != 0)
        modulationEnvelope.process(frames, rate);
    if (modLfo.delta != 0.0f &&
        (playing.modLfoToPitch != 0 || playing.modLfoToFilterCutoff != 0 || playing.modLfoToVolume != 0))
        modLfo.process(frames);
    if (vibLfo.delta != 0.0f && playing.vibLfoToPitch != 0)
        vibLfo.process(frames);

    block.count = interpolate(samples, block.values, frames, step);

}

void SfVoice::endBlock(const Block& block, const Output& output)
{
    const int stride = output.stride;
    float* left = output.left;
    if (output.right) {
        float* right = output.right;
        const float gainLeft = block.gain * panFactorLeft;
        const float gainRight = block.gain * panFactorRight;
        int f = 0;
#if defined(__SSE2__)
        if (stride == 2 && right == left + 1) {
            // Interleaved stereo, the player's mode: four frames at a time.
            const __m128 toLeft = _mm_set1_ps(gainLeft);
            const __m128 toRight = _mm_set1_ps(gainRight);
            for (; f + 4 <= block.count; f += 4) {
                __m128 points = _mm_loadu_ps(block.values + f);
                __m128 leftPoints = _mm_mul_ps(points, toLeft);
                __m128 rightPoints = _mm_mul_ps(points, toRight);
                float* frame = left + 2 * f;
                _mm_storeu_ps(frame, _mm_add_ps(_mm_loadu_ps(frame), _mm_unpacklo_ps(leftPoints, rightPoints)));
                _mm_storeu_ps(frame + 4,
                              _mm_add_ps(_mm_loadu_ps(frame + 4), _mm_unpackhi_ps(leftPoints, rightPoints)));
            }
        }
#endif
        for (; f < block.count; ++f) {
            left[f * stride] += block.values[f] * gainLeft;
            right[f * stride] += block.values[f] * gainRight;
        }
    } else {
        for (int f = 0; f < block.count; ++f)
            left[f * stride] += block.values[f] * block.gain;
    }
    if (!(sourceSamplePosition < region->end) || volumeEnvelope.segment == SfEnvelope::finished)
        playingPreset = -1;
}

int SfVoice::interpolate(const float* samples, float* values, int frames, double step)
{
    const double end = region->end;
    const bool looping = loopStart < loopEnd;
    const double wrapAt = loopEnd + 1.0;
    const double loopLength = static_cast<double>(loopEnd - loopStart) + 1.0;
    // Until the read position reaches this, the next point is simply the
    // following one: no loop to wrap, no end to stop at.
    const double plainLimit = looping ? std::min(end, static_cast<double>(loopEnd)) : end;
    // With a step this small, rounding could carry a position past a limit
    // it was counted to stop short of.
    const bool plainRuns = step >= 1e-3;
    double position = sourceSamplePosition;
    int f = 0;
    while (f < frames) {
        int plain = 0;
        if (plainRuns) {
            double room = (plainLimit - position) / step;
            if (room >= 1.0)
                plain = room >= frames - f ? frames - f : static_cast<int>(room);
        }
        // In 32.32 fixed point a frame's point and fraction are a shift and
        // a mask away, where a double needs three conversions.
        const double runStart = position;
        if (plain > 0) {
            unsigned long long at = static_cast<unsigned long long>(runStart * fixedOne);
            const unsigned long long stepFixed = static_cast<unsigned long long>(step * fixedOne);
            int k = 0;
#if defined(__SSE2__)
            // Four frames at a time: the points are fetched one by one, the
            // fractions and the sums worked out together.
            const __m128 fractionScale = _mm_set1_ps(fractionUnit * 256.0f);
            for (; k + 4 <= plain; k += 4) {
                unsigned long long p0 = at, p1 = at + stepFixed, p2 = p1 + stepFixed, p3 = p2 + stepFixed;
                at = p3 + stepFixed;
                const float* s0 = samples + (p0 >> 32);
                const float* s1 = samples + (p1 >> 32);
                const float* s2 = samples + (p2 >> 32);
                const float* s3 = samples + (p3 >> 32);
                __m128 here = _mm_setr_ps(s0[0], s1[0], s2[0], s3[0]);
                __m128 next = _mm_setr_ps(s0[1], s1[1], s2[1], s3[1]);
                // The top 24 bits of each fraction, exact in a float.
                __m128i fractions = _mm_setr_epi32(static_cast<int>((p0 & 0xFFFFFFFFu) >> 8),
                                                   static_cast<int>((p1 & 0xFFFFFFFFu) >> 8),
                                                   static_cast<int>((p2 & 0xFFFFFFFFu) >> 8),
                                                   static_cast<int>((p3 & 0xFFFFFFFFu) >> 8));
                __m128 alpha = _mm_mul_ps(_mm_cvtepi32_ps(fractions), fractionScale);
                _mm_storeu_ps(values + f + k, _mm_add_ps(here, _mm_mul_ps(_mm_sub_ps(next, here), alpha)));
            }
#endif
            for (; k < plain; ++k) {
                unsigned i = static_cast<unsigned>(at >> 32);
                float alpha = static_cast<float>(static_cast<long long>(at & 0xFFFFFFFFu)) * fractionUnit;
                values[f + k] = samples[i] + (samples[i + 1] - samples[i]) * alpha;
                at += stepFixed;
            }
        }
        f += plain;
        position = runStart + plain * step;
        if (f == frames)
            break;
        // Also stops on a position that is not a number.
        if (!(position < end))
            break;
        unsigned i = static_cast<unsigned>(position);
        float alpha = static_cast<float>(position - i);
        unsigned j = looping && i >= loopEnd ? loopStart : i + 1;
        values[f++] = samples[i] + (samples[j] - samples[i]) * alpha;
        position += step;
        if (looping && position >= wrapAt)
            position -= loopLength;
    }
    sourceSamplePosition = position;
    return f;
}
