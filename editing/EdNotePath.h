#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcObject.h"

class MnElement;

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

    // The path of a score, a sheet music (its score), a staff, a measure, a
    // chord or a note among the works; unset for any other element.
    EdNotePath(const MnElement* element, const BcArray<MnElement*>& works);

    // The deepest element of the path that still exists in the works: a path
    // to a deleted measure gives its staff, to a deleted note its chord. Null
    // when the score level is unset or names no score.
    MnElement* resolve(const BcArray<MnElement*>& works) const;

    // Corrects this path after the element at removed was deleted: a later
    // sibling of the removed element moves down by one, and a path into the
    // removed element loses its levels from there on. Paths elsewhere stay.
    EdNotePath& adjustForRemoval(const EdNotePath& removed);

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
