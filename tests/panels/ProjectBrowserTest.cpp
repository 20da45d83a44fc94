#include "BrowserFakeTree.h"

#include "common/EdFakeContext.h"
#include "editing/EdCommand.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnPart.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTablature.h"
#include "panels/UiBrowserModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int quarter = 60480;

std::string narrow(const BcString& text)
{
    return text.toNarrow(BcString::utf8CodePage);
}

// A document of two works: a sheet music whose score has a bracketed group
// over a violin and a cello (the cello with music in both voices) and a
// guitar staff with a tablature; then the free score "Etude", the main
// score, of one staff.
class ProjectBrowserTest : public ::testing::Test
{
protected:
    ProjectBrowserTest()
    {
        EXPECT_TRUE(document.OnNewDocument());
        context.activate(&document);

        sheet = new MnSheetMusic();
        MnScore* score = new MnScore();
        score->insertStaff(-1);
        score->insertStaff(-1);
        score->insertMeasure(-1);
        sheet->setScore(score);
        EXPECT_TRUE(document.addWork(sheet));
        group = score->addPartGroup(0, 2);
        group->setBracketType(1);
        score->part(0)->setName("Violin");
        score->part(0)->setInstrument(6);
        score->part(1)->setName("Cello");
        score->part(1)->setInstrument(7);
        score->part(2)->setInstrument(3);
        cello = score->staff(1);
        for (int m = 0; m < cello->measureCount(); ++m) {
            EXPECT_TRUE(cello->measure(m)->addNote(0, 0, 0, 4, 0, quarter, false));
            EXPECT_TRUE(cello->measure(m)->addNote(1, quarter, 2, 3, 0, quarter, false));
        }
        guitar = score->staff(2);
        guitar->setTablature(new MnTablature(guitar));

        etude = new MnScore();
        etude->setName("Etude");
        EXPECT_TRUE(document.addWork(etude));
        EXPECT_TRUE(document.setMainScoreIndex(2));
        document.clearUndo();
        EXPECT_TRUE(document.pushUndoSnapshot());
    }

    BrowserFakeTree::Node* item(const std::string& text) { return tree.find(text); }
    MnElement* elementOf(const std::string& text)
    {
        BrowserFakeTree::Node* node = tree.find(text);
        return node ? model.element(node->data) : nullptr;
    }

    EdFakeContext context;
    QuorvaneDocument document;
    MnSheetMusic* sheet = nullptr;
    MnPartGroup* group = nullptr;
    MnStaff* cello = nullptr;
    MnStaff* guitar = nullptr;
    MnScore* etude = nullptr;
    UiBrowserModel model;
    BrowserFakeTree tree;
};

}  // namespace

TEST_F(ProjectBrowserTest, theTreeShowsWorksGroupsPartsVoicesAndTablatures)
{
    EXPECT_TRUE(model.refresh(&document, tree));
    EXPECT_EQ(tree.dump(), "Sheet music [0]\n"
                           "  Part Group [3]\n"
                           "    Violin [10]\n"
                           "    Cello [11]\n"
                           "      Voice 1 [17]\n"
                           "      Voice 2 [17]\n"
                           "  Staff [7]\n"
                           "    Tablature [16]\n"
                           "Etude [1] *\n"
                           "  Staff [1]\n");
    // The voices stand for the first chords of the staff's first measure.
    EXPECT_EQ(elementOf("Voice 1"), cello->measure(0)->voiceChords(0)[0]);
    EXPECT_EQ(elementOf("Voice 2"), cello->measure(0)->voiceChords(1)[0]);
    EXPECT_EQ(elementOf("Sheet music"), sheet);
    EXPECT_EQ(elementOf("Tablature"), guitar->tablature());
    // Every part with items under it is unfolded; the childless ones are
    // left alone.
    EXPECT_EQ(item("Cello")->expanded, 1);
    EXPECT_EQ(item("Violin")->expanded, -1);
    EXPECT_FALSE(model.needsRebuild(&document));
}

TEST_F(ProjectBrowserTest, aNewDocumentShowsNothingAndAFreeScoreOneItem)
{
    QuorvaneDocument empty;
    ASSERT_TRUE(empty.OnNewDocument());
    context.activate(&empty);
    model.refresh(&empty, tree);
    EXPECT_EQ(tree.dump(), "");
    EXPECT_TRUE(empty.addWork(new MnScore()));
    EXPECT_TRUE(model.needsRebuild(&empty));
    model.refresh(&empty, tree);
    EXPECT_EQ(tree.dump().substr(0, 9), "Score [1]");
    EXPECT_NE(tree.dump().find("\n  Staff [1]\n"), std::string::npos);
    // No document: the tree empties, once.
    EXPECT_TRUE(model.refresh(nullptr, tree));
    EXPECT_EQ(tree.dump(), "");
    EXPECT_FALSE(model.refresh(nullptr, tree));
}

