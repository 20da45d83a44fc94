#include "render/ReFontMetrics.h"

#include "foundation/BcString.h"

#include <gtest/gtest.h>

static const double untouched = 12345.0;

TEST(ReFontMetrics, readsAllTwelveFontsWithoutADisplay)
{
    const ReFontMetrics& metrics = ReFontMetrics::shared();
    for (int font = 0; font < ReFontMetrics::fontCount; ++font) {
        EXPECT_TRUE(metrics.isBuilt(font)) << font;
        EXPECT_FALSE(metrics.fontFile(font).empty()) << font;
    }
    // Families differ: the monospaced "i" is as wide as its "m".
    EXPECT_FLOAT_EQ(metrics.glyph(8, 'i').cellIncrementX, metrics.glyph(8, 'm').cellIncrementX);
    EXPECT_LT(metrics.glyph(0, 'i').cellIncrementX, metrics.glyph(0, 'm').cellIncrementX);
    EXPECT_GT(metrics.glyph(1, 'a').blackBoxWidth, metrics.glyph(0, 'a').blackBoxWidth);
    EXPECT_GT(metrics.textScale(), 0.0);
}

// The text scale makes the "a" of font 0 at size 11 exactly 2 units high.
TEST(ReFontMetrics, lowercaseAOfFontZeroAtSizeElevenIsTwoUnitsHigh)
{
    const ReFontMetrics& metrics = ReFontMetrics::shared();
    const ReFontMetrics::Glyph& a = metrics.glyph(0, 'a');
    EXPECT_DOUBLE_EQ(metrics.textScale(), (2.0 / 11.0) / a.blackBoxHeight);

    double x = untouched, y = untouched, width = untouched, height = untouched;
    ASSERT_TRUE(measureTextExtent(BcString("a"), 11, 0, false, &x, &y, &width, &height));
    EXPECT_NEAR(height, -2.0, 1e-9);
    double scale = 11 * metrics.textScale();
    EXPECT_NEAR(x, a.originX * scale, 1e-9);
    EXPECT_NEAR(y, a.originY * scale, 1e-9);
    EXPECT_NEAR(width, a.blackBoxWidth * scale, 1e-9);
}

TEST(ReFontMetrics, textWithoutGlyphsAnswersFalseAndLeavesTheOutputs)
{
    struct Row {
        const char* name;
        BcString text;
    };
    const Row rows[] = {
        {"empty", BcString("")},
        {"only codes above 255", BcString(u"\u0394\u266B")},
        {"a surrogate pair", BcString("\xF0\x9F\x8E\xB5")},
    };
    for (const Row& row : rows) {
        double x = untouched, y = untouched, width = untouched, height = untouched;
        EXPECT_FALSE(measureTextExtent(row.text, 12, 0, false, &x, &y, &width, &height)) << row.name;
        EXPECT_EQ(x, untouched) << row.name;
        EXPECT_EQ(y, untouched) << row.name;
        EXPECT_EQ(width, untouched) << row.name;
        EXPECT_EQ(height, untouched) << row.name;
    }
}

TEST(ReFontMetrics, codesAbove255AreSkippedInsideText)
{
    double x1, y1, w1, h1, x2, y2, w2, h2;
    ASSERT_TRUE(measureTextExtent(BcString("ab"), 12, 4, false, &x1, &y1, &w1, &h1));
    ASSERT_TRUE(measureTextExtent(BcString(u"a\u266Bb"), 12, 4, false, &x2, &y2, &w2, &h2));
    EXPECT_DOUBLE_EQ(x1, x2);
    EXPECT_DOUBLE_EQ(y1, y2);
    EXPECT_DOUBLE_EQ(w1, w2);
    EXPECT_DOUBLE_EQ(h1, h2);
}

