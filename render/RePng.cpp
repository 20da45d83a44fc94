#include "render/RePng.h"

#include <csetjmp>
#include <png.h>

static void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

static void flushNothing(png_structp) {}

// libpng reports errors by a long jump; the encoding keeps no object with
// a destructor alive across it.
static bool encodeRows(png_structp png, png_infop info, png_bytep* rows, int width, int height, int channels,
                       std::vector<unsigned char>* bytes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, bytes, &appendBytes, &flushNothing);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Pages are mostly runs of paper: unfiltered rows and a fast level
    // pack them well, and the encoding stays a small part of an export.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

bool RePng::encode(const unsigned char* pixels, int width, int height, int channels, std::vector<unsigned char>& out)
{
    if (!pixels || width <= 0 || height <= 0 || (channels != 3 && channels != 4))
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[size_t(y)] = const_cast<png_bytep>(pixels + size_t(y) * size_t(width) * size_t(channels));
    std::vector<unsigned char> bytes;
    bool ok = info && encodeRows(png, info, rows.data(), width, height, channels, &bytes);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (ok)
        out.swap(bytes);
    return ok;
}
