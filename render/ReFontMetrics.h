#pragma once

#include <string>

// The glyph metrics of the twelve text fonts, read with FreeType from the
// files that fontconfig finds, so that text measures the same with or
// without a display or a GL context. Every back end measures text here, and
// the GL back end draws from the same font files.
//
// Font numbers: font / 4 is the family (0 serif, 1 sans, 2 mono: Times New
// Roman, Arial and Courier New, answered by their metric-compatible
// Liberation fonts), font % 4 the style (0 regular, 1 bold, 2 italic,
// 3 bold italic). Metrics are in em units (the em height is 1).
class ReFontMetrics {
public:
    static constexpr int fontCount = 12;
    static constexpr int codeCount = 256;  // characters 0 to 255 have glyphs

    struct Glyph {
        float blackBoxWidth;
        float blackBoxHeight;
        float originX;  // upper left of the black box, relative to the pen
        float originY;
        float cellIncrementX;
        float cellIncrementY;
    };

    // The process-wide table, loaded on first use (thread-safe).
    static const ReFontMetrics& shared();

    // Whether the font's file was found and read.
    bool isBuilt(int font) const;
    // A font that cannot be used answers font 0 (which may itself be unbuilt).
    int usableFont(int font) const;
    // Metrics of a character 0 to 255; zero metrics for an unbuilt font or
    // a code outside that range.
    const Glyph& glyph(int font, int code) const;

    // Drawing units per em unit at size 1: 1.0 until font 0 is read, then
    // (2/11) / (black-box height of "a" in font 0), so that a text of size
    // s has its lowercase "a" of font 0 2s/11 units high.
    double textScale() const { return textScale_; }

    // The file and face index that answered a font, for back ends that
    // draw the outlines; empty when the font is not built.
    const std::string& fontFile(int font) const;
    int faceIndex(int font) const;

    // Measures UTF-16 text: x and y are the upper left of the box relative
    // to the baseline origin, width and height its size (height zero or
    // negative: the box reaches down from y). With underline the box reaches
    // down to the underline's lower edge. Codes from 256 up are skipped;
    // text without a glyph answers false and leaves the outputs untouched.
    bool measure(const char16_t* text, int length, double size, int font, bool underline, double* x, double* y,
                 double* width, double* height) const;

    // Half the thickness of the underline of a text of this size and font.
    static double underlineHalfThickness(double size, int font);
    // The upper edge of the underline, relative to the baseline.
    double underlineTop(double size, int font) const;

    ReFontMetrics(const ReFontMetrics&) = delete;
    ReFontMetrics& operator=(const ReFontMetrics&) = delete;

private:
    ReFontMetrics();

    bool built_[fontCount] = {};
    Glyph glyphs_[fontCount][codeCount] = {};
    std::string files_[fontCount];
    int faceIndices_[fontCount] = {};
    double textScale_ = 1.0;
};

class BcString;

// The text measurement behind every back end's measureText: the shared
// table's ReFontMetrics::measure of the string's UTF-16 units.
bool measureTextExtent(const BcString& text, double size, int font, bool underline, double* x, double* y,
                       double* width, double* height);
