#include "EdCommandFixture.h"

#include "commands/UiSelectWindowCmd.h"
#include "tests/render/ComposeFixtures.h"

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

using Point = UiCommand::Point;
constexpr unsigned left = UiCommand::leftButtonFlag;

bool same(const GePoint2d& a, const GePoint2d& b)
{
    return a.x == b.x && a.y == b.y;
}

// A free score of four measures with notes, a dynamic and a lyric in its
// second measure, and a sheet music far to the right. The fake view maps
// the client pixels that a test names to drawing points; every other
// pixel is its own drawing point.
class UiSelectWindowCmdTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        score = new MnScore;
        while (score->staff(0)->measureCount() < 4)
            score->insertMeasure(-1);
        score->moveTo(GePoint2d(0.0, 0.0));
        MnStaff* staff = score->staff(0);
        for (int m = 0; m < 4; ++m)
            for (int i = 0; i < 4; ++i)
                staff->measure(m)->setNote(0, i * MnTicksQuarter, 2 + i, 4, MnAccidentalNone, MnTicksQuarter, false);
        const int second = MnTicksPerWhole;
        forte = new MnDynamic(staff);
        forte->setKind(MnDynamicF);
        ASSERT_TRUE(staff->insertLine(forte, second + MnTicksQuarter));
        forte->setOffset(-14.0);
        lyric = staff->addLyric(second, 0);
        ASSERT_NE(lyric, nullptr);
        ASSERT_TRUE(lyric->setText(BcString("la")));
        addScore(score);
        sheet = new MnSheetMusic;
        sheet->moveTo(GePoint2d(2000.0, 0.0));
        ASSERT_TRUE(document.addWork(sheet));
        restartHistory();
        recordMarks();
        context.view.modelAt = [this](int x, int y) {
            auto found = named.find({x, y});
            return found == named.end() ? GePoint2d(x, y) : found->second;
        };
    }

    // The marks of a frame of the whole document, in drawing units.
    void recordMarks()
    {
        marks.clear();
        RecordingRenderer recorder;
        recorder.render(&document, 1000.0, -100.0, 20000.0, 1000.0, 1000.0, 0, 0);
        for (const RecordingRenderer::Call& made : recorder.calls) {
            const RecordingRenderer::Call* call = &made;
            const std::vector<double>& a = call->args;
            Mark mark{call->element, {}, {}, false};
            if (!call->element)
                continue;
            if (call->name == "markRect")
                mark.outer = GeBox2d(GePoint2d(a[0], a[1]), GePoint2d(a[0] + a[2], a[1] + a[3]));
            else if (call->name == "markSpan")
                mark.outer = GeBox2d(GePoint2d(a[0], a[1]), GePoint2d(a[2], a[3]));
            else if (call->name == "markFrame") {
                mark.outer = GeBox2d(GePoint2d(a[0], a[1]), GePoint2d(a[2], a[3]));
                mark.inner = GeBox2d(GePoint2d(a[4], a[5]), GePoint2d(a[6], a[7]));
                mark.frame = true;
            } else
                continue;
            mark.outer = GeBox2d(call->transform.transform(mark.outer.a), call->transform.transform(mark.outer.b));
            mark.inner = GeBox2d(call->transform.transform(mark.inner.a), call->transform.transform(mark.inner.b));
            marks.push_back(mark);
        }
    }

    // The drawn extent of an element over all its marks, in drawing units.
    GeBox2d extent(const MnElement* element) const
    {
        GeBox2d box;
        bool any = false;
        for (const Mark& mark : marks) {
            if (mark.element != element)
                continue;
            for (const GePoint2d& p : {mark.outer.a, mark.outer.b}) {
                if (!any)
                    box = GeBox2d(p, p);
                box.extend(p);
                any = true;
            }
        }
        EXPECT_TRUE(any) << "no mark";
        return box;
    }

    // What a band over these drawing points must add: every element with a
    // region the band touches; leftward only notes and chords; a frame
    // not when the band lies inside its inner box.
    std::set<MnElement*> touchedBy(const GeBox2d& band, bool rightward) const
    {
        std::set<MnElement*> out;
        for (const Mark& mark : marks) {
            const bool music =
                mark.element->isKindOf(MnNote::staticClass()) || mark.element->isKindOf(MnChord::staticClass());
            if (!rightward && !music)
                continue;
            if (mark.frame && (!rightward || (mark.inner.contains(band.a) && mark.inner.contains(band.b))))
                continue;
            if (band.intersects(mark.outer))
                out.insert(mark.element);
        }
        return out;
    }

    std::set<MnElement*> selectedSet() const
    {
        std::set<MnElement*> out;
        for (int i = 0; i < context.view.viewSelection.count(); ++i)
            out.insert(context.view.viewSelection.element(i));
        return out;
    }

    UiSelectWindowCmd* tool() { return static_cast<UiSelectWindowCmd*>(context.view.pendingInterface); }

    // Presses at pixel (0, 0) standing for from, then moves to pixels that
    // stand for each of the points in turn, the button held.
    void drag(const GePoint2d& from, std::initializer_list<GePoint2d> through, unsigned flags = 0)
    {
        named.clear();
        named[{0, 0}] = from;
        ASSERT_TRUE(UiSelectWindowCmd::start(context.view, Point{0, 0}));
        int x = 100;
        for (const GePoint2d& p : through) {
            named[{x, 0}] = p;
            ASSERT_TRUE(tool()->onMouseMove(left | flags, Point{x, 0}));
            x += 100;
        }
    }

    void release()
    {
        ASSERT_NE(tool(), nullptr);
        tool()->onLButtonUp(0, Point{0, 0});
    }

    struct Mark
    {
        MnElement* element;
        GeBox2d outer;
        GeBox2d inner;
        bool frame;
    };

    MnScore* score = nullptr;
    MnDynamic* forte = nullptr;
    MnLyric* lyric = nullptr;
    MnSheetMusic* sheet = nullptr;
    std::vector<Mark> marks;
    std::map<std::pair<int, int>, GePoint2d> named;
};