TEST_F(ProjectBrowserTest, textEditsRefreshTextsAndStructureChangesRebuild)
{
    model.refresh(&document, tree);
    const int rebuilds = tree.rebuilds;
    {
        EdCommand edit;
        etude->part(0)->setName("Flute");
        etude->part(0)->setInstrument(9);
        edit.markModified();
    }
    EXPECT_FALSE(model.refresh(&document, tree));
    EXPECT_EQ(tree.rebuilds, rebuilds);
    EXPECT_EQ(item("Flute")->image, 13);
    // Unchanged texts are not set again.
    const int texts = tree.textsSet;
    EXPECT_FALSE(model.refresh(&document, tree));
    EXPECT_EQ(tree.textsSet, texts);

    // Undo replaces every element: a rebuild, with the old name.
    ASSERT_TRUE(document.stepUndo());
    EXPECT_TRUE(model.refresh(&document, tree));
    EXPECT_NE(tree.dump().find("Etude [1] *\n  Staff [1]\n"), std::string::npos);

    // A new staff, a new main score and a voice that starts being used all
    // change the structure.
    MnScore* free = static_cast<MnScore*>(document.works()[2]);
    free->insertStaff(-1);
    EXPECT_TRUE(model.refresh(&document, tree));
    ASSERT_TRUE(document.setMainScoreIndex(1));
    EXPECT_TRUE(model.refresh(&document, tree));
    EXPECT_TRUE(item("Sheet music")->bold);
    EXPECT_TRUE(free->staff(1)->measure(0)->addNote(1, 0, 0, 4, 0, quarter, false));
    EXPECT_TRUE(model.refresh(&document, tree));
    EXPECT_NE(tree.dump().find("Etude [1]\n  Staff [1]\n  Staff [1]\n    Voice 1 [17]\n    Voice 2 [17]\n"),
              std::string::npos);
}

// A dying element leaves a null entry: its items keep their place and are
// skipped, their children still refreshed, until the structure is rebuilt.
TEST_F(ProjectBrowserTest, itemsOfDeadElementsStayUntilTheRebuild)
{
    model.refresh(&document, tree);
    const int index = item("Voice 2")->data;
    MnMeasure* first = cello->measure(0);
    BcArray<MnChord*>& second = first->voiceChords(1);
    BcArray<MnChord*> dying = second;
    second.removeAll();
    for (int i = 0; i < dying.count(); ++i)
        delete dying[i];
    first->fillGapsWithRests(1, 1, 1);
    EXPECT_EQ(model.element(index), nullptr);
    group->setName("Strings");
    model.refreshTexts(tree);
    EXPECT_NE(item("Strings"), nullptr);
    EXPECT_NE(item("Voice 2"), nullptr);
    EXPECT_TRUE(model.needsRebuild(&document));
}

TEST_F(ProjectBrowserTest, foldingIsKeptInTheDocumentWithoutAnEdit)
{
    model.refresh(&document, tree);
    const int steps = document.snapshotCount();
    model.itemExpanded(&document, item("Part Group")->data, false);
    EXPECT_TRUE(document.isCollapsed(group));
    EXPECT_EQ(document.snapshotCount(), steps);
    EXPECT_FALSE(document.IsModified());

    BcArray<unsigned char> bytes;
    ASSERT_TRUE(document.saveScoreBytes(bytes));
    QuorvaneDocument reopened;
    ASSERT_TRUE(reopened.OnNewDocument());
    ASSERT_TRUE(reopened.loadScoreBytes(bytes.data(), bytes.count(), true));
    context.activate(&reopened);
    UiBrowserModel other;
    BrowserFakeTree shown;
    other.refresh(&reopened, shown);
    EXPECT_EQ(shown.find("Part Group")->expanded, 0);
    EXPECT_EQ(shown.find("Sheet music")->expanded, 1);
    other.itemExpanded(&reopened, shown.find("Part Group")->data, true);
    EXPECT_FALSE(reopened.isCollapsed(static_cast<MnSheetMusic*>(reopened.works()[1])->score()->partGroup(0)));
}

