#pragma once

#include <vector>

// PNG encoding of 8-bit RGB or RGBA images, for the page images.
class RePng
{
public:
    // Encodes height rows of width pixels of channels bytes (3 or 4),
    // top row first, rows tightly packed. False, out untouched, when
    // libpng fails or the sizes are not positive.
    static bool encode(const unsigned char* pixels, int width, int height, int channels,
                       std::vector<unsigned char>& out);
};
