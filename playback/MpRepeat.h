#pragma once

#include "playback/MpJump.h"

// The end of a repeated section, at the end of a measure with an end-repeat
// bar line; it leads back to the start of the section until the section has
// sounded playCount times.
class MpRepeat : public MpJump
{
    BC_DECLARE_CLASS(MpRepeat)
public:
    MpRepeat(int time, int target, int playCount) : MpJump(time, target), plays(playCount) {}

    MpJump* clone() const override;
    MpJump* copyInto(void* room) const override;
    bool trigger(int& state) override;
    // A D.C. or D.S. that replays the section plays its repeat again in full.
    void resetOnJump(const MpJump* taken) override;

    int playCount() const { return plays; }
    int passCounter() const { return passes; }

private:
    int plays;
    int passes = 0;
};
