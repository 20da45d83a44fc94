#pragma once

#include "foundation/BcArray.h"
#include "model/MnLayoutKey.h"

// The horizontal layout of one measure column before it is stretched to a
// system: its onsets and their x offsets with every widening applied, the
// weights by which a stretch spreads, and the natural width. The first
// staff's measure keeps it from one MnCache scope to the next under the key
// of everything it depends on; a scope checks the key once before it uses
// the layout.
struct MnColumnLayout
{
    MnLayoutKey key;
    bool computed = false;
    // The scope in which the key was last found current.
    int stamp = 0;
    double naturalWidth = 0.0;
    BcArray<int> onsets;
    BcArray<double> x;
    BcArray<double> weights;
};
