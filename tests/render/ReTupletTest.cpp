#include "render/ReTuplet.h"
#include "tests/render/ComposeFixtures.h"
#include "tests/render/ScorePass.h"

#include <gtest/gtest.h>

#include <cmath>

// Tuplet numbers and brackets.

// A measure whose first beat is a triplet of eighths at the positions.
static LoneScore* triplet(std::vector<int> positions)
{
    LoneScore* fixture = new LoneScore(1, 1);
    MnMeasure* measure = fixture->measure(0);
    measure->makeTuplet(0, 0, MnTicksQuarter, 3, false);
    for (int i = 0; i < 3; ++i) {
        const int diatonic = positions[i] + 38;
        measure->setNote(0, i * MnTicksQuarter / 3, diatonic % 7, diatonic / 7, MnAccidentalNone, MnTicksEighth,
                         false);
    }
    return fixture;
}

static int bracketQuads(const RecordingRenderer& renderer)
{
    // Everything but the five staff lines, the stems and the beam: the
    // bracket's two hooks and two lines, found by their thickness. A hook
    // runs from half a stroke inside the level to half a stroke beyond the
    // bracket line, 1.5 away: 1.7 long above, 1.3 below.
    int count = 0;
    for (const std::vector<double>& box : quadBoxes(renderer)) {
        const double w = box[2] - box[0], h = box[3] - box[1];
        const bool hook = std::fabs(h - 1.7) < 1e-9 || std::fabs(h - 1.3) < 1e-9;
        if ((std::fabs(w - 0.2) < 1e-9 && hook) ||
            (std::fabs(h - 0.2) < 1e-9 && w < 10.0))
            ++count;
    }
    return count;
}

TEST(ReTuplet, numberAndBracketByBeamsCodeAndHiddenFlag)
{
    struct Row {
        const char* name;
        int bracket;
        bool unbeamedChord;
        bool hidden;
        bool number;
        int bracketParts;
    };
    const Row rows[] = {
        {"beamed, automatic", 0, false, false, true, 0},
        {"one unbeamed chord, automatic", 0, true, false, true, 4},
        {"beamed, always", 2, false, false, true, 4},
        {"never", 1, true, false, true, 0},
        {"hidden", 2, true, true, false, 0},
    };
    for (const Row& row : rows) {
        std::unique_ptr<LoneScore> fixture(triplet({-5, -4, -3}));
        MnMeasure* measure = fixture->measure(0);
        MnTuplet* tuplet = measure->voiceChords(0)[0]->tuplet();
        ASSERT_NE(tuplet, nullptr);
        tuplet->setBracket(row.bracket);
        tuplet->setHidden(row.hidden);
        if (row.unbeamedChord) {
            for (int i = 0; i < 3; ++i)
                measure->voiceChords(0)[i]->setBeamMode(i == 2 ? MnBeamNone : MnBeamAuto);
        }
        OneSystem pass;
        pass.compose(fixture->score, 0, 1);
        EXPECT_EQ(!marksOf(pass.renderer, tuplet).empty(), row.number) << row.name;
        EXPECT_EQ(marksOf(pass.renderer, tuplet, "markSpan").size(), row.bracketParts > 0 ? 1u : 0u) << row.name;
        EXPECT_EQ(bracketQuads(pass.renderer), row.bracketParts) << row.name;
    }
}

TEST(ReTuplet, automaticSideFollowsTheStems)
{
    // Chords handed in directly: their stems and extents decide the side.
    struct Row {
        const char* name;
        int stem;
        double low, high;
        double level;  // of the number's box edge at the level
    };
    const Row rows[] = {
        {"no stems (whole notes) go above", 0, -6, -6, 1.0},
        {"stems down on low notes go below", -1, -16, -9, -17.0},
        {"stems down in the staff: at most -9", -1, -6, -2, -9.0},
        {"stems up: at least 1", 1, -8, -1, 1.0},
        {"stems up over high notes", 1, -2, 6, 7.0},
    };
    for (const Row& row : rows) {
        std::unique_ptr<LoneScore> fixture(triplet({-5, -4, -3}));
        RecordingRenderer renderer;
        ReSystem system(&renderer);
        ReTuplet tuplet(&system);
        MnChord* first = fixture->measure(0)->voiceChords(0)[0];
        tuplet.reset();
        tuplet.begin(first);
        for (int i = 0; i < 3; ++i)
            tuplet.addChord(GePoint2d(0, 0), 5.0 * i, row.stem, row.low, row.high, true);
        std::vector<const RecordingRenderer::Call*> marks = marksOf(renderer, first->tuplet());
        ASSERT_EQ(marks.size(), 1u) << row.name;
        // Above, the box stands on the level; below, it hangs from it.
        const double y = marks[0]->args[1];
        const double h = marks[0]->args[3];
        const double level = row.level >= 1.0 ? y + h : y;
        EXPECT_NEAR(level, row.level, 1e-9) << row.name;
    }
}
