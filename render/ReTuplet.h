#pragma once

#include "foundation/BcArray.h"
#include "foundation/GePoint2d.h"
#include "render/ReComposer.h"

class MnChord;
class MnTuplet;
class ReSystem;

// Draws the number and, where wanted, the bracket of a tuplet on the side of
// its stems, clear of all its chords. The score composer starts a tuplet
// before its first chord is drawn and hands it every chord's drawn place
// and extent; the last chord draws it.
class ReTuplet : public ReComposer
{
    BC_DECLARE_CLASS(ReTuplet)
public:
    explicit ReTuplet(ReSystem* system);
    ~ReTuplet() override;

    void reset();
    // Starts collecting when the chord owns a tuplet that is shown.
    void begin(MnChord* chord);
    // origin: the system origin's x and the staff's y; x from origin.x;
    // lowest and highest in staff steps; beamed: inside a beam group.
    void addChord(GePoint2d origin, double x, int stem, double lowest, double highest, bool beamed);

    ReSystem* system;
    MnTuplet* tuplet = nullptr;
    BcArray<double> xs;
    BcArray<double> lows;
    BcArray<double> highs;
    BcArray<int> stems;
    bool allBeamed = true;
    int index = -1;

private:
    void draw(GePoint2d origin);
};
