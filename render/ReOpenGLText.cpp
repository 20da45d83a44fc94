// Text on OpenGL: the glyph outlines of the measured fonts, tessellated
// into display lists once per share group, and the paper texture.

#include "foundation/BcString.h"
#include "render/ReFontMetrics.h"
#include "render/ReGLHost.h"
#include "render/ReGLShareGroup.h"
#include "render/ReOpenGL.h"
#include "render/RePaperTexture.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <deque>
#include <ft2build.h>
#include <vector>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

static int builtFonts = 0;

int ReOpenGL::fontListBuilds()
{
    return builtFonts;
}

// The contours of one glyph in em units, curves flattened.
struct ReGlyphContours
{
    std::vector<std::vector<double>> contours;  // x, y pairs
    double unitsPerEm = 1.0;

    void moveTo(const FT_Vector* to)
    {
        contours.emplace_back();
        lineTo(to);
    }
    void lineTo(const FT_Vector* to) { addPoint(double(to->x), double(to->y)); }
    void addPoint(double x, double y)
    {
        if (contours.empty())
            contours.emplace_back();
        contours.back().push_back(x / unitsPerEm);
        contours.back().push_back(y / unitsPerEm);
    }
    // Flattening steps of one curve: fine enough for a title at print size.
    static constexpr int curveSteps = 8;
    // Adds the points of a curve from the last point, point(t) in font
    // units for t in (0, 1].
    template <class Point>
    void flatten(Point point)
    {
        for (int i = 1; i <= curveSteps; ++i) {
            double x = 0, y = 0;
            point(double(i) / curveSteps, &x, &y);
            addPoint(x, y);
        }
    }
    // The last point, back in font units.
    struct Start {
        double x, y;
    };
    Start last() const
    {
        const std::vector<double>& c = contours.back();
        return Start{c[c.size() - 2] * unitsPerEm, c[c.size() - 1] * unitsPerEm};
    }
    void conicTo(const FT_Vector* control, const FT_Vector* to)
    {
        const Start from = last();
        flatten([&](double t, double* x, double* y) {
            double u = 1 - t;
            *x = u * u * from.x + 2 * u * t * control->x + t * t * to->x;
            *y = u * u * from.y + 2 * u * t * control->y + t * t * to->y;
        });
    }
    void cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to)
    {
        const Start from = last();
        flatten([&](double t, double* x, double* y) {
            double u = 1 - t;
            *x = u * u * u * from.x + 3 * u * u * t * control1->x + 3 * u * t * t * control2->x + t * t * t * to->x;
            *y = u * u * u * from.y + 3 * u * u * t * control1->y + 3 * u * t * t * control2->y + t * t * t * to->y;
        });
    }

    bool read(FT_Outline* outline)
    {
        FT_Outline_Funcs funcs = {};
        funcs.move_to = [](const FT_Vector* to, void* user) {
            static_cast<ReGlyphContours*>(user)->moveTo(to);
            return 0;
        };
        funcs.line_to = [](const FT_Vector* to, void* user) {
            static_cast<ReGlyphContours*>(user)->lineTo(to);
            return 0;
        };
        funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
            static_cast<ReGlyphContours*>(user)->conicTo(control, to);
            return 0;
        };
        funcs.cubic_to = [](const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
            static_cast<ReGlyphContours*>(user)->cubicTo(control1, control2, to);
            return 0;
        };
        return FT_Outline_Decompose(outline, &funcs, this) == 0;
    }
};

// Vertices the tessellator makes where outlines cross; they must live
// until the polygon ends.
struct ReTessellation
{
    std::deque<GLdouble> combined;
};

static void GLAPIENTRY tessBegin(GLenum type)
{
    glBegin(type);
}

static void GLAPIENTRY tessVertex(void* vertex)
{
    glVertex3dv(static_cast<const GLdouble*>(vertex));
}

static void GLAPIENTRY tessEnd()
{
    glEnd();
}

static void GLAPIENTRY tessCombine(GLdouble coordinates[3], void*[4], GLfloat[4], void** out, void* polygon)
{
    std::deque<GLdouble>& store = static_cast<ReTessellation*>(polygon)->combined;
    store.push_back(coordinates[0]);
    store.push_back(coordinates[1]);
    store.push_back(coordinates[2]);
    *out = &store[store.size() - 3];
}

