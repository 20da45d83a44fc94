#pragma once

// Beam groups written into a measure, for the beam tests and the pictures.

#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "tests/model/ModelBuilders.h"
#include "tests/model/VoiceBuilder.h"

#include <utility>
#include <vector>

// One chord of a group: its written value and the staff positions of its
// notes (treble clef; none for a rest), with a grace flag and beam mode.
struct ChordSpec {
    int duration;
    std::vector<int> positions;
    bool grace = false;
    int beamMode = -1;
};

inline ChordSpec chord(int duration, std::vector<int> positions, int beamMode = -1)
{
    return {duration, std::move(positions), false, beamMode};
}
inline ChordSpec graceChord(int duration, std::vector<int> positions)
{
    return {duration, std::move(positions), true, -1};
}

// A staff of one 4/4 measure whose first voice holds the chords, joined in
// one beam group from the first: the first chord with notes begins the beam
// and the others continue it, unless a chord asks for its own mode.
struct GroupFixture {
    explicit GroupFixture(const std::vector<ChordSpec>& specs, int stem = 0, bool slash = false)
    {
        measure = staff.measure(0);
        VoiceBuilder voice(measure, 0);
        bool begun = false;
        for (const ChordSpec& spec : specs) {
            MnChord* chord = spec.grace ? voice.grace(spec.duration, slash) : voice.chord(spec.duration);
            for (int position : spec.positions) {
                const int diatonic = position + 38;  // treble clef: position 0 is F5
                chord->addNote(diatonic % 7, diatonic / 7, MnAccidentalNone, false);
            }
            if (!spec.positions.empty() && !spec.grace) {
                chord->setBeamMode(spec.beamMode >= 0 ? spec.beamMode : begun ? 1 : 0);
                begun = true;
            }
        }
        if (stem != 0)
            measure->voiceChords(0)[0]->setStemDirection(stem);
    }
    StaffFixture staff{1};
    MnMeasure* measure = nullptr;
};
