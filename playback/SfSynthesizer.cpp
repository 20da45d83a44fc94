#include "playback/SfSynthesizer.h"

#include "foundation/BcString.h"
#include "playback/SfBankFile.h"
#include "playback/SfPresetBuilder.h"

#include <algorithm>
#include <cstring>

std::unique_ptr<SfSynthesizer> SfSynthesizer::load(const Stream& stream, BcString& reason)
{
    SfBankFile bank;
    if (!bank.read(stream, SfBankFile::SampleFormat::floats, reason) || !bank.checkSamples(reason))
        return nullptr;
    std::unique_ptr<SfSynthesizer> synthesizer(new SfSynthesizer());
    if (!SfPresetBuilder::build(bank, synthesizer->presets, reason))
        return nullptr;
    synthesizer->presetCount = bank.presetCount();
    synthesizer->samples = std::move(bank.samples);
    synthesizer->voices.reserve(maxVoices);
    return synthesizer;
}

int SfSynthesizer::activeVoiceCount() const
{
    int active = 0;
    for (const SfVoice& voice : voices)
        active += voice.isFree() ? 0 : 1;
    return active;
}

SfVoice& SfSynthesizer::freeVoice()
{
    for (SfVoice& voice : voices) {
        if (voice.isFree())
            return voice;
    }
    if (voiceCount() < maxVoices) {
        size_t first = voices.size();
        voices.resize(std::min<size_t>(first + growStep, maxVoices));
        return voices[first];
    }
    // All busy: the oldest note gives way, a released one before a held one.
    SfVoice* oldest = &voices[0];
    for (SfVoice& voice : voices) {
        if (voice.isReleased() != oldest->isReleased()) {
            if (voice.isReleased())
                oldest = &voice;
        } else if (voice.playIndex < oldest->playIndex) {
            oldest = &voice;
        }
    }
    return *oldest;
}

void SfSynthesizer::noteOn(int presetIndex, int key, float velocity)
{
    if (presetIndex < 0 || presetIndex >= static_cast<int>(presets.size()))
        return;
    if (!(velocity > 0.0f)) {
        noteOff(presetIndex, key);
        return;
    }
    velocity = std::min(velocity, 1.0f);
    int midiVelocity = static_cast<int>(velocity * 127.0f);
    unsigned playIndex = voicePlayIndex++;
    for (const SfRegion& region : presets[presetIndex].regions) {
        if (key < region.loKey || key > region.hiKey || midiVelocity < region.loVel || midiVelocity > region.hiVel)
            continue;
        if (region.exclusiveClass != 0) {
            // Voices of this same note on are spared: the two sides of a
            // stereo sample share their class.
            for (SfVoice& voice : voices) {
                if (!voice.isFree() && voice.playingPreset == presetIndex && voice.playIndex != playIndex &&
                    voice.region->exclusiveClass == region.exclusiveClass)
                    voice.cut(outputSampleRate);
            }
        }
        freeVoice().start(region, presetIndex, key, velocity, playIndex, outputSampleRate, globalGainDb);
    }
}

void SfSynthesizer::noteOff(int presetIndex, int key)
{
    bool found = false;
    unsigned oldest = 0;
    for (const SfVoice& voice : voices) {
        if (voice.isFree() || voice.playingPreset != presetIndex || voice.playingKey != key || voice.isReleased())
            continue;
        if (!found || voice.playIndex < oldest)
            oldest = voice.playIndex;
        found = true;
    }
    if (!found)
        return;
    for (SfVoice& voice : voices) {
        if (!voice.isFree() && voice.playingPreset == presetIndex && voice.playingKey == key &&
            voice.playIndex == oldest && !voice.isReleased())
            voice.release(outputSampleRate);
    }
}

void SfSynthesizer::noteOffAll()
{
    for (SfVoice& voice : voices) {
        if (!voice.isFree() && !voice.isReleased())
            voice.release(outputSampleRate);
    }
}

void SfSynthesizer::renderFloat(float* buffer, int frames)
{
    if (!buffer || frames <= 0)
        return;
    SfVoice::Output output;
    output.left = buffer;
    if (outputMode == mono) {
        std::memset(buffer, 0, sizeof(float) * static_cast<size_t>(frames));
    } else {
        std::memset(buffer, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
        output.right = outputMode == separateChannels ? buffer + frames : buffer + 1;
        output.stride = outputMode == separateChannels ? 1 : 2;
    }
    // Block by block, every voice in turn, so that the filters of several
    // voices can run side by side.
    for (int done = 0; done < frames; done += SfVoice::blockFrames) {
        int n = std::min(SfVoice::blockFrames, frames - done);
        SfVoice::Output at = output;
        at.left += static_cast<long>(done) * output.stride;
        if (at.right)
            at.right += static_cast<long>(done) * output.stride;
        int waiting = 0;
        for (SfVoice& voice : voices) {
            if (voice.isFree())
                continue;
            SfVoice::Block& block = blocks[waiting];
            voice.beginBlock(samples.data(), n, outputSampleRate, block);
            if (!voice.lowPass.active) {
                voice.endBlock(block, at);
                continue;
            }
            filtered[waiting++] = &voice;
            if (waiting == SfLowPass::lanes) {
                finishFiltered(waiting, at);
                waiting = 0;
            }
        }
        finishFiltered(waiting, at);
    }
}

void SfSynthesizer::finishFiltered(int waiting, const SfVoice::Output& output)
{
    SfLowPass* filters[SfLowPass::lanes];
    float* values[SfLowPass::lanes];
    int counts[SfLowPass::lanes];
    for (int lane = 0; lane < waiting; ++lane) {
        filters[lane] = &filtered[lane]->lowPass;
        values[lane] = blocks[lane].values;
        counts[lane] = blocks[lane].count;
    }
    SfLowPass::processSideBySide(filters, values, counts, waiting);
    for (int lane = 0; lane < waiting; ++lane)
        filtered[lane]->endBlock(blocks[lane], output);
}