TEST(ReFontMetrics, widthAddsTheAdvancesBetweenTheBlackBoxes)
{
    const ReFontMetrics& metrics = ReFontMetrics::shared();
    const ReFontMetrics::Glyph& h = metrics.glyph(4, 'H');
    const ReFontMetrics::Glyph& i = metrics.glyph(4, 'i');
    const ReFontMetrics::Glyph& g = metrics.glyph(4, 'g');
    double x, y, width, height;
    ASSERT_TRUE(measureTextExtent(BcString("Hig"), 10, 4, false, &x, &y, &width, &height));
    double scale = 10 * metrics.textScale();
    double expectedWidth = double(h.blackBoxWidth) + h.cellIncrementX - h.blackBoxWidth + i.blackBoxWidth
        + i.cellIncrementX - i.blackBoxWidth + g.blackBoxWidth;
    EXPECT_NEAR(width, expectedWidth * scale, 1e-9);
    // The box runs from the tallest top to the lowest descender.
    double top = std::max({h.originY, i.originY, g.originY});
    double bottom = std::min({h.originY - h.blackBoxHeight, i.originY - i.blackBoxHeight, g.originY - g.blackBoxHeight});
    EXPECT_NEAR(y, top * scale, 1e-6);
    EXPECT_NEAR(height, (bottom - top) * scale, 1e-6);
}

TEST(ReFontMetrics, underlineExtendsTheBoxDownToTheLineItDraws)
{
    struct Row {
        const char* name;
        int font;
        double thickness;  // of the underline relative to size 0.01 per side
    };
    const Row rows[] = {{"regular", 0, 1.0}, {"bold", 1, 1.5}, {"italic sans", 6, 1.0}, {"bold italic mono", 11, 1.5}};
    for (const Row& row : rows) {
        double x, y, width, height, ux, uy, uwidth, uheight;
        ASSERT_TRUE(measureTextExtent(BcString("ace"), 20, row.font, false, &x, &y, &width, &height)) << row.name;
        ASSERT_TRUE(measureTextExtent(BcString("ace"), 20, row.font, true, &ux, &uy, &uwidth, &uheight)) << row.name;
        EXPECT_EQ(ux, x) << row.name;
        EXPECT_EQ(uy, y) << row.name;
        EXPECT_EQ(uwidth, width) << row.name;
        EXPECT_LT(uheight, height) << row.name;
        double lowerEdge = ReFontMetrics::shared().underlineTop(20, row.font) - 2 * 20 * 0.01 * row.thickness;
        EXPECT_NEAR(uy + uheight, lowerEdge, 1e-9) << row.name;
    }
    // A descender that already reaches below the line keeps the box.
    double x, y, width, height, ux, uy, uwidth, uheight;
    ASSERT_TRUE(measureTextExtent(BcString("g"), 20, 0, false, &x, &y, &width, &height));
    ASSERT_TRUE(measureTextExtent(BcString("g"), 20, 0, true, &ux, &uy, &uwidth, &uheight));
    EXPECT_EQ(uheight, height);
}

TEST(ReFontMetrics, fontNumbersOutsideTheTableMeasureLikeFontZero)
{
    double x0, y0, w0, h0;
    ASSERT_TRUE(measureTextExtent(BcString("Tempo"), 12, 0, true, &x0, &y0, &w0, &h0));
    for (int font : {-1, 12, 13, 1000, -2147483647 - 1, 2147483647}) {
        double x, y, width, height;
        ASSERT_TRUE(measureTextExtent(BcString("Tempo"), 12, font, true, &x, &y, &width, &height)) << font;
        EXPECT_EQ(x, x0) << font;
        EXPECT_EQ(y, y0) << font;
        EXPECT_EQ(width, w0) << font;
        EXPECT_EQ(height, h0) << font;
        EXPECT_FLOAT_EQ(ReFontMetrics::shared().glyph(font, 'a').blackBoxWidth, 0.0f) << font;
    }
    EXPECT_FLOAT_EQ(ReFontMetrics::shared().glyph(0, 256).cellIncrementX, 0.0f);
    EXPECT_FLOAT_EQ(ReFontMetrics::shared().glyph(0, -1).cellIncrementX, 0.0f);
}

TEST(ReFontMetrics, measuresScaleWithTheSize)
{
    double x1, y1, w1, h1, x2, y2, w2, h2;
    ASSERT_TRUE(measureTextExtent(BcString("Allegro"), 10, 2, false, &x1, &y1, &w1, &h1));
    ASSERT_TRUE(measureTextExtent(BcString("Allegro"), 30, 2, false, &x2, &y2, &w2, &h2));
    EXPECT_NEAR(x2, 3 * x1, 1e-9);
    EXPECT_NEAR(y2, 3 * y1, 1e-9);
    EXPECT_NEAR(w2, 3 * w1, 1e-9);
    EXPECT_NEAR(h2, 3 * h1, 1e-9);
}
