#include "tests/common/TestCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

TestCanvas::TestCanvas(int width, int height)
    : width_(std::max(width, 1))
    , height_(std::max(height, 1))
    , rgb_(size_t(width_) * size_t(height_) * 3, 255)
{
}

void TestCanvas::blend(int x, int y, double coverage, uint8_t r, uint8_t g, uint8_t b)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0.0)
        return;
    coverage = std::min(coverage, 1.0);
    uint8_t* p = &rgb_[(size_t(y) * size_t(width_) + size_t(x)) * 3];
    const uint8_t colour[3] = {r, g, b};
    for (int i = 0; i < 3; ++i)
        p[i] = uint8_t(std::lround(p[i] + (colour[i] - p[i]) * coverage));
}

void TestCanvas::fillRect(double x0, double y0, double x1, double y1, uint8_t r, uint8_t g, uint8_t b)
{
    fillTriangle(x0, y0, x1, y0, x1, y1, r, g, b);
    fillTriangle(x0, y0, x1, y1, x0, y1, r, g, b);
}

void TestCanvas::fillTriangle(double x0, double y0, double x1, double y1, double x2, double y2, uint8_t r,
                              uint8_t g, uint8_t b)
{
    double area = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
    if (area == 0.0)
        return;
    if (area < 0.0) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    int left = std::max(0, int(std::floor(std::min({x0, x1, x2}))));
    int right = std::min(width_ - 1, int(std::ceil(std::max({x0, x1, x2}))));
    int top = std::max(0, int(std::floor(std::min({y0, y1, y2}))));
    int bottom = std::min(height_ - 1, int(std::ceil(std::max({y0, y1, y2}))));
    auto inside = [&](double px, double py) {
        return (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0) >= 0.0
            && (x2 - x1) * (py - y1) - (y2 - y1) * (px - x1) >= 0.0
            && (x0 - x2) * (py - y2) - (y0 - y2) * (px - x2) >= 0.0;
    };
    // 4 x 4 samples per pixel give soft edges.
    const int samples = 4;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx)
                    hits += inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples) ? 1 : 0;
            if (hits > 0)
                blend(x, y, double(hits) / (samples * samples), r, g, b);
        }
    }
}

void TestCanvas::fillMesh(const double* vertices, const int* triangles, int triangleCount, double originX,
                          double originY, double scale, uint8_t r, uint8_t g, uint8_t b)
{
    // The triangles are merged into one sample mask before blending, so the
    // shared edges inside the mesh leave no seams.
    const int samples = 4;
    std::vector<double> px, py;
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (int t = 0; t < triangleCount; ++t) {
        for (int k = 0; k < 3; ++k) {
            int v = triangles[3 * t + k];
            double x = originX + scale * vertices[2 * v];
            double y = originY - scale * vertices[2 * v + 1];
            px.push_back(x);
            py.push_back(y);
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    if (px.empty())
        return;
    int left = std::max(0, int(std::floor(minX)));
    int right = std::min(width_ - 1, int(std::ceil(maxX)));
    int top = std::max(0, int(std::floor(minY)));
    int bottom = std::min(height_ - 1, int(std::ceil(maxY)));
    if (left > right || top > bottom)
        return;
    int maskWidth = (right - left + 1) * samples;
    int maskHeight = (bottom - top + 1) * samples;
    std::vector<uint8_t> mask(size_t(maskWidth) * size_t(maskHeight), 0);
    for (size_t t = 0; t + 2 < px.size(); t += 3) {
        double x0 = px[t], y0 = py[t], x1 = px[t + 1], y1 = py[t + 1], x2 = px[t + 2], y2 = py[t + 2];
        double area = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
        if (area == 0.0)
            continue;
        if (area < 0.0) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        int sx0 = std::max(0, int(std::floor((std::min({x0, x1, x2}) - left) * samples)));
        int sx1 = std::min(maskWidth - 1, int(std::ceil((std::max({x0, x1, x2}) - left) * samples)));
        int sy0 = std::max(0, int(std::floor((std::min({y0, y1, y2}) - top) * samples)));
        int sy1 = std::min(maskHeight - 1, int(std::ceil((std::max({y0, y1, y2}) - top) * samples)));
        for (int sy = sy0; sy <= sy1; ++sy) {
            double y = top + (sy + 0.5) / samples;
            for (int sx = sx0; sx <= sx1; ++sx) {
                double x = left + (sx + 0.5) / samples;
                if ((x1 - x0) * (y - y0) - (y1 - y0) * (x - x0) >= 0.0
                    && (x2 - x1) * (y - y1) - (y2 - y1) * (x - x1) >= 0.0
                    && (x0 - x2) * (y - y2) - (y0 - y2) * (x - x2) >= 0.0)
                    mask[size_t(sy) * size_t(maskWidth) + size_t(sx)] = 1;
            }
        }
    }
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx)
                    hits += mask[size_t((y - top) * samples + sy) * size_t(maskWidth) + size_t((x - left) * samples + sx)];
            if (hits > 0)
                blend(x, y, double(hits) / (samples * samples), r, g, b);
        }
    }
}

bool TestCanvas::drawText(const std::string& fontFile, int faceIndex, const char16_t* text, int length, double x,
                          double y, double emPixels, uint8_t r, uint8_t g, uint8_t b)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    FT_Face face = nullptr;
    bool ok = FT_New_Face(library, fontFile.c_str(), faceIndex, &face) == 0
        && FT_Set_Char_Size(face, 0, FT_F26Dot6(emPixels * 64), 72, 72) == 0;
    double penX = x;
    for (int i = 0; ok && i < length; ++i) {
        if (text[i] >= 256)
            continue;
        if (FT_Load_Char(face, FT_ULong(text[i]), FT_LOAD_RENDER) != 0)
            continue;
        FT_GlyphSlot slot = face->glyph;
        int left = int(std::lround(penX)) + slot->bitmap_left;
        int top = int(std::lround(y)) - slot->bitmap_top;
        for (unsigned row = 0; row < slot->bitmap.rows; ++row) {
            for (unsigned column = 0; column < slot->bitmap.width; ++column) {
                uint8_t coverage = slot->bitmap.buffer[row * unsigned(slot->bitmap.pitch) + column];
                blend(left + int(column), top + int(row), coverage / 255.0, r, g, b);
            }
        }
        penX += slot->advance.x / 64.0;
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok;
}

void TestCanvas::pixel(int x, int y, uint8_t* r, uint8_t* g, uint8_t* b) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        *r = *g = *b = 255;
        return;
    }
    const uint8_t* p = &rgb_[(size_t(y) * size_t(width_) + size_t(x)) * 3];
    *r = p[0];
    *g = p[1];
    *b = p[2];
}

bool TestCanvas::writePng(const std::string& path) const
{
    std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    volatile bool ok = png && info;  // survives libpng's longjmp
    if (ok && setjmp(png_jmpbuf(png)))
        ok = false;
    else if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(width_), png_uint_32(height_), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height_; ++y)
            png_write_row(png, &rgb_[size_t(y) * size_t(width_) * 3]);
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    ok = std::fclose(file) == 0 && ok;
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
