#include "render/ReFontMetrics.h"

#include "foundation/BcString.h"

#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

// The metric-compatible stand-ins of the three families the documents name.
static const char* const familyNames[3] = {"Liberation Serif", "Liberation Sans", "Liberation Mono"};

static const ReFontMetrics::Glyph noGlyph = {0, 0, 0, 0, 0, 0};

static bool findFontFile(FcConfig* config, int font, std::string* file, int* index)
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return false;
    int style = font % 4;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyNames[font / 4]));
    FcPatternAddInteger(pattern, FC_WEIGHT, (style & 1) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, (style & 2) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8* path = nullptr;
    int faceIndex = 0;
    bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (found) {
        if (FcPatternGetInteger(match, FC_INDEX, 0, &faceIndex) != FcResultMatch)
            faceIndex = 0;
        *file = reinterpret_cast<const char*>(path);
        *index = faceIndex;
    }
    FcPatternDestroy(match);
    return found;
}

// Reads the metrics of characters 0 to 255 in em units, as an outline
// converter reports them: the black box of the outline, its upper-left
// corner relative to the pen, and the advance.
static bool readGlyphs(FT_Library library, const std::string& file, int index,
                       ReFontMetrics::Glyph (&glyphs)[ReFontMetrics::codeCount])
{
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.c_str(), index, &face) != 0)
        return false;
    bool ok = face->units_per_EM > 0 && FT_IS_SCALABLE(face);
    if (ok)
        ok = FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0;
    const double em = ok ? double(face->units_per_EM) : 1.0;
    for (int code = 0; ok && code < ReFontMetrics::codeCount; ++code) {
        ReFontMetrics::Glyph glyph = noGlyph;
        FT_UInt glyphIndex = FT_Get_Char_Index(face, FT_ULong(code));
        if (glyphIndex != 0 && FT_Load_Glyph(face, glyphIndex, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0) {
            FT_GlyphSlot slot = face->glyph;
            glyph.cellIncrementX = float(slot->advance.x / em);
            glyph.cellIncrementY = float(slot->advance.y / em);
            FT_BBox box;
            if (slot->format == FT_GLYPH_FORMAT_OUTLINE && slot->outline.n_points > 0
                && FT_Outline_Get_BBox(&slot->outline, &box) == 0) {
                glyph.blackBoxWidth = float((box.xMax - box.xMin) / em);
                glyph.blackBoxHeight = float((box.yMax - box.yMin) / em);
                glyph.originX = float(box.xMin / em);
                glyph.originY = float(box.yMax / em);
            }
        }
        glyphs[code] = glyph;
    }
    FT_Done_Face(face);
    return ok;
}

ReFontMetrics::ReFontMetrics()
{
    // A private configuration: the shell's toolkit keeps its own.
    FcConfig* config = FcInitLoadConfigAndFonts();
    FT_Library library = nullptr;
    if (config && FT_Init_FreeType(&library) == 0) {
        for (int font = 0; font < fontCount; ++font) {
            std::string file;
            int index = 0;
            if (!findFontFile(config, font, &file, &index))
                continue;
            if (!readGlyphs(library, file, index, glyphs_[font]))
                continue;
            files_[font] = file;
            faceIndices_[font] = index;
            built_[font] = true;
        }
        FT_Done_FreeType(library);
    }
    if (config)
        FcConfigDestroy(config);

    double aHeight = built_[0] ? glyphs_[0]['a'].blackBoxHeight : 0.0;
    if (aHeight > 0.0)
        textScale_ = (2.0 / 11.0) / aHeight;
}

const ReFontMetrics& ReFontMetrics::shared()
{
    static const ReFontMetrics table;
    return table;
}

bool ReFontMetrics::isBuilt(int font) const
{
    return font >= 0 && font < fontCount && built_[font];
}

int ReFontMetrics::usableFont(int font) const
{
    return isBuilt(font) ? font : 0;
}

const ReFontMetrics::Glyph& ReFontMetrics::glyph(int font, int code) const
{
    if (!isBuilt(font) || code < 0 || code >= codeCount)
        return noGlyph;
    return glyphs_[font][code];
}

const std::string& ReFontMetrics::fontFile(int font) const
{
    static const std::string none;
    return isBuilt(font) ? files_[font] : none;
}

int ReFontMetrics::faceIndex(int font) const
{
    return isBuilt(font) ? faceIndices_[font] : 0;
}

double ReFontMetrics::underlineHalfThickness(double size, int font)
{
    double r = size * 0.01;
    int style = (font >= 0 && font < fontCount) ? font % 4 : 0;
    return (style & 1) ? r * 1.5 : r;  // bold text gets a heavier line
}

double ReFontMetrics::underlineTop(double size, int font) const
{
    const Glyph& a = glyph(usableFont(font), 'a');
    return (a.originY - a.blackBoxHeight) * size * textScale_ - size / 20.0;
}

bool ReFontMetrics::measure(const char16_t* text, int length, double size, int font, bool underline, double* x,
                            double* y, double* width, double* height) const
{
    font = usableFont(font);
    if (!isBuilt(font) || !text)
        return false;

    bool counted = false;
    double left = 0, top = 0, boxWidth = 0, bottom = 0;
    double previousIncrement = 0, previousWidth = 0;
    for (int i = 0; i < length; ++i) {
        unsigned code = text[i];
        if (code >= unsigned(codeCount))
            continue;
        const Glyph& g = glyphs_[font][code];
        if (!counted) {
            left = g.originX;
            top = g.originY;
            boxWidth = g.blackBoxWidth;
            bottom = g.originY - g.blackBoxHeight;
            counted = true;
        } else {
            top = std::max(top, double(g.originY));
            boxWidth += previousIncrement - previousWidth + g.blackBoxWidth;
            bottom = std::min(bottom, double(g.originY - g.blackBoxHeight));
        }
        previousIncrement = g.cellIncrementX;
        previousWidth = g.blackBoxWidth;
    }
    if (!counted)
        return false;

    double scale = size * textScale_;
    double outX = left * scale;
    double outY = top * scale;
    double outWidth = boxWidth * scale;
    double outHeight = (bottom - top) * scale;
    if (underline) {
        double limit = underlineTop(size, font) - 2 * underlineHalfThickness(size, font);
        if (outY + outHeight > limit)
            outHeight = limit - outY;
    }
    *x = outX;
    *y = outY;
    *width = outWidth;
    *height = outHeight;
    return true;
}

bool measureTextExtent(const BcString& text, double size, int font, bool underline, double* x, double* y,
                       double* width, double* height)
{
    return ReFontMetrics::shared().measure(text.chars(), text.length(), size, font, underline, x, y, width, height);
}
