#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"
#include "model/MnTempo.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/common/TestCanvas.h"
#include "tests/common/TestPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>

// Three string staves: a bracket over all three, a brace over the first two.
struct StringTrio {
    MnScore score;
    MnPartGroup* strings;
    MnPartGroup* upper;

    StringTrio()
    {
        score.insertStaff(-1);
        score.insertStaff(-1);
        const char* names[3] = {"Violin", "Viola", "Cello"};
        const char* abbreviations[3] = {"Vl.", "Va.", "Vc."};
        for (int i = 0; i < 3; ++i) {
            score.part(i)->setName(BcString(names[i]));
            score.part(i)->setAbbreviation(BcString(abbreviations[i]));
        }
        strings = score.addPartGroup(0, 3);
        strings->setBracketType(1);
        strings->setName(BcString("Strings"));
        strings->setAbbreviation(BcString("Str."));
        upper = score.addPartGroup(0, 2);
        upper->setBracketType(0);
        upper->setName(BcString("Upper"));
    }
};

static const RecordingRenderer::Call* textCall(const RecordingRenderer& renderer, const char* text)
{
    for (const auto* call : renderer.callsNamed("drawText"))
        if (call->text == BcString(text))
            return call;
    return nullptr;
}

static const RecordingRenderer::Call* markOf(const RecordingRenderer& renderer, const MnElement* element)
{
    for (const auto* call : renderer.callsNamed("markRect"))
        if (call->element == element)
            return call;
    return nullptr;
}

TEST(ReSystemLabels, partLabelsStandRightAlignedAtTheMiddleOfTheirStaves)
{
    MnScore score;
    score.insertStaff(-1);
    score.part(0)->setName(BcString("Flute"));
    score.part(1)->setName(BcString("Oboe"));
    score.part(1)->setAbbreviation(BcString("Ob."));
    score.part(1)->setScale(0.5);
    for (bool abbreviated : {false, true}) {
        SCOPED_TRACE(abbreviated ? "abbreviated" : "names");
        RecordingRenderer renderer;
        ReSystem(&renderer).composePartNames(&score, -1, 0, 2, GePoint2d(100, 50), 100, abbreviated);
        // The flute has no abbreviation: nothing is drawn for it then.
        EXPECT_EQ(textCall(renderer, "Flute") != nullptr, !abbreviated);
        EXPECT_EQ(renderer.countOf("drawText"), abbreviated ? 1 : 2);
        const char* second = abbreviated ? "Ob." : "Oboe";
        ASSERT_NE(textCall(renderer, second), nullptr);
        const auto* mark = markOf(renderer, score.part(1));
        ASSERT_NE(mark, nullptr);
        // Right edge 3 (times the largest part scale) left of the staves.
        EXPECT_NEAR(mark->args[0] + mark->args[2], 100 - 3, 1e-9);
        // Vertically centred on the staff's middle line, 4 x its scale down.
        double staffY = 50 + score.staff(1)->position().y - score.staff(0)->position().y;
        double centre = mark->args[1] + mark->args[3] / 2;
        EXPECT_NEAR(centre, staffY - 4 * 0.5, 0.6);
        EXPECT_EQ(textCall(renderer, second)->args[2], 12 * 0.5);  // the label follows the part's scale
    }
}

TEST(ReSystemLabels, nestedGroupsStandFurtherLeft)
{
    StringTrio trio;
    RecordingRenderer renderer;
    ReSystem(&renderer).composePartNames(&trio.score, -1, 0, 3, GePoint2d(100, 50), 100, false);

    // Each group brackets inside its own scale about its origin; the inner
    // one stands 1.5 further left.
    auto scales = renderer.callsNamed("pushScale");
    ASSERT_EQ(scales.size(), 2u);
    EXPECT_EQ(scales[0]->args, (std::vector<double>{100, 50, 1}));
    EXPECT_EQ(scales[1]->args, (std::vector<double>{98.5, 50, 1}));
    EXPECT_EQ(renderer.countOf("popTransform"), 2);

    const auto* outer = markOf(renderer, trio.strings);
    const auto* inner = markOf(renderer, trio.upper);
    ASSERT_NE(outer, nullptr);
    ASSERT_NE(inner, nullptr);
    // The group labels, right-aligned 5 left of their brackets.
    const auto* outerLabel = textCall(renderer, "Strings");
    const auto* innerLabel = textCall(renderer, "Upper");
    ASSERT_NE(outerLabel, nullptr);
    ASSERT_NE(innerLabel, nullptr);
    std::vector<const RecordingRenderer::Call*> labelMarks;
    for (const auto* call : renderer.callsNamed("markRect"))
        if (call->element == trio.strings || call->element == trio.upper)
            labelMarks.push_back(call);
    ASSERT_EQ(labelMarks.size(), 4u);  // label and bracket of each
    EXPECT_NEAR(labelMarks[0]->args[0] + labelMarks[0]->args[2], 95, 1e-9);
    EXPECT_NEAR(labelMarks[2]->args[0] + labelMarks[2]->args[2], 93.5, 1e-9);
    // Every part label appears once.
    for (const char* name : {"Violin", "Viola", "Cello"})
        EXPECT_NE(textCall(renderer, name), nullptr) << name;
    EXPECT_EQ(renderer.countOf("drawText"), 5);
}