TEST_F(ProjectBrowserTest, selectingAnItemSelectsWhatItStandsFor)
{
    model.refresh(&document, tree);
    MnScore* score = sheet->score();
    ASSERT_TRUE(guitar->insertStaffChange(guitar->measureStartTime(1)));
    ASSERT_EQ(guitar->changeCount(), 1);
    MnMeasure* m0 = cello->measure(0);
    MnMeasure* m1 = cello->measure(1);
    struct Case
    {
        const char* item;
        std::vector<MnElement*> expected;
        MnStaff* cursorStaff;
        int cursorVoice;
    };
    // The notes of the second voice one by one, its rests as chords.
    std::vector<MnElement*> voice2;
    for (MnMeasure* m : {m0, m1})
        for (int c = 0; c < m->voiceChords(1).count(); ++c) {
            MnChord* chord = m->voiceChords(1)[c];
            voice2.push_back(chord->isRest() ? static_cast<MnElement*>(chord) : chord->note(0));
        }
    context.noteInput().inputVoice = 1;
    const Case cases[] = {
        {"Voice 2", voice2, cello, 1},
        {"Staff", {score->part(2), guitar, guitar->change(0), guitar->tablature()}, guitar, 1},
        {"Part Group", {group, score->staff(0), cello}, score->staff(0), 1},
        {"Tablature", {guitar->tablature()}, nullptr, 0},
        {"Sheet music", {sheet, score}, nullptr, 0},
        {"Etude", {etude}, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        context.view.viewCursor.setAtStaffStart(etude->staff(0), 0);
        ASSERT_TRUE(UiBrowserModel::selectElement(elementOf(c.item), context.view, 1));
        const EdSelection& selection = context.view.selection();
        std::vector<MnElement*> got;
        for (int i = 0; i < selection.count(); ++i)
            got.push_back(selection.element(i));
        EXPECT_EQ(got, c.expected);
        if (c.cursorStaff) {
            EXPECT_EQ(context.view.viewCursor.staff(), c.cursorStaff);
            EXPECT_EQ(context.view.viewCursor.voice(), c.cursorVoice);
        }
    }
    // A group takes its last staff's tablature only when it covers it.
    cello->setTablature(new MnTablature(cello));
    UiBrowserModel::selectElement(group, context.view, 0);
    EXPECT_TRUE(context.view.selection().contains(cello->tablature()));
    group->setCoversTablature(false);
    UiBrowserModel::selectElement(group, context.view, 0);
    EXPECT_FALSE(context.view.selection().contains(cello->tablature()));
    EXPECT_TRUE(context.view.selection().contains(cello));
    EXPECT_FALSE(UiBrowserModel::selectElement(nullptr, context.view, 0));
    EXPECT_TRUE(context.view.selection().contains(group));
}

TEST_F(ProjectBrowserTest, renamingFollowsTheElementsKind)
{
    model.refresh(&document, tree);
    // A sheet music names its score.
    EXPECT_TRUE(UiBrowserModel::rename(sheet, "Suite"));
    EXPECT_EQ(narrow(sheet->score()->name()), "Suite");
    EXPECT_FALSE(UiBrowserModel::rename(sheet, "Suite"));

    // A part's text wins over its name; empty, the name shows, then "Staff".
    MnPart* violin = sheet->score()->part(0);
    EXPECT_TRUE(UiBrowserModel::rename(violin, "Violin I"));
    EXPECT_EQ(narrow(UiBrowserModel::itemText(violin)), "Violin I");
    EXPECT_TRUE(UiBrowserModel::rename(violin, ""));
    EXPECT_EQ(narrow(UiBrowserModel::itemText(violin)), "Violin");
    violin->setName("");
    EXPECT_EQ(narrow(UiBrowserModel::itemText(violin)), "Staff");

    // Naming voice 2 of a part without names makes two, the first empty.
    MnElement* voice2 = elementOf("Voice 2");
    MnPart* part = sheet->score()->part(1);
    ASSERT_EQ(part->voiceNameCount(), 0);
    EXPECT_TRUE(UiBrowserModel::rename(voice2, "Bass line"));
    EXPECT_EQ(part->voiceNameCount(), 2);
    EXPECT_EQ(narrow(part->voiceName(0)), "");
    EXPECT_EQ(narrow(UiBrowserModel::itemText(voice2)), "Bass line");
    EXPECT_TRUE(UiBrowserModel::rename(voice2, ""));
    EXPECT_EQ(narrow(UiBrowserModel::itemText(voice2)), "Voice 2");

    EXPECT_TRUE(UiBrowserModel::rename(guitar->tablature(), "Tab"));
    EXPECT_EQ(narrow(UiBrowserModel::itemText(guitar->tablature())), "Tab");
    EXPECT_FALSE(UiBrowserModel::rename(nullptr, "x"));
    EXPECT_FALSE(UiBrowserModel::rename(cello->measure(0), "x"));
}

TEST_F(ProjectBrowserTest, deletingTheFirstVoiceMovesTheSecondIntoItsPlace)
{
    model.refresh(&document, tree);
    std::vector<int> keysOfVoice2;
    for (int m = 0; m < cello->measureCount(); ++m)
        keysOfVoice2.push_back(cello->measure(m)->voiceChords(1)[1]->note(0)->keyNumber());
    ASSERT_TRUE(UiBrowserModel::deleteVoice(static_cast<MnChord*>(elementOf("Voice 1"))));
    for (int m = 0; m < cello->measureCount(); ++m) {
        SCOPED_TRACE(m);
        MnMeasure* measure = cello->measure(m);
        const BcArray<MnChord*>& first = measure->voiceChords(0);
        ASSERT_EQ(first.count(), 3);  // rest, the note, the rest of the measure
        EXPECT_TRUE(first[0]->isRest());
        EXPECT_EQ(first[1]->note(0)->keyNumber(), keysOfVoice2[size_t(m)]);
        EXPECT_EQ(first[1]->voice(), 0);
        const BcArray<MnChord*>& second = measure->voiceChords(1);
        for (int c = 0; c < second.count(); ++c)
            EXPECT_TRUE(second[c]->isRest());
    }
    EXPECT_EQ(cello->voiceCount(), 1);
    EXPECT_TRUE(model.needsRebuild(&document));
}

TEST_F(ProjectBrowserTest, deletingTheSecondVoiceLeavesRests)
{
    model.refresh(&document, tree);
    MnChord* firstNote = cello->measure(0)->voiceChords(0)[0];
    ASSERT_TRUE(UiBrowserModel::deleteVoice(static_cast<MnChord*>(elementOf("Voice 2"))));
    EXPECT_EQ(cello->measure(0)->voiceChords(0)[0], firstNote);
    EXPECT_EQ(cello->voiceCount(), 1);
    EXPECT_FALSE(UiBrowserModel::deleteVoice(nullptr));
}

TEST_F(ProjectBrowserTest, theBoxOfAnItem)
{
    GePoint2d a;
    GePoint2d b;
    // Anything inside a sheet music frames the sheet music.
    for (MnElement* element : {static_cast<MnElement*>(sheet), static_cast<MnElement*>(guitar->tablature()),
                               static_cast<MnElement*>(group)}) {
        ASSERT_TRUE(UiBrowserModel::itemBox(element, a, b));
        EXPECT_EQ(a.x, sheet->position().x);
        EXPECT_EQ(a.y, sheet->position().y);
        EXPECT_EQ(b.x, sheet->position().x + sheet->width());
        EXPECT_EQ(b.y, sheet->position().y - sheet->height());
    }
    // A free score's staff, from its top line to its bottom line, then to
    // the bottom of its tablature, scaled about the score's position.
    MnStaff* staff = etude->staff(0);
    ASSERT_TRUE(UiBrowserModel::itemBox(etude->part(0), a, b));
    EXPECT_DOUBLE_EQ(a.y, staff->position().y);
    EXPECT_DOUBLE_EQ(b.y, staff->position().y - 8.0);
    EXPECT_DOUBLE_EQ(b.x, staff->position().x + staff->width());
    EXPECT_LE(a.x, staff->position().x);
    staff->setTablature(new MnTablature(staff));
    MnTablature* tablature = staff->tablature();
    ASSERT_TRUE(UiBrowserModel::itemBox(etude->part(0), a, b));
    EXPECT_DOUBLE_EQ(b.y, staff->position().y + tablature->position().y - tablature->height());
    GePoint2d ta;
    GePoint2d tb;
    ASSERT_TRUE(UiBrowserModel::itemBox(tablature, ta, tb));
    EXPECT_DOUBLE_EQ(ta.y, staff->position().y + tablature->position().y);
    EXPECT_DOUBLE_EQ(tb.y, b.y);
    ASSERT_TRUE(etude->setScale(2.0));
    GePoint2d sa;
    GePoint2d sb;
    ASSERT_TRUE(UiBrowserModel::itemBox(etude->part(0), sa, sb));
    const GePoint2d origin = etude->position();
    EXPECT_DOUBLE_EQ(sb.y - origin.y, 2 * (b.y - origin.y));
    EXPECT_FALSE(UiBrowserModel::itemBox(staff->measure(0), a, b));
}
