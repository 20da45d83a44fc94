#pragma once

#include "FuzzModelWalk.h"

#include "foundation/BcMemoryFiler.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Reads a top-level record back from what it wrote, twice over, and checks
// that the writes agree: what a reader accepted must save into a file that
// reads back as the same thing.
void fuzzRecordRoundTrip(const MnElement& first, MnElement& second, MnElement& third);

// The body of a record entry point. The first byte picks the format version
// the record is read with (0 to 5, so the branches for old files are tried
// too); the rest is the record.
template <class Record>
int fuzzRecord(const uint8_t* data, size_t size)
{
    if (size < 1 || size - 1 > INT_MAX)
        return 0;
    BcMemoryFiler filer(data[0] % (BcMemoryFiler::currentVersion + 1));
    int bodySize = static_cast<int>(size - 1);
    filer.bytes().setSize(bodySize);
    if (bodySize > 0)
        std::memcpy(filer.bytes().data(), data + 1, static_cast<size_t>(bodySize));
    Record first;
    if (!first.read(filer))
        return 0;
    fuzzWalkElement(&first);
    Record second;
    Record third;
    fuzzRecordRoundTrip(first, second, third);
    fuzzWalkElement(&second);
    return 0;
}
