#pragma once

#include "foundation/BcString.h"

// A part group of the part list (level 1 only), kept until every part
// knows its staves and the groups can become brackets.
struct IePartGroup
{
    // Index of the first part listed after the group's start; -1 for none.
    int firstPart = -1;
    // Parts listed while the group was open.
    int partCount = 0;
    // Bracket type of the model: 0 brace, 1 bracket, 2 square, 3 line.
    int symbol = 0;
    BcString name;
    BcString abbreviation;
    // Started and not yet stopped.
    bool open = true;
};
