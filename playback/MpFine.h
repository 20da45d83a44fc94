#pragma once

#include "playback/MpJump.h"

// The Fine at the end of a measure: taken only after a D.C. or D.S. al
// Fine, leading to the end of the staff.
class MpFine : public MpJump
{
    BC_DECLARE_CLASS(MpFine)
public:
    MpFine(int time, int target) : MpJump(time, target) {}

    MpJump* clone() const override;
    MpJump* copyInto(void* room) const override;
    bool trigger(int& state) override;
};