TEST_F(UiSelectWindowCmdTest, theBandWaitsForMoreThanFivePixels)
{
    MnElement* kept = score->staff(0)->measure(3)->voiceChords(0)[0]->note(0);
    struct Row {
        Point to;
        bool shift;  // the selection from before stays
        bool window;
    } rows[] = {
        {{5, 5}, false, false}, {{-5, -5}, true, false}, {{6, 0}, false, true}, {{0, -6}, true, true},
    };
    for (const Row& row : rows) {
        select({});
        if (row.shift)
            select({kept});
        const int observed = context.view.redraws;
        ASSERT_TRUE(UiSelectWindowCmd::start(context.view, Point{300, 300}));
        EXPECT_STREQ(tool()->name(), "Select");
        EXPECT_TRUE(tool()->onMouseMove(left | (row.shift ? UiCommand::shiftFlag : 0u),
                                        Point{300 + row.to.x, 300 + row.to.y}));
        EXPECT_EQ(tool()->isWindowMode(), row.window) << row.to.x << "," << row.to.y;
        EXPECT_STREQ(tool()->name(), row.window ? "SelectWindow" : "Select");
        if (!row.window) {
            EXPECT_EQ(context.view.redraws, observed);
            EXPECT_EQ(selectedSet(), row.shift ? std::set<MnElement*>{kept} : std::set<MnElement*>{});
        }
        release();
        EXPECT_EQ(context.view.pendingTool, nullptr);
        EXPECT_EQ(steps(), 0);
        EXPECT_TRUE(same(context.view.dragFrom, context.view.dragTo));
    }
}

TEST_F(UiSelectWindowCmdTest, rightwardTakesEveryKindLeftwardOnlyNotesAndChords)
{
    // Over the second measure's music, its dynamic and its lyric.
    GeBox2d music = extent(forte);
    for (const MnElement* element : {static_cast<const MnElement*>(lyric),
                                     static_cast<const MnElement*>(score->staff(0)->measure(1)->voiceChords(0)[1]->note(0))}) {
        const GeBox2d box = extent(element);
        music.extend(box.a);
        music.extend(box.b);
    }
    const GePoint2d topLeft(std::min(music.a.x, music.b.x), std::max(music.a.y, music.b.y));
    const GePoint2d bottomRight(std::max(music.a.x, music.b.x), std::min(music.a.y, music.b.y));
    const GeBox2d band(topLeft, bottomRight);

    select({});
    drag(topLeft, {bottomRight});
    std::set<MnElement*> rightward = selectedSet();
    EXPECT_EQ(rightward, touchedBy(band, true));
    for (MnElement* wanted : {static_cast<MnElement*>(forte), static_cast<MnElement*>(lyric),
                              static_cast<MnElement*>(score->staff(0)->measure(1)->voiceChords(0)[1]->note(0))})
        EXPECT_EQ(rightward.count(wanted), 1u);
    EXPECT_TRUE(same(context.view.dragFrom, topLeft));
    EXPECT_NEAR(context.view.dragTo.x, bottomRight.x, 1e-9);
    EXPECT_NEAR(context.view.dragTo.y, bottomRight.y, 1e-9);
    release();
    EXPECT_EQ(selectedSet(), rightward);

    select({});
    drag(bottomRight, {topLeft});
    std::set<MnElement*> leftward = selectedSet();
    EXPECT_EQ(leftward, touchedBy(band, false));
    EXPECT_EQ(leftward.count(forte), 0u);
    EXPECT_EQ(leftward.count(lyric), 0u);
    EXPECT_FALSE(leftward.empty());
    for (MnElement* element : leftward)
        EXPECT_TRUE(element->isKindOf(MnNote::staticClass()) || element->isKindOf(MnChord::staticClass()));
    release();
}

