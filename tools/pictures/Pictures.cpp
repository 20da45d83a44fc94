// Draws the program's pictures into resources/images, each PNG named by its
// resource id: the application icon (128), the About dialog's logo (231),
// the context palette's icons, the project browser's icons (icon-131 to
// icon-153), the toolbar's button strips at 24 and 32 pixels (130, 180), the
// key signatures of the transpose dialog and the staff page (236 to 250),
// the picture of the back-side card (310), the pictures of the property pages
// (232 to 346) and the score page's reset icon (149).
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

    // Later shapes are given in design units, y down: a unit is `scale`
    // pixels and the design's origin stands at (x, y) in pixels. One design
    // then serves every size a picture is made at.
    void place(double x, double y, double scale)
    {
        originX = x;
        originY = y;
        unit = scale;
    }

    // Adds a triangle to the current shape, in design units.
    void triangle(double x0, double y0, double x1, double y1, double x2, double y2)
    {
        toPixels(x0, y0);
        toPixels(x1, y1);
        toPixels(x2, y2);
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

    void ellipse(double cx, double cy, double rx, double ry, double angle = 0.0)
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

    // A glyph at (x, y), one staff step = step units, y up in the glyph.
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
    void toPixels(double& x, double& y) const
    {
        x = originX + x * unit;
        y = originY + y * unit;
    }
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
    double originX = 0, originY = 0, unit = 1;
    std::vector<double> pixels;
    std::vector<double> cover;
};

// What a picture draws, on its canvas.
using Scene = void (*)(Canvas& canvas);

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

// A glyph scaled to the given height, its box centred on (cx, cy).
void glyphFit(Canvas& canvas, const ReGlyph& g, double cx, double cy, double height)
{
    double minY, maxY, minX, maxX;
    extents(g, minY, maxY, minX, maxX);
    centredGlyph(canvas, g, cx, cy, height / (maxY - minY));
}

const Colour ink{0.10, 0.12, 0.18};
const Colour white{1.0, 1.0, 1.0};
const Colour blue{0.17, 0.30, 0.50};
const Colour orange{0.95, 0.58, 0.21};
const Colour grey{0.55, 0.57, 0.60};

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

