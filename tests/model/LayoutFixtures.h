#pragma once

#include "foundation/BcString.h"
#include "foundation/GePoint2d.h"
#include "model/MnMeasurer.h"

#include <utility>

// A point as a pair, for comparing points in expectations.
inline std::pair<double, double> xy(const GePoint2d& point)
{
    return {point.x, point.y};
}

// A measurer whose texts are half their size wide per character, installed
// while it lives, so that widths of syllables are known in advance.
class CharacterWidthMeasurer : public MnMeasurer
{
public:
    CharacterWidthMeasurer() : previous(MnMeasurer::install(this)) {}
    ~CharacterWidthMeasurer() override { MnMeasurer::install(previous); }

    double textWidth(const BcString& text, int, double size, bool) const override
    {
        return text.length() * size / 2.0;
    }
    // No labels reach left of the staves.
    double labelsLeftmostX(const MnScore&, bool) const override { return 0.0; }

private:
    const MnMeasurer* previous;
};
