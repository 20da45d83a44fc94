#pragma once

// Scope of cached layout values. Opening the outermost scope hands out a fresh
// stamp; a cached value is trusted only while its stored stamp is non-zero and
// equal to the current one, so outside any scope every getter recomputes.
//
// The performer asks cached chord and measure values of its private score on
// the audio thread while the interface thread lays out the document, and the
// two must not share a stamp: every scope on any thread gets a stamp of its
// own from one process-wide generation, while the nesting is per thread.
class MnCache
{
public:
    MnCache();
    virtual ~MnCache();
    MnCache(const MnCache&) = delete;
    MnCache& operator=(const MnCache&) = delete;

    // 0 when no scope is open on this thread.
    static int currentStamp();
    // A value stored under this stamp may be used.
    static bool isCurrent(int stamp) { return stamp != 0 && stamp == currentStamp(); }
    static int nesting();
};
