#pragma once

#include <cstddef>
#include <cstdint>

// libFuzzer calls both, and so does the replay driver of the normal test run.
// Each entry point defines LLVMFuzzerTestOneInput; FuzzSupport.cpp defines
// LLVMFuzzerInitialize for all of them.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

