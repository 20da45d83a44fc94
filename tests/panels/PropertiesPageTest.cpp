#include "panels/UiAnchorList.h"
#include "panels/UiMeasureDlg.h"
#include "panels/UiNoteDlg.h"
#include "panels/UiPartDlg.h"
#include "panels/UiScoreDlg.h"
#include "panels/UiSheetMusicDlg.h"
#include "panels/UiTablatureDlg.h"
#include "panels/UiTempoDlg.h"
#include "panels/UiTextDlg.h"
#include "tests/panels/PageFixture.h"

#include "foundation/GeMatrix2d.h"

#include <functional>

namespace {

MnChord* chordOf(MnScore* score, int staff, int measure, int index)
{
    return score->staff(staff)->measure(measure)->voiceChords(0)[index];
}

}

TEST(AnchorListTest, controlsMoveAndStretchFromTheirFirstRectangle)
{
    std::map<int, UiAnchorRect> rects = {{10, {10, 20, 110, 40}}, {11, {0, 0, 50, 50}}};
    UiAnchorList anchors([&](int id, UiAnchorRect& rect) {
        auto found = rects.find(id);
        if (found == rects.end())
            return false;
        rect = found->second;
        return true;
    });
    anchors.setInitialSize(200, 100);
    const UiAnchorSpec table[] = {
        {10, UiAnchorSpec::moveX, 50},
        {10, UiAnchorSpec::sizeY, 100},   // combines with the entry above
        {11, UiAnchorSpec::moveX | UiAnchorSpec::sizeX, 150},  // ignored
        {11, UiAnchorSpec::moveY, -5},    // ignored
        {12, UiAnchorSpec::moveX, 10},    // no such control
    };
    EXPECT_TRUE(anchors.addAnchors(table, 5));
    ASSERT_EQ(anchors.count(), 1) << "the out-of-range entries add nothing";
    EXPECT_FALSE(anchors.addControlAnchor(10, 0, 0, 0, 0)) << "anchored already";
    EXPECT_FALSE(anchors.addControlAnchor(12, 0, 0, 0, 0)) << "missing";
    EXPECT_TRUE(anchors.addControlAnchor(11, 0, 25, 100, 0));

    rects[10] = {500, 500, 501, 501};  // where it is now does not matter
    struct Row
    {
        const char* name;
        int control, width, height;
        int x, y, w, h;
    };
    const Row rows[] = {
        {"same size", 10, 200, 100, 10, 20, 100, 20},
        {"wider by 41: moves half, truncated", 10, 241, 100, 30, 20, 100, 20},
        {"taller by 30: stretches fully", 10, 200, 130, 10, 20, 100, 50},
        {"narrower: moves back", 10, 150, 100, -15, 20, 100, 20},
        {"second control, both ways", 11, 260, 140, 0, 10, 110, 50},
    };
    for (const Row& row : rows) {
        UiControlAnchor* anchor = anchors.find(row.control);
        ASSERT_NE(anchor, nullptr) << row.name;
        UiAnchorPlacement p = anchors.place(*anchor, row.width, row.height);
        EXPECT_EQ(p.x, row.x) << row.name;
        EXPECT_EQ(p.y, row.y) << row.name;
        EXPECT_EQ(p.width, row.w) << row.name;
        EXPECT_EQ(p.height, row.h) << row.name;
    }
}

TEST(PropertiesPageLayoutTest, picturesAreCentredUpToOneAndAHalfAndStretchedAbove)
{
    struct Row
    {
        double scale;
        int width, height, x, y, drawnWidth;
        bool stretched;
    };
    // A 40 x 30 control showing a 32 x 20 picture.
    const Row rows[] = {
        {1.0, 40, 30, 4, 5, 32, false},
        {1.25, 50, 37, 9, 8, 32, false},
        {1.5, 60, 45, 14, 12, 32, false},
        {1.52, 60, 45, 0, 0, 60, true},
        {2.0, 80, 60, 0, 0, 80, true},
    };
    for (const Row& row : rows) {
        UiPropertiesDlg::BitmapLayout layout = UiPropertiesDlg::bitmapLayout(40, 30, 32, 20, row.scale);
        EXPECT_EQ(layout.width, row.width) << row.scale;
        EXPECT_EQ(layout.height, row.height) << row.scale;
        EXPECT_EQ(layout.x, row.x) << row.scale;
        EXPECT_EQ(layout.y, row.y) << row.scale;
        EXPECT_EQ(layout.drawnWidth, row.drawnWidth) << row.scale;
        EXPECT_EQ(layout.stretched, row.stretched) << row.scale;
    }
}

