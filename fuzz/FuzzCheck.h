#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise of a reader: printed and aborted, so that libFuzzer keeps
// the input and the replay driver fails.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)
