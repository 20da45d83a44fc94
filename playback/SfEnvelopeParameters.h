#pragma once

// The stages of an envelope. Times are in seconds once a region is built
// (hold and decay stay in timecents while a key scales them, and are turned
// into seconds at note on); the volume envelope's sustain is a gain, the
// modulation envelope's a level of 0..1.
struct SfEnvelopeParameters
{
    float delay = 0.0f;
    float attack = 0.0f;
    float hold = 0.0f;
    float decay = 0.0f;
    float sustain = 0.0f;
    float release = 0.0f;
    float keyToHold = 0.0f;
    float keyToDecay = 0.0f;
};
