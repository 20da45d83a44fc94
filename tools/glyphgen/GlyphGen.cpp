// Generates render/ReGlyph.cpp: the music symbols as constant triangle meshes.
//
// Each symbol's outline comes from the Emmentaler music font of Debian's
// lilypond-fonts package (SIL Open Font License 1.1). The outline is
// flattened, tessellated with the GLU tessellator, and fitted to the frame
// in which the drawing code expects the symbol (origin, extent, staff-step
// units, y up). The scroll-wheel parts are drawn from simple geometry, and
// the two accents are fixed data.
//
// Usage: qrv_glyphgen [music.otf brace.otf] output.cpp
// With one argument the fonts are looked up under /usr/share/lilypond.
// The output depends only on the fonts: running the tool again gives the
// same file byte for byte.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <glob.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct Point {
    double x;
    double y;
};

using Contour = std::vector<Point>;
using Outline = std::vector<Contour>;

struct Mesh {
    std::vector<Point> vertices;
    std::vector<std::array<int, 3>> triangles;
};

struct Frame {
    double xMin, xMax, yMin, yMax;
};

// How an outline is placed into its frame.
enum class Fit {
    Box,          // both axes stretched so the extent equals the frame
    KeepOriginY,  // x stretched to the frame; y uniformly scaled about the
                  // font's origin, which marks the clef's staff line
};

// One piece of a composite symbol: a font glyph moved by (dx, dy) font units.
struct Piece {
    const char* glyphName;
    double dx;
    double dy;
};

enum class Source { Font, Brace, Geometry, Given };

struct GlyphRecipe {
    const char* name;  // member name in ReGlyph
    Source source;
    std::vector<Piece> pieces;
    Frame frame;
    Fit fit;
};

// Flatness of the curve approximation, in staff steps.
constexpr double kFlatness = 0.0035;
// Coordinates are written with six decimals; rounding before the mesh is
// finished keeps the written values identical to the ones tested for area.
constexpr double kQuantum = 1e-6;

static double quantise(double v)
{
    double q = std::round(v / kQuantum) * kQuantum;
    return q == 0.0 ? 0.0 : q;  // no negative zero in the output
}

// ---------------------------------------------------------------- outlines

struct FlattenState {
    Outline* outline;
    Point pen;
    double tolerance;  // in font units
};

static Point toPoint(const FT_Vector* v)
{
    return {double(v->x), double(v->y)};
}

static int segmentCount(double secondDifference, double tolerance)
{
    // The distance of a flattened curve from the true one falls with the
    // square of the segment count.
    if (secondDifference <= 0.0)
        return 1;
    int n = int(std::ceil(std::sqrt(secondDifference * 0.75 / tolerance)));
    return std::clamp(n, 1, 96);
}

static int moveTo(const FT_Vector* to, void* user)
{
    auto* state = static_cast<FlattenState*>(user);
    state->outline->emplace_back();
    state->pen = toPoint(to);
    state->outline->back().push_back(state->pen);
    return 0;
}

static int lineTo(const FT_Vector* to, void* user)
{
    auto* state = static_cast<FlattenState*>(user);
    state->pen = toPoint(to);
    state->outline->back().push_back(state->pen);
    return 0;
}

