#include "model/MnCache.h"

#include <atomic>

// Nesting is per thread: a scope belongs to the pass on the thread that opened
// it. The generation is shared by every thread, so a stamp handed out on one
// thread is never handed out on another.
static std::atomic<unsigned int> scopeGeneration{0};
static thread_local int scopeNesting = 0;
static thread_local int scopeStamp = 0;

// Stamps are positive ints; wrapping past the largest one skips 0, which
// means "no scope".
static int nextStamp()
{
    int stamp = 0;
    while (stamp == 0)
        stamp = static_cast<int>((scopeGeneration.fetch_add(1, std::memory_order_relaxed) + 1) & 0x7FFFFFFFu);
    return stamp;
}

MnCache::MnCache()
{
    // The generation only grows, so a stamp of an earlier scope never matches
    // a later one.
    if (scopeNesting == 0)
        scopeStamp = nextStamp();
    ++scopeNesting;
}

MnCache::~MnCache()
{
    if (--scopeNesting == 0)
        scopeStamp = 0;
}

int MnCache::currentStamp()
{
    return scopeStamp;
}

int MnCache::nesting()
{
    return scopeNesting;
}
