#pragma once

#include "playback/SfStream.h"

#include <cstddef>

// A bank held in memory, read front to back. A read or a skip past the end
// fails and leaves the position where it was.
class SfMemoryStream
{
public:
    SfMemoryStream(const unsigned char* bytes, size_t size) : bytes(bytes), size(size) {}

    // Valid while this object lives.
    SfStream stream();

private:
    static int read(void* data, void* destination, unsigned int count);
    static int skip(void* data, unsigned int count);
    static long long remaining(void* data);

    const unsigned char* bytes;
    size_t size;
    size_t position = 0;
};
