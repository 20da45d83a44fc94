#include "playback/SfVoice.h"

#include "playback/SfRegion.h"

#include <algorithm>
#include <cmath>

namespace {

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

void SfVoice::render(const float* samples, const Output& output, int frames, float rate)
{
    const SfRegion& playing = *region;
    const bool dynamicPitch = playing.modLfoToPitch != 0 || playing.vibLfoToPitch != 0 || playing.modEnvToPitch != 0;
    const bool dynamicFilter = playing.modLfoToFilterCutoff != 0 || playing.modEnvToFilterCutoff != 0;
    const bool usesModEnvelope = playing.modEnvToPitch != 0 || playing.modEnvToFilterCutoff != 0;
    const bool usesModLfo = modLfo.delta != 0.0f && (playing.modLfoToPitch != 0 || playing.modLfoToFilterCutoff != 0 ||
                                                     playing.modLfoToVolume != 0);
    const bool usesVibLfo = vibLfo.delta != 0.0f && playing.vibLfoToPitch != 0;
    const bool stereo = output.right != nullptr;

    for (int done = 0; done < frames;) {
        int n = std::min(blockFrames, frames - done);

        if (dynamicFilter) {
            double cutoff = playing.filterCutoff + modLfo.level * playing.modLfoToFilterCutoff +
                            modulationEnvelope.level * playing.modEnvToFilterCutoff;
            lowPass.active = cutoff <= SfLowPass::highestCutoff;
            if (lowPass.active)
                lowPass.setCutoff(cutoff, rate);
        }
        double step = fixedStep;
        if (dynamicPitch) {
            double cents = pitchInputTimecents + modLfo.level * playing.modLfoToPitch +
                           vibLfo.level * playing.vibLfoToPitch + modulationEnvelope.level * playing.modEnvToPitch;
            step = std::exp2(cents / 1200.0) * pitchOutputFactor;
        }
        float gain = fixedGain;
        if (playing.modLfoToVolume != 0)
            gain = decibelsToGain(noteGainDb + modLfo.level * playing.modLfoToVolume * 0.1);
        float blockGain = volumeEnvelope.level * gain;

        volumeEnvelope.process(n, rate);
        if (usesModEnvelope)
            modulationEnvelope.process(n, rate);
        if (usesModLfo)
            modLfo.process(n);
        if (usesVibLfo)
            vibLfo.process(n);

        float* left = output.left + static_cast<long>(done) * output.stride;
        float* right = stereo ? output.right + static_cast<long>(done) * output.stride : nullptr;
        if (stereo) {
            float gainLeft = blockGain * panFactorLeft;
            float gainRight = blockGain * panFactorRight;
            if (lowPass.active)
                mix<true, true>(samples, left, right, output.stride, n, gainLeft, gainRight, step);
            else
                mix<false, true>(samples, left, right, output.stride, n, gainLeft, gainRight, step);
        } else if (lowPass.active) {
            mix<true, false>(samples, left, nullptr, output.stride, n, blockGain, 0.0f, step);
        } else {
            mix<false, false>(samples, left, nullptr, output.stride, n, blockGain, 0.0f, step);
        }

        if (!(sourceSamplePosition < playing.end) || volumeEnvelope.segment == SfEnvelope::finished) {
            playingPreset = -1;
            return;
        }
        done += n;
    }
}

template <bool filtered, bool stereo>
void SfVoice::mix(const float* samples, float* left, float* right, int stride, int frames, float gainLeft,
                  float gainRight, double step)
{
    const double end = region->end;
    const bool looping = loopStart < loopEnd;
    const double wrapAt = loopEnd + 1.0;
    const double loopLength = static_cast<double>(loopEnd - loopStart) + 1.0;
    double position = sourceSamplePosition;
    for (int f = 0; f < frames; ++f) {
        // Also stops on a position that is not a number.
        if (!(position < end))
            break;
        unsigned i = static_cast<unsigned>(position);
        float alpha = static_cast<float>(position - i);
        unsigned j = looping && i >= loopEnd ? loopStart : i + 1;
        float value = samples[i] + (samples[j] - samples[i]) * alpha;
        if constexpr (filtered)
            value = lowPass.process(value);
        left[f * stride] += value * gainLeft;
        if constexpr (stereo)
            right[f * stride] += value * gainRight;
        position += step;
        if (looping && position >= wrapAt)
            position -= loopLength;
    }
    sourceSamplePosition = position;
}
