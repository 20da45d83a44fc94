#pragma once

#include "foundation/BcArray.h"

class MnMeasure;

// Adds the absolute onset (the measure's start time plus the chord's time)
// of every chord of the measure's voice to the sorted list, without
// duplicates.
void addChordOnsets(const MnMeasure* measure, int voice, BcArray<int>& onsets);
