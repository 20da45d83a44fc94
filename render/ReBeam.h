#pragma once

#include "foundation/BcArray.h"
#include "foundation/GePoint2d.h"
#include "render/ReComposer.h"

class MnMeasure;
class ReSystem;

// Lays out and draws one beam group: the chords of one voice of a measure
// that the measure joins with beams. layout decides the stem direction, the
// number of beams and the beam line once; drawChord then draws each chord's
// stem as the score composer reaches it, and the beams with the last one.
// Positions are staff steps from the staff's top line, y up.
class ReBeam : public ReComposer
{
    BC_DECLARE_CLASS(ReBeam)
public:
    // Draws on the owner's renderer with its thicknesses, heights and
    // horizontal compensation.
    explicit ReBeam(ReSystem* owner);
    ~ReBeam() override;

    // Collects the group that starts at the chord and lays it out.
    void layout(MnMeasure* measure, int voice, int firstChord);
    // Draws the stem of the chord when it is in the group, and on the
    // group's last chord the beams. origin is the staff point of the
    // measure and xOffset the chord's x from it; scale is the one in force
    // about the chord's stem base (a grace group is drawn smaller). stemEnd
    // gets the rounded stem end; lowest and highest widen to the beam.
    void drawChord(MnMeasure* measure, int chordIndex, GePoint2d* origin, double xOffset, int* stemEnd,
                   double* lowest, double* highest, double scale);
    // A stem from the note at top (down) or bottom (up) into the beam at
    // endOffset, with the slash of a grace chord crossing it.
    void drawStem(double x, double y, int direction, int top, int bottom, double endOffset, bool slash,
                  int slashDirection);
    // A beam one step thick from the outer edge of the stem at x0 to that of
    // the stem at x1; level 30240 is the first beam, 15120, 7560 and 3780
    // the second to the fourth, each further from the beam line.
    void drawBeam(double x0, double y0, double x1, double y1, int direction, int level);
    // Empties the group.
    void reset();

    ReSystem* owner;
    int voice = 0;
    int firstChord = 0;
    BcArray<int> chords;   // indices in the voice, in order
    BcArray<int> tops;     // highest note of each chord
    BcArray<int> bottoms;  // lowest note of each chord
    int direction = 1;     // 1 stems up, -1 down
    BcArray<double> beamY;     // the beam line at each chord
    BcArray<double> xOffsets;  // of each chord, as it is drawn
    bool grace = false;
    bool slash = false;

private:
    // The secondary beams of every shorter level along the line of the
    // first beam, in the mapped coordinates of the last chord.
    void drawSecondaryBeams(MnMeasure* measure, const BcArray<GePoint2d>& ends);
    // Stem length of the group for its beam count.
    double stemLength(int beams, int minBottom, int maxTop) const;
};
