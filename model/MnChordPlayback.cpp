// When the chords of a measure sound in playback: grace chords take their
// time from the chords around them.

#include "model/MnChord.h"

#include "model/MnMeasure.h"

// Each grace chord of a group sounds for a quarter of this when no main
// chord follows.
static const int lonelyGraceLength = 15120;

static bool isEndGrace(const MnChord* chord)
{
    return chord->isGrace() && chord->measure() && chord->time() == chord->measure()->length();
}

bool MnChord::isSingleAppoggiatura() const
{
    if (!grace || graceSlash || isEndGrace(this))
        return false;
    const MnChord* before = previousChord();
    const MnChord* after = nextChord();
    return after && !after->isGrace() && !(before && before->isGrace());
}

int MnChord::playbackTime(MnMeasure* next, int& length) const
{
    if (!grace) {
        const int sounding = soundingDuration();
        const MnChord* before = previousChord();
        if (before && before->isSingleAppoggiatura()) {
            length = sounding - sounding / 2;
            return chordTime + sounding / 2;
        }
        length = sounding;
        return chordTime;
    }
    if (isSingleAppoggiatura()) {
        length = nextChord()->soundingDuration() / 2;
        return chordTime;
    }

    // A group of grace chords sounds before its main chord, which may lie in
    // the measure that plays next.
    int graces = 1;
    bool redirected = false;
    auto stepForward = [&](const MnChord* from) -> const MnChord* {
        const MnChord* after = from->nextChord();
        if (next && !redirected && from->measure() == owner && (!after || after->measure() != owner)) {
            redirected = true;
            const BcArray<MnChord*>& chords = next->voiceChords(voiceIndex);
            return chords.isEmpty() ? nullptr : chords[0];
        }
        return after;
    };
    const MnChord* main = stepForward(this);
    while (main && main->isGrace()) {
        ++graces;
        main = stepForward(main);
    }
    const int graceLength = main ? main->undottedDuration() / 4 : lonelyGraceLength;
    length = graceLength;
    return chordTime - graceLength * graces;
}
