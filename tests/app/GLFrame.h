#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <vector>

// Reads the current context's frame as RGB rows, bottom row first.
inline std::vector<unsigned char> readFrame(int width, int height)
{
    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// A window's frame, read from its back buffer: the software rasteriser
// keeps the back buffer after the swap, while its front buffer of a
// multisampled window reads back black under Xvfb.
inline std::vector<unsigned char> readWindowFrame(int width, int height)
{
    glReadBuffer(GL_BACK);
    return readFrame(width, height);
}

// Whether any pixel differs from the first: a frame of one colour shows
// nothing drawn.
inline bool frameVaries(const std::vector<unsigned char>& pixels)
{
    for (size_t i = 3; i < pixels.size(); ++i)
        if (pixels[i] != pixels[i % 3])
            return true;
    return false;
}
