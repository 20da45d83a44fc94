#pragma once

#include "render/ReFontMetrics.h"

// What the contexts of one share group have built and share: the display
// lists of the fonts and the paper texture. Groups are kept for the life of
// the process, as the groups themselves live; they are used on the
// interface thread only.
struct ReGLShareGroup
{
    const void* key = nullptr;  // the hosts' share group
    bool fontBuilt[ReFontMetrics::fontCount] = {};
    unsigned paperTexture = 0;

    // The group of a key, or null when no context of it was set up yet.
    static ReGLShareGroup* find(const void* key);
    static ReGLShareGroup* add(const void* key);

    // The glyph of character code c in font f is list listBase(f) + c.
    static constexpr unsigned listBase(int font) { return 1000u + 256u * unsigned(font); }
};
