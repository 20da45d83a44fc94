// Which chords of a voice are joined by beams. Each chord has its own link
// from its value, beam mode, tuplet and the beat grouping of the meter; the
// link in context looks at the neighbouring chords, and a beam group is the
// run of chords that the links join. The stem setters, the stem direction,
// the beam composer and the MusicXML writer all ask here, so they agree.
// Grace chords are beamed only with grace chords: a normal chord looks past
// them, a grace chord stops at a normal chord.

#include "model/MnMeasure.h"

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"
#include "model/MnTuplet.h"

#include <algorithm>

// The beat grouping of beams: the length from whose multiples a new beam
// starts, in the meter in effect at the measure's start.
static int beamGroupLength(const MnMeasure* measure)
{
    int type = MnTimeCommon;
    if (const MnStaff* staff = measure->staff())
        type = staff->definitionAt(measure->startTime(), false)->time();
    switch (type) {
    case MnTime2_4:
        return MnTicksQuarter;
    case MnTime6_4:
        return 3 * MnTicksHalf / 2;
    case MnTime6_8:
    case MnTime9_8:
    case MnTime12_8:
        return 3 * MnTicksEighth;
    default:
        break;
    }
    const int divisions = measure->divisions(true);
    const int slot = divisions > 0 ? MnTicksPerWhole / divisions : MnTicksPerWhole;
    return 4 * std::max(MnTicksSixteenth, slot);
}

int MnMeasure::beamLinkOf(const MnChord* chord) const
{
    const int time = chord->time();
    const int value = chord->duration();
    if (value >= MnTicksQuarter)
        return 2;
    if (!chord->isRest() && chord->beamMode() != -1)
        return chord->beamMode() == 3 ? 1 : chord->beamMode();
    if (chord->isGrace())
        return 1;
    if (chord->actual() != chord->normal())
        return chord->tuplet() ? 0 : 1;
    // The first chord after a tuplet begins a beam of its own.
    if (time > 0 && tupletChordAt(chord->voice(), time - value))
        return 0;
    const int group = beamGroupLength(this);
    return group > 0 && time % group == 0 ? 0 : 1;
}

// The chord after (step 1) or before (step -1) the one at index that is of the
// same kind and has notes, passing over rests that continue a beam; -1 when
// another rest, a grace chord seen from a grace chord, or the voice's end
// comes first.
static int neighbourWithNotes(const MnMeasure* measure, const BcArray<MnChord*>& chords, int index, int step)
{
    const bool grace = chords[index]->isGrace();
    for (int i = index + step; i >= 0 && i < chords.count(); i += step) {
        const MnChord* chord = chords[i];
        if (chord->isGrace() != grace) {
            if (grace)
                return -1;
            continue;
        }
        if (!chord->isRest())
            return i;
        if (measure->beamLinkOf(chord) != 1)
            return -1;
    }
    return -1;
}

int MnMeasure::beamLink(int voice, int index) const
{
    if (voice < 0 || voice >= voiceCount || index < 0 || index >= voices[voice].count())
        return 2;
    const BcArray<MnChord*>& chords = voices[voice];
    const MnChord* chord = chords[index];
    const int own = beamLinkOf(chord);
    if (own == 2)
        return 2;
    if (own != 0 && own != 1)
        return own; // a beam mode above 3 read from a file
    const bool last = index == chords.count() - 1;

    if (chord->isRest()) {
        // A rest is beamed only inside a beam that goes on after it.
        if (own == 0 || last)
            return 2;
        const int next = neighbourWithNotes(this, chords, index, 1);
        if (next < 0 || beamLinkOf(chords[next]) != 1)
            return 2;
    }
    if (own == 1 && index > 0) {
        const int previous = neighbourWithNotes(this, chords, index, -1);
        if (previous >= 0 && beamLinkOf(chords[previous]) != 2)
            return 1;
    }
    if (chord->isRest() || last)
        return 2;
    const int next = neighbourWithNotes(this, chords, index, 1);
    return next >= 0 && beamLinkOf(chords[next]) == 1 ? 0 : 2;
}

bool MnMeasure::beamGroup(int voice, int index, int& first, int& last) const
{
    const int link = beamLink(voice, index);
    if (link == 2)
        return false;
    const BcArray<MnChord*>& chords = voices[voice];
    const bool grace = chords[index]->isGrace();

    int begin = index;
    int current = link;
    for (int i = index - 1; current != 0 && i >= 0; --i) {
        if (chords[i]->isGrace() != grace) {
            if (grace)
                break;
            continue;
        }
        begin = i;
        current = beamLink(voice, i);
    }

    // Forward from the chord itself, whatever its own link: the first chord
    // of a group reaches as far as the chords that continue it.
    int end = index;
    for (int i = index + 1; i < chords.count(); ++i) {
        if (chords[i]->isGrace() != grace) {
            if (grace)
                break;
            continue;
        }
        if (beamLink(voice, i) != 1)
            break;
        end = i;
    }
    first = begin;
    last = end;
    return true;
}
