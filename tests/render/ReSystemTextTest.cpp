#include "model/MnCredit.h"
#include "model/MnSheetMusic.h"
#include "model/MnTempo.h"
#include "model/MnText.h"
#include "model/MnTicks.h"
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

// A tempo mark: the text, then the note figure of its beat, and " = n".
static void fillTempo(MnTempo& tempo, int term, const char* custom, int beatUnit, bool showMetronome)
{
    tempo.setTerm(term);
    tempo.setCustomText(BcString(custom));
    tempo.setBeatUnit(beatUnit);
    tempo.setBeatsPerMinute(120);
    tempo.setShowMetronome(showMetronome);
    tempo.buildTempoText();
}

TEST(ReSystemText, metronomeRoomDependsOnTheBeat)
{
    struct Row {
        const char* name;
        int beat;
        double room;
    };
    const Row rows[] = {
        {"quarter", MnTicksQuarter, 3.5},
        {"dotted quarter", 90720, 4.5},
        {"eighth: room for its flag", MnTicksEighth, 4.5},
        {"half", MnTicksHalf, 3.5},
        {"dotted half", 181440, 4.5},
    };
    for (const Row& row : rows) {
        MnTempo tempo(nullptr);
        fillTempo(tempo, -1, "", row.beat, false);
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.composeText(&tempo, GePoint2d(0, 0), nullptr);
        // The text " = 120" moves right by the room; the note stands in it.
        auto marks = renderer.callsNamed("markRect");
        ASSERT_EQ(marks.size(), 2u) << row.name;
        EXPECT_NEAR(marks[0]->args[0], 25 + row.room, 1e-9) << row.name;
        EXPECT_NEAR(marks[1]->args[0], 25 + row.room + 1.5 - row.room - 1.5, 1e-9) << row.name;
        EXPECT_EQ(marks[1]->args[2], row.room) << row.name;
        EXPECT_EQ(marks[1]->args[3], 8) << row.name;
        EXPECT_EQ(marks[1]->element, &tempo);
        EXPECT_EQ(renderer.countOf("drawText"), 1) << row.name;
    }
}

TEST(ReSystemText, aTermShowsTheFigureAndTheNumberAfterIt)
{
    MnTempo tempo(nullptr);
    fillTempo(tempo, 14, "", 90720, true);  // Allegro, dotted quarter
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.composeText(&tempo, GePoint2d(0, 0), nullptr);

    auto texts = renderer.callsNamed("drawText");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, BcString("Allegro"));
    EXPECT_EQ(texts[1]->text, BcString(" = 120"));
    auto marks = renderer.callsNamed("markRect");
    ASSERT_EQ(marks.size(), 3u);
    double textRight = marks[0]->args[0] + marks[0]->args[2];
    // The figure starts 2.5 after the text; " = 120" after the figure's room.
    EXPECT_NEAR(marks[1]->args[0], textRight + 2.5, 1e-9);
    EXPECT_NEAR(marks[1]->args[2], 4.5, 1e-9);
    EXPECT_NEAR(marks[2]->args[0], marks[1]->args[0] + 4.5, 1e-9);
    for (const auto* mark : marks)
        EXPECT_EQ(mark->element, &tempo);
    // A dotted beat: the plain note with a dot, and a stem.
    auto heads = renderer.callsNamed("fillEllipse");
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(renderer.countOf("fillQuad"), 1);

    // The extents are the union of all three marked boxes.
    GeBox2d box = tempo.extents();
    double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
    for (const auto* mark : marks) {
        left = std::min({left, mark->args[0], mark->args[0] + mark->args[2]});
        right = std::max({right, mark->args[0], mark->args[0] + mark->args[2]});
        bottom = std::min({bottom, mark->args[1], mark->args[1] + mark->args[3]});
        top = std::max({top, mark->args[1], mark->args[1] + mark->args[3]});
    }
    EXPECT_NEAR(box.a.x, left, 1e-9);
    EXPECT_NEAR(box.b.x, right, 1e-9);
    EXPECT_NEAR(box.a.y, bottom, 1e-9);
    EXPECT_NEAR(box.b.y, top, 1e-9);
}

TEST(ReSystemText, aTermWithoutMetronomeIsTextAlone)
{
    MnTempo tempo(nullptr);
    fillTempo(tempo, 6, "", MnTicksQuarter, false);
    RecordingRenderer renderer;
    ReSystem(&renderer).composeText(&tempo, GePoint2d(0, 0), nullptr);
    EXPECT_EQ(renderer.countOf("drawText"), 1);
    EXPECT_EQ(renderer.countOf("markRect"), 1);
    EXPECT_EQ(renderer.countOf("fillEllipse"), 0);
}

TEST(ReSystemText, creditsStandBetweenTheirPagesMargins)
{
    MnSheetMusic sheet;
    sheet.setMargins(10, 30, 16, 16);
    sheet.setMarginLinks(false, true, false, true);  // mirrored: page 0 is left-hand, margins swap
    ASSERT_DOUBLE_EQ(sheet.leftMargin(0), 30);
    ASSERT_DOUBLE_EQ(sheet.rightMargin(0), 10);
    struct Row {
        const char* name;
        int creditAlignment;
        double storedX;
        double expectedLeft;  // of the box, with text alignment 0
    };
    Box box = measured("Sonata", 12, 0);
    const Row rows[] = {
        {"left: on the left margin", 0, 50, 30},
        {"centre: between the margins", 1, 50, 30 + (210 - 40) / 2.0},
        {"right: at the right margin whatever its x", 2, 50, 210 - 10},
        {"free: its x from the left margin", -1, 12, 30 + 12},
    };
    for (const Row& row : rows) {
        MnCredit* credit = sheet.addCredit(0);
        credit->setText(BcString("Sonata"));
        credit->setAlignment(0);
        credit->setCreditAlignment(row.creditAlignment);
        credit->moveTo(GePoint2d(row.storedX, -20));
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        system.composeText(credit, GePoint2d(1000, 2000), nullptr);
        auto marks = renderer.callsNamed("markRect");
        ASSERT_EQ(marks.size(), 1u) << row.name;
        EXPECT_NEAR(marks[0]->args[0], 1000 + row.expectedLeft, 1e-9) << row.name;
        EXPECT_NEAR(marks[0]->args[1], 2000 + credit->position().y - 16, 1e-9) << row.name;
        EXPECT_NEAR(marks[0]->args[2], box.width, 1e-9) << row.name;
        // Credits colour themselves: black unless selected.
        auto colours = renderer.callsNamed("setColor");
        ASSERT_EQ(colours.size(), 1u) << row.name;
        EXPECT_EQ(colours[0]->args[2], 0.0) << row.name;
    }
}