TEST_F(UiSelectWindowCmdTest, aBorderThatTouchesCounts)
{
    // The score stands at scale 1: its marks are in drawing units as they are.
    MnNote* note = score->staff(0)->measure(2)->voiceChords(0)[2]->note(0);
    const GeBox2d head = extent(note);
    const double edge = std::min(head.a.x, head.b.x);
    const double y = (head.a.y + head.b.y) / 2;
    struct Row {
        double right;
        bool taken;
    } rows[] = {{edge, true}, {std::nextafter(edge, -1e9), false}};
    for (const Row& row : rows) {
        select({});
        // Close enough to the edge that the band's corner lands on it exactly.
        drag(GePoint2d(edge - 0.75 * std::fabs(edge) / 2, y), {GePoint2d(row.right, y - 0.5)});
        EXPECT_EQ(selectedSet().count(note), row.taken ? 1u : 0u) << row.right;
        release();
    }
}

TEST_F(UiSelectWindowCmdTest, aBandInsideThePageTakesNoSheetOneIntoTheMarginDoes)
{
    const Mark* page = nullptr;
    for (const Mark& mark : marks)
        if (mark.frame && mark.element == sheet)
            page = &mark;
    ASSERT_NE(page, nullptr);
    const GeBox2d& inner = page->inner;
    const double x1 = std::min(inner.a.x, inner.b.x), x2 = std::max(inner.a.x, inner.b.x);
    const double top = std::max(inner.a.y, inner.b.y);
    struct Row {
        GePoint2d from, to;
        bool sheet;
    } rows[] = {
        {{x1 + 1, top - 1}, {x2 - 1, top - 20}, false},
        {{x1 + 1, top - 1}, {x2 + 2, top - 20}, true},
        {{x1 + 1, top + 2}, {x1 + 30, top - 20}, true},
        {{x2 + 2, top - 1}, {x1 + 1, top - 20}, false},  // leftward: notes and chords only
    };
    for (const Row& row : rows) {
        select({});
        drag(row.from, {row.to});
        EXPECT_EQ(selectedSet().count(sheet), row.sheet ? 1u : 0u) << row.from.x << " to " << row.to.x;
        release();
    }
}

TEST_F(UiSelectWindowCmdTest, shrinkingKeepsWhatWasSelectedBeforeAndTurningBackTakesOnlyMusic)
{
    MnNote* before = score->staff(0)->measure(3)->voiceChords(0)[3]->note(0);
    const GeBox2d second = extent(score->staff(0)->measure(1));
    const GePoint2d start(std::min(second.a.x, second.b.x) - 1, 30.0);
    const GePoint2d wide(std::max(second.a.x, second.b.x), -40.0);
    const GePoint2d narrow(start.x + 0.5, 29.0);
    const GePoint2d back(start.x - 200.0, -40.0);

    select({before});
    drag(start, {wide}, UiCommand::shiftFlag);
    std::set<MnElement*> expected = touchedBy(GeBox2d(start, wide), true);
    expected.insert(before);
    EXPECT_EQ(selectedSet(), expected);
    EXPECT_EQ(selectedSet().count(score->staff(0)->measure(1)), 1u);

    named[{200, 0}] = narrow;
    ASSERT_TRUE(tool()->onMouseMove(left, Point{200, 0}));
    expected = touchedBy(GeBox2d(start, narrow), true);
    expected.insert(before);
    EXPECT_EQ(selectedSet(), expected);

    named[{300, 0}] = back;
    ASSERT_TRUE(tool()->onMouseMove(left, Point{300, 0}));
    EXPECT_FALSE(tool()->isRightward());
    expected = touchedBy(GeBox2d(start, back), false);
    expected.insert(before);
    EXPECT_EQ(selectedSet(), expected);
    EXPECT_EQ(selectedSet().count(score->staff(0)->measure(1)), 0u);
    release();
}

TEST_F(UiSelectWindowCmdTest, theBandEndsOnReleaseOrAMoveWithoutTheButtonAndLeavesNoUndoStep)
{
    EdFakeObserver observer;
    context.view.viewSelection.addObserver(&observer);
    const BcArray<unsigned char> saved = bytes();
    const GeBox2d second = extent(score->staff(0)->measure(1));
    for (bool byMove : {false, true}) {
        select({});
        observer.calls = 0;
        drag(second.a, {second.b});
        EXPECT_FALSE(selectedSet().empty());
        if (byMove)
            EXPECT_TRUE(tool()->onMouseMove(0, Point{5, 5}));
        else
            release();
        EXPECT_EQ(context.view.pendingTool, nullptr);
        EXPECT_EQ(observer.calls, 1);
        EXPECT_FALSE(selectedSet().empty());
        EXPECT_TRUE(same(context.view.dragFrom, context.view.dragTo));
        EXPECT_EQ(steps(), 0);
        EXPECT_TRUE(sameBytes(bytes(), saved));
    }

    // Cancelled by another tool: the selection keeps what the last move made.
    select({});
    drag(second.a, {second.b});
    const std::set<MnElement*> made = selectedSet();
    ASSERT_TRUE(context.view.discardPendingTool());
    EXPECT_EQ(selectedSet(), made);
    EXPECT_TRUE(same(context.view.dragFrom, context.view.dragTo));
}