TEST_F(PageFixture, theScrollBarComesOnlyWhenThePaneIsShorterAndNeverScrollsPastTheEnds)
{
    FakePageWindow window(*UiDialogTemplates::find(UiNoteDlg::pageTemplateId));
    window.lowest = 400;
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiNoteDlg>(controls, &window);
    page->anchorList().setInitialSize(420, 1024);
    EXPECT_EQ(window.bitmaps.size(), 29u) << "every picture of the page";
    EXPECT_EQ(window.bitmaps[1063], 263);

    page->resized(420, 500);
    EXPECT_FALSE(window.barShown);
    EXPECT_EQ(page->contentHeight(), 408) << "the lowest control plus 8";
    page->wheel(-120);
    EXPECT_EQ(page->scrollPosition(), 0) << "no wheel without a bar";

    page->resized(420, 300);
    ASSERT_TRUE(window.barShown);
    EXPECT_EQ(window.barMaximum, 408);
    EXPECT_EQ(window.barPage, 300);
    struct Step
    {
        UiPropertiesDlg::ScrollRequest request;
        int thumb;
        int position;
    };
    // 108 pixels of room.
    const Step steps[] = {
        {UiPropertiesDlg::lineUp, 0, 0},       {UiPropertiesDlg::lineDown, 0, 6},
        {UiPropertiesDlg::pageDown, 0, 30},    {UiPropertiesDlg::pageUp, 0, 6},
        {UiPropertiesDlg::bottom, 0, 108},     {UiPropertiesDlg::lineDown, 0, 108},
        {UiPropertiesDlg::pageDown, 0, 108},   {UiPropertiesDlg::thumbTrack, 50, 50},
        {UiPropertiesDlg::endScroll, 0, 50},   {UiPropertiesDlg::top, 0, 0},
        {UiPropertiesDlg::thumbPosition, 500, 108},
    };
    for (const Step& step : steps) {
        page->scroll(step.request, step.thumb);
        EXPECT_EQ(page->scrollPosition(), step.position) << int(step.request);
        EXPECT_EQ(window.contentOffset, -step.position) << "the content follows";
    }
    page->scroll(UiPropertiesDlg::top);
    page->wheel(-120);
    EXPECT_EQ(page->scrollPosition(), 24) << "a wheel message is a page";
    page->wheel(120);
    EXPECT_EQ(page->scrollPosition(), 0);

    page->scroll(UiPropertiesDlg::bottom);
    page->resized(420, 600);
    EXPECT_FALSE(window.barShown);
    EXPECT_EQ(page->scrollPosition(), 0);
    EXPECT_EQ(window.contentOffset, 0) << "the content is back at the top";
}

TEST_F(PageFixture, anchoredControlsFollowThePageWidth)
{
    FakePageWindow window(*UiDialogTemplates::find(UiMeasureDlg::pageTemplateId));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiMeasureDlg>(controls, &window);
    EXPECT_EQ(page->anchorList().count(), 59) << "63 entries for 59 controls";
    page->anchorList().setInitialSize(420, 840);
    page->resized(520, 840);
    // The group box widens fully; the last bar-line picture moves 95 %; the
    // repeat-jump box moves 30 % and widens 70 %.
    EXPECT_EQ(window.placed[1083].width, 2 * 202 + 100);
    EXPECT_EQ(window.placed[1077].x, 2 * (6 + 5 * 34) + 95);
    EXPECT_EQ(window.placed[1291].x, 2 * 70 + 30);
    EXPECT_EQ(window.placed[1291].width, 2 * 136 + 70);
}

TEST_F(PageFixture, aChangeIsOneUndoStepForAnyNumberOfElementsAndNoneWithoutElements)
{
    MnScore* score = addScore(makeScore(2, 2));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiNoteDlg>(controls);
    controls->click(1093);
    EXPECT_EQ(steps(), 0) << "no elements, no edit";

    std::vector<MnNote*> notes;
    for (int s = 0; s < 2; ++s)
        for (int c = 0; c < 4; ++c)
            notes.push_back(chordOf(score, s, 1, c)->note(0));
    BcArray<MnElement*> list;
    for (MnNote* note : notes)
        list.add(note);
    ASSERT_TRUE(page->loadElements(list));
    controls->click(1093);  // staccato
    EXPECT_EQ(steps(), 1);
    for (MnNote* note : notes)
        EXPECT_TRUE(note->chord()->hasArticulation(0x02));
    controls->click(1073);  // its picture: off again
    EXPECT_EQ(steps(), 2);
    EXPECT_FALSE(notes[0]->chord()->hasArticulation(0x02));
}

TEST_F(PageFixture, whileAToolRunsAChangeGoesStraightIntoTheModelWithARedraw)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnChord* chord = chordOf(score, 0, 0, 0);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiNoteDlg>(controls);
    ASSERT_TRUE(load(*page, {chord->note(0)}));
    ASSERT_TRUE(context.view.placeElement(nullptr, GeMatrix2d()));
    int redraws = context.view.redraws;
    controls->click(1091);  // fermata
    EXPECT_TRUE(chord->hasArticulation(0x40));
    EXPECT_EQ(context.view.redraws, redraws + 1);
    EXPECT_TRUE(context.view.hasPendingTool()) << "the tool goes on";
    EXPECT_EQ(context.view.toolsDiscarded, 0);
    EXPECT_EQ(steps(), 0) << "the tool's own transaction takes the change";
}