// The context palette's icons, 48 pixels square, written as <id>.png (the
// list scales them to its icon size), and the project browser's icons, 32
// pixels square, written as icon-<id>.png (icon ids are numbered apart from
// the pictures); all on a transparent ground. A picture both show is drawn
// once, on the palette's 48-unit square, and scaled down for the browser.
namespace icons {

const int paletteSize = 48;
const int browserSize = 32;

const Colour wood{0.66, 0.40, 0.18};
const Colour brass{0.85, 0.66, 0.20};
const Colour red{0.72, 0.16, 0.14};

void lines(Canvas& canvas, double left, double right, double top, int count, double gap)
{
    for (int i = 0; i < count; ++i)
        canvas.rectangle(left, top + i * gap - 0.75, right - left, 1.5);
}

void plus(Canvas& canvas, double cx, double cy)
{
    canvas.fill(ink);
    canvas.rectangle(cx - 8, cy - 2.5, 16, 5);
    canvas.rectangle(cx - 2.5, cy - 8, 5, 16);
    canvas.fill(orange);
}

// A quarter note: its head centred on (x, y), stem up.
void note(Canvas& canvas, double x, double y, double scale)
{
    canvas.ellipse(x, y, 5.5 * scale, 4 * scale, -0.35);
    canvas.rectangle(x + 4.2 * scale, y - 22 * scale, 1.8 * scale, 22 * scale);
}

// A keyboard across the browser's square, `height` tall from `top`.
void keyboard(Canvas& c, double top, double height)
{
    c.rectangle(1, top, 30, height);
    c.fill(ink);
    c.rectangle(2, top + 1, 28, height - 2);
    c.fill(white);
    for (int k = 1; k < 7; ++k)
        c.rectangle(2 + k * 4 - 0.5, top + 1, 1, height - 2);
    for (int k : {0, 1, 3, 4, 5})
        c.rectangle(4.6 + k * 4, top + 1, 2.2, (height - 2) * 0.6);
    c.fill(ink);
}

// The pictures both sets show, on the palette's square. Their lines stand on
// multiples of 1.5 units, so that they fall on whole pixels at 32.

// A sheet of music: a page with two systems.
void sheetOfMusic(Canvas& c)
{
    c.rectangle(7.5, 3, 33, 42);
    c.fill(ink);
    c.rectangle(9, 4.5, 30, 39);
    c.fill(white);
    lines(c, 13.5, 34.5, 9.75, 5, 3);
    lines(c, 13.5, 34.5, 27.75, 5, 3);
    c.fill(blue);
}

// Two staves joined by a bracket.
void bracketedStaves(Canvas& c)
{
    lines(c, 13.5, 45, 6.75, 3, 4.5);
    lines(c, 13.5, 45, 32.25, 3, 4.5);
    c.fill(ink);
    c.rectangle(4.5, 4.5, 4.5, 39);
    c.rectangle(4.5, 4.5, 9, 3);
    c.rectangle(4.5, 40.5, 9, 3);
    c.fill(blue);
}

// A tablature: six strings and the frets played on three of them.
void tablature(Canvas& c)
{
    lines(c, 3, 45, 9.75, 6, 6);
    c.fill(ink);
    glyphFit(c, ReGlyph::figure3, 14, 15.75, 9);
    glyphFit(c, ReGlyph::figure2, 26, 27.75, 9);
    glyphFit(c, ReGlyph::figure1, 36, 33.75, 9);
    c.fill(blue);
}

struct Picture
{
    unsigned id;
    int design;  // the side of the square the scene is drawn on, in units
    Scene scene;
};

// Draws a picture into a square of `pixels`, its design scaled to fit.
bool drawSquare(const std::string& path, int pixels, const Picture& picture)
{
    Canvas canvas(pixels, pixels);
    canvas.clear(white, 0.0);
    canvas.place(0, 0, double(pixels) / picture.design);
    picture.scene(canvas);
    return canvas.writePng(path);
}

bool drawAll(const std::string& folder)
{
    const int palette = paletteSize;
    const Picture pictures[] = {
        {131, palette, sheetOfMusic},  // Wrap in sheet music
        // Add a staff
        {132, palette, [](Canvas& c) {
             lines(c, 3, 42, 6, 5, 5.5);
             c.fill(ink);
             plus(c, 36, 37);
         }},
        // Add a measure
        {140, palette, [](Canvas& c) {
             lines(c, 3, 42, 6, 5, 5.5);
             c.rectangle(3, 6, 2, 22);
             c.rectangle(22, 6, 2, 22);
             c.rectangle(40, 6, 2, 22);
             c.fill(ink);
             plus(c, 36, 37);
         }},
        // A tuplet
        {146, palette, [](Canvas& c) {
             for (int i = 0; i < 3; ++i)
                 note(c, 9 + i * 14, 40, 1.0);
             c.rectangle(13, 18, 30, 4);
             c.fill(ink);
             glyphFit(c, ReGlyph::figure3, 28, 8, 12);
             c.fill(blue);
         }},
        // A grace note
        {151, palette, [](Canvas& c) {
             note(c, 14, 32, 0.8);
             c.triangle(7, 25, 26, 12, 27, 14);
             c.triangle(7, 25, 27, 14, 8, 27);
             note(c, 28, 40, 1.0);
             c.fill(ink);
             plus(c, 38, 12);
         }},
        {133, palette, bracketedStaves},  // Group staves
        // An octave line
        {143, palette, [](Canvas& c) {
             glyphFit(c, ReGlyph::figure8, 10, 16, 18);
             c.fill(blue);
             for (int i = 0; i < 4; ++i)
                 c.rectangle(20 + i * 7, 14, 4, 2);
             c.rectangle(43, 14, 2, 10);
             note(c, 30, 42, 0.7);
             c.fill(ink);
         }},
        // A dynamic
        {142, palette, [](Canvas& c) {
             glyphFit(c, ReGlyph::dynamicF, 11, 33, 22);
             c.fill(blue);
             c.triangle(22, 18, 45, 11, 45, 13.5);
             c.triangle(22, 18, 45, 13.5, 22, 19.5);
             c.triangle(22, 18, 45, 25, 45, 22.5);
             c.triangle(22, 18, 45, 22.5, 22, 16.5);
             c.fill(ink);
         }},
        // A pedal
        {141, palette, [](Canvas& c) {
             glyphFit(c, ReGlyph::pedalMark, 22, 18, 20);
             c.fill(blue);
             c.rectangle(4, 34, 2, 10);
             c.rectangle(4, 42, 40, 2);
             c.rectangle(42, 34, 2, 10);
             c.fill(ink);
         }},
        {152, palette, tablature},
        // Lyrics
        {154, palette, [](Canvas& c) {
             note(c, 12, 26, 0.9);
             note(c, 32, 22, 0.9);
             c.fill(ink);
             c.rectangle(4, 36, 16, 4);
             c.rectangle(25, 36, 18, 4);
             c.rectangle(4, 43, 10, 3);
             c.fill(blue);
         }},
    };
    bool ok = true;
    for (const Picture& picture : pictures)
        ok = drawSquare(folder + "/" + std::to_string(picture.id) + ".png", paletteSize, picture) && ok;
    return ok;
}

bool drawBrowserIcons(const std::string& folder)
{
    const int palette = paletteSize, browser = browserSize;
    const Picture pictures[] = {
        {131, palette, sheetOfMusic},
        // A score standing free: a staff with a note
        {132, browser, [](Canvas& c) {
             lines(c, 1, 31, 9, 5, 4);
             c.fill(ink);
             note(c, 16, 21, 0.7);
             c.fill(blue);
         }},
        // A group of staves joined by a line
        {133, browser, [](Canvas& c) {
             lines(c, 8, 31, 4, 3, 3.5);
             lines(c, 8, 31, 21, 3, 3.5);
             c.fill(ink);
             c.rectangle(5, 3, 2, 26);
             c.fill(blue);
         }},
        {134, palette, bracketedStaves},  // A group with a bracket
        {135, browser, [](Canvas& c) { keyboard(c, 8, 16); }},  // Piano
        // Organ: two manuals
        {136, browser, [](Canvas& c) {
             keyboard(c, 3, 12);
             keyboard(c, 17, 12);
         }},
        // Pipe organ
        {148, browser, [](Canvas& c) {
             const double heights[] = {14, 20, 26, 20, 14};
             for (int i = 0; i < 5; ++i) {
                 const double x = 3 + i * 5.5;
                 c.rectangle(x, 30 - heights[i], 4, heights[i]);
                 c.triangle(x, 30 - heights[i], x + 4, 30 - heights[i], x + 2, 27 - heights[i]);
             }
             c.fill(brass);
             for (int i = 0; i < 5; ++i)
                 c.rectangle(3.8 + i * 5.5, 30 - heights[i] * 0.35, 2.4, 1.2);
             c.fill(ink);
         }},
        // Guitar
        {137, browser, [](Canvas& c) {
             c.ellipse(12, 22, 8.5, 8, 0.0);
             c.ellipse(12, 12.5, 6, 5.5, 0.0);
             c.fill(wood);
             c.ellipse(12, 18, 2.4, 2.4, 0.0);
             c.rectangle(10.8, 0, 2.4, 16);
             c.rectangle(9.5, 0, 5, 4);
             c.fill(ink);
         }},
        // Electric guitar and bass
        {138, browser, [](Canvas& c) {
             c.ellipse(13, 23, 8, 7, 0.0);
             c.triangle(6, 20, 9, 10, 13, 18);
             c.triangle(20, 20, 19, 12, 14, 18);
             c.fill(red);
             c.rectangle(11.8, 0, 2.4, 24);
             c.rectangle(10.5, 0, 5, 3.5);
             c.rectangle(8, 24, 10, 1.5);
             c.fill(ink);
         }},
        // Violin, cello and double bass
        {139, browser, [](Canvas& c) {
             c.ellipse(16, 24, 7, 6.5, 0.0);
             c.ellipse(16, 13.5, 5.5, 5, 0.0);
             c.fill(wood);
             c.rectangle(15, 0, 2, 20);
             c.ellipse(16, 1.8, 2, 1.8, 0.0);
             c.rectangle(12, 18, 1, 5);
             c.rectangle(19, 18, 1, 5);
             c.rectangle(13, 26, 6, 1.2);
             c.fill(ink);
         }},
        // Flute
        {147, browser, [](Canvas& c) {
             c.triangle(1, 25, 29, 3, 31, 5.5);
             c.triangle(1, 25, 31, 5.5, 3, 27.5);
             c.fill(grey);
             for (int i = 0; i < 5; ++i)
                 c.ellipse(9 + i * 4, 19.6 - i * 3.15, 1.1, 1.1, 0.0);
             c.fill(ink);
         }},
        // Trumpet
        {144, browser, [](Canvas& c) {
             c.rectangle(1, 17, 22, 3);
             c.rectangle(6, 23, 16, 2.5);
             c.triangle(21, 18.5, 31, 10, 31, 27);
             c.fill(brass);
             for (int i = 0; i < 3; ++i)
                 c.rectangle(9 + i * 4, 11, 2, 14);
             c.fill(ink);
         }},
        // Saxophone
        {145, browser, [](Canvas& c) {
             c.rectangle(9, 4, 4, 20);
             c.ellipse(15, 24, 6, 5, 0.0);
             c.triangle(17, 26, 24, 8, 29, 10);
             c.triangle(17, 26, 29, 10, 21, 26);
             c.fill(brass);
             c.rectangle(6, 2, 7, 2.5);
             for (int i = 0; i < 4; ++i)
                 c.ellipse(11, 8 + i * 4, 1.1, 1.1, 0.0);
             c.fill(ink);
         }},
        {152, palette, tablature},
        // A voice: two notes with a beam
        {153, browser, [](Canvas& c) {
             c.ellipse(8, 25, 4.2, 3, -0.35);
             c.ellipse(22, 21, 4.2, 3, -0.35);
             c.rectangle(10.8, 5, 1.6, 20);
             c.rectangle(24.8, 3, 1.6, 18);
             c.triangle(10.8, 5, 26.4, 1, 26.4, 5);
             c.triangle(10.8, 5, 26.4, 5, 10.8, 9);
             c.fill(blue);
         }},
    };
    bool ok = true;
    for (const Picture& picture : pictures)
        ok = drawSquare(folder + "/icon-" + std::to_string(picture.id) + ".png", browserSize, picture) && ok;
    return ok;
}

}  // namespace icons

