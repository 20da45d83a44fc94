#pragma once

#include "playback/MpJump.h"

// A D.C. al Coda or D.S. al Coda at the end of a measure: taken once per
// performance, after which a To Coda leads to the coda.
class MpDxToCoda : public MpJump
{
    BC_DECLARE_CLASS(MpDxToCoda)
public:
    MpDxToCoda(int time, int target) : MpJump(time, target) {}

    MpJump* clone() const override;
    MpJump* copyInto(void* room) const override;
    bool trigger(int& state) override;

    bool isFired() const { return fired; }

private:
    bool fired = false;
};
