#pragma once

#include "foundation/BcObject.h"

// A path of indices from a score down to a note that survives an undo
// reload, which rebuilds every element. A path is set down to some level and
// -1 from there on: a score path has only the score index, a chord path sets
// voice and chord index, a note path all seven. A note is found by its pitch.
class EdNotePath : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(EdNotePath)
public:
    EdNotePath() = default;
    EdNotePath(int scoreIndex, int staffIndex, int measureIndex = -1, int voice = -1,
               int chordIndex = -1, int noteStep = -1, int noteOctave = -1);
    EdNotePath(const EdNotePath& other);
    EdNotePath& operator=(const EdNotePath& other);
    ~EdNotePath() override = default;

    bool isUnset() const;
    bool operator==(const EdNotePath& other) const;
    bool operator!=(const EdNotePath& other) const { return !(*this == other); }

    // The process-wide unset note path.
    static const EdNotePath& unset();

    // Counted over the works that are scores or sheet music, in works order.
    int scoreIndex = -1;
    int staffIndex = -1;
    int measureIndex = -1; // 0-based
    int voice = -1;
    int chordIndex = -1;   // index in the voice
    int noteStep = -1;     // 0..6
    int noteOctave = -1;
};