// The toolbar's button pictures, drawn on a 24-unit square that the strip
// scales to its size.
namespace buttons {

// A note: head at (x, y), stem up, the number of flags; hollow heads for
// halves and wholes, no stem for a whole.
void note(Canvas& c, double x, double y, int value, double scale = 1.0)
{
    if (value == 1) {
        glyphFit(c, ReGlyph::wholeNotehead, x, y, 5.0 * scale);
        return;
    }
    if (value == 2)
        glyphFit(c, ReGlyph::halfNotehead, x, y, 5.0 * scale);
    else
        c.ellipse(x, y, 3.3 * scale, 2.3 * scale, -0.35);
    double stemX = x + 2.9 * scale;
    c.rectangle(stemX - 0.6 * scale, y - 14 * scale, 1.2 * scale, 14 * scale);
    int flags = value >= 8 ? (value == 8 ? 1 : value == 16 ? 2 : value == 32 ? 3 : 4) : 0;
    for (int f = 0; f < flags; ++f) {
        double top = y - 14 * scale + f * 2.6 * scale;
        line(c, stemX, top, stemX + 4.5 * scale, top + 4.5 * scale, 1.4 * scale);
    }
}

void staffLines(Canvas& c, double x, double y, double w, int count, double gap)
{
    for (int i = 0; i < count; ++i)
        c.rectangle(x, y + i * gap, w, 0.9);
}

void plus(Canvas& c, double cx, double cy)
{
    c.rectangle(cx - 4, cy - 1.2, 8, 2.4);
    c.rectangle(cx - 1.2, cy - 4, 2.4, 8);
}

void page(Canvas& c, double x, double y, double w, double h)
{
    c.rectangle(x, y, w, h);
    c.fill(ink);
    c.rectangle(x + 1, y + 1, w - 2, h - 2);
    c.fill(white);
}

const Colour green{0.20, 0.62, 0.25};
const Colour brown{0.60, 0.42, 0.22};

void draw(Canvas& c, unsigned id)
{
    switch (id) {
    case 57600:  // New
        page(c, 5, 2, 14, 20);
        c.triangle(13, 2, 19, 2, 19, 8);
        c.fill(orange);
        break;
    case 57601:  // Open
        c.rectangle(2, 6, 9, 3);
        c.rectangle(2, 8, 20, 13);
        c.fill(brown);
        c.triangle(5, 12, 23, 12, 20, 21);
        c.triangle(5, 12, 20, 21, 2, 21);
        c.fill(orange);
        break;
    case 57603:  // Save
        c.rectangle(3, 3, 18, 18);
        c.fill(blue);
        c.rectangle(7, 3, 10, 7);
        c.rectangle(6, 14, 12, 7);
        c.fill(white);
        c.rectangle(13, 4, 2.5, 5);
        c.fill(blue);
        break;
    case 57607:  // Print
        page(c, 7, 2, 10, 8);
        c.rectangle(2, 9, 20, 9);
        c.fill(grey);
        page(c, 6, 14, 12, 8);
        break;
    case 57635:  // Cut
        line(c, 8, 3, 15, 15, 1.8);
        line(c, 16, 3, 9, 15, 1.8);
        c.fill(grey);
        c.ellipse(7, 18, 3.5, 3.5);
        c.ellipse(17, 18, 3.5, 3.5);
        c.fill(ink);
        c.ellipse(7, 18, 2, 2);
        c.ellipse(17, 18, 2, 2);
        c.fill(white);
        break;
    case 57634:  // Copy
        page(c, 3, 2, 12, 15);
        page(c, 9, 7, 12, 15);
        break;
    case 57637:  // Paste
        c.rectangle(3, 4, 16, 18);
        c.fill(brown);
        c.rectangle(7, 2, 8, 4);
        c.fill(grey);
        page(c, 10, 9, 11, 13);
        break;
    case 57643:  // Undo
    case 57644: {  // Redo
        bool redo = id == 57644;
        auto mx = [&](double x) { return redo ? 24 - x : x; };
        c.triangle(mx(2), 10, mx(10), 3, mx(10), 17);
        line(c, mx(9), 10, mx(16), 10, 4);
        line(c, mx(16), 10, mx(20), 14, 4);
        line(c, mx(20), 14, mx(20), 21, 4);
        c.fill(blue);
        break;
    }
    case 32819:  // New sheet music
        page(c, 4, 1, 16, 22);
        staffLines(c, 6, 5, 12, 5, 1.8);
        staffLines(c, 6, 15, 12, 5, 1.8);
        c.fill(ink);
        break;
    case 32817:  // New staff
        staffLines(c, 1, 3, 22, 5, 3);
        c.fill(ink);
        plus(c, 17, 18);
        c.fill(orange);
        break;
    case 32818:  // New measure
        staffLines(c, 1, 3, 22, 5, 3);
        c.rectangle(11, 3, 1.2, 12.9);
        c.fill(ink);
        plus(c, 17, 19);
        c.fill(orange);
        break;
    case 33095:  // Tablature
        staffLines(c, 1, 3, 22, 6, 3);
        c.fill(ink);
        glyphFit(c, ReGlyph::figure3, 7, 9, 4);
        glyphFit(c, ReGlyph::figure2, 14, 15, 4);
        c.fill(blue);
        break;
    case 32789: note(c, 12, 12, 1); c.fill(ink); break;
    case 32790: note(c, 10, 18, 2); c.fill(ink); break;
    case 32791: note(c, 10, 18, 4); c.fill(ink); break;
    case 32792: note(c, 9, 18, 8); c.fill(ink); break;
    case 32809: note(c, 9, 18, 16); c.fill(ink); break;
    case 32810: note(c, 9, 19, 32); c.fill(ink); break;
    case 32811: note(c, 9, 20, 64); c.fill(ink); break;
    case 32833:  // Dotted
        note(c, 9, 18, 4);
        c.ellipse(17, 18, 1.8, 1.8);
        c.fill(ink);
        break;
    case 32813:  // Rest
        glyphFit(c, ReGlyph::quarterRest, 12, 12, 18);
        c.fill(ink);
        break;
    case 32851:  // Second voice
        note(c, 6, 17, 4, 0.8);
        c.fill(ink);
        note(c, 15, 20, 4, 0.8);
        c.fill(orange);
        break;
    case 32852:  // Tuplet
        for (int i = 0; i < 3; ++i)
            note(c, 4 + i * 7, 20, 4, 0.7);
        c.rectangle(5.5, 9.5, 15, 2);
        c.fill(ink);
        glyphFit(c, ReGlyph::figure3, 12, 4, 5);
        c.fill(blue);
        break;
    case 33082:  // Grace note
        note(c, 9, 18, 8, 0.8);
        line(c, 6, 13, 16, 6, 1.2);
        c.fill(ink);
        break;
    case 32839:  // Group
        c.rectangle(3, 2, 2.5, 20);
        staffLines(c, 7, 3, 15, 3, 3);
        staffLines(c, 7, 15, 15, 3, 3);
        c.fill(ink);
        break;
    case 32893:  // Octave
        glyphFit(c, ReGlyph::figure8, 5, 10, 10);
        c.fill(ink);
        for (int i = 0; i < 3; ++i)
            c.rectangle(10 + i * 4.5, 6, 3, 1.2);
        c.rectangle(22, 6, 1.2, 5);
        c.fill(ink);
        break;
    case 32854:  // Dynamic
        line(c, 2, 12, 22, 5, 1.4);
        line(c, 2, 12, 22, 19, 1.4);
        c.fill(ink);
        break;
    case 32932:  // Pedal
        c.rectangle(2, 8, 1.4, 12);
        c.rectangle(2, 18.6, 8, 1.4);
        line(c, 9, 19.3, 13, 12, 1.4);
        line(c, 13, 12, 17, 19.3, 1.4);
        c.rectangle(16, 18.6, 6, 1.4);
        c.rectangle(20.6, 8, 1.4, 12);
        c.fill(ink);
        break;
    case 33092:  // Lyrics
        note(c, 7, 11, 4, 0.7);
        note(c, 17, 9, 4, 0.7);
        c.fill(ink);
        c.rectangle(2, 16, 9, 2);
        c.rectangle(13, 16, 9, 2);
        c.rectangle(2, 20, 14, 2);
        c.fill(grey);
        break;
    case 32816:  // The picture before the tempo box: a metronome
        c.triangle(12, 2, 20, 22, 4, 22);
        c.fill(brown);
        c.triangle(12, 6, 17, 20, 7, 20);
        c.fill(white);
        line(c, 12, 19, 17, 5, 1.4);
        c.fill(ink);
        c.rectangle(13.5, 9, 3, 2);
        c.fill(orange);
        break;
    case 32830:  // The tempo box
        note(c, 7, 18, 4, 0.8);
        c.rectangle(13, 11, 8, 1.5);
        c.rectangle(13, 15, 8, 1.5);
        c.fill(ink);
        break;
    case 32786:  // Play score
        c.triangle(5, 3, 21, 12, 5, 21);
        c.fill(green);
        break;
    case 32878:  // Options: a cog
        for (int i = 0; i < 8; ++i) {
            double a = i * M_PI / 4;
            line(c, 12 + std::cos(a) * 5, 12 + std::sin(a) * 5, 12 + std::cos(a) * 10, 12 + std::sin(a) * 10, 3.5);
        }
        c.ellipse(12, 12, 7.5, 7.5);
        c.fill(grey);
        c.ellipse(12, 12, 3, 3);
        c.fill(white);
        break;
    default:
        break;
    }
}

}  // namespace buttons

