#pragma once

#include "playback/SfPreset.h"
#include "playback/SfStream.h"
#include "playback/SfVoice.h"

#include <memory>
#include <vector>

class BcString;

// The SoundFont synthesizer: the presets and samples of one bank, and the
// voices that play them into float buffers. Not thread-safe: its callers
// hold the player's lock. After load, note on, note off and rendering
// allocate nothing, free nothing and wait for nothing: the voices are
// reserved at load, and a note that finds all of them busy takes the oldest.
class SfSynthesizer
{
public:
    using Stream = SfStream;

    enum OutputMode {
        interleavedStereo = 0, // left, right, left, right...
        separateChannels = 1,  // the left channel's frames, then the right's
        mono = 2
    };

    // Voices sound at most this many at once; the voice array grows in
    // steps of growStep inside this reserve.
    static constexpr int maxVoices = 256;
    static constexpr int growStep = 4;

    std::vector<SfPreset> presets;    // sorted by bank, preset number and file order
    std::vector<float> samples;       // the bank's points, and one zero guard point
    std::vector<SfVoice> voices;
    int presetCount = 0;              // "phdr" records less the terminal one
    int outputMode = interleavedStereo;
    float outputSampleRate = 44100.0f;
    float globalGainDb = 0.0f;
    unsigned voicePlayIndex = 0;

    // The bank's synthesizer, or null with a reason for a bank that is
    // damaged or is not a bank; nothing outside the stream's bytes is read.
    static std::unique_ptr<SfSynthesizer> load(const Stream& stream, BcString& reason);

    int voiceCount() const { return static_cast<int>(voices.size()); }
    int activeVoiceCount() const;

    // velocity 0..1; 0 or less releases the key. A preset index outside
    // the presets is ignored.
    void noteOn(int presetIndex, int key, float velocity);
    // Releases the voices of the oldest note on of that preset and key that
    // is still held.
    void noteOff(int presetIndex, int key);
    void noteOffAll();
    // Clears frames of output (frames x 2 floats in the stereo modes) and
    // adds every sounding voice into it.
    void renderFloat(float* buffer, int frames);

private:
    SfSynthesizer() = default;
    SfVoice& freeVoice();
    // Filters and adds the blocks of the voices that wait for their filter.
    void finishFiltered(int waiting, const SfVoice::Output& output);

    // Scratch of one block: the voices whose filters run side by side, and
    // their blocks.
    SfVoice* filtered[SfLowPass::lanes] = {};
    SfVoice::Block blocks[SfLowPass::lanes];
};