static int conicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    auto* state = static_cast<FlattenState*>(user);
    Point p0 = state->pen;
    Point p1 = toPoint(control);
    Point p2 = toPoint(to);
    double ddx = p0.x - 2 * p1.x + p2.x;
    double ddy = p0.y - 2 * p1.y + p2.y;
    int n = segmentCount(std::hypot(ddx, ddy), state->tolerance);
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n;
        double u = 1 - t;
        state->outline->back().push_back({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                                          u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    state->pen = p2;
    return 0;
}

static int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
{
    auto* state = static_cast<FlattenState*>(user);
    Point p0 = state->pen;
    Point p1 = toPoint(control1);
    Point p2 = toPoint(control2);
    Point p3 = toPoint(to);
    double d1 = std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y);
    double d2 = std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y);
    int n = segmentCount(std::max(d1, d2) * 2.0, state->tolerance);
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n;
        double u = 1 - t;
        double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        state->outline->back().push_back({a * p0.x + b * p1.x + c * p2.x + d * p3.x,
                                          a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
    state->pen = p3;
    return 0;
}

static void cleanContours(Outline& outline)
{
    for (Contour& contour : outline) {
        Contour cleaned;
        for (const Point& p : contour) {
            if (!cleaned.empty() && cleaned.back().x == p.x && cleaned.back().y == p.y)
                continue;
            cleaned.push_back(p);
        }
        while (cleaned.size() > 1 && cleaned.front().x == cleaned.back().x
               && cleaned.front().y == cleaned.back().y)
            cleaned.pop_back();
        contour = std::move(cleaned);
    }
    outline.erase(std::remove_if(outline.begin(), outline.end(),
                                 [](const Contour& c) { return c.size() < 3; }),
                  outline.end());
}

class FontFile {
public:
    FontFile(FT_Library library, const std::string& path)
    {
        if (FT_New_Face(library, path.c_str(), 0, &face_) != 0)
            face_ = nullptr;
    }
    ~FontFile()
    {
        if (face_)
            FT_Done_Face(face_);
    }
    FontFile(const FontFile&) = delete;
    FontFile& operator=(const FontFile&) = delete;

    bool isOpen() const { return face_ != nullptr; }
    FT_Face face() const { return face_; }

    bool loadOutline(const char* glyphName, FT_Outline** outline) const
    {
        FT_UInt index = FT_Get_Name_Index(face_, glyphName);
        if (index == 0)
            return false;
        if (FT_Load_Glyph(face_, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0)
            return false;
        if (face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            return false;
        *outline = &face_->glyph->outline;
        return true;
    }

    bool glyphBox(const char* glyphName, FT_BBox* box) const
    {
        FT_Outline* outline = nullptr;
        if (!loadOutline(glyphName, &outline))
            return false;
        return FT_Outline_Get_BBox(outline, box) == 0;
    }

    // Flattens the named glyph, moved by (dx, dy), into outline.
    bool flatten(const char* glyphName, double dx, double dy, double tolerance, Outline& result) const
    {
        FT_Outline* outline = nullptr;
        if (!loadOutline(glyphName, &outline))
            return false;
        Outline flat;
        FlattenState state{&flat, {0, 0}, tolerance};
        FT_Outline_Funcs funcs{};
        funcs.move_to = moveTo;
        funcs.line_to = lineTo;
        funcs.conic_to = conicTo;
        funcs.cubic_to = cubicTo;
        if (FT_Outline_Decompose(outline, &funcs, &state) != 0)
            return false;
        for (Contour& contour : flat) {
            for (Point& p : contour) {
                p.x += dx;
                p.y += dy;
            }
            result.push_back(std::move(contour));
        }
        return true;
    }

private:
    FT_Face face_ = nullptr;
};

// ------------------------------------------------------------ tessellation

struct TessVertex {
    GLdouble coords[3];
    int index;
};

struct TessState {
    std::deque<TessVertex> vertices;  // deque: GLU keeps pointers into it
    std::vector<int> corners;         // three per triangle
    bool failed = false;
};

static void GLAPIENTRY tessBegin(GLenum, void*) {}
static void GLAPIENTRY tessEnd(void*) {}
// Registering an edge-flag callback makes GLU report plain triangles only.
static void GLAPIENTRY tessEdgeFlag(GLboolean, void*) {}

static void GLAPIENTRY tessVertex(void* vertexData, void* user)
{
    auto* state = static_cast<TessState*>(user);
    state->corners.push_back(static_cast<TessVertex*>(vertexData)->index);
}

static void GLAPIENTRY tessCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* user)
{
    auto* state = static_cast<TessState*>(user);
    TessVertex v{{coords[0], coords[1], 0.0}, int(state->vertices.size())};
    state->vertices.push_back(v);
    *out = &state->vertices.back();
}

static void GLAPIENTRY tessError(GLenum, void* user)
{
    static_cast<TessState*>(user)->failed = true;
}

static bool tessellate(const Outline& outline, GLdouble windingRule, Mesh& mesh)
{
    TessState state;
    for (const Contour& contour : outline)
        for (const Point& p : contour)
            state.vertices.push_back({{p.x, p.y, 0.0}, int(state.vertices.size())});

    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return false;
    using Callback = void(GLAPIENTRY*)();
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(tessBegin));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<Callback>(tessEnd));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(tessEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(tessVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(tessCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(tessError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, windingRule);
    gluTessNormal(tess, 0.0, 0.0, 1.0);

    gluTessBeginPolygon(tess, &state);
    int next = 0;
    for (const Contour& contour : outline) {
        gluTessBeginContour(tess);
        for (size_t i = 0; i < contour.size(); ++i) {
            TessVertex& v = state.vertices[size_t(next++)];
            gluTessVertex(tess, v.coords, &v);
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);

    if (state.failed || state.corners.size() % 3 != 0)
        return false;
    mesh.vertices.clear();
    mesh.triangles.clear();
    for (const TessVertex& v : state.vertices)
        mesh.vertices.push_back({v.coords[0], v.coords[1]});
    for (size_t i = 0; i < state.corners.size(); i += 3)
        mesh.triangles.push_back({state.corners[i], state.corners[i + 1], state.corners[i + 2]});
    return !mesh.triangles.empty();
}

// Keeps the part of every triangle with y >= cut (used to halve the brace).
static Mesh clipAbove(const Mesh& mesh, double cut)
{
    Mesh out;
    for (const auto& t : mesh.triangles) {
        std::vector<Point> polygon;
        for (int k = 0; k < 3; ++k) {
            Point a = mesh.vertices[size_t(t[size_t(k)])];
            Point b = mesh.vertices[size_t(t[size_t((k + 1) % 3)])];
            bool aIn = a.y >= cut;
            bool bIn = b.y >= cut;
            if (aIn)
                polygon.push_back(a);
            if (aIn != bIn) {
                double f = (cut - a.y) / (b.y - a.y);
                polygon.push_back({a.x + f * (b.x - a.x), cut});
            }
        }
        if (polygon.size() < 3)
            continue;
        int base = int(out.vertices.size());
        out.vertices.insert(out.vertices.end(), polygon.begin(), polygon.end());
        for (size_t k = 1; k + 1 < polygon.size(); ++k)
            out.triangles.push_back({base, base + int(k), base + int(k) + 1});
    }
    return out;
}

struct Box {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

static Box meshBox(const Mesh& mesh)
{
    Box box;
    bool first = true;
    for (const auto& t : mesh.triangles) {
        for (int index : t) {
            const Point& p = mesh.vertices[size_t(index)];
            if (first) {
                box = {p.x, p.x, p.y, p.y};
                first = false;
            }
            box.xMin = std::min(box.xMin, p.x);
            box.xMax = std::max(box.xMax, p.x);
            box.yMin = std::min(box.yMin, p.y);
            box.yMax = std::max(box.yMax, p.y);
        }
    }
    return box;
}

// Maps the mesh into its frame, rounds the coordinates, merges equal
// vertices, drops triangles without area, numbers the vertices in order of
// first use and turns every triangle counter-clockwise.
static Mesh finish(const Mesh& raw, const Frame& frame, Fit fit)
{
    Box box = meshBox(raw);
    double sx = (frame.xMax - frame.xMin) / (box.xMax - box.xMin);
    double ox = frame.xMin - box.xMin * sx;
    double sy = (frame.yMax - frame.yMin) / (box.yMax - box.yMin);
    double oy = frame.yMin - box.yMin * sy;
    if (fit == Fit::KeepOriginY)
        oy = 0.0;

    std::vector<Point> mapped;
    mapped.reserve(raw.vertices.size());
    for (const Point& p : raw.vertices)
        mapped.push_back({quantise(ox + p.x * sx), quantise(oy + p.y * sy)});

    Mesh out;
    std::map<std::pair<long long, long long>, int> indexOf;
    auto key = [](const Point& p) {
        return std::make_pair(std::llround(p.x / kQuantum), std::llround(p.y / kQuantum));
    };
    for (const auto& t : raw.triangles) {
        Point a = mapped[size_t(t[0])], b = mapped[size_t(t[1])], c = mapped[size_t(t[2])];
        double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::fabs(area) < 1e-10)
            continue;
        std::array<Point, 3> corners = area > 0 ? std::array<Point, 3>{a, b, c}
                                                : std::array<Point, 3>{a, c, b};
        std::array<int, 3> triangle{};
        for (int k = 0; k < 3; ++k) {
            auto [it, added] = indexOf.try_emplace(key(corners[size_t(k)]), int(out.vertices.size()));
            if (added)
                out.vertices.push_back(corners[size_t(k)]);
            triangle[size_t(k)] = it->second;
        }
        if (triangle[0] == triangle[1] || triangle[1] == triangle[2] || triangle[0] == triangle[2])
            continue;
        out.triangles.push_back(triangle);
    }
    return out;
}

// ---------------------------------------------------------------- geometry

// A rectangle with rounded corners, centred on the origin.
static Outline roundedRectangle(double halfWidth, double halfHeight, double radius, int cornerSegments)
{
    Contour c;
    const double corners[4][2] = {{halfWidth - radius, halfHeight - radius},
                                  {-(halfWidth - radius), halfHeight - radius},
                                  {-(halfWidth - radius), -(halfHeight - radius)},
                                  {halfWidth - radius, -(halfHeight - radius)}};
    for (int corner = 0; corner < 4; ++corner) {
        for (int i = 0; i <= cornerSegments; ++i) {
            double a = (corner + double(i) / cornerSegments) * M_PI / 2;
            c.push_back({corners[corner][0] + radius * std::cos(a), corners[corner][1] + radius * std::sin(a)});
        }
    }
    return {c};
}

// A wheel housing ring: the band between two rounded rectangles.
static Outline roundedRing(double outerHalfWidth, double outerHalfHeight, double outerRadius,
                    double innerHalfWidth, double innerHalfHeight, double innerRadius, int cornerSegments)
{
    Outline outer = roundedRectangle(outerHalfWidth, outerHalfHeight, outerRadius, cornerSegments);
    Outline inner = roundedRectangle(innerHalfWidth, innerHalfHeight, innerRadius, cornerSegments);
    std::reverse(inner[0].begin(), inner[0].end());
    outer.push_back(inner[0]);
    return outer;
}

// A low dome from x -2 to 2 standing on y 0: one ridge of the wheel.
static Outline ridge()
{
    Contour c;
    const int n = 64;
    for (int i = 0; i <= n; ++i) {
        double a = M_PI * i / n;
        c.push_back({2.0 * std::cos(a), 0.25 * std::sin(a)});
    }
    return {c};
}

static Mesh given(std::vector<Point> vertices, std::vector<std::array<int, 3>> triangles)
{
    Mesh m;
    m.vertices = std::move(vertices);
    m.triangles = std::move(triangles);
    return m;
}

// ------------------------------------------------------------------ output

static std::string number(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", quantise(v));
    std::string s(buffer);
    // Trim trailing zeros, keeping one digit after the point.
    while (s.size() > 2 && s.back() == '0' && s[s.size() - 2] != '.')
        s.pop_back();
    if (s == "-0.0")
        s = "0.0";
    return s;
}

static void writeGlyph(FILE* out, const char* name, const Mesh& mesh)
{
    std::fprintf(out, "\n// %s: %zu triangles, %zu vertices\n", name, mesh.triangles.size(), mesh.vertices.size());
    std::fprintf(out, "static const double %sVertices[] = {", name);
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
        std::fprintf(out, "%s%s, %s,", i % 4 == 0 ? "\n    " : " ", number(mesh.vertices[i].x).c_str(),
                     number(mesh.vertices[i].y).c_str());
    }
    std::fprintf(out, "\n};\n");
    std::fprintf(out, "static const int %sTriangles[] = {", name);
    for (size_t i = 0; i < mesh.triangles.size(); ++i) {
        const auto& t = mesh.triangles[i];
        std::fprintf(out, "%s%d, %d, %d,", i % 6 == 0 ? "\n    " : " ", t[0], t[1], t[2]);
    }
    std::fprintf(out, "\n};\n");
}

static void writeSource(FILE* out, const std::vector<GlyphRecipe>& recipes, const std::vector<Mesh>& meshes)
{
    std::fprintf(out, "// Generated by tools/glyphgen from the Emmentaler music font\n"
                      "// (lilypond-fonts, SIL Open Font License 1.1). Do not edit:\n"
                      "// build the glyphs target to make it again.\n\n"
                      "#include \"render/ReGlyph.h\"\n");
    for (size_t i = 0; i < recipes.size(); ++i)
        writeGlyph(out, recipes[i].name, meshes[i]);
    std::fprintf(out, "\n");
    for (size_t i = 0; i < recipes.size(); ++i) {
        std::fprintf(out, "const ReGlyph ReGlyph::%s = {%sTriangles, %zu, %sVertices, %zu};\n", recipes[i].name,
                     recipes[i].name, meshes[i].triangles.size(), recipes[i].name, meshes[i].vertices.size());
    }
    std::fprintf(out, "\n// Every glyph by name, for the tests and the contact sheet.\n"
                      "static const struct {\n    const char* name;\n    const ReGlyph* glyph;\n} namedGlyphs[] = {\n");
    for (const GlyphRecipe& recipe : recipes)
        std::fprintf(out, "    {\"%s\", &ReGlyph::%s},\n", recipe.name, recipe.name);
    std::fprintf(out, "};\n\n"
                      "int ReGlyph::count()\n{\n    return int(sizeof namedGlyphs / sizeof namedGlyphs[0]);\n}\n\n"
                      "const ReGlyph* ReGlyph::at(int index)\n{\n"
                      "    return index >= 0 && index < count() ? namedGlyphs[index].glyph : nullptr;\n}\n\n"
                      "const char* ReGlyph::nameAt(int index)\n{\n"
                      "    return index >= 0 && index < count() ? namedGlyphs[index].name : \"\";\n}\n");
}

static std::string findFont(const char* pattern)
{
    glob_t found{};
    std::string path;
    if (glob(pattern, 0, nullptr, &found) == 0 && found.gl_pathc > 0)
        path = found.gl_pathv[found.gl_pathc - 1];  // sorted: the newest version last
    globfree(&found);
    return path;
}

static std::vector<GlyphRecipe> glyphRecipes()
{
    // Frames in staff steps (two steps between staff lines), y up.
    return {
        {"segno", Source::Font, {{"scripts.segno", 0, 0}}, {-1.982, 1.982, -3.000, 3.000}, Fit::Box},
        {"coda", Source::Font, {{"scripts.coda", 0, 0}}, {-3.352, 3.352, -3.657, 3.657}, Fit::Box},
        {"pedalRelease", Source::Font, {{"pedal.*", 0, 0}}, {-1.029, 1.029, -1.000, 1.000}, Fit::Box},
        {"pedalMark", Source::Font, {{"pedal.Ped", 0, 0}, {"pedal..", 798, 0}}, {-1.570, 1.570, -1.000, 1.000},
         Fit::Box},
        {"dynamicM", Source::Font, {{"m", 0, 0}}, {-0.850, 0.850, -0.525, 0.525}, Fit::Box},
        {"dynamicF", Source::Font, {{"f", 0, 0}}, {-0.977, 0.977, -1.117, 1.232}, Fit::Box},
        {"dynamicP", Source::Font, {{"p", 0, 0}}, {-0.859, 0.859, -0.962, 0.526}, Fit::Box},
        {"scrollWheelRidge", Source::Geometry, {}, {-2.000, 2.000, 0.000, 0.250}, Fit::Box},
        {"scrollWheelHousingMid", Source::Geometry, {}, {-2.745, 2.745, -8.000, 8.000}, Fit::Box},
        {"scrollWheelHousingDark", Source::Geometry, {}, {-3.200, 3.200, -8.200, 8.200}, Fit::Box},
        {"scrollWheelHousingLight", Source::Geometry, {}, {-4.800, 4.800, -9.800, 9.800}, Fit::Box},
        // The arrowhead is the last wave period with the arrow on top of it.
        {"arpeggioArrowhead", Source::Font,
         {{"scripts.arpeggio", 0, 0}, {"scripts.arpeggio.arrow.1", 0, 250}},
         {-1.252, 1.263, -1.448, 2.876}, Fit::Box},
        {"arpeggioWave", Source::Font, {{"scripts.arpeggio", 0, 0}}, {-0.727, 0.727, -1.448, 1.448}, Fit::Box},
        {"accent", Source::Given, {}, {-2.0, 2.0, -1.0, 1.0}, Fit::Box},
        {"strongAccent", Source::Given, {}, {-0.833333, 0.833333, -1.0, 1.0}, Fit::Box},
        {"staccatissimo", Source::Font, {{"scripts.ustaccatissimo", 0, 0}}, {-0.433, 0.433, 0.000, 2.000},
         Fit::Box},
        {"fermata", Source::Font, {{"scripts.ufermata", 0, 0}}, {-2.227, 2.227, -0.450, 2.002}, Fit::Box},
        {"bracketEnd", Source::Font, {{"brackettips.up", 0, 0}}, {0.000, 3.497, -1.330, 1.439}, Fit::Box},
        {"braceHalf", Source::Brace, {}, {0.000, 2.149, 0.000, 14.000}, Fit::Box},
        {"figure8", Source::Font, {{"eight", 0, 0}}, {-1.530, 1.530, -2.000, 2.000}, Fit::Box},
        {"figure6", Source::Font, {{"six", 0, 0}}, {-1.613, 1.613, -2.001, 2.001}, Fit::Box},
        {"figure4", Source::Font, {{"four", 0, 0}}, {-1.647, 1.647, -2.000, 1.883}, Fit::Box},
        {"figure3", Source::Font, {{"three", 0, 0}}, {-1.421, 1.421, -2.000, 2.000}, Fit::Box},
        {"figure2", Source::Font, {{"two", 0, 0}}, {-1.561, 1.561, -2.000, 2.000}, Fit::Box},
        {"figure1", Source::Font, {{"one", 0, 0}}, {-1.097, 1.097, -2.000, 2.000}, Fit::Box},
        {"commonTime", Source::Font, {{"timesig.C44", 0, 0}}, {-1.672, 1.672, -2.000, 2.000}, Fit::Box},
        {"doubleSharp", Source::Font, {{"accidentals.doublesharp", 0, 0}}, {-1.000, 1.000, -1.000, 1.000},
         Fit::Box},
        {"natural", Source::Font, {{"accidentals.natural", 0, 0}}, {-0.890, 0.890, -2.760, 2.760}, Fit::Box},
        {"flat", Source::Font, {{"accidentals.flat", 0, 0}}, {-1.000, 1.000, -1.183, 3.403}, Fit::Box},
        {"sharp", Source::Font, {{"accidentals.sharp", 0, 0}}, {-0.714, 0.714, -2.362, 2.362}, Fit::Box},
        {"restHook", Source::Font, {{"rests.3", 0, 0}}, {-0.954, 0.953, -1.725, 1.754}, Fit::Box},
        {"quarterRest", Source::Font, {{"rests.2", 0, 0}}, {-0.861, 0.925, -2.652, 3.229}, Fit::Box},
        {"flag", Source::Font, {{"flags.u3", 0, 0}}, {0.000, 1.633, -6.248, -0.177}, Fit::Box},
        {"halfNotehead", Source::Font, {{"noteheads.s1", 0, 0}}, {-1.173, 1.173, -1.018, 1.018}, Fit::Box},
        {"wholeNotehead", Source::Font, {{"noteheads.s0", 0, 0}}, {-1.638, 1.633, -1.002, 1.001}, Fit::Box},
        {"cClef", Source::Font, {{"clefs.C", 0, 0}}, {-2.558, 2.558, -3.930, 3.930}, Fit::Box},
        {"fClef", Source::Font, {{"clefs.F", 0, 0}}, {-3.407, 2.419, -4.603, 1.985}, Fit::KeepOriginY},
        {"gClef", Source::Font, {{"clefs.G", 0, 0}}, {-3.480, 1.848, -5.548, 9.166}, Fit::KeepOriginY},
    };
}

// The brace whose proportions come closest to the frame's.
static std::string chooseBrace(const FontFile& braces, const Frame& halfFrame)
{
    double wanted = (halfFrame.xMax - halfFrame.xMin) / (2 * (halfFrame.yMax - halfFrame.yMin));
    std::string best;
    double bestError = 1e300;
    for (int i = 0; i < 1000; ++i) {
        std::string name = "brace" + std::to_string(i);
        FT_BBox box;
        if (!braces.glyphBox(name.c_str(), &box))
            break;
        double aspect = double(box.xMax - box.xMin) / double(box.yMax - box.yMin);
        double error = std::fabs(aspect - wanted);
        if (error < bestError) {
            bestError = error;
            best = name;
        }
    }
    return best;
}

static bool buildFontGlyph(const FontFile& font, const GlyphRecipe& recipe, Mesh& mesh)
{
    // The flatness is given in staff steps; estimate the font units per step
    // from the exact outline box.
    double xMin = 1e300, xMax = -1e300, yMin = 1e300, yMax = -1e300;
    for (const Piece& piece : recipe.pieces) {
        FT_BBox box;
        if (!font.glyphBox(piece.glyphName, &box)) {
            std::fprintf(stderr, "glyph %s not found\n", piece.glyphName);
            return false;
        }
        xMin = std::min(xMin, box.xMin + piece.dx);
        xMax = std::max(xMax, box.xMax + piece.dx);
        yMin = std::min(yMin, box.yMin + piece.dy);
        yMax = std::max(yMax, box.yMax + piece.dy);
    }
    double unitsPerStep = std::max((xMax - xMin) / (recipe.frame.xMax - recipe.frame.xMin),
                                   (yMax - yMin) / (recipe.frame.yMax - recipe.frame.yMin));
    Outline outline;
    for (const Piece& piece : recipe.pieces) {
        if (!font.flatten(piece.glyphName, piece.dx, piece.dy, kFlatness * unitsPerStep, outline))
            return false;
    }
    cleanContours(outline);
    Mesh raw;
    // Font outlines fill by the non-zero rule (overlapping pieces join).
    if (!tessellate(outline, GLU_TESS_WINDING_NONZERO, raw))
        return false;
    mesh = finish(raw, recipe.frame, recipe.fit);
    return true;
}

static bool buildBrace(const FontFile& braces, const GlyphRecipe& recipe, Mesh& mesh)
{
    std::string name = chooseBrace(braces, recipe.frame);
    FT_BBox box;
    if (name.empty() || !braces.glyphBox(name.c_str(), &box))
        return false;
    double unitsPerStep = double(box.yMax - box.yMin) / (2 * (recipe.frame.yMax - recipe.frame.yMin));
    Outline outline;
    if (!braces.flatten(name.c_str(), 0, 0, kFlatness * unitsPerStep, outline))
        return false;
    cleanContours(outline);
    Mesh whole;
    if (!tessellate(outline, GLU_TESS_WINDING_NONZERO, whole))
        return false;
    // The composer draws the upper half and mirrors it for the lower one.
    Mesh upper = clipAbove(whole, double(box.yMin + box.yMax) / 2);
    mesh = finish(upper, recipe.frame, recipe.fit);
    return true;
}

static bool buildGeometry(const GlyphRecipe& recipe, Mesh& mesh)
{
    Outline outline;
    std::string name = recipe.name;
    if (name == "scrollWheelRidge")
        outline = ridge();
    else if (name == "scrollWheelHousingMid")
        outline = roundedRectangle(2.745, 8.0, 2.0, 24);
    else if (name == "scrollWheelHousingDark")
        outline = roundedRing(3.2, 8.2, 2.4, 2.745, 8.0, 2.0, 24);
    else if (name == "scrollWheelHousingLight")
        outline = roundedRectangle(4.8, 9.8, 3.6, 24);
    else
        return false;
    cleanContours(outline);
    Mesh raw;
    if (!tessellate(outline, GLU_TESS_WINDING_ODD, raw))
        return false;
    mesh = finish(raw, recipe.frame, recipe.fit);
    return true;
}

static bool buildGiven(const GlyphRecipe& recipe, Mesh& mesh)
{
    std::string name = recipe.name;
    if (name == "accent") {
        mesh = given({{-2, -1}, {-2, 1}, {-2, -0.7}, {2, 0}, {-2, 0.7}, {0.8, 0}},
                     {{5, 2, 0}, {3, 1, 5}, {4, 5, 1}, {0, 3, 5}});
        return true;
    }
    if (name == "strongAccent") {
        mesh = given({{-0.833333, -1}, {0.833333, -1}, {-0.580751, -1}, {-0.416667, 0}, {0, 1}, {0.416667, 0},
                      {0.333333, -1}, {-0.117272, 0.081453}},
                     {{2, 3, 7}, {4, 7, 3}, {3, 2, 0}, {7, 5, 6}, {5, 1, 6}, {4, 5, 7}});
        return true;
    }
    return false;
}

int main(int argc, char** argv)
{
    std::string musicPath;
    std::string bracePath;
    std::string outputPath;
    if (argc == 4) {
        musicPath = argv[1];
        bracePath = argv[2];
        outputPath = argv[3];
    } else if (argc == 2) {
        musicPath = findFont("/usr/share/lilypond/*/fonts/otf/emmentaler-20.otf");
        bracePath = findFont("/usr/share/lilypond/*/fonts/otf/emmentaler-brace.otf");
        outputPath = argv[1];
    } else {
        std::fprintf(stderr, "usage: %s [music.otf brace.otf] output.cpp\n", argv[0]);
        return 2;
    }

    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "FreeType did not start\n");
        return 1;
    }
    int status = 0;
    {
        FontFile music(library, musicPath);
        FontFile braces(library, bracePath);
        if (!music.isOpen() || !braces.isOpen()) {
            std::fprintf(stderr, "cannot open the music fonts (%s, %s); install lilypond-fonts\n",
                         musicPath.c_str(), bracePath.c_str());
            FT_Done_FreeType(library);
            return 1;
        }

        std::vector<GlyphRecipe> recipes = glyphRecipes();
        std::vector<Mesh> meshes(recipes.size());
        for (size_t i = 0; i < recipes.size() && status == 0; ++i) {
            const GlyphRecipe& recipe = recipes[i];
            bool ok = false;
            switch (recipe.source) {
            case Source::Font: ok = buildFontGlyph(music, recipe, meshes[i]); break;
            case Source::Brace: ok = buildBrace(braces, recipe, meshes[i]); break;
            case Source::Geometry: ok = buildGeometry(recipe, meshes[i]); break;
            case Source::Given: ok = buildGiven(recipe, meshes[i]); break;
            }
            if (!ok) {
                std::fprintf(stderr, "could not build glyph %s\n", recipe.name);
                status = 1;
            }
        }

        if (status == 0) {
            std::string temporary = outputPath + ".tmp";
            FILE* out = std::fopen(temporary.c_str(), "w");
            if (!out) {
                std::fprintf(stderr, "cannot write %s\n", temporary.c_str());
                status = 1;
            } else {
                writeSource(out, recipes, meshes);
                bool written = std::fflush(out) == 0;
                written = std::fclose(out) == 0 && written;
                if (!written || std::rename(temporary.c_str(), outputPath.c_str()) != 0) {
                    std::fprintf(stderr, "cannot write %s\n", outputPath.c_str());
                    std::remove(temporary.c_str());
                    status = 1;
                }
            }
        }
    }
    FT_Done_FreeType(library);
    return status;
}