// A strip of button pictures of one size, in the order given, the
// separators left out.
bool drawStrip(const std::string& path, const unsigned* ids, int count, int size)
{
    int slots = 0;
    for (int i = 0; i < count; ++i)
        slots += ids[i] != 0;
    Canvas canvas(slots * size, size);
    canvas.clear(white, 0.0);
    int slot = 0;
    for (int i = 0; i < count; ++i) {
        if (!ids[i])
            continue;
        canvas.place(slot++ * size, 0, size / 24.0);
        buttons::draw(canvas, ids[i]);
    }
    return canvas.writePng(path);
}

// The toolbar's buttons in their order, separators as 0.
const unsigned toolbarButtons[] = {
    57600, 57601, 57603, 57607, 0,     57635, 57634, 57637, 0,     57643, 57644, 0,     32819, 32817, 32818,
    33095, 0,     32789, 32790, 32791, 32792, 32809, 32810, 32811, 0,     32833, 32813, 32851, 0,     32852,
    33082, 0,     32839, 32893, 32854, 32932, 33092, 0,     32816, 32830, 32786, 0,     32878,
};


// A treble staff with the key signature of `fifths` (-7 to 7) on white,
// opaque, at the size of the staff page's pictures: the transpose dialog's
// list makes its white the item's ground and fits the picture to its items.
bool drawKeySignature(const std::string& path, int fifths)
{
    const int width = 52, height = 34;
    Canvas canvas(width, height);
    canvas.clear(white, 1.0);
    const double step = 2.5;
    const double bottomLine = 26.0;
    for (int line = 0; line < 5; ++line)
        canvas.rectangle(1, bottomLine - line * 2 * step - 0.4, width - 2, 0.8);
    canvas.fill(ink);
    double minY, maxY, minX, maxX;
    extents(ReGlyph::gClef, minY, maxY, minX, maxX);
    canvas.glyph(ReGlyph::gClef, 2 - minX * step, bottomLine - 2 * step, step);
    canvas.fill(ink);
    const double first = 2 + (maxX - minX) * step + 2;
    // Steps above the bottom line, in the order the accidentals come.
    const int sharps[] = {8, 5, 9, 6, 3, 7, 4};
    const int flats[] = {4, 7, 3, 6, 2, 5, 1};
    int count = fifths < 0 ? -fifths : fifths;
    for (int i = 0; i < count && i < 7; ++i) {
        int position = fifths < 0 ? flats[i] : sharps[i];
        canvas.glyph(fifths < 0 ? ReGlyph::flat : ReGlyph::sharp, first + i * 4.6, bottomLine - position * step, step);
    }
    canvas.fill(ink);
    return canvas.writePng(path);
}


