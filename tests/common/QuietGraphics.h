#pragma once

#include <cstdlib>

// Mesa starts a shader-cache thread with its first context and ends it only
// while the process exits, where the leak checker stops the world and can
// catch the thread half gone; the tests also have no business writing to the
// user's shader cache. Its software rasteriser draws on the calling thread
// for the same reason. Called before the first context is made.
inline void quietGraphicsThreads()
{
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    setenv("LP_NUM_THREADS", "0", 0);
}
