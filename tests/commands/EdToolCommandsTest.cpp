#include "EdCommandFixture.h"

#include "commands/EdToolCommands.h"
#include "editing/EdUndoRedo.h"
#include "model/MnSheetMusic.h"

#include <vector>

namespace {

// A score (the main score) and a sheet music with its own score.
class EdToolCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        score = makeScore(1, 3);
        ASSERT_TRUE(document.addWork(score));
        sheet = new MnSheetMusic();
        sheet->setScore(makeScore(2, 3));
        ASSERT_TRUE(document.addWork(sheet));
        restartHistory();
    }

    MnScore* score = nullptr;
    MnSheetMusic* sheet = nullptr;
};

}

TEST_F(EdToolCommandsTest, windowsShowTheScoreAtTheCursorOrTheMainScore)
{
    MnChord* at = sheet->score()->staff(1)->measure(2)->voiceChords(0)[1];
    ASSERT_TRUE(context.view.cursor().setAtChord(at, 0, false));
    const int time = sheet->score()->staff(1)->measureStartTime(2) + at->time();
    EdToolCommands::cmdParallaxScore();
    EXPECT_EQ(context.parallaxScore, sheet->score());
    EXPECT_EQ(context.parallaxStart, time);
    EXPECT_EQ(context.parallaxCursor, time);

    context.view.cursor().staffSelection().clear();
    EdToolCommands::cmdParallaxScore();
    EdToolCommands::cmdManuscriptPaper();
    EXPECT_EQ(context.parallaxScore, score);
    EXPECT_EQ(context.parallaxStart, 0);
    EXPECT_EQ(context.manuscriptScores, std::vector<MnScore*>{score});
    EXPECT_TRUE(context.hints.empty());

    context.meshBuilds = true;
    EdToolCommands::cmd3dPrinting();
    EXPECT_TRUE(context.hints.empty());

    ASSERT_TRUE(document.setMainScoreIndex(-1));
    context.meshBuilds = false;
    EdToolCommands::cmdParallaxScore();
    EdToolCommands::cmd3dPrinting();
    EdToolCommands::cmdManuscriptPaper();
    EXPECT_EQ(context.hints, (std::vector<unsigned>{32957, 32959, 33027}));
    EXPECT_EQ(context.parallaxRuns, 2);
    EXPECT_EQ(context.printingRuns, 2);
    EXPECT_EQ(context.manuscriptScores.size(), 1u);
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdToolCommandsTest, setAsMainScoreTakesASelectedWork)
{
    ASSERT_EQ(document.mainScoreIndex(), 1);
    struct Case
    {
        const char* name;
        std::vector<MnElement*> selected;
        int main;
        int steps;
        std::vector<unsigned> hints;
    } cases[] = {
        {"the score inside the sheet: nothing, no hint", {sheet->score()}, 1, 0, {}},
        {"notes only: the hint", {score->staff(0)->measure(0)->voiceChords(0)[0]->note(0)}, 1, 0, {32881}},
        {"the main score again: nothing", {score}, 1, 0, {}},
        {"the first work decides", {score->staff(0), sheet, score}, 2, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restartHistory();
        context.hints.clear();
        selection().clear();
        for (MnElement* element : c.selected)
            selection().add(element);
        EdToolCommands::cmdSetAsMainScore();
        EXPECT_EQ(document.mainScoreIndex(), c.main);
        EXPECT_EQ(steps(), c.steps);
        EXPECT_EQ(context.hints, c.hints);
    }
    EdUndoRedo::undo();
    EXPECT_EQ(document.mainScoreIndex(), 1);
}
