#pragma once

#include "foundation/BcObject.h"

#include <cstddef>
#include <new>

// One point of a staff at which the play order may leave the written order:
// a repeat, the choice of an ending, a D.C. or D.S., a Fine or a To Coda.
// When the performer reaches the jump's time it asks trigger whether the
// jump is taken now; if so the cursor goes to the target. The counters that
// decide it live in the jump.
//
// Jump states, the top of the performer's state stack handed to trigger:
// normal, al Fine (after a D.C./D.S. al Fine), al Coda (after a D.C./D.S.
// al Coda). trigger may set it to a new state, which the performer pushes,
// or to popState, which pops the top.
class MpJump : public BcObject
{
    BC_DECLARE_CLASS(MpJump)
public:
    enum State
    {
        popState = -1,
        normalState = 0,
        alFineState = 1,
        alCodaState = 2,
    };

    // Room for a copy of any jump class (MpJumpCopy).
    static constexpr std::size_t copyRoom = 96;

    MpJump(int time, int target) : jumpTime(time), jumpTarget(target) {}
    ~MpJump() override = default;

    // A new jump of the same class with every field copied, counters and
    // flags included.
    virtual MpJump* clone() const = 0;
    // The same copy built in room, which holds copyRoom bytes aligned for
    // any type; the caller destroys it without freeing.
    virtual MpJump* copyInto(void* room) const = 0;
    // Whether the jump is taken now; counts the arrival.
    virtual bool trigger(int& state) = 0;
    // Told of every jump taken during the performance.
    virtual void resetOnJump(const MpJump* taken);

    // Ticks from the staff's start.
    int time() const { return jumpTime; }
    int target() const { return jumpTarget; }

protected:
    void setTarget(int target) { jumpTarget = target; }
    // A D.C. or D.S.: taken the first time only, entering its state.
    static bool takeOnce(bool& fired, int& state, State entered);
    // A Fine or To Coda: taken only in its state, which it leaves.
    static bool takeInState(int& state, State required);

private:
    int jumpTime;
    int jumpTarget;
};

// Defines clone and copyInto of a jump class, whose every field copies as
// it stands.
#define MP_IMPLEMENT_JUMP_COPIES(X)                                            \
    static_assert(sizeof(X) <= MpJump::copyRoom, #X " must fit a jump copy");  \
    MpJump* X::clone() const { return new X(*this); }                          \
    MpJump* X::copyInto(void* room) const { return new (room) X(*this); }

// A copy of a jump on the stack: the look-ahead of the performer runs on the
// audio thread, which allocates nothing, and tries each jump on a copy so
// that the jump's own counters stay as they are.
class MpJumpCopy
{
public:
    explicit MpJumpCopy(const MpJump& jump) : copy(jump.copyInto(room)) {}
    ~MpJumpCopy() { copy->~MpJump(); }
    MpJumpCopy(const MpJumpCopy&) = delete;
    MpJumpCopy& operator=(const MpJumpCopy&) = delete;

    MpJump* operator->() const { return copy; }
    MpJump& operator*() const { return *copy; }

private:
    alignas(std::max_align_t) unsigned char room[MpJump::copyRoom];
    MpJump* copy;
};
