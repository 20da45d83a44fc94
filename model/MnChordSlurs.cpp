// Slurs: the slur bit of a chord joins it to the next chord of the same kind;
// a run of slurred chords is one slur, which a chord with the slur-start flag
// breaks. All chords of one slur share its placement.

#include "model/MnChord.h"

#include "model/MnCodes.h"

MnChord* MnChord::previousSlurChord() const
{
    MnChord* before = previousChord();
    if (grace)
        return before && before->grace ? before : nullptr;
    while (before && before->grace)
        before = before->previousChord();
    return before;
}

MnChord* MnChord::nextSlurChord() const
{
    MnChord* after = nextChord();
    if (grace)
        return after && after->grace ? after : nullptr;
    while (after && after->grace)
        after = after->nextChord();
    return after;
}

bool MnChord::setArticulation(int bit, bool on)
{
    if (on)
        articulationBits |= bit;
    else
        articulationBits &= ~bit;
    articulationBits &= 0xFF;
    if (bit != MnArticulationSlur)
        return true;

    // Join the placement of the slur this chord continues, else of the one
    // it leads into.
    if (!slurStart) {
        const MnChord* before = previousSlurChord();
        if (before && !before->isRest() && before->isSlurred()) {
            slur = before->slur;
            return true;
        }
    }
    const MnChord* after = nextSlurChord();
    if (after && !after->isRest() && after->isSlurred() && !after->slurStart)
        slur = after->slur;
    return true;
}

bool MnChord::setSlurPlacement(int placement)
{
    if (!mnIsPlacement(placement))
        return false;
    slur = placement;
    if (!isSlurred())
        return true;
    if (!slurStart) {
        for (MnChord* before = previousSlurChord(); before && before->isSlurred() && (grace || !before->isRest());
             before = before->previousSlurChord()) {
            before->slur = placement;
            if (before->slurStart)
                break;
        }
    }
    for (MnChord* after = nextSlurChord(); after && after->isSlurred() && !after->slurStart && (grace || !after->isRest());
         after = after->nextSlurChord())
        after->slur = placement;
    return true;
}
