// The play order: the jump list built from the measures of the cursor's
// staff, the jump taken on arrival, the state stack, and the look-ahead to
// the measure that plays next.

#include "playback/MpPerformer.h"

#include "editing/EdCursor.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnStaff.h"
#include "playback/MpDxToCoda.h"
#include "playback/MpDxToFine.h"
#include "playback/MpFine.h"
#include "playback/MpJump.h"
#include "playback/MpRepeat.h"
#include "playback/MpToCoda.h"
#include "playback/MpVolta.h"

void MpPerformer::clearJumps()
{
    for (int i = 0; i < jumps.count(); ++i)
        delete jumps[i];
    jumps.removeAll();
}

void MpPerformer::addJump(MpJump* jump)
{
    if (!jump || jumps.indexOf(jump) >= 0)
        return;
    const int time = jump->time();
    int place = 0;
    while (place < jumps.count() && jumps[place]->time() < time)
        ++place;
    // The performer takes the first jump of a time that triggers and tries
    // the others at the next arrival: an end repeat sounds before a D.C. of
    // the same bar line, and an ending is chosen after both.
    if (jump->isKindOf(MpVolta::staticClass())) {
        while (place < jumps.count() && jumps[place]->time() == time)
            ++place;
    } else if (!jump->isKindOf(MpRepeat::staticClass())) {
        while (place < jumps.count() && jumps[place]->time() == time &&
               !jumps[place]->isKindOf(MpVolta::staticClass()))
            ++place;
    }
    jumps.insertAt(place, jump);
}

// The endings of a first ending at measure `first`: each next ending is the
// first measure from there on that carries it, unless the next first ending
// comes before it.
static MpVolta* newVolta(const MnStaff* staff, int first)
{
    MpVolta* volta = new MpVolta(staff->measureStartTime(first));
    volta->addEndingStart(staff->measureStartTime(first));
    for (int ending = 2; ending <= MpVolta::maxEndings; ++ending) {
        const int bit = 1 << (ending - 1);
        int found = -1;
        for (int m = first; m < staff->measureCount(); ++m) {
            const int mask = staff->measure(m)->voltaMask();
            if (m > first && (mask & 1) != 0)
                break;
            if ((mask & bit) != 0) {
                found = m;
                break;
            }
        }
        if (found < 0)
            break;
        volta->addEndingStart(staff->measureStartTime(found));
    }
    return volta;
}

void MpPerformer::buildJumps()
{
    clearJumps();
    passCounts.removeAll();
    const MnStaff* staff = cursorStaff();
    if (!staff)
        return;
    const int measureCount = staff->measureCount();
    passCounts.setSize(measureCount);
    int segnoTime = -1;
    int codaTime = -1;
    for (int m = 0; m < measureCount; ++m) {
        passCounts[m] = 0;
        const int marker = staff->measure(m)->repeatMarker();
        if (marker == MnRepeatMarkerSegno)
            segnoTime = staff->measureStartTime(m);
        else if (marker == MnRepeatMarkerCoda)
            codaTime = staff->measureStartTime(m);
    }

    int repeatStart = 0;
    for (int m = 0; m < measureCount; ++m) {
        const MnMeasure* measure = staff->measure(m);
        const int end = staff->measureStartTime(m + 1);
        const int barline = measure->barline();
        if (barline == MnBarlineEndRepeat || barline == MnBarlineEndStartRepeat)
            addJump(new MpRepeat(end, repeatStart, measure->repeatCount()));
        // After the end repeat: a measure with both closes the earlier
        // section and opens the next.
        if (barline == MnBarlineStartRepeat || barline == MnBarlineEndStartRepeat)
            repeatStart = end;
        if ((measure->voltaMask() & 1) != 0) {
            MpVolta* volta = newVolta(staff, m);
            // A first ending without a second leaves the repeat to decide.
            if (volta->endingCount() >= 2)
                addJump(volta);
            else
                delete volta;
        }
        switch (measure->repeatJump()) {
        case MnRepeatJumpFine:
            addJump(new MpFine(end, staff->totalTicks()));
            break;
        case MnRepeatJumpToCoda:
            if (codaTime != -1)
                addJump(new MpToCoda(end, codaTime));
            break;
        case MnRepeatJumpDaCapoAlFine:
            addJump(new MpDxToFine(end, 0));
            break;
        case MnRepeatJumpDalSegnoAlFine:
            if (segnoTime != -1)
                addJump(new MpDxToFine(end, segnoTime));
            break;
        case MnRepeatJumpDaCapoAlCoda:
            addJump(new MpDxToCoda(end, 0));
            break;
        case MnRepeatJumpDalSegnoAlCoda:
            if (segnoTime != -1)
                addJump(new MpDxToCoda(end, segnoTime));
            break;
        default:
            break;
        }
    }
}

int MpPerformer::topState() const
{
    return stateStack.isEmpty() ? MpJump::normalState : stateStack[stateStack.count() - 1];
}

// start reserved room for one push per D.C. or D.S., each of which is taken
// once.
void MpPerformer::applyState(int before, int after)
{
    if (after == before)
        return;
    if (after == MpJump::popState) {
        if (!stateStack.isEmpty())
            stateStack.setSize(stateStack.count() - 1);
        return;
    }
    stateStack.add(after);
}

void MpPerformer::advance(MnStaff* staff, Moment& moment)
{
    const MnMeasure* left = measureHolding(staff, performerCursor->time());
    const int time = performerCursor->time() + step;
    performerCursor->setPosition(time, 0, false);
    for (int i = 0; i < jumps.count(); ++i) {
        MpJump* jump = jumps[i];
        if (jump->time() != time)
            continue;
        const int before = topState();
        int state = before;
        if (!jump->trigger(state))
            continue;
        moment.jumped = true;
        moment.leftIndex = left ? left->index() : 0;
        performerCursor->setPosition(jump->target(), 0, false);
        applyState(before, state);
        for (int j = 0; j < jumps.count(); ++j)
            jumps[j]->resetOnJump(jump);
        break;
    }

    // Grace notes before the next bar line, and the chords that a bar line
    // releases, belong to the measure that plays next.
    pendingMeasure = -1;
    const MnMeasure* current = measureHolding(staff, performerCursor->time());
    if (!current)
        return;
    const int end = current->startTime() + current->length();
    int target = 0;
    if (firstTakenBetween(end - 1, end, target)) {
        const MnMeasure* next = staff->measureAtTime(target);
        pendingMeasure = next ? next->index() : -1;
    }
}

bool MpPerformer::firstTakenBetween(int after, int upTo, int& target) const
{
    for (int i = 0; i < jumps.count(); ++i) {
        const MpJump* jump = jumps[i];
        if (jump->time() <= after || jump->time() > upTo)
            continue;
        MpJumpCopy copy(*jump);
        int state = topState();
        if (copy->trigger(state)) {
            target = copy->target();
            return true;
        }
    }
    return false;
}

int MpPerformer::seek(int ticks) const
{
    const int time = performerCursor ? performerCursor->time() : 0;
    if (ticks == 0)
        return time;
    // Far beyond any staff, the answer stays an int.
    const long long reach = (long long)time + ticks;
    const int upTo = reach > MnMaxStaffTicks ? MnMaxStaffTicks : reach < -MnMaxStaffTicks ? -MnMaxStaffTicks : int(reach);
    int target = 0;
    if (firstTakenBetween(time, upTo, target))
        return target;
    return upTo;
}
