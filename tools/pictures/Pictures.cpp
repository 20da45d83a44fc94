// Draws the program's pictures into resources/images, each PNG named by its
// resource id: the application icon (128), the About dialog's logo (231) and
// the pictures of the property pages.
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

// The pictures of the property pages: small scenes of notation, 40 x 30
// pixels, the part a control sets drawn in orange.
constexpr int pictureWidth = 40;
constexpr int pictureHeight = 30;
constexpr double pictureStep = 3.0;  // pixels per staff step
constexpr double accidentalStep = 4.4;
constexpr double markStep = 4.5;

// A glyph centred on (cx, cy), scaled by (sx, sy) (negative mirrors).
void centredGlyph(Canvas& canvas, const ReGlyph& g, double cx, double cy, double step, double sx = 1,
                  double sy = 1)
{
    double minY, maxY, minX, maxX;
    extents(g, minY, maxY, minX, maxX);
    double midX = (minX + maxX) / 2 * sx, midY = (minY + maxY) / 2 * sy;
    for (int i = 0; i < g.triangleCount; ++i) {
        const int* t = g.triangles + 3 * i;
        auto px = [&](int v) { return cx + (g.vertices[2 * v] * sx - midX) * step; };
        auto py = [&](int v) { return cy - (g.vertices[2 * v + 1] * sy - midY) * step; };
        canvas.triangle(px(t[0]), py(t[0]), px(t[1]), py(t[1]), px(t[2]), py(t[2]));
    }
}

void notehead(Canvas& canvas, double x, double y)
{
    canvas.ellipse(x, y, 4.6, 3.3, -0.35);
}

// A line of a given thickness between two points.
void line(Canvas& canvas, double x0, double y0, double x1, double y1, double width)
{
    double dx = x1 - x0, dy = y1 - y0;
    double length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0)
        return;
    double nx = -dy / length * width / 2, ny = dx / length * width / 2;
    canvas.triangle(x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny);
    canvas.triangle(x0 + nx, y0 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny);
}

// A tie or slur from x0 to x1 at y, bulging by bulge (negative: upward),
// thicker in the middle.
void curve(Canvas& canvas, double x0, double y0, double x1, double y1, double bulge)
{
    const int steps = 24;
    for (int i = 0; i < steps; ++i) {
        double t0 = double(i) / steps, t1 = double(i + 1) / steps;
        auto at = [&](double t, double extra, double& x, double& y) {
            x = x0 + (x1 - x0) * t;
            y = y0 + (y1 - y0) * t + (bulge + extra) * 4 * t * (1 - t);
        };
        double ax, ay, bx, by, cx, cy, dx, dy;
        double thick = bulge < 0 ? -1.4 : 1.4;
        at(t0, 0, ax, ay);
        at(t1, 0, bx, by);
        at(t1, thick, cx, cy);
        at(t0, thick, dx, dy);
        canvas.triangle(ax, ay, bx, by, cx, cy);
        canvas.triangle(ax, ay, cx, cy, dx, dy);
    }
}

void staffLines(Canvas& canvas)
{
    for (int i = 0; i < 5; ++i)
        canvas.rectangle(0, 5 + i * 5, pictureWidth, 0.8);
}

using Scene = void (*)(Canvas& canvas);

bool drawPicture(const std::string& folder, unsigned id, Scene inked, Scene highlight)
{
    Canvas canvas(pictureWidth, pictureHeight);
    canvas.clear(white, 0.0);
    if (inked) {
        inked(canvas);
        canvas.fill(ink);
    }
    if (highlight) {
        highlight(canvas);
        canvas.fill(orange);
    }
    return canvas.writePng(folder + "/" + std::to_string(id) + ".png");
}

// Stemmed notes at x with their heads at y; up stems on the right.
void stemmedNote(Canvas& canvas, double x, double y, double top)
{
    notehead(canvas, x, y);
    canvas.rectangle(x + 3.6, top, 1.2, y - top);
}

