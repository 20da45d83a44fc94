#include "model/MnCache.h"

static thread_local int scopeNesting = 0;
static thread_local int scopeGeneration = 0;
static thread_local int scopeStamp = 0;

MnCache::MnCache()
{
    if (scopeNesting == 0) {
        // The generation only grows, so a stamp of an earlier scope never
        // matches a later one; wrapping past the largest int skips 0.
        scopeGeneration = scopeGeneration == 0x7FFFFFFF ? 1 : scopeGeneration + 1;
        scopeStamp = scopeGeneration;
    }
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
