#include "model/MnGeneralMidi.h"

int instrumentToProgram(int code)
{
    // Programs of the named instruments 1 to 11 (organ .. saxophone).
    static const int programs[] = { 18, 19, 24, 26, 33, 40, 42, 43, 73, 56, 64 };
    if (code >= 1 && code <= 11)
        return programs[code - 1];
    if (code >= 128 && code <= 255)
        return code - 128;
    return 0;
}

int programToInstrument(int program)
{
    if (program < 0 || program > 127)
        return -1;
    struct Range { int first; int last; int family; };
    static const Range families[] = {
        { 0, 7, 0 },     // piano
        { 16, 18, 1 },   // organ
        { 19, 19, 2 },   // pipe organ
        { 20, 23, 1 },   // organ
        { 24, 25, 3 },   // guitar
        { 26, 28, 4 },   // electric guitar
        { 29, 31, 3 },   // guitar
        { 32, 39, 5 },   // bass guitar
        { 40, 41, 6 },   // violin
        { 42, 42, 7 },   // cello
        { 43, 47, 8 },   // double bass
        { 56, 63, 10 },  // trumpet
        { 64, 71, 11 },  // saxophone
        { 72, 79, 9 },   // flute
    };
    for (const Range& range : families) {
        if (program >= range.first && program <= range.last)
            return range.family;
    }
    return -1;
}
