#include "EdTestScores.h"

#include "editing/EdNotePath.h"
#include "model/EdPath.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnSheetMusic.h"
#include "model/MnText.h"
#include "model/MnWork.h"

#include <gtest/gtest.h>

#include <ostream>

static void PrintTo(const EdNotePath& path, std::ostream* os)
{
    *os << "{" << path.scoreIndex << ", " << path.staffIndex << ", " << path.measureIndex << ", "
        << path.voice << ", " << path.chordIndex << ", " << path.noteStep << ", "
        << path.noteOctave << "}";
}

static void PrintTo(const EdPath& path, std::ostream* os)
{
    *os << "{";
    for (int i = 0; i < EdPath::valueCount; ++i)
        *os << (i ? ", " : "") << path.values[i];
    *os << "}";
}

// The works of a document: the work information, a free score of two staves
// and four measures, and a sheet music with its own score.
class EdNotePathWorks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        work = new MnWork;
        score = makeScore(2, 4, 3);
        sheet = new MnSheetMusic;
        works.add(work);
        works.add(score);
        works.add(sheet);
    }
    void TearDown() override
    {
        for (int i = works.count() - 1; i >= 0; --i)
            delete works[i];
    }

    MnChord* chord(int staff, int measure, int voice, int index) const
    {
        return score->staff(staff)->measure(measure)->voiceChords(voice)[index];
    }

    MnWork* work = nullptr;
    MnScore* score = nullptr;
    MnSheetMusic* sheet = nullptr;
    BcArray<MnElement*> works;
};

TEST_F(EdNotePathWorks, PathsOfElementsAndWhatTheyResolveTo)
{
    MnChord* secondVoice = chord(0, 2, 1, 0);
    MnNote* middleNote = chord(1, 3, 0, 2)->note(1);
    MnStaff* sheetStaff = sheet->score()->staff(0);
    struct Row
    {
        const char* name;
        MnElement* element;
        EdNotePath path;
        MnElement* resolvesTo;
    };
    const Row rows[] = {
        {"first chord of voice 2, measure 3, staff 1", secondVoice, EdNotePath(0, 0, 2, 1, 0),
         secondVoice},
        {"a note is named by its pitch", middleNote,
         EdNotePath(0, 1, 3, 0, 2, middleNote->step(), middleNote->octave()), middleNote},
        {"a measure", score->staff(1)->measure(3), EdNotePath(0, 1, 3), score->staff(1)->measure(3)},
        {"a staff", score->staff(1), EdNotePath(0, 1), score->staff(1)},
        {"a free score", score, EdNotePath(0, -1), score},
        {"a sheet music counts as its score", sheet, EdNotePath(1, -1), sheet->score()},
        {"a staff of the sheet's score", sheetStaff, EdNotePath(1, 0), sheetStaff},
        {"the work information is no score", work, EdNotePath(), nullptr},
        {"a part has no note path", score->part(0), EdNotePath(), nullptr},
    };
    for (const Row& row : rows) {
        EdNotePath path(row.element, works);
        EXPECT_EQ(path, row.path) << row.name;
        EXPECT_EQ(path.resolve(works), row.resolvesTo) << row.name;
    }
}

TEST_F(EdNotePathWorks, ResolvingStopsAtTheDeepestLevelThatExists)
{
    MnStaff* staff = score->staff(0);
    MnMeasure* measure = staff->measure(1);
    MnChord* target = measure->voiceChords(0)[2];
    struct Row
    {
        const char* name;
        EdNotePath path;
        MnElement* expected;
    };
    const Row rows[] = {
        {"unset", EdNotePath(), nullptr},
        {"a score index past the scores", EdNotePath(2, 0), nullptr},
        {"a staff index past the staves", EdNotePath(0, 2, 0), score},
        {"a measure index equal to the count", EdNotePath(0, 0, 4, 0, 0), staff},
        {"a voice that does not exist", EdNotePath(0, 0, 1, 2, 0), measure},
        {"a chord index past the voice", EdNotePath(0, 0, 1, 0, 4), measure},
        {"a pitch the chord lacks", EdNotePath(0, 0, 1, 0, 2, 6, 9), target},
        {"a note path without its octave", EdNotePath(0, 0, 1, 0, 2, 0, -1), target},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.path.resolve(works), row.expected) << row.name;
}

TEST_F(EdNotePathWorks, ANotePathSurvivesResortingAndFallsBackToItsChord)
{
    MnChord* target = chord(0, 0, 0, 1);
    MnNote* top = target->note(2);
    EdNotePath path(top, works);
    // A new lowest note shifts the indices; the pitch still finds the note.
    target->addNote(0, 3, 3, false);
    EXPECT_EQ(path.resolve(works), top);
    ASSERT_TRUE(target->removeChild(top));
    EXPECT_EQ(path.resolve(works), target);
}