TEST(ReSystemLabels, bracketHalvesCarryPickPathsOfTheirWork)
{
    StringTrio trio;
    RecordingRenderer renderer;
    ReSystem(&renderer).composePartNames(&trio.score, 4, 0, 3, GePoint2d(0, 0), 0, false);
    std::vector<const RecordingRenderer::Call*> halves;
    for (const auto* call : renderer.callsNamed("markRect"))
        if (call->pickPath.kind() == EdPath::KindPartGroup)
            halves.push_back(call);
    ASSERT_EQ(halves.size(), 4u);
    double height = trio.strings->height();
    EXPECT_EQ(halves[0]->pickPath, EdPath(3, 4, 0, 0, 3, 0, -1, -1));
    EXPECT_EQ(halves[1]->pickPath, EdPath(3, 4, 0, 0, 3, 1, -1, -1));
    EXPECT_EQ(halves[2]->pickPath, EdPath(3, 4, 0, 0, 2, 0, -1, -1));
    EXPECT_EQ(halves[0]->element, trio.strings);
    // The upper half from the top down, the lower half below it; a bracket
    // of type 1 is picked 2 wide to its left, a brace 4.
    EXPECT_EQ(halves[0]->args, (std::vector<double>{0, 0, -2, -height / 2}));
    EXPECT_EQ(halves[1]->args, (std::vector<double>{0, -height / 2, -2, -height / 2}));
    EXPECT_EQ(halves[2]->args[2], -4.0);
    EXPECT_TRUE(renderer.pickPath.isUnset());
    // Labels are marked without a path.
    EXPECT_TRUE(markOf(renderer, trio.score.part(0))->pickPath.isUnset());
}

TEST(ReSystemLabels, withoutAWorkIndexOneMarkCoversTheWholeBracket)
{
    StringTrio trio;
    trio.strings->setName(BcString());
    RecordingRenderer renderer;
    ReSystem(&renderer).composePartNames(&trio.score, -1, 0, 3, GePoint2d(0, 0), 0, false);
    const auto* bracket = markOf(renderer, trio.strings);
    ASSERT_NE(bracket, nullptr);
    EXPECT_EQ(bracket->args, (std::vector<double>{0, 0, -2, -trio.strings->height()}));
    EXPECT_TRUE(bracket->pickPath.isUnset());
}

TEST(ReSystemLabels, hiddenStavesHaveNoBrackets)
{
    StringTrio trio;
    trio.score.setHideStaves(true);
    RecordingRenderer renderer;
    ReSystem(&renderer).composePartNames(&trio.score, 0, 0, 3, GePoint2d(0, 0), 0, false);
    EXPECT_EQ(renderer.countOf("fillMesh"), 0);
    EXPECT_EQ(renderer.countOf("fillQuad"), 0);
    EXPECT_EQ(renderer.countOf("pushScale"), 0);
    for (const auto* call : renderer.callsNamed("markRect"))
        EXPECT_TRUE(call->pickPath.isUnset());
    EXPECT_NE(textCall(renderer, "Strings"), nullptr);
    EXPECT_NE(textCall(renderer, "Upper"), nullptr);
}

TEST(ReSystemLabels, labelsTakeTheSelectionColour)
{
    StringTrio trio;
    RecordingRenderer renderer;
    renderer.add(trio.score.part(1));
    ReSystem(&renderer).composePartNames(&trio.score, -1, 0, 3, GePoint2d(0, 0), 0, false);
    const auto* viola = textCall(renderer, "Viola");
    const auto* cello = textCall(renderer, "Cello");
    ASSERT_NE(viola, nullptr);
    ASSERT_NE(cello, nullptr);
    EXPECT_EQ(viola->color[2], 255);  // the selection colour is blue 255
    EXPECT_EQ(cello->color[2], 0);
}

