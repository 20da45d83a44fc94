#pragma once

#include "foundation/BcObject.h"

class ReRenderer;

// The record every composer shares: line and stem thicknesses, the 3-D
// heights of paper, staff furniture and symbols, and the renderer to draw
// on (borrowed). Composers are built on the stack for one pass.
class ReComposer : public BcObject
{
    BC_DECLARE_CLASS(ReComposer)
public:
    explicit ReComposer(ReRenderer* renderer);
    ~ReComposer() override;

    // Sets the renderer's colour, opaque: 0 background, 1 grey, 2 black,
    // 3 selection, 4 selection of the second voice, 5 playing; other modes
    // change nothing. The setting colours are read at every call.
    void setColorMode(int mode);

    // In staff steps; also the base of thick barlines, brackets, dots and ties.
    double staffLineThickness = 0.2;
    double stemThickness = 0.3;
    double paperDepth = 1.0;   // 3-D height of the paper sheet
    double staffDepth = 2.0;   // of staff lines, barlines, ledger lines, brackets
    double symbolDepth = 3.0;  // of everything else in a system
    ReRenderer* renderer;

protected:
    // Where a stem meets a filled head tilted by 22.5 degrees: 74 degrees
    // round from the head's top, in radians.
    static constexpr double stemAngle = 1.2915436464758039;

    // An axis-aligned bar, corners in the order left top, left bottom,
    // right bottom, right top.
    void fillBar(double left, double bottom, double right, double top);
};
