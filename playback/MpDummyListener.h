#pragma once

#include "playback/MpPerformerListener.h"

// A listener that hears nothing: the unfolder performs a score only for its
// play order.
class MpDummyListener : public MpPerformerListener
{
public:
    void noteOn(int, int, double) override {}
    void noteOnTimed(int, int, double, unsigned) override {}
    void noteOff(int, int) override {}
};
