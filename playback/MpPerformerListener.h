#pragma once

// The receiver of the notes that a performance starts and stops: the
// player's synthesizer, the MIDI file writer, the unfolder's silent sink.
// Keys are piano keys 0..87 (A0 = 0); the instrument is the part's
// MnInstrument code with -1 given as 0 (the piano).
class MpPerformerListener
{
public:
    virtual ~MpPerformerListener() = default;

    // velocity lies within 0..1.
    virtual void noteOn(int instrumentType, int key, double velocity) = 0;
    // A note that its receiver releases by itself after the milliseconds;
    // the performer never calls it.
    virtual void noteOnTimed(int instrumentType, int key, double velocity, unsigned milliseconds) = 0;
    virtual void noteOff(int instrumentType, int key) = 0;
};