bool drawPagePictures(const std::string& folder)
{
    struct Picture
    {
        unsigned id;
        Scene ink;
        Scene highlight;
    };
    const Picture pictures[] = {
        // Accidentals.
        {260, nullptr, [](Canvas& c) { centredGlyph(c, ReGlyph::sharp, 20, 15, accidentalStep); }},
        {261, nullptr, [](Canvas& c) { centredGlyph(c, ReGlyph::flat, 20, 15, accidentalStep); }},
        {262, nullptr, [](Canvas& c) { centredGlyph(c, ReGlyph::natural, 20, 15, accidentalStep); }},
        {263, nullptr, [](Canvas& c) {
             centredGlyph(c, ReGlyph::flat, 15, 15, accidentalStep);
             centredGlyph(c, ReGlyph::flat, 25, 15, accidentalStep);
         }},
        {264, nullptr, [](Canvas& c) { centredGlyph(c, ReGlyph::doubleSharp, 20, 15, accidentalStep); }},
        // Stems.
        {265, [](Canvas& c) { notehead(c, 17, 22); }, [](Canvas& c) { c.rectangle(20.6, 3, 1.2, 19); }},
        {266, [](Canvas& c) { notehead(c, 22, 8); }, [](Canvas& c) { c.rectangle(18.2, 8, 1.2, 19); }},
        // Beams: start, continue, none, with a break of the second beam.
        {267, [](Canvas& c) { stemmedNote(c, 28, 23, 6); },
         [](Canvas& c) {
             stemmedNote(c, 10, 23, 6);
             c.rectangle(13.6, 5, 19, 3);
         }},
        {268, [](Canvas& c) {
             stemmedNote(c, 8, 23, 6);
             c.rectangle(11.6, 5, 8, 3);
         },
         [](Canvas& c) {
             stemmedNote(c, 28, 23, 6);
             c.rectangle(19.6, 5, 13, 3);
         }},
        {269, [](Canvas& c) { stemmedNote(c, 10, 23, 6); },
         [](Canvas& c) {
             stemmedNote(c, 26, 23, 6);
             line(c, 30.2, 6, 35, 14, 1.6);
         }},
        {343, [](Canvas& c) {
             stemmedNote(c, 8, 23, 4);
             stemmedNote(c, 30, 23, 4);
             c.rectangle(11.6, 3, 23, 3);
             c.rectangle(11.6, 8, 5, 2.4);
         },
         [](Canvas& c) { c.rectangle(28.6, 8, 6, 2.4); }},
        // Ties: plain, below, above.
        {276, [](Canvas& c) {
             notehead(c, 10, 12);
             notehead(c, 30, 12);
         },
         [](Canvas& c) { curve(c, 12, 17, 28, 17, 5); }},
        {278, [](Canvas& c) {
             notehead(c, 10, 10);
             notehead(c, 30, 10);
         },
         [](Canvas& c) { curve(c, 12, 15, 28, 15, 6); }},
        {277, [](Canvas& c) {
             notehead(c, 10, 20);
             notehead(c, 30, 20);
         },
         [](Canvas& c) { curve(c, 12, 15, 28, 15, -6); }},
        // Slurs: plain, below, above, the start of a slur.
        {294, [](Canvas& c) {
             notehead(c, 9, 14);
             notehead(c, 31, 8);
         },
         [](Canvas& c) { curve(c, 10, 19, 30, 13, 6); }},
        {340, [](Canvas& c) {
             notehead(c, 9, 10);
             notehead(c, 31, 6);
         },
         [](Canvas& c) { curve(c, 10, 16, 30, 12, 8); }},
        {339, [](Canvas& c) {
             notehead(c, 9, 22);
             notehead(c, 31, 18);
         },
         [](Canvas& c) { curve(c, 10, 16, 30, 12, -8); }},
        {344, [](Canvas& c) { notehead(c, 31, 14); },
         [](Canvas& c) {
             notehead(c, 9, 14);
             curve(c, 10, 19, 30, 19, 6);
         }},
        // A slashed grace note.
        {342, [](Canvas& c) {
             c.ellipse(16, 22, 3.2, 2.3, -0.35);
             c.rectangle(18.6, 6, 1, 16);
             line(c, 19.4, 6.5, 24, 12, 1.2);
         },
         [](Canvas& c) { line(c, 13, 17, 26, 8, 1.2); }},
        // Articulations over a note.
        {289, [](Canvas& c) { notehead(c, 20, 23); },
         [](Canvas& c) { centredGlyph(c, ReGlyph::staccatissimo, 20, 10, markStep); }},
        {288, [](Canvas& c) { notehead(c, 20, 23); }, [](Canvas& c) { c.ellipse(20, 12, 1.8, 1.8, 0); }},
        {291, [](Canvas& c) { notehead(c, 20, 23); }, [](Canvas& c) { c.rectangle(14, 12, 12, 1.6); }},
        {292, [](Canvas& c) { notehead(c, 20, 23); },
         [](Canvas& c) { centredGlyph(c, ReGlyph::accent, 20, 11, markStep); }},
        {290, [](Canvas& c) { notehead(c, 20, 23); },
         [](Canvas& c) { centredGlyph(c, ReGlyph::strongAccent, 20, 10, markStep); }},
        {293, [](Canvas& c) { notehead(c, 20, 24); },
         [](Canvas& c) { centredGlyph(c, ReGlyph::fermata, 20, 10, pictureStep * 1.2); }},
        // Arpeggios: the link of a note, then the three kinds of line.
        {338, [](Canvas& c) {
             notehead(c, 26, 8);
             notehead(c, 26, 22);
         },
         [](Canvas& c) {
             notehead(c, 26, 15);
             for (int i = 0; i < 4; ++i)
                 centredGlyph(c, ReGlyph::arpeggioWave, 14, 24 - i * 6, pictureStep);
         }},
        {335, nullptr,
         [](Canvas& c) {
             for (int i = 0; i < 4; ++i)
                 centredGlyph(c, ReGlyph::arpeggioWave, 20, 24 - i * 6, pictureStep);
         }},
        {336, nullptr,
         [](Canvas& c) {
             for (int i = 0; i < 3; ++i)
                 centredGlyph(c, ReGlyph::arpeggioWave, 20, 25 - i * 6, pictureStep);
             centredGlyph(c, ReGlyph::arpeggioArrowhead, 20, 6, pictureStep);
         }},
        {337, nullptr,
         [](Canvas& c) {
             centredGlyph(c, ReGlyph::arpeggioArrowhead, 20, 24, pictureStep, -1, -1);
             for (int i = 1; i < 4; ++i)
                 centredGlyph(c, ReGlyph::arpeggioWave, 20, 24 - i * 6, pictureStep);
         }},
        // Bar lines on a staff.
        {270, staffLines, [](Canvas& c) { c.rectangle(19, 5, 1.4, 20.8); }},
        {271, staffLines, [](Canvas& c) {
             c.rectangle(16, 5, 1.4, 20.8);
             c.rectangle(21, 5, 1.4, 20.8);
         }},
        {272, staffLines, [](Canvas& c) {
             c.rectangle(15, 5, 1.4, 20.8);
             c.rectangle(19.5, 5, 4, 20.8);
         }},
        {274, staffLines, [](Canvas& c) {
             c.ellipse(11, 12.5, 1.6, 1.6, 0);
             c.ellipse(11, 17.5, 1.6, 1.6, 0);
             c.rectangle(15, 5, 1.4, 20.8);
             c.rectangle(19.5, 5, 4, 20.8);
         }},
        {273, staffLines, [](Canvas& c) {
             c.rectangle(16, 5, 4, 20.8);
             c.rectangle(23, 5, 1.4, 20.8);
             c.ellipse(28.5, 12.5, 1.6, 1.6, 0);
             c.ellipse(28.5, 17.5, 1.6, 1.6, 0);
         }},
        {275, staffLines, [](Canvas& c) {
             c.ellipse(8, 12.5, 1.6, 1.6, 0);
             c.ellipse(8, 17.5, 1.6, 1.6, 0);
             c.rectangle(12, 5, 1.4, 20.8);
             c.rectangle(16.5, 5, 4, 20.8);
             c.rectangle(23.5, 5, 1.4, 20.8);
             c.ellipse(29, 12.5, 1.6, 1.6, 0);
             c.ellipse(29, 17.5, 1.6, 1.6, 0);
         }},
        // Volta brackets: first time closed, second time open and closed.
        {313, nullptr, [](Canvas& c) {
             c.rectangle(4, 6, 1.4, 20);
             c.rectangle(4, 6, 32, 1.4);
             c.rectangle(34.6, 6, 1.4, 20);
             centredGlyph(c, ReGlyph::figure1, 12, 15, pictureStep * 0.7);
             c.ellipse(16.5, 19, 1.1, 1.1, 0);
         }},
        {314, nullptr, [](Canvas& c) {
             c.rectangle(4, 6, 1.4, 20);
             c.rectangle(4, 6, 34, 1.4);
             centredGlyph(c, ReGlyph::figure2, 12, 15, pictureStep * 0.7);
             c.ellipse(16.5, 19, 1.1, 1.1, 0);
         }},
        {315, nullptr, [](Canvas& c) {
             c.rectangle(4, 6, 1.4, 20);
             c.rectangle(4, 6, 32, 1.4);
             c.rectangle(34.6, 6, 1.4, 20);
             centredGlyph(c, ReGlyph::figure2, 12, 15, pictureStep * 0.7);
             c.ellipse(16.5, 19, 1.1, 1.1, 0);
         }},
        // Repeat markers.
        {332, nullptr, [](Canvas& c) { centredGlyph(c, ReGlyph::segno, 20, 15, pictureStep * 0.9); }},
        {333, nullptr, [](Canvas& c) { centredGlyph(c, ReGlyph::coda, 20, 15, pictureStep * 0.9); }},
        // Breaks: the music goes on in the next system, or on the next page.
        {311, nullptr, [](Canvas& c) {
             c.rectangle(30, 5, 1.8, 14);
             c.rectangle(12, 17.2, 19.8, 1.8);
             c.triangle(6, 18.1, 13, 12.5, 13, 23.7);
         }},
        {312, [](Canvas& c) {
             c.rectangle(11, 3, 18, 1.2);
             c.rectangle(11, 26, 18, 1.2);
             c.rectangle(11, 3, 1.2, 24);
             c.rectangle(27.8, 3, 1.2, 24);
         },
         [](Canvas& c) {
             c.rectangle(14, 14.2, 9, 1.8);
             c.triangle(26, 15.1, 21, 11, 21, 19.2);
         }},
    };
    for (const Picture& picture : pictures)
        if (!drawPicture(folder, picture.id, picture.ink, picture.highlight))
            return false;
    return true;
}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    bool ok = drawIcon(folder + "/128.png") && drawLogo(folder + "/231.png") && drawPagePictures(folder);
    if (!ok)
        std::fprintf(stderr, "could not write the pictures into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