TEST_F(UiSelectWindowCmdTest, bandsAnywhereOnAManyPageSheetTakeWhatTheirMarksTouch)
{
    // The sheet filled with pages of music, a lyric and a dynamic: bands
    // on a later page, across two systems, over the gap between pages and
    // just outside a page's edge, where only its frame reaches, take what
    // the marks of the whole document say they touch.
    MnScore* music = sheet->score();
    while (music->staffCount() < 3)
        music->insertStaff(-1);
    while (music->staff(0)->measureCount() < 60)
        music->insertMeasure(-1);
    for (int s = 0; s < music->staffCount(); ++s)
        for (int m = 0; m < 60; ++m)
            for (int i = 0; i < 4; ++i)
                music->staff(s)->measure(m)->setNote(0, i * MnTicksQuarter, (m + i + s) % 7, 4, MnAccidentalNone,
                                                     MnTicksQuarter, false);
    MnLyric* words = music->staff(0)->addLyric(0, 0);
    ASSERT_NE(words, nullptr);
    std::string text;
    for (int i = 0; i < 240; ++i)
        text += i % 3 == 2 ? "la " : "la-";
    ASSERT_TRUE(words->setText(BcString(text.c_str())));
    MnDynamic* piano = new MnDynamic(music->staff(2));
    piano->setKind(MnDynamicP);
    ASSERT_TRUE(music->staff(2)->insertLine(piano, 30 * MnTicksPerWhole));
    sheet->setPresentation(MnSheetMusic::PagesInRows);
    recordMarks();

    std::vector<GeBox2d> pages;
    for (const Mark& mark : marks)
        if (mark.frame && mark.element == sheet)
            pages.push_back(mark.outer);
    ASSERT_GE(pages.size(), 3u);
    auto lowX = [](const GeBox2d& b) { return std::min(b.a.x, b.b.x); };
    auto highX = [](const GeBox2d& b) { return std::max(b.a.x, b.b.x); };
    auto highY = [](const GeBox2d& b) { return std::max(b.a.y, b.b.y); };
    auto lowY = [](const GeBox2d& b) { return std::min(b.a.y, b.b.y); };
    const GeBox2d third = pages[2];
    const GeBox2d dynamic = extent(piano);
    struct Row {
        const char* what;
        GePoint2d from, to;
    } rows[] = {
        {"the top of a later page", {lowX(third) + 20, highY(third) - 20}, {highX(third) - 20, highY(third) - 90}},
        {"down a later page", {lowX(third) + 60, highY(third) - 10}, {lowX(third) + 70, lowY(third) + 10}},
        {"the dynamic", {lowX(dynamic) - 1, highY(dynamic) + 1}, {highX(dynamic) + 1, lowY(dynamic) - 1}},
        {"the first page's right edge and the next page",
         {highX(pages[0]) - 15, highY(pages[0]) - 40},
         {highX(pages[0]) + 15, highY(pages[0]) - 80}},
        {"just off the first page, where only its frame reaches",
         {lowX(pages[0]) + 0.5, highY(pages[0]) - 40},
         {lowX(pages[0]) + 1, highY(pages[0]) - 50}},
        {"the first page leftward", {highX(pages[0]) - 20, highY(pages[0]) - 20}, {lowX(pages[0]) + 20, lowY(pages[0]) + 20}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        select({});
        drag(row.from, {row.to});
        const std::set<MnElement*> expected = touchedBy(GeBox2d(row.from, row.to), row.to.x > row.from.x);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(selectedSet(), expected);
        release();
    }
}

TEST_F(UiSelectWindowCmdTest, aPanMovesThePressPointWithTheDrawing)
{
    select({});
    ASSERT_TRUE(UiSelectWindowCmd::start(context.view, Point{0, 0}));
    tool()->onPan(20, 0);
    // Within five pixels of the panned press.
    EXPECT_TRUE(tool()->onMouseMove(left, Point{24, 3}));
    EXPECT_FALSE(tool()->isWindowMode());
    EXPECT_TRUE(tool()->onMouseMove(left, Point{26, 3}));
    EXPECT_TRUE(tool()->isWindowMode());
    release();
}

}  // namespace
