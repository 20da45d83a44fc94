#pragma once

// Where a bank's bytes come from. The loader reads and skips through these
// two callbacks only, so the same loader serves a file, a block of memory or
// anything else a caller plugs in. Both answer non-zero on success; a read
// answers success only when it delivered every byte asked for.
struct SfStream
{
    void* data = nullptr;
    int (*streamRead)(void* data, void* destination, unsigned int size) = nullptr;
    int (*streamSkip)(void* data, unsigned int count) = nullptr;
};
