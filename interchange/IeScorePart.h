#pragma once

#include "foundation/BcString.h"

// One part of the part list, as the MusicXML importer learns it: the part
// list gives its id and names, the part's first attributes its staves, and
// every divisions element the time base of its later durations.
struct IeScorePart
{
    BcString id;
    BcString name;
    BcString abbreviation;
    // 0 until the part's first attributes element made its staves.
    int staffCount = 0;
    // Index in the score of the part's first staff.
    int firstStaff = 0;
    // MusicXML divisions per quarter note in force for the part.
    int divisions = 1;
};