// Compiles the glyph's filled outline (nonzero winding, as the fonts are
// drawn) followed by the advance of the pen.
static void compileGlyph(GLUtesselator* tessellator, const ReGlyphContours& glyph, double advance, unsigned list)
{
    glNewList(list, GL_COMPILE);
    std::vector<GLdouble> points;
    size_t total = 0;
    for (const auto& contour : glyph.contours)
        total += contour.size() / 2;
    // gluTessVertex keeps the pointers until the polygon ends: no
    // reallocation from here on.
    points.reserve(total * 3);
    if (total > 0) {
        ReTessellation tessellation;
        gluTessBeginPolygon(tessellator, &tessellation);
        for (const auto& contour : glyph.contours) {
            if (contour.size() < 6)
                continue;
            gluTessBeginContour(tessellator);
            for (size_t i = 0; i + 1 < contour.size(); i += 2) {
                points.push_back(contour[i]);
                points.push_back(contour[i + 1]);
                points.push_back(0.0);
                GLdouble* vertex = &points[points.size() - 3];
                gluTessVertex(tessellator, vertex, vertex);
            }
            gluTessEndContour(tessellator);
        }
        gluTessEndPolygon(tessellator);
    }
    glTranslated(advance, 0, 0);
    glEndList();
}

bool ReOpenGL::buildFontLists(int font)
{
    if (font < 0 || font >= ReFontMetrics::fontCount || !hasCurrentContext())
        return false;
    if (group->fontBuilt[font])
        return true;
    const ReFontMetrics& metrics = ReFontMetrics::shared();
    if (!metrics.isBuilt(font))
        return false;

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    FT_Face face = nullptr;
    bool ok = FT_New_Face(library, metrics.fontFile(font).c_str(), metrics.faceIndex(font), &face) == 0;
    ok = ok && face->units_per_EM > 0 && FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0;
    GLUtesselator* tessellator = ok ? gluNewTess() : nullptr;
    if (tessellator) {
        gluTessCallback(tessellator, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&tessBegin));
        gluTessCallback(tessellator, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&tessVertex));
        gluTessCallback(tessellator, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&tessEnd));
        gluTessCallback(tessellator, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&tessCombine));
        gluTessProperty(tessellator, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
        gluTessNormal(tessellator, 0, 0, 1);
        for (int code = 0; code < ReFontMetrics::codeCount; ++code) {
            ReGlyphContours glyph;
            glyph.unitsPerEm = face->units_per_EM;
            FT_UInt index = FT_Get_Char_Index(face, FT_ULong(code));
            if (index != 0 && FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0
                && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
                glyph.read(&face->glyph->outline);
            // The pen moves as the metrics say, so drawn text measures as
            // it is measured.
            compileGlyph(tessellator, glyph, metrics.glyph(font, code).cellIncrementX,
                         ReGLShareGroup::listBase(font) + unsigned(code));
        }
        gluDeleteTess(tessellator);
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    if (!tessellator)
        return false;
    group->fontBuilt[font] = true;
    ++builtFonts;
    return true;
}

bool ReOpenGL::loadPaperTexture()
{
    if (!hasCurrentContext())
        return false;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (!texture)
        return false;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, RePaperTexture::size, RePaperTexture::size, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 RePaperTexture::pixels());
    glBindTexture(GL_TEXTURE_2D, 0);
    group->paperTexture = texture;
    return true;
}

void ReOpenGL::drawText(const BcString& text, double x, double y, double size, int font, bool underline)
{
    const ReFontMetrics& metrics = ReFontMetrics::shared();
    // A font outside the twelve draws as font 0, as it measures.
    if (font < 0 || font >= ReFontMetrics::fontCount)
        font = 0;
    if (!group)
        return;
    // A font whose outlines could not be made draws as font 0.
    if (!group->fontBuilt[font] && !buildFontLists(font))
        font = 0;

    double left = 0, top = 0, width = 0, height = 0;
    if (!measureTextExtent(text, size, font, false, &left, &top, &width, &height))
        return;  // nothing with a glyph
    // The underline reaches down and to the right a little further.
    double margin = std::fabs(size);
    if (isOutsideView(x + left - margin, y + top + height - margin, x + left + width + margin, y + top + margin))
        return;
    // Asked only for text in view: with some drivers the question is a
    // system call, and a whole score's lyrics ask it thousands of times.
    if (!hasCurrentContext() || !group->fontBuilt[font])
        return;

    double scale = size * metrics.textScale();
    glPushMatrix();
    glTranslated(x, y, 0);
    glScaled(scale, scale, 1);
    glListBase(ReGLShareGroup::listBase(font));
    // Characters from 256 up have no glyph; the rest go in chunks, so no
    // text needs memory of its own.
    GLubyte codes[256];
    int pending = 0;
    const char16_t* units = text.chars();
    for (int i = 0; i < text.length(); ++i) {
        if (units[i] >= ReFontMetrics::codeCount)
            continue;
        codes[pending++] = GLubyte(units[i]);
        if (pending == int(sizeof codes)) {
            glCallLists(pending, GL_UNSIGNED_BYTE, codes);
            pending = 0;
        }
    }
    if (pending > 0)
        glCallLists(pending, GL_UNSIGNED_BYTE, codes);
    glPopMatrix();

    if (!underline)
        return;
    double r = ReFontMetrics::underlineHalfThickness(size, font);
    double base = metrics.underlineTop(size, font) + y;
    double right = x + 2 * left + width;
    fillQuad(x, base, x, base - 2 * r, right, base - 2 * r, right, base);
}
