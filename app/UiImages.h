#pragma once

#include <cstddef>

class wxBitmap;
class wxIcon;

// The program's pictures: the PNG files of resources/images, named by their
// resource id, built into the executable.
class UiImages
{
public:
    // The PNG bytes of a picture; false when there is none of that id.
    static bool png(unsigned id, const unsigned char*& data, size_t& size);
    // The picture, or an invalid bitmap.
    static wxBitmap bitmap(unsigned id);
    static wxIcon icon(unsigned id);
    // Icons are numbered apart from the other pictures (icon-<id>.png).
    static constexpr unsigned iconBase = 65536;
    static wxBitmap iconBitmap(unsigned id);
};
