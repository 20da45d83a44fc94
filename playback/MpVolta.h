#pragma once

#include "playback/MpJump.h"

// The choice of an ending, at the start of a first ending: each arrival
// takes the next ending's start, and the last one once they run out.
class MpVolta : public MpJump
{
    BC_DECLARE_CLASS(MpVolta)
public:
    // Ten endings at most; held in place, so that the jump copies without
    // the heap.
    static constexpr int maxEndings = 10;

    explicit MpVolta(int time) : MpJump(time, time) {}

    MpJump* clone() const override;
    MpJump* copyInto(void* room) const override;
    // Always taken once an ending is known.
    bool trigger(int& state) override;

    // False when the ten are there.
    bool addEndingStart(int time);
    int endingCount() const { return endings; }
    int endingStart(int index) const { return endingStarts[index]; }
    int pass() const { return passes; }

private:
    int endingStarts[maxEndings] = {};
    int endings = 0;
    int passes = 0;
};
