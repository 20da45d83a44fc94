#pragma once

#include "playback/MpJump.h"

// The To Coda at the end of a measure: taken only after a D.C. or D.S. al
// Coda, leading to the coda.
class MpToCoda : public MpJump
{
    BC_DECLARE_CLASS(MpToCoda)
public:
    MpToCoda(int time, int target) : MpJump(time, target) {}

    MpJump* clone() const override;
    MpJump* copyInto(void* room) const override;
    bool trigger(int& state) override;
};