TEST(ReSystemLabels, tablatureLabelStandsAtTheMiddleOfTheTablature)
{
    MnScore score;
    MnStaff* staff = score.staff(0);
    auto* tablature = new MnTablature(staff);
    tablature->setName(BcString("Guitar"));
    staff->setTablature(tablature);
    RecordingRenderer renderer;
    ReSystem(&renderer).composePartNames(&score, -1, 0, 1, GePoint2d(0, 0), 0, false);
    const auto* mark = markOf(renderer, tablature);
    ASSERT_NE(mark, nullptr);
    EXPECT_NEAR(mark->args[0] + mark->args[2], -3, 1e-9);
    double middle = tablature->position().y - tablature->height() / 2;
    EXPECT_NEAR(mark->args[1] + mark->args[3] / 2, middle, 0.6);
    ASSERT_NE(textCall(renderer, "Guitar"), nullptr);
}

// Two groups over the same staves (a damaged file can hold them) must not
// nest into each other without end.
TEST(ReSystemLabels, duplicateGroupsDoNotNestForever)
{
    StringTrio trio;
    trio.upper->setStaffCount(3);
    RecordingRenderer renderer;
    ReSystem(&renderer).composePartNames(&trio.score, -1, 0, 3, GePoint2d(0, 0), 0, false);
    EXPECT_EQ(renderer.countOf("pushScale"), 1);
    EXPECT_NE(textCall(renderer, "Cello"), nullptr);
}

TEST(ReSystemLabels, partsExtentsReachTheLeftmostLabel)
{
    StringTrio trio;
    GeVector2d names = trio.score.partsExtents(false);
    GeVector2d abbreviations = trio.score.partsExtents(true);
    EXPECT_LT(names.x, abbreviations.x);
    EXPECT_LT(abbreviations.x, 0.0);
    EXPECT_DOUBLE_EQ(names.y, -trio.score.height());

    // The leftmost label is the inner group's, 1.5 + 5 left of the staves.
    RecordingRenderer renderer;
    ReSystem(&renderer).composePartNames(&trio.score, -1, 0, 3, GePoint2d(0, 0), 0, false);
    double leftmost = 0;
    for (const auto* call : renderer.callsNamed("markRect"))
        if (call->args[2] > 0)
            leftmost = std::min(leftmost, call->args[0]);
    EXPECT_DOUBLE_EQ(names.x, leftmost);

    // Without label texts the brackets, marked leftward, do not count.
    MnScore plain;
    plain.insertStaff(-1);
    plain.addPartGroup(0, 2);
    EXPECT_EQ(plain.partsExtents(false).x, 0.0);
}

// Labels, brackets and two tempo marks, with staff lines, for a person to
// look at.
TEST(ReSystemLabels, writesASamplePicture)
{
    StringTrio trio;
    trio.score.part(2)->setScale(0.75);
    RecordingRenderer renderer;
    renderer.viewWidth = 60;
    ReSystem system(&renderer);
    for (int staff = 0; staff < 3; ++staff) {
        double top = trio.score.staff(staff)->position().y - trio.score.staff(0)->position().y;
        double scale = trio.score.part(staff)->partScale();
        for (int line = 0; line < 5; ++line) {
            double y = top - 2 * line * scale;
            renderer.fillQuad(0, y + 0.1, 0, y - 0.1, 60, y - 0.1, 60, y + 0.1);
        }
    }
    system.composePartNames(&trio.score, 0, 0, 3, GePoint2d(0, 0), 0, false);

    MnTempo allegro(nullptr), plain(nullptr);
    allegro.setTerm(14);
    allegro.setBeatUnit(90720);
    allegro.buildTempoText();
    allegro.moveTo(GePoint2d(5, 8));
    plain.setBeatUnit(30240);
    plain.buildTempoText();
    plain.moveTo(GePoint2d(35, 8));
    system.composeText(&allegro, GePoint2d(0, 0), nullptr);
    system.composeText(&plain, GePoint2d(0, 0), nullptr);

    TestCanvas canvas(1200, 800);
    renderer.paint(canvas, -40, 16, 65, -54);
    ASSERT_TRUE(canvas.writePng(std::string(QRV_TEST_OUTPUT_DIR) + "/labels.png"));
}
