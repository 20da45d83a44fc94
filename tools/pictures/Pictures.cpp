// Draws the program's pictures into resources/images, each PNG named by its
// resource id: the application icon (128), the About dialog's logo (231),
// the key signatures of the transpose dialog (236 to 250) and the picture
// of the back-side card (310).
// The music symbols are the glyph meshes the score is drawn with.
//
//   qrv_pictures <folder>

#include "render/ReGlyph.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Colour
{
    double r, g, b;
};

// An RGBA canvas with a coverage buffer: each shape is rasterised with 4 x 4
// samples per pixel, then blended in its colour.
class Canvas
{
public:
    Canvas(int width, int height) : width(width), height(height), pixels(size_t(width * height) * 4, 0.0) {}

    void clear(Colour c, double alpha)
    {
        for (int i = 0; i < width * height; ++i)
            set(i, c, alpha);
    }

    // Adds a triangle to the current shape, in pixel coordinates, y down.
    void triangle(double x0, double y0, double x1, double y1, double x2, double y2)
    {
        int left = std::max(0, int(std::floor(std::min({x0, x1, x2}))));
        int right = std::min(width - 1, int(std::ceil(std::max({x0, x1, x2}))));
        int top = std::max(0, int(std::floor(std::min({y0, y1, y2}))));
        int bottom = std::min(height - 1, int(std::ceil(std::max({y0, y1, y2}))));
        double area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
        if (area == 0.0)
            return;
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                int inside = 0;
                for (int sy = 0; sy < 4; ++sy) {
                    for (int sx = 0; sx < 4; ++sx) {
                        double px = x + (sx + 0.5) / 4.0;
                        double py = y + (sy + 0.5) / 4.0;
                        double a = ((x1 - px) * (y2 - py) - (x2 - px) * (y1 - py)) / area;
                        double b = ((x2 - px) * (y0 - py) - (x0 - px) * (y2 - py)) / area;
                        double c = 1.0 - a - b;
                        if (a >= 0 && b >= 0 && c >= 0)
                            ++inside;
                    }
                }
                double& cover = coverage()[size_t(y * width + x)];
                cover = std::min(1.0, cover + inside / 16.0);
            }
        }
    }

    void rectangle(double x, double y, double w, double h)
    {
        triangle(x, y, x + w, y, x + w, y + h);
        triangle(x, y, x + w, y + h, x, y + h);
    }

    void ellipse(double cx, double cy, double rx, double ry, double angle)
    {
        const int steps = 48;
        double c = std::cos(angle), s = std::sin(angle);
        for (int i = 0; i < steps; ++i) {
            double a0 = 2 * M_PI * i / steps, a1 = 2 * M_PI * (i + 1) / steps;
            double x0 = rx * std::cos(a0), y0 = ry * std::sin(a0);
            double x1 = rx * std::cos(a1), y1 = ry * std::sin(a1);
            triangle(cx, cy, cx + c * x0 - s * y0, cy + s * x0 + c * y0, cx + c * x1 - s * y1, cy + s * x1 + c * y1);
        }
    }

    // A rounded rectangle: the middle cross and four quarter discs.
    void roundedRectangle(double x, double y, double w, double h, double radius)
    {
        rectangle(x + radius, y, w - 2 * radius, h);
        rectangle(x, y + radius, radius, h - 2 * radius);
        rectangle(x + w - radius, y + radius, radius, h - 2 * radius);
        for (double cx : {x + radius, x + w - radius})
            for (double cy : {y + radius, y + h - radius})
                ellipse(cx, cy, radius, radius, 0.0);
    }

    // A glyph at (x, y) in pixels, one staff step = step pixels, y up in the glyph.
    void glyph(const ReGlyph& g, double x, double y, double step)
    {
        for (int i = 0; i < g.triangleCount; ++i) {
            const int* t = g.triangles + 3 * i;
            auto px = [&](int v) { return x + g.vertices[2 * v] * step; };
            auto py = [&](int v) { return y - g.vertices[2 * v + 1] * step; };
            triangle(px(t[0]), py(t[0]), px(t[1]), py(t[1]), px(t[2]), py(t[2]));
        }
    }

    // Blends the current shape in a colour and starts the next shape.
    void fill(Colour c)
    {
        for (int i = 0; i < width * height; ++i) {
            double a = coverage()[size_t(i)];
            if (a <= 0.0)
                continue;
            double* p = &pixels[size_t(i) * 4];
            double outAlpha = a + p[3] * (1 - a);
            for (int k = 0; k < 3; ++k) {
                double src = k == 0 ? c.r : k == 1 ? c.g : c.b;
                p[k] = outAlpha > 0 ? (src * a + p[k] * p[3] * (1 - a)) / outAlpha : 0;
            }
            p[3] = outAlpha;
        }
        cover.assign(size_t(width * height), 0.0);
    }

    bool writePng(const std::string& path) const
    {
        std::string temporary = path + ".tmp";
        FILE* file = std::fopen(temporary.c_str(), "wb");
        if (!file)
            return false;
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            std::fclose(file);
            std::remove(temporary.c_str());
            return false;
        }
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<unsigned char> row(size_t(width) * 4);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width * 4; ++x)
                row[size_t(x)] = (unsigned char)std::lround(std::clamp(pixels[size_t(y * width * 4 + x)], 0.0, 1.0) * 255);
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        bool closed = std::fclose(file) == 0;
        return closed && std::rename(temporary.c_str(), path.c_str()) == 0;
    }

private:
    void set(int i, Colour c, double alpha)
    {
        double* p = &pixels[size_t(i) * 4];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = alpha;
    }
    std::vector<double>& coverage()
    {
        if (cover.empty())
            cover.assign(size_t(width * height), 0.0);
        return cover;
    }

    int width, height;
    std::vector<double> pixels;
    std::vector<double> cover;
};