namespace pages {

// The pictures of the property pages: small scenes of notation, 40 x 30
// pixels, the part a control sets drawn in orange.
constexpr int pictureWidth = 40;
constexpr int pictureHeight = 30;
constexpr double pictureStep = 3.0;  // pixels per staff step
constexpr double accidentalStep = 4.4;
constexpr double markStep = 4.5;

void notehead(Canvas& canvas, double x, double y)
{
    canvas.ellipse(x, y, 4.6, 3.3, -0.35);
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

bool drawPicture(const std::string& folder, unsigned id, Scene inked, Scene highlight, int width = pictureWidth)
{
    Canvas canvas(width, pictureHeight);
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

// A beat unit of the metronome marking: the note, with its dot when dotted.
void beatNote(Canvas& canvas, int value, bool dotted)
{
    double x = dotted ? 16 : 19, y = 22;
    if (value == 2)
        centredGlyph(canvas, ReGlyph::halfNotehead, x, y, pictureStep * 1.3);
    else
        notehead(canvas, x, y);
    canvas.rectangle(x + 3.6, 5, 1.2, y - 5);
    if (value == 8)
        line(canvas, x + 4.4, 5.6, x + 10, 14, 1.8);
    if (dotted)
        canvas.ellipse(x + 9, y, 1.7, 1.7, 0);
}

// The reset button's icon, 32 pixels square (shown at 16 at 96 dpi): an
// arrow turning back on itself.
bool drawResetIcon(const std::string& folder)
{
    const int side = 32;
    Canvas canvas(side, side);
    canvas.clear(white, 0.0);
    const double cx = 16, cy = 17, outer = 12, inner = 8;
    const double start = 0.45, end = 2 * M_PI - 0.2;
    const int steps = 40;
    for (int i = 0; i < steps; ++i) {
        double a0 = start + (end - start) * i / steps, a1 = start + (end - start) * (i + 1) / steps;
        double x0 = cx + std::cos(a0) * outer, y0 = cy - std::sin(a0) * outer;
        double x1 = cx + std::cos(a1) * outer, y1 = cy - std::sin(a1) * outer;
        double x2 = cx + std::cos(a1) * inner, y2 = cy - std::sin(a1) * inner;
        double x3 = cx + std::cos(a0) * inner, y3 = cy - std::sin(a0) * inner;
        canvas.triangle(x0, y0, x1, y1, x2, y2);
        canvas.triangle(x0, y0, x2, y2, x3, y3);
    }
    // The arrowhead at the start of the arc, pointing along it.
    double ax = cx + std::cos(start) * (outer + inner) / 2, ay = cy - std::sin(start) * (outer + inner) / 2;
    double tx = std::sin(start), ty = std::cos(start);  // away from the arc
    double nx = std::cos(start), ny = -std::sin(start);
    canvas.triangle(ax + nx * 7, ay + ny * 7, ax - nx * 7, ay - ny * 7, ax + tx * 8, ay + ty * 8);
    canvas.fill(blue);
    return canvas.writePng(folder + "/149.png");
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
    // The beat units of the metronome marking, ids in the order dotted half,
    // half, dotted quarter, quarter, dotted eighth, eighth.
    const Scene beatUnits[] = {
        [](Canvas& c) { beatNote(c, 2, true); }, [](Canvas& c) { beatNote(c, 2, false); },
        [](Canvas& c) { beatNote(c, 4, true); }, [](Canvas& c) { beatNote(c, 4, false); },
        [](Canvas& c) { beatNote(c, 8, true); }, [](Canvas& c) { beatNote(c, 8, false); },
    };
    for (unsigned i = 0; i < 6; ++i)
        if (!drawPicture(folder, 281 + i, beatUnits[i], nullptr))
            return false;
    return drawResetIcon(folder);
}

// The tablature page's numbering pictures: a capo at fret 5 on four strings,
// and the numbers of frets 5 and 7, counted from the nut (346) or from the
// capo (345).
constexpr double tabLines[4] = {6, 12, 18, 24};
constexpr double tabDigitX[2] = {23, 32};

// A figure of the tablature, 4 x 6 pixels centred on (cx, cy), drawn as the
// segments of a display digit: top, upper right, lower right, bottom, lower
// left, upper left, middle.
void tabDigit(Canvas& c, int digit, double cx, double cy)
{
    static const unsigned char segments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const double l = cx - 2, r = cx + 2, t = cy - 3, m = cy, b = cy + 3, w = 1.1;
    const double ends[7][4] = {{l, t, r, t}, {r, t, r, m}, {r, m, r, b}, {l, b, r, b},
                               {l, m, l, b}, {l, t, l, m}, {l, m, r, m}};
    for (int i = 0; i < 7; ++i)
        if (segments[digit % 10] & (1 << i))
            line(c, ends[i][0], ends[i][1], ends[i][2], ends[i][3], w);
}

// The strings, open where the figures stand, and the capo.
void tabNeck(Canvas& c)
{
    for (int i = 0; i < 4; ++i) {
        double from = 4;
        for (int k = 0; k < 2; ++k) {
            if (i == k + 1) {
                c.rectangle(from, tabLines[i] - 0.4, tabDigitX[k] - 4 - from, 0.8);
                from = tabDigitX[k] + 4;
            }
        }
        c.rectangle(from, tabLines[i] - 0.4, 38 - from, 0.8);
    }
    c.rectangle(9, 3, 3, 24);
}

bool drawTablaturePictures(const std::string& folder)
{
    return drawPicture(folder, 346, tabNeck,
                       [](Canvas& c) {
                           tabDigit(c, 5, tabDigitX[0], tabLines[1]);
                           tabDigit(c, 7, tabDigitX[1], tabLines[2]);
                       }) &&
           drawPicture(folder, 345, tabNeck, [](Canvas& c) {
               tabDigit(c, 0, tabDigitX[0], tabLines[1]);
               tabDigit(c, 2, tabDigitX[1], tabLines[2]);
           });
}

}

// The pictures of the part-group and staff pages: the clefs and time
// signatures on a staff and the four brackets.
namespace partPages {


// A glyph with its origin at (x, y) in pixels, scaled by (sx, sy) pixels
// per unit; a negative scale mirrors.
void glyphAt(Canvas& canvas, const ReGlyph& g, double x, double y, double sx, double sy)
{
    for (int i = 0; i < g.triangleCount; ++i) {
        const int* t = g.triangles + 3 * i;
        auto px = [&](int v) { return x + g.vertices[2 * v] * sx; };
        auto py = [&](int v) { return y - g.vertices[2 * v + 1] * sy; };
        canvas.triangle(px(t[0]), py(t[0]), px(t[1]), py(t[1]), px(t[2]), py(t[2]));
    }
}

// The staff of the page pictures: lines 5 pixels apart from y 5 to 25.
constexpr double step = 2.5;
constexpr double bottomLine = 25.0;
double lineY(int lineFromBottom)
{
    return bottomLine - 2 * step * lineFromBottom;
}

// A clef in orange on the staff, at its line.
void clef(Canvas& c, const ReGlyph& g, int lineFromBottom, bool centred)
{
    double minY, maxY, minX, maxX;
    extents(g, minY, maxY, minX, maxX);
    double x = 20 - (minX + maxX) / 2 * step;
    if (centred)
        centredGlyph(c, g, 20, lineY(lineFromBottom), step);
    else
        c.glyph(g, x, lineY(lineFromBottom), step);
}

// A time signature: the upper and the lower number (0 for a sign), each
// one or two figures.
void figures(Canvas& c, int number, double cy)
{
    auto figure = [&](int digit, double cx) {
        const double size = step * 1.05;
        switch (digit) {
        case 1: centredGlyph(c, ReGlyph::figure1, cx, cy, size); break;
        case 2: centredGlyph(c, ReGlyph::figure2, cx, cy, size); break;
        case 3: centredGlyph(c, ReGlyph::figure3, cx, cy, size); break;
        case 4: centredGlyph(c, ReGlyph::figure4, cx, cy, size); break;
        case 6: centredGlyph(c, ReGlyph::figure6, cx, cy, size); break;
        case 8: centredGlyph(c, ReGlyph::figure8, cx, cy, size); break;
        case 9: centredGlyph(c, ReGlyph::figure6, cx, cy, size, -1, -1); break;
        default: break;
        }
    };
    if (number >= 10) {
        figure(number / 10, 16.5);
        figure(number % 10, 23.5);
    } else {
        figure(number, 20);
    }
}

bool drawStaffPictures(const std::string& folder)
{
    struct Clef
    {
        unsigned id;
        const ReGlyph& glyph;
        int line;
        bool centred;
    };
    const Clef clefs[] = {
        {232, ReGlyph::gClef, 1, false},
        {233, ReGlyph::fClef, 3, false},
        {234, ReGlyph::cClef, 2, true},
        {235, ReGlyph::cClef, 3, true},
    };
    for (const Clef& entry : clefs) {
        Canvas canvas(pages::pictureWidth, pages::pictureHeight);
        canvas.clear(white, 0.0);
        pages::staffLines(canvas);
        canvas.fill(ink);
        clef(canvas, entry.glyph, entry.line, entry.centred);
        canvas.fill(orange);
        if (!canvas.writePng(folder + "/" + std::to_string(entry.id) + ".png"))
            return false;
    }
    struct Time
    {
        unsigned id;
        int upper, lower;  // 0, 0: common time; 0, 1: cut time
    };
    const Time times[] = {
        {258, 0, 0}, {254, 4, 4}, {252, 2, 4}, {251, 2, 2}, {259, 0, 1}, {253, 3, 4},
        {255, 3, 8}, {331, 6, 4}, {256, 6, 8}, {257, 9, 8}, {334, 12, 8},
    };
    for (const Time& entry : times) {
        Canvas canvas(pages::pictureWidth, pages::pictureHeight);
        canvas.clear(white, 0.0);
        pages::staffLines(canvas);
        canvas.fill(ink);
        if (entry.upper == 0) {
            centredGlyph(canvas, ReGlyph::commonTime, 20, lineY(2), step * 1.4);
            if (entry.lower == 1)
                canvas.rectangle(19.4, 2, 1.3, 26);
        } else {
            figures(canvas, entry.upper, lineY(3));
            figures(canvas, entry.lower, lineY(1));
        }
        canvas.fill(orange);
        if (!canvas.writePng(folder + "/" + std::to_string(entry.id) + ".png"))
            return false;
    }
    return true;
}

// Two short staves of three lines and the bracket joining them, in orange.
bool drawBrackets(const std::string& folder)
{
    const double top = 3, bottom = 27;
    auto staves = [](Canvas& c) {
        for (int i = 0; i < 3; ++i) {
            c.rectangle(17, 3 + i * 4, 21, 0.8);
            c.rectangle(17, 19.2 + i * 4, 21, 0.8);
        }
        c.rectangle(17, 3, 0.8, 24.8);
    };
    struct Bracket
    {
        unsigned id;
        int type;
    };
    for (const Bracket& entry : {Bracket{279, 0}, Bracket{280, 1}, Bracket{300, 2}, Bracket{301, 3}}) {
        Canvas canvas(pages::pictureWidth, pages::pictureHeight);
        canvas.clear(white, 0.0);
        staves(canvas);
        canvas.fill(ink);
        const double middle = (top + bottom) / 2;
        switch (entry.type) {
        case 0:
            glyphAt(canvas, ReGlyph::braceHalf, 9, middle, 4.5, (bottom - top) / 28);
            glyphAt(canvas, ReGlyph::braceHalf, 9, middle, 4.5, -(bottom - top) / 28);
            break;
        case 1:
            canvas.rectangle(12, top, 2.6, bottom - top + 0.8);
            glyphAt(canvas, ReGlyph::bracketEnd, 12, top, 2.2, 2.2);
            glyphAt(canvas, ReGlyph::bracketEnd, 12, bottom + 0.8, 2.2, -2.2);
            break;
        case 2:
            canvas.rectangle(12, top, 2.2, bottom - top + 0.8);
            canvas.rectangle(12, top, 5, 1.2);
            canvas.rectangle(12, bottom - 0.4, 5, 1.2);
            break;
        default:
            canvas.rectangle(14, top, 1.4, bottom - top + 0.8);
            break;
        }
        canvas.fill(orange);
        if (!canvas.writePng(folder + "/" + std::to_string(entry.id) + ".png"))
            return false;
    }
    return true;
}

bool drawAll(const std::string& folder)
{
    return drawStaffPictures(folder) && drawBrackets(folder);
}

}

// The pictures of the tuplet, dynamic, octave and pedal pages.
namespace smallPages {

using pages::notehead;
using pages::stemmedNote;

constexpr double figureStep = 2.2;

// Three notes with stems up, heads at y, stems from top.
void threeUp(Canvas& c, double y, double top)
{
    for (double x : {8.0, 19.0, 30.0})
        stemmedNote(c, x, y, top);
}

// Three notes with stems down, heads at y, stems to bottom.
void threeDown(Canvas& c, double y, double bottom)
{
    for (double x : {10.0, 21.0, 32.0}) {
        notehead(c, x, y);
        c.rectangle(x - 4.8, y, 1.2, bottom - y);
    }
}

// A tuplet bracket from left to right at y with its ends bent toward the
// notes (down for dy > 0), open in the middle for the number.
void bracket(Canvas& c, double left, double right, double y, double dy)
{
    double middle = (left + right) / 2;
    c.rectangle(left, y - 0.6, middle - 4 - left, 1.2);
    c.rectangle(middle + 4, y - 0.6, right - middle - 4, 1.2);
    double top = dy > 0 ? y : y + dy;
    c.rectangle(left, top, 1.2, std::fabs(dy));
    c.rectangle(right - 1.2, top, 1.2, std::fabs(dy));
    centredGlyph(c, ReGlyph::figure3, middle, y, figureStep);
}

// A glyph whose left edge stands at x, its bottom on the baseline; the x
// just past it.
double glyphAt(Canvas& c, const ReGlyph& g, double x, double baseline, double step)
{
    double minY, maxY, minX, maxX;
    extents(g, minY, maxY, minX, maxX);
    c.glyph(g, x - minX * step, baseline, step);
    return x + (maxX - minX) * step;
}

double glyphWidth(const ReGlyph& g, double step)
{
    double minY, maxY, minX, maxX;
    extents(g, minY, maxY, minX, maxX);
    return (maxX - minX) * step;
}

// The letters of a dynamic mark ('p', 'm', 'f'), centred in the picture.
void dynamicMark(Canvas& c, const char* letters, double width)
{
    auto glyphOf = [](char letter) -> const ReGlyph& {
        return letter == 'p' ? ReGlyph::dynamicP : letter == 'm' ? ReGlyph::dynamicM : ReGlyph::dynamicF;
    };
    const double kern = 0.6;
    double step = 6.5;
    double total = 0;
    for (int pass = 0; pass < 2; ++pass) {
        total = 0;
        for (const char* l = letters; *l; ++l)
            total += glyphWidth(glyphOf(*l), step) - kern;
        // Long marks are drawn smaller, to fit.
        if (total > width - 4)
            step *= (width - 4) / total;
    }
    double x = (width - total) / 2;
    for (const char* l = letters; *l; ++l)
        x = glyphAt(c, glyphOf(*l), x, 20, step) - kern;
}

// A dashed line from left to right at y.
void dashes(Canvas& c, double left, double right, double y)
{
    for (double x = left; x < right; x += 4)
        c.rectangle(x, y - 0.5, std::min(2.2, right - x), 1.0);
}

// An arc of an ellipse as a stroke, from angle a0 to a1 (radians, y down).
void arc(Canvas& c, double cx, double cy, double rx, double ry, double a0, double a1, double width)
{
    const int steps = 16;
    for (int i = 0; i < steps; ++i) {
        double t0 = a0 + (a1 - a0) * i / steps, t1 = a0 + (a1 - a0) * (i + 1) / steps;
        line(c, cx + rx * std::cos(t0), cy + ry * std::sin(t0), cx + rx * std::cos(t1), cy + ry * std::sin(t1),
             width);
    }
}

// The number of an octave line, 8 or 15, centred on (cx, cy).
void octaveNumber(Canvas& c, bool two, double cx, double cy)
{
    if (!two) {
        centredGlyph(c, ReGlyph::figure8, cx, cy, figureStep * 1.2);
        return;
    }
    centredGlyph(c, ReGlyph::figure1, cx - 3.5, cy, figureStep * 1.2);
    // The 5: its flag, its stem and its bowl.
    double left = cx + 0.5, top = cy - 5.5;
    c.rectangle(left + 0.6, top, 5.2, 1.3);
    c.rectangle(left + 0.6, top, 1.3, 4.6);
    arc(c, left + 3.2, cy + 2.4, 3.1, 3.2, -2.6, 2.6, 1.4);
}

// An octave line: the number at the left, dashes, and the hook at the end
// bent toward the staff (down above it, up below it).
void octaveLine(Canvas& c, bool two, bool above)
{
    double y = above ? 9 : 21;
    octaveNumber(c, two, 8, y);
    dashes(c, two ? 16 : 14, 36, y);
    c.rectangle(36, above ? y : y - 6, 1.2, 6.5);
}

// The ends of pedal lines.
enum End { sign, verticalHook, slantedHook, release, nothing };

constexpr double pedalBaseline = 21;

// A pedal line from its start to its end in an 80 x 30 picture; a line
// only between two ends.
void pedalLine(Canvas& c, End start, End end, bool dashed)
{
    const double y = pedalBaseline;
    double left = 4;
    if (start == sign) {
        double width = glyphWidth(ReGlyph::pedalMark, 6.0);
        left = end == nothing ? (80 - width) / 2 : 3;
        glyphAt(c, ReGlyph::pedalMark, left, y, 6.0);
        left += width + 2;
    } else if (start == verticalHook) {
        c.rectangle(4, y - 9, 1.4, 9.6);
    } else if (start == slantedHook) {
        line(c, 4, y - 9, 9, y, 1.4);
        left = 9;
    }
    if (end == nothing)
        return;
    double right = 76;
    if (end == release) {
        double width = glyphWidth(ReGlyph::pedalRelease, 5.5);
        glyphAt(c, ReGlyph::pedalRelease, 76 - width, y, 5.5);
        right = 76 - width - 2;
    } else if (end == verticalHook) {
        c.rectangle(74.6, y - 9, 1.4, 9.6);
    } else if (end == slantedHook) {
        line(c, 71, y, 76, y - 9, 1.4);
        right = 71;
    }
    if (dashed)
        dashes(c, left, right, y);
    else if (end != release)
        c.rectangle(left, y - 0.7, right - left, 1.4);
}

bool drawAll(const std::string& folder)
{
    struct Picture
    {
        unsigned id;
        int width;
        Scene ink;
        Scene highlight;
    };
    const Picture pictures[] = {
        // Tuplet brackets: automatic (beamed notes show the number alone),
        // the number alone, a bracket.
        {295, 40,
         [](Canvas& c) {
             threeUp(c, 25, 10);
             c.rectangle(11.6, 10, 22.2, 2.6);
         },
         [](Canvas& c) { centredGlyph(c, ReGlyph::figure3, 21, 5, figureStep); }},
        {297, 40, [](Canvas& c) { threeUp(c, 25, 10); },
         [](Canvas& c) { centredGlyph(c, ReGlyph::figure3, 21, 5, figureStep); }},
        {296, 40, [](Canvas& c) { threeUp(c, 25, 10); }, [](Canvas& c) { bracket(c, 5, 36, 5, 3); }},
        // The number above and below the notes.
        {298, 40, [](Canvas& c) { threeUp(c, 25, 10); }, [](Canvas& c) { bracket(c, 5, 36, 5, 3); }},
        {299, 40, [](Canvas& c) { threeDown(c, 5, 20); }, [](Canvas& c) { bracket(c, 5, 37, 25, -3); }},
        // The dynamic marks.
        {302, 32, nullptr, [](Canvas& c) { dynamicMark(c, "ppp", 32); }},
        {303, 32, nullptr, [](Canvas& c) { dynamicMark(c, "pp", 32); }},
        {304, 32, nullptr, [](Canvas& c) { dynamicMark(c, "p", 32); }},
        {305, 32, nullptr, [](Canvas& c) { dynamicMark(c, "mp", 32); }},
        {306, 32, nullptr, [](Canvas& c) { dynamicMark(c, "mf", 32); }},
        {307, 32, nullptr, [](Canvas& c) { dynamicMark(c, "f", 32); }},
        {308, 32, nullptr, [](Canvas& c) { dynamicMark(c, "ff", 32); }},
        {309, 32, nullptr, [](Canvas& c) { dynamicMark(c, "fff", 32); }},
        // The hairpins.
        {320, 40, nullptr,
         [](Canvas& c) {
             line(c, 4, 15, 36, 8, 1.3);
             line(c, 4, 15, 36, 22, 1.3);
         }},
        {321, 40, nullptr,
         [](Canvas& c) {
             line(c, 4, 8, 36, 15, 1.3);
             line(c, 4, 22, 36, 15, 1.3);
         }},
        // Octave lines: one up, one down, two up, two down.
        {316, 40, nullptr, [](Canvas& c) { octaveLine(c, false, true); }},
        {317, 40, nullptr, [](Canvas& c) { octaveLine(c, false, false); }},
        {318, 40, nullptr, [](Canvas& c) { octaveLine(c, true, true); }},
        {319, 40, nullptr, [](Canvas& c) { octaveLine(c, true, false); }},
        // Pedal marks and lines, in the order of their bitmaps.
        {322, 80, nullptr, [](Canvas& c) { pedalLine(c, sign, release, false); }},
        {323, 80, nullptr, [](Canvas& c) { pedalLine(c, sign, release, true); }},
        {324, 80, nullptr, [](Canvas& c) { pedalLine(c, sign, verticalHook, false); }},
        {325, 80, nullptr, [](Canvas& c) { pedalLine(c, sign, slantedHook, false); }},
        {326, 80, nullptr, [](Canvas& c) { pedalLine(c, verticalHook, verticalHook, false); }},
        {327, 80, nullptr, [](Canvas& c) { pedalLine(c, verticalHook, slantedHook, false); }},
        {328, 80, nullptr, [](Canvas& c) { pedalLine(c, slantedHook, verticalHook, false); }},
        {329, 80, nullptr, [](Canvas& c) { pedalLine(c, slantedHook, slantedHook, false); }},
        {330, 80, nullptr, [](Canvas& c) { pedalLine(c, sign, nothing, false); }},
    };
    for (const Picture& picture : pictures)
        if (!pages::drawPicture(folder, picture.id, picture.ink, picture.highlight, picture.width))
            return false;
    return true;
}

}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    const int buttons = int(sizeof toolbarButtons / sizeof toolbarButtons[0]);
    bool ok = drawIcon(folder + "/128.png") && drawLogo(folder + "/231.png") && icons::drawAll(folder) && icons::drawBrowserIcons(folder) &&
              drawStrip(folder + "/130.png", toolbarButtons, buttons, 24) &&
              drawStrip(folder + "/180.png", toolbarButtons, buttons, 32) && drawLogo(folder + "/310.png") &&
              pages::drawPagePictures(folder) && pages::drawTablaturePictures(folder) &&
              partPages::drawAll(folder) && smallPages::drawAll(folder);
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
