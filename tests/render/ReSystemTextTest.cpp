#include "model/MnText.h"
#include "render/ReFontMetrics.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/common/TestPrinters.h"

#include <gtest/gtest.h>

static void fill(MnText& text, const char* string, int alignment, double size = 12, int font = 0,
                 bool underline = false)
{
    text.setText(BcString(string));
    text.setAlignment(alignment);
    text.setSize(size);
    text.setFont(font);
    text.setUnderline(underline);
    text.moveTo(GePoint2d(10, 20));
}

struct Box {
    double x = 0, y = 0, width = 0, height = 0;
};

static Box measured(const char* string, double size, int font, bool underline = false)
{
    Box box;
    EXPECT_TRUE(measureTextExtent(BcString(string), size, font, underline, &box.x, &box.y, &box.width, &box.height));
    return box;
}

// Where each alignment code puts the text's box against its anchor. Heights
// of measured boxes are negative (they reach down from their top), so the
// rows raise the text: row 2 stands the text on the anchor and row 3 puts
// the baseline of capitals on it.
TEST(ReSystemText, anchorTableOverTheTwelveAlignmentCodes)
{
    enum Row { onOrigin, centredOnLowercase, standing, capitalHeight };
    struct Code {
        int code;
        double column;  // share of the width moved left
        Row row;
    };
    const Code codes[] = {
        {0, 0, onOrigin},  {1, 0.5, onOrigin},  {2, 1, onOrigin},
        {3, 0, centredOnLowercase}, {4, 0.5, centredOnLowercase}, {5, 1, centredOnLowercase},
        {6, 0, standing}, {7, 0.5, standing}, {8, 1, standing},
        {9, 0, capitalHeight}, {10, 0.5, capitalHeight}, {11, 1, capitalHeight},
    };
    const GePoint2d origin(1, 2);
    const double anchorX = 11, anchorY = 22;
    for (const char* string : {"came", "Came"}) {
        Box box = measured(string, 12, 4);
        Box a = measured("a", 12, 4);
        Box capitalA = measured("A", 12, 4);
        bool capitals = string[0] == 'C';
        for (const Code& c : codes) {
            SCOPED_TRACE(std::string(string) + " code " + std::to_string(c.code));
            MnText text;
    fill(text, string, c.code, 12, 4);
            RecordingRenderer renderer;
            ReSystem system(&renderer);
            system.composeText(&text, origin, nullptr);

            double up = 0;
            switch (c.row) {
            case onOrigin: up = 0; break;
            case centredOnLowercase: up = capitals ? -(capitalA.height - a.height / 2) : -a.height / 2; break;
            case standing: up = -box.height; break;
            case capitalHeight: up = -capitalA.height; break;
            }
            double left = anchorX - c.column * box.width;
            double top = anchorY + up;

            auto marks = renderer.callsNamed("markRect");
            ASSERT_EQ(marks.size(), 1u);
            EXPECT_NEAR(marks[0]->args[0], left, 1e-9);
            EXPECT_NEAR(marks[0]->args[1], top, 1e-9);
            EXPECT_NEAR(marks[0]->args[2], box.width, 1e-9);
            EXPECT_NEAR(marks[0]->args[3], box.height, 1e-9);
            EXPECT_EQ(marks[0]->element, &text);
            auto drawn = renderer.callsNamed("drawText");
            ASSERT_EQ(drawn.size(), 1u);
            EXPECT_EQ(drawn[0]->text, BcString(string));
            // The box's upper left lands on the mark's corner.
            EXPECT_NEAR(drawn[0]->args[0] + box.x, left, 1e-9);
            EXPECT_NEAR(drawn[0]->args[1] + box.y, top, 1e-9);

            double baseline = drawn[0]->args[1];
            if (c.row == standing) {
                EXPECT_NEAR(top + box.height, anchorY, 1e-9);  // the box's bottom on the anchor
            }
            if (c.row == centredOnLowercase && !capitals) {
                EXPECT_NEAR(baseline - a.height / 2, anchorY, 0.1);  // x-height centred on the anchor
            }
        }
    }
}

TEST(ReSystemText, capitalHeightRowPutsTheBaselineOfCapitalsOnTheAnchor)
{
    MnText text;
    fill(text, "TEMPO", 9, 20, 0);
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.composeText(&text, GePoint2d(0, 0), nullptr);
    auto drawn = renderer.callsNamed("drawText");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_NEAR(drawn[0]->args[1], 20, 0.05);
}

TEST(ReSystemText, codesOutsideTheTableAreNotShifted)
{
    // The model keeps codes in range; a composer handed one anyway leaves
    // the text on its anchor.
    class OddText : public MnText
    {
    public:
        OddText() { setText(BcString("x")); }
    } text;
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.composeText(&text, GePoint2d(0, 0), nullptr);
    auto marks = renderer.callsNamed("markRect");
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0]->args[0], 0.0);
    EXPECT_EQ(marks[0]->args[1], 0.0);
}

TEST(ReSystemText, textThatCannotBeMeasuredDrawsAndMarksNothing)
{
    MnText empty;
    fill(empty, "", 4);
    MnText unmeasurable;
    fill(unmeasurable, "\xE2\x99\xAB", 0);  // only a code above 255
    for (MnText* text : {&empty, &unmeasurable}) {
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.composeText(text, GePoint2d(5, 5), nullptr);
        EXPECT_EQ(renderer.countOf("drawText"), 0);
        EXPECT_EQ(renderer.countOf("markRect"), 0);

        GeBox2d box = text->extents();
        EXPECT_EQ(box.a.x, 0.0);
        EXPECT_EQ(box.a.y, 0.0);
        EXPECT_EQ(box.b.x, 0.0);
        EXPECT_EQ(box.b.y, 0.0);
    }
}

TEST(ReSystemText, pickElementIsReportedInsteadOfTheText)
{
    MnText text;
    fill(text, "12", 8);
    MnText other;
    fill(other, "template", 0);
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.composeText(&text, GePoint2d(0, 0), &other);
    auto marks = renderer.callsNamed("markRect");
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0]->element, &other);
}

TEST(ReSystemText, extentsOfAPlainTextAreItsMarkedBoxWithTheUnderline)
{
    for (bool underline : {false, true}) {
        SCOPED_TRACE(underline ? "underlined" : "plain");
        MnText text;
    fill(text, "Allemande", 7, 14, 2, underline);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.composeText(&text, GePoint2d(0, 0), nullptr);
        auto marks = renderer.callsNamed("markRect");
        ASSERT_EQ(marks.size(), 1u);
        double x = marks[0]->args[0], y = marks[0]->args[1], w = marks[0]->args[2], h = marks[0]->args[3];

        GeBox2d box = text.extents();
        EXPECT_DOUBLE_EQ(box.a.x, std::min(x, x + w));
        EXPECT_DOUBLE_EQ(box.a.y, std::min(y, y + h));
        EXPECT_DOUBLE_EQ(box.b.x, std::max(x, x + w));
        EXPECT_DOUBLE_EQ(box.b.y, std::max(y, y + h));
        Box plain = measured("Allemande", 14, 2, false);
        if (underline) {
            EXPECT_GT(box.b.y - box.a.y, -plain.height + 1e-6);
        } else {
            EXPECT_NEAR(box.b.y - box.a.y, -plain.height, 1e-9);
        }
    }
}
