#include "render/ReFontMetrics.h"
#include "tests/render/ComposeFixtures.h"
#include "tests/render/ScorePass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// Tablature staves: the clef, the strings and frets chosen for the notes,
// and the string lines broken around the numbers.

struct TabStaff
{
    explicit TabStaff(int strings = 6)
    {
        tablature = new MnTablature(fixture.staff());
        tablature->setStringCount(strings);
        fixture.staff()->setTablature(tablature);
    }
    // The drawn texts of the tablature (font 5) with their string index
    // counted from the first string.
    struct Fret
    {
        std::string text;
        int string;
        double x;
    };
    std::vector<Fret> frets(const RecordingRenderer& renderer, double* top = nullptr) const
    {
        const double tabTop = tablature->position().y;
        if (top)
            *top = tabTop;
        std::vector<Fret> found;
        for (const RecordingRenderer::Call* call : renderer.callsNamed("drawText")) {
            if (call->args[3] != 5 || call->args[2] != 8.0)
                continue;
            double bx = 0, by = 0, w = 0, h = 0;
            measureTextExtent(call->text, 8.0, 5, false, &bx, &by, &w, &h);
            const double centreY = call->args[1] + by + h / 2;
            const int string = int(std::lround((tabTop - centreY) / 3.0));
            found.push_back({call->text.toNarrow(BcString::utf8CodePage), string, call->args[0] + bx});
        }
        std::sort(found.begin(), found.end(), [](const Fret& a, const Fret& b) { return a.string < b.string; });
        return found;
    }
    LoneScore fixture{1, 1};
    MnTablature* tablature;
};

TEST(ReTablature, clefLettersAreSizedByTheStringCount)
{
    struct Row {
        int strings;
        double size;
    };
    for (const Row& row : {Row{6, 14.0}, Row{5, 11.0}, Row{4, 9.0}, Row{3, 5.0}}) {
        TabStaff staff(row.strings);
        OneSystem pass;
        pass.compose(staff.fixture.score, 0, 1);
        std::vector<std::string> letters;
        for (const RecordingRenderer::Call* call : pass.renderer.callsNamed("drawText")) {
            if (call->args[2] == row.size && call->args[3] == 5)
                letters.push_back(call->text.toNarrow(BcString::utf8CodePage));
        }
        EXPECT_EQ(letters, (std::vector<std::string>{"T", "A", "B"})) << row.strings;
    }
}

TEST(ReTablature, anOpenEChordTakesSixStringsWithLinesBrokenAroundTheFrets)
{
    TabStaff staff;
    MnMeasure* measure = staff.fixture.measure(0);
    // E3 B3 E4 G#4 B4 E5.
    measure->setNote(0, 0, 2, 3, MnAccidentalNone, MnTicksPerWhole, false);
    measure->addNote(0, 0, 6, 3, MnAccidentalNone, MnTicksPerWhole, false);
    measure->addNote(0, 0, 2, 4, MnAccidentalNone, MnTicksPerWhole, false);
    measure->addNote(0, 0, 4, 4, MnAccidentalSharp, MnTicksPerWhole, false);
    measure->addNote(0, 0, 6, 4, MnAccidentalNone, MnTicksPerWhole, false);
    measure->addNote(0, 0, 2, 5, MnAccidentalNone, MnTicksPerWhole, false);
    OneSystem pass;
    pass.compose(staff.fixture.score, 0, 1);
    double top = 0;
    const std::vector<TabStaff::Fret> frets = staff.frets(pass.renderer, &top);
    ASSERT_EQ(frets.size(), 6u) << pass.renderer.transcript();
    const char* expected[] = {"0", "0", "1", "2", "2", "0"};  // strings 0 (E5) to 5 (E3)
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(frets[i].string, i);
        EXPECT_EQ(frets[i].text, expected[i]) << "string " << i;
    }
    // Each string's line stops 0.5 before its number and goes on 0.5 after.
    for (const TabStaff::Fret& fret : frets) {
        double bx = 0, by = 0, w = 0, h = 0;
        measureTextExtent(BcString(fret.text.c_str()), 8.0, 5, false, &bx, &by, &w, &h);
        const double y = top - 3.0 * fret.string;
        bool before = false, after = false;
        for (const std::vector<double>& box : quadBoxes(pass.renderer)) {
            if (std::fabs((box[1] + box[3]) / 2 - y) > 1e-9 || box[3] - box[1] > 0.25)
                continue;
            before = before || std::fabs(box[2] - (fret.x - 0.5)) < 1e-9;
            after = after || std::fabs(box[0] - (fret.x + w + 0.5)) < 1e-9;
        }
        EXPECT_TRUE(before) << "string " << fret.string;
        EXPECT_TRUE(after) << "string " << fret.string;
    }
}

TEST(ReTablature, aNoteNoFreeStringCanPlayGetsNoNumber)
{
    TabStaff staff;
    MnMeasure* measure = staff.fixture.measure(0);
    // E3 and F3: only the lowest string reaches either.
    measure->setNote(0, 0, 2, 3, MnAccidentalNone, MnTicksPerWhole, false);
    measure->addNote(0, 0, 3, 3, MnAccidentalNone, MnTicksPerWhole, false);
    OneSystem pass;
    pass.compose(staff.fixture.score, 0, 1);
    const std::vector<TabStaff::Fret> frets = staff.frets(pass.renderer);
    ASSERT_EQ(frets.size(), 1u);
    EXPECT_EQ(frets[0].string, 5);
}
