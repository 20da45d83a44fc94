#pragma once

#include "foundation/BcArray.h"
#include "foundation/GePoint2d.h"
#include "render/ReComposer.h"

class MnChord;
class ReSystem;

// Draws the slurs of one voice of one staff through a system, either those
// between normal chords or those between grace chords: one tapered cubic
// curve per slur and system. begin collects the points of a slur that
// starts or goes on at a chord; addChord completes each point as its chord
// is drawn and draws the curve at the slur's last chord or the system's end.
// Positions are staff steps from the staff's top line, y up.
class ReSlur : public ReComposer
{
    BC_DECLARE_CLASS(ReSlur)
public:
    ReSlur();
    ~ReSlur() override;

    void reset();
    // systemStart: in the system's first measure, the chord at which a slur
    // from the previous system is picked up; passStart: the first of the
    // two calls for a chord that both ends and starts a slur.
    void begin(MnChord* chord, bool systemStart, bool passStart);
    // origin: the system origin's x and the staff's y; x from origin.x;
    // stem 1 up, -1 down, 0 none; stemTip the stem end's position; lowest
    // and highest the drawn extent of the chord.
    void addChord(ReRenderer* renderer, ReSystem* system, GePoint2d origin, double x, int stem, int stemTip,
                  int beamLink, double* lowest, double* highest, bool systemStart, bool systemEnd,
                  double systemStartX, double systemEndX);
    // Whether the slur that starts or goes on at the chord ends in another
    // measure: a measure out of view must still be composed for it.
    static bool crossesMeasure(bool grace, MnChord* chord, bool systemStart);

    bool grace = false;
    int placement = 0;  // 0 automatic, 1 above, -1 below
    int index = -1;     // the point the next chord fills; -1 idle
    BcArray<int> tops;
    BcArray<int> bottoms;
    BcArray<double> xs;
    BcArray<int> stems;
    bool continued = false;
    bool firstBeamed = false;
    bool firstRaised = false;
    bool firstLowered = false;

private:
    void appendPoint(int top, int bottom);
    void draw(ReSystem* system, GePoint2d origin, int last, bool endsHere, int beamLink, bool endRaised,
              bool endLowered);
};