void extents(const ReGlyph& g, double& minY, double& maxY, double& minX, double& maxX)
{
    minY = minX = 1e9;
    maxY = maxX = -1e9;
    for (int v = 0; v < g.vertexCount; ++v) {
        minX = std::min(minX, g.vertices[2 * v]);
        maxX = std::max(maxX, g.vertices[2 * v]);
        minY = std::min(minY, g.vertices[2 * v + 1]);
        maxY = std::max(maxY, g.vertices[2 * v + 1]);
    }
}

const Colour ink{0.10, 0.12, 0.18};
const Colour white{1.0, 1.0, 1.0};
const Colour blue{0.17, 0.30, 0.50};
const Colour orange{0.95, 0.58, 0.21};

// The application icon: a white G clef on a blue rounded square, an orange
// note beside it.
bool drawIcon(const std::string& path)
{
    const int size = 256;
    Canvas canvas(size, size);
    canvas.clear(white, 0.0);
    canvas.roundedRectangle(8, 8, size - 16, size - 16, 40);
    canvas.fill(blue);

    double minY, maxY, minX, maxX;
    extents(ReGlyph::gClef, minY, maxY, minX, maxX);
    double step = 190.0 / (maxY - minY);
    double x = 70 - (minX + maxX) / 2 * step;
    double y = 128 + (minY + maxY) / 2 * step;
    canvas.glyph(ReGlyph::gClef, x, y, step);
    canvas.fill(white);

    canvas.ellipse(170, 176, 20, 14, -0.35);
    canvas.rectangle(184, 76, 7, 100);
    canvas.fill(orange);
    return canvas.writePng(path);
}

// The logo: a staff with a G clef and a rising phrase of notes.
bool drawLogo(const std::string& path)
{
    const int width = 600, height = 200;
    Canvas canvas(width, height);
    canvas.clear(white, 1.0);
    const double step = 12.0;  // pixels per staff step: lines 24 apart
    const double bottomLine = 148.0;
    for (int line = 0; line < 5; ++line)
        canvas.rectangle(30, bottomLine - line * 2 * step - 1.5, width - 60, 3);
    canvas.rectangle(width - 33, bottomLine - 8 * step - 1.5, 3, 8 * step + 3);
    canvas.fill(ink);

    // The clef's origin sits on the G line, the second from the bottom.
    canvas.glyph(ReGlyph::gClef, 50, bottomLine - 2 * step, step);
    canvas.fill(blue);

    // Steps above the bottom line of each note: E F G A B C D.
    const int positions[] = {0, 1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 7; ++i) {
        double x = 170 + i * 55;
        double y = bottomLine - positions[i] * step;
        canvas.ellipse(x, y, 14, 10, -0.35);
        canvas.rectangle(x + 11, y - 5.5 * step, 3.5, 5.5 * step);
    }
    canvas.fill(ink);
    // One beam over each group of notes.
    for (int group = 0; group < 2; ++group) {
        int first = group == 0 ? 0 : 4;
        int last = group == 0 ? 3 : 6;
        double x0 = 170 + first * 55 + 11, x1 = 170 + last * 55 + 14.5;
        double y0 = bottomLine - positions[first] * step - 5.5 * step;
        double y1 = bottomLine - positions[last] * step - 5.5 * step;
        canvas.triangle(x0, y0, x1, y1, x1, y1 + 10);
        canvas.triangle(x0, y0, x1, y1 + 10, x0, y0 + 10);
    }
    canvas.fill(orange);
    return canvas.writePng(path);
}

// A treble staff with the key signature of `fifths` (-7 to 7) on white,
// opaque: the transpose dialog's list makes its white the item's ground.
bool drawKeySignature(const std::string& path, int fifths)
{
    const int width = 150, height = 100;
    Canvas canvas(width, height);
    canvas.clear(white, 1.0);
    const double step = 5.0;
    const double bottomLine = 70.0;
    for (int line = 0; line < 5; ++line)
        canvas.rectangle(2, bottomLine - line * 2 * step - 0.75, width - 4, 1.5);
    canvas.fill(ink);
    double minY, maxY, minX, maxX;
    extents(ReGlyph::gClef, minY, maxY, minX, maxX);
    canvas.glyph(ReGlyph::gClef, 6 - minX * step, bottomLine - 2 * step, step);
    canvas.fill(ink);
    // Steps above the bottom line, in the order the accidentals come.
    const int sharps[] = {8, 5, 9, 6, 3, 7, 4};
    const int flats[] = {4, 7, 3, 6, 2, 5, 1};
    int count = fifths < 0 ? -fifths : fifths;
    for (int i = 0; i < count && i < 7; ++i) {
        int position = fifths < 0 ? flats[i] : sharps[i];
        canvas.glyph(fifths < 0 ? ReGlyph::flat : ReGlyph::sharp, 48 + i * 13, bottomLine - position * step, step);
    }
    canvas.fill(ink);
    return canvas.writePng(path);
}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    bool ok = drawIcon(folder + "/128.png") && drawLogo(folder + "/231.png") && drawLogo(folder + "/310.png");
    // Picture 243 - i shows key entry i (i - 7 fifths) for the flats and C,
    // 258 - i the sharps.
    for (int entry = 0; entry < 15 && ok; ++entry) {
        unsigned id = entry <= 7 ? 243u - unsigned(entry) : 258u - unsigned(entry);
        ok = drawKeySignature(folder + "/" + std::to_string(id) + ".png", entry - 7);
    }
    if (!ok)
        std::fprintf(stderr, "could not write the pictures into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
