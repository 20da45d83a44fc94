#pragma once

// Where a bank's bytes come from. The loader reads and skips through these
// two callbacks only, so the same loader serves a file, a block of memory or
// anything else a caller plugs in. Both answer non-zero on success; a read
// answers success only when it delivered every byte asked for.
//
// streamRemaining, when set, tells how many bytes are left to read (negative
// when unknown): a sample chunk that fits in them gets its array in one
// allocation, where one of unknown truth grows only as its bytes arrive.
struct SfStream
{
    void* data = nullptr;
    int (*streamRead)(void* data, void* destination, unsigned int size) = nullptr;
    int (*streamSkip)(void* data, unsigned int count) = nullptr;
    long long (*streamRemaining)(void* data) = nullptr;
};
