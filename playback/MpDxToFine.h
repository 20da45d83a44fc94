#pragma once

#include "playback/MpJump.h"

// A D.C. al Fine or D.S. al Fine at the end of a measure: taken once per
// performance, after which a Fine ends the playing.
class MpDxToFine : public MpJump
{
    BC_DECLARE_CLASS(MpDxToFine)
public:
    MpDxToFine(int time, int target) : MpJump(time, target) {}

    MpJump* clone() const override;
    MpJump* copyInto(void* room) const override;
    bool trigger(int& state) override;

    bool isFired() const { return fired; }

private:
    bool fired = false;
};
