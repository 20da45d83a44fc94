#include "render/RePngWriter.h"

#include <csetjmp>
#include <png.h>

static void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

static void flushNothing(png_structp) {}

RePngWriter::RePngWriter() = default;

RePngWriter::~RePngWriter()
{
    reset();
}

void RePngWriter::reset()
{
    if (png)
        png_destroy_write_struct(&png, info ? &info : nullptr);
    png = nullptr;
    info = nullptr;
    bytes.clear();
    rowsLeft = 0;
    failed = false;
}

// libpng reports errors by a long jump back to the setjmp of the call that
// was running; no object with a destructor lives in these frames.
bool RePngWriter::start(int width, int height, int channels)
{
    reset();
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4))
        return false;
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        failed = true;
        return false;
    }
    png_set_write_fn(png, &bytes, &appendBytes, &flushNothing);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Pages are mostly runs of paper: unfiltered rows and a fast level
    // pack them well and keep the encoding a small part of an export.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    rowsLeft = height;
    return true;
}

bool RePngWriter::writeRow(const unsigned char* row)
{
    if (!png || failed || rowsLeft <= 0 || !row)
        return false;
    if (setjmp(png_jmpbuf(png))) {
        failed = true;
        return false;
    }
    png_write_row(png, row);
    --rowsLeft;
    return true;
}

bool RePngWriter::finish(std::vector<unsigned char>& out)
{
    if (!png || failed || rowsLeft != 0)
        return false;
    if (setjmp(png_jmpbuf(png))) {
        failed = true;
        return false;
    }
    png_write_end(png, info);
    out.swap(bytes);
    reset();
    return true;
}
