#pragma once

// Counts the calls of the global operator new and operator delete made on
// this thread while an object of this class lives, for tests of code that
// must not allocate (the audio thread's). The replaced operators serve the
// playback tests alone, so the other test programs keep the sanitizer's own
// checks of new and delete.
class TestAllocations
{
public:
    TestAllocations();
    ~TestAllocations();
    TestAllocations(const TestAllocations&) = delete;
    TestAllocations& operator=(const TestAllocations&) = delete;

    long long allocations() const;
    long long frees() const;
};