TEST_F(PageFixture, mixedValuesShowAsMixedAndOtherControlsLeaveThem)
{
    MnScore* score = addScore(makeScore(1, 3));
    MnMeasure* a = score->staff(0)->measure(0);
    MnMeasure* b = score->staff(0)->measure(1);
    ASSERT_TRUE(a->setRepeatCount(2) && b->setRepeatCount(3));
    a->setToNextStaff(false);
    ASSERT_TRUE(a->setVoltaText(BcString("a")) && b->setVoltaText(BcString("b")));
    a->setBarline(3);
    b->setBarline(3);
    ASSERT_TRUE(b->setRepeatJump(1));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiMeasureDlg>(controls);
    ASSERT_TRUE(load(*page, {a, b}));
    EXPECT_EQ(controls->text(1387), "*Various*");
    EXPECT_EQ(controls->text(1257), "*Various*");
    EXPECT_EQ(controls->check(1088), 2);
    EXPECT_EQ(controls->radioIndex(1016), -1);

    controls->click(1098);  // closed
    EXPECT_EQ(a->repeatCount(), 2);
    EXPECT_EQ(b->repeatCount(), 3);
    EXPECT_EQ(a->voltaText(true), BcString("a"));
    EXPECT_EQ(b->voltaText(true), BcString("b"));
    EXPECT_EQ(a->repeatJump(), 0);
    EXPECT_EQ(b->repeatJump(), 1);
    EXPECT_FALSE(a->isToNextStaff());
    EXPECT_TRUE(b->isToNextStaff());

    controls->click(1088);  // a mixed join turns on
    EXPECT_TRUE(a->isToNextStaff() && b->isToNextStaff());

    controls->type(1387, "2a5");
    EXPECT_EQ(controls->text(1387), "25") << "only digits stay";
    EXPECT_EQ(a->repeatCount(), 25);
    EXPECT_EQ(b->repeatCount(), 25);

    controls->type(1257, "zz");
    EXPECT_EQ(a->voltaText(true), BcString("zz"));
    EXPECT_EQ(b->voltaText(true), BcString("zz"));
}

TEST_F(PageFixture, numberEditsTakeOnlyTheirDigitsAndSlidersMarkTheirSteps)
{
    struct Limit
    {
        int id, characters;
    };
    struct Slider
    {
        int id, line, page;
        std::vector<int> ticks;
    };
    struct Case
    {
        const char* name;
        std::function<std::unique_ptr<UiPropertiesDlg>(UiMemoryControlHost*&)> make;
        std::vector<Limit> limits;
        std::vector<Slider> sliders;
    };
    const std::vector<int> everyCapoFret = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const Case cases[] = {
        {"score", [&](UiMemoryControlHost*& c) { return makePage<UiScoreDlg>(c); }, {}, {{1329, 1, 10, {100}}}},
        {"sheet music", [&](UiMemoryControlHost*& c) { return makePage<UiSheetMusicDlg>(c); },
         {{1119, 3}, {1087, 3}, {1127, 3}, {1130, 3}, {1134, 3}, {1141, 3}}, {}},
        {"measure", [&](UiMemoryControlHost*& c) { return makePage<UiMeasureDlg>(c); }, {{1387, 2}}, {}},
        {"part", [&](UiMemoryControlHost*& c) { return makePage<UiPartDlg>(c); }, {},
         {{1335, 1, 25, {25, 50, 75}}, {1329, 1, 10, {100}}}},
        {"tablature", [&](UiMemoryControlHost*& c) { return makePage<UiTablatureDlg>(c); }, {{1375, 2}, {1380, 2}},
         {{1379, 1, 1, everyCapoFret}}},
        {"tempo", [&](UiMemoryControlHost*& c) { return makePage<UiTempoDlg>(c); }, {{1167, 3}}, {}},
        {"text", [&](UiMemoryControlHost*& c) { return makePage<UiTextDlg>(c); }, {{1088, 2}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UiMemoryControlHost* controls = nullptr;
        std::unique_ptr<UiPropertiesDlg> page = c.make(controls);
        ASSERT_NE(controls, nullptr);
        for (const Limit& limit : c.limits) {
            EXPECT_EQ(controls->textLimit(limit.id), limit.characters) << limit.id;
            controls->type(limit.id, "1234");
            EXPECT_EQ(controls->text(limit.id), std::string("1234").substr(0, limit.characters)) << limit.id;
        }
        for (const Slider& slider : c.sliders) {
            EXPECT_EQ(controls->lineStep(slider.id), slider.line) << slider.id;
            EXPECT_EQ(controls->pageStep(slider.id), slider.page) << slider.id;
            EXPECT_EQ(controls->ticks(slider.id), slider.ticks) << slider.id;
        }
    }
}
