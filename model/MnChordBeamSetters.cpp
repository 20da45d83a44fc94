// The stem, inversion, grace slash and beam mode of a chord. A beamed chord
// shares its stem with its beam group, so these act on every chord of the
// group that has the chord's grace state (a grace chord embedded in a beamed
// group of normal chords keeps its own).

#include "model/MnChord.h"

#include "model/MnCodes.h"
#include "model/MnMeasure.h"

// The chords that a stem setting of the chord reaches: its beam group's chords
// of the same grace state, or the chord alone.
static void stemGroupOf(MnChord* chord, BcArray<MnChord*>& group)
{
    MnMeasure* measure = chord->measure();
    const int voice = chord->voice();
    if (measure && voice >= 0 && voice < MnMeasure::voiceCount) {
        const BcArray<MnChord*>& chords = measure->voiceChords(voice);
        const int index = chords.indexOf(chord);
        int first = 0;
        int last = 0;
        if (index >= 0 && measure->beamGroup(voice, index, first, last)) {
            for (int i = first; i <= last; ++i) {
                if (chords[i]->isGrace() == chord->isGrace())
                    group.add(chords[i]);
            }
            return;
        }
    }
    group.add(chord);
}

bool MnChord::setStemDirection(int direction)
{
    if (!mnIsPlacement(direction))
        return false;
    BcArray<MnChord*> group;
    stemGroupOf(this, group);
    for (int i = 0; i < group.count(); ++i)
        group[i]->stem = direction;
    return true;
}

bool MnChord::setStemInverted(bool inverted)
{
    BcArray<MnChord*> group;
    stemGroupOf(this, group);
    for (int i = 0; i < group.count(); ++i)
        group[i]->stemInverted = inverted;
    return true;
}

bool MnChord::setGraceSlash(bool slash)
{
    if (!grace)
        return false;
    BcArray<MnChord*> group;
    stemGroupOf(this, group);
    for (int i = 0; i < group.count(); ++i)
        group[i]->graceSlash = slash;
    return true;
}

bool MnChord::setBeamMode(int mode)
{
    if (!mnIsBeamMode(mode))
        return false;
    beam = mode;
    // A chord that joins a group takes the group's stem.
    MnMeasure* measure = owner;
    if (!measure || voiceIndex < 0 || voiceIndex >= MnMeasure::voiceCount)
        return true;
    const int index = indexInVoice();
    int first = 0;
    int last = 0;
    if (index < 0 || !measure->beamGroup(voiceIndex, index, first, last))
        return true;
    MnChord* leader = measure->voiceChords(voiceIndex)[first];
    leader->setStemDirection(leader->stem);
    leader->setStemInverted(leader->stemInverted);
    if (leader->grace)
        leader->setGraceSlash(leader->graceSlash);
    return true;
}
