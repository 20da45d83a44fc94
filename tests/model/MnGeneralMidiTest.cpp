#include "model/MnGeneralMidi.h"

#include <gtest/gtest.h>

TEST(MnGeneralMidi, NamedInstrumentsAndDirectPrograms)
{
    struct Row { const char* name; int code; int program; };
    const Row rows[] = {
        { "piano", 0, 0 },
        { "organ", 1, 18 },
        { "pipe organ", 2, 19 },
        { "guitar", 3, 24 },
        { "electric guitar", 4, 26 },
        { "bass guitar", 5, 33 },
        { "violin", 6, 40 },
        { "cello", 7, 42 },
        { "double bass", 8, 43 },
        { "flute", 9, 73 },
        { "trumpet", 10, 56 },
        { "saxophone", 11, 64 },
        { "code 12 names nothing", 12, 0 },
        { "unset instrument", -1, 0 },
        { "direct program 3", 131, 3 },
        { "direct program 0", 128, 0 },
        { "direct program 127", 255, 127 },
        { "past the direct programs", 256, 0 },
    };
    for (const Row& row : rows)
        EXPECT_EQ(instrumentToProgram(row.code), row.program) << row.name;
}

TEST(MnGeneralMidi, ProgramFamilies)
{
    struct Row { int program; int family; };
    const Row rows[] = {
        { 0, 0 }, { 7, 0 }, { 8, -1 }, { 15, -1 },
        { 16, 1 }, { 18, 1 }, { 19, 2 }, { 20, 1 }, { 23, 1 },
        { 24, 3 }, { 25, 3 }, { 26, 4 }, { 28, 4 }, { 29, 3 }, { 31, 3 },
        { 32, 5 }, { 39, 5 }, { 40, 6 }, { 41, 6 }, { 42, 7 }, { 43, 8 }, { 47, 8 },
        { 48, -1 }, { 50, -1 }, { 55, -1 },
        { 56, 10 }, { 63, 10 }, { 64, 11 }, { 71, 11 }, { 72, 9 }, { 79, 9 },
        { 80, -1 }, { 127, -1 }, { 128, -1 }, { -1, -1 },
    };
    for (const Row& row : rows)
        EXPECT_EQ(programToInstrument(row.program), row.family) << "program " << row.program;

    // Every named instrument's program maps back to its own family.
    for (int code = 0; code <= 11; ++code)
        EXPECT_EQ(programToInstrument(instrumentToProgram(code)), code) << "code " << code;
}
