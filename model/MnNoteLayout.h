#pragma once

#include "foundation/BcArray.h"

class MnNote;

// Where one note of a chord is drawn relative to the chord's columns: the
// column of its accidental, the side of the stem its head sits on, and the
// vertical move of its augmentation dot. One record per note, in the
// ascending order of the notes they describe.
struct MnNoteLayout
{
    // 0 next to the noteheads, -1, -2, ... further left.
    int accidentalColumn = 0;
    // 0 on the normal side of the stem; 1 moved right of an up stem; -1
    // moved left of a down stem (the second note of a second).
    int headShift = 0;
    // Up stem: the chord has seconds and this head stays left of the stem.
    // Down stem: this head was moved left. Its dot stands one head further
    // right.
    int leftOfStem = 0;
    // 0 for a note in a space; +1 (space above) or -1 (space below, when a
    // note a second higher takes the space above) for a note on a line.
    int dotShift = 0;
};

// Half the width of a notehead in staff steps: the open half-note head is
// wider than the filled and whole-note heads.
double mnNoteHeadHalfWidth(int undottedDuration);

// Whether two neighbours of a list sorted ascending lie at most one
// diatonic step apart (a second or a unison).
bool mnHasSeconds(const BcArray<MnNote*>& notes);

// Lays out the heads (moving every second note of a cluster of seconds to
// the other side of the stem, beginning at the stem's end) and the
// accidentals (in columns, leftward, so that accidentals less than an
// octave apart never share one) of a list sorted ascending, for the stem
// direction (1 up, -1 down). Empty records are first sized to the list and
// zeroed; otherwise they must describe the list already.
void layoutNoteColumns(const BcArray<MnNote*>& notes, BcArray<MnNoteLayout>& records, int direction, bool heads,
                       bool accidentals);