TEST_F(EdNotePathWorks, AScoreShownByTwoSheetsCountsAtTheFirst)
{
    MnSheetMusic* second = new MnSheetMusic;
    second->setScore(sheet->score());
    works.add(second);
    MnStaff* shared = sheet->score()->staff(0);
    EXPECT_EQ(EdNotePath(shared, works), EdNotePath(1, 0));
    EXPECT_EQ(EdNotePath(2, 0).resolve(works), shared);
    works.removeAt(works.count() - 1);
    delete second;
}

TEST_F(EdNotePathWorks, ElementsOutsideTheWorksHaveNoPath)
{
    MnScore* stray = makeScore(1, 1);
    EXPECT_TRUE(EdNotePath(stray->staff(0)->measure(0), works).isUnset());
    EXPECT_TRUE(EdNotePath(nullptr, works).isUnset());
    delete stray;
}

TEST(EdNotePath, AdjustingForARemoval)
{
    struct Row
    {
        const char* name;
        EdNotePath path;
        EdNotePath removed;
        EdNotePath expected;
    };
    const EdNotePath note(1, 2, 5, 1, 3, 4, 5);
    const Row rows[] = {
        {"later chord of the voice", note, EdNotePath(1, 2, 5, 1, 1), EdNotePath(1, 2, 5, 1, 2, 4, 5)},
        {"the chord itself", note, EdNotePath(1, 2, 5, 1, 3), EdNotePath(1, 2, 5, 1)},
        {"an earlier chord is untouched", note, EdNotePath(1, 2, 5, 1, 4), note},
        {"a chord of the other voice", note, EdNotePath(1, 2, 5, 0, 0), note},
        {"an earlier voice", note, EdNotePath(1, 2, 5, 0), EdNotePath(1, 2, 5, 0, 3, 4, 5)},
        {"the voice itself", note, EdNotePath(1, 2, 5, 1), EdNotePath(1, 2, 5)},
        {"measure 2 before measure 5", note, EdNotePath(1, 2, 1), EdNotePath(1, 2, 4, 1, 3, 4, 5)},
        {"the measure itself", note, EdNotePath(1, 2, 5), EdNotePath(1, 2)},
        {"a measure of another staff", note, EdNotePath(1, 0, 1), note},
        {"a measure after it", note, EdNotePath(1, 2, 7), note},
        {"an earlier staff", note, EdNotePath(1, 0), EdNotePath(1, 1, 5, 1, 3, 4, 5)},
        {"the staff itself", note, EdNotePath(1, 2), EdNotePath(1, -1)},
        {"an earlier score", note, EdNotePath(0, -1), EdNotePath(0, 2, 5, 1, 3, 4, 5)},
        {"the score itself", note, EdNotePath(1, -1), EdNotePath()},
        {"a later score", note, EdNotePath(2, -1), note},
        {"nothing removed", note, EdNotePath(), note},
        {"a measure path and a removed chord", EdNotePath(1, 2, 5), EdNotePath(1, 2, 5, 1, 0),
         EdNotePath(1, 2, 5)},
        {"a score path and a removed staff", EdNotePath(1, -1), EdNotePath(1, 0), EdNotePath(1, -1)},
    };
    for (const Row& row : rows) {
        EdNotePath path = row.path;
        EXPECT_EQ(path.adjustForRemoval(row.removed), row.expected) << row.name;
    }
}

TEST_F(EdNotePathWorks, BrowserPathsOfWorksPartsAndGroups)
{
    MnScore* sheetScore = sheet->score();
    sheetScore->insertStaff(-1);
    sheetScore->insertStaff(-1);
    MnPartGroup* group = sheetScore->addPartGroup(1, 2);
    ASSERT_NE(group, nullptr);
    struct Row
    {
        const char* name;
        const MnElement* element;
        EdPath expected;
    };
    const Row rows[] = {
        {"the free score", score, EdPath(3, 0)},
        {"a part of the free score", score->part(1), EdPath(3, 0, -1, 1, 1)},
        {"the sheet music", sheet, EdPath(3, 1)},
        {"the sheet's score names the sheet", sheetScore, EdPath(3, 1)},
        {"a part of the sheet's score", sheetScore->part(2), EdPath(3, 1, -1, 2, 1)},
        {"a part group", group, EdPath(3, 1, 0, 1, 2)},
        {"the work information", work, EdPath()},
        {"a staff is no browser item", score->staff(0), EdPath()},
        {"no element", nullptr, EdPath()},
    };
    for (const Row& row : rows)
        EXPECT_EQ(EdPath(row.element, works), row.expected) << row.name;

    MnText loose;
    EXPECT_TRUE(EdPath(&loose, works).isUnset());
}
