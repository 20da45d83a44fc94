#include "EdCommandFixture.h"

#include "commands/EdSelectAll.h"
#include "commands/EdSelectCommands.h"
#include "model/MnSheetMusic.h"

#include <functional>
#include <vector>

namespace {

class EdSelectCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        sheet = new MnSheetMusic();
        sheet->setScore(makeScore(2, 2));
        ASSERT_TRUE(document.addWork(sheet));
        free = addScore(makeScore(1, 1));
    }

    // Every element of the two scores, the order a layout draws them in:
    // sheet, score, then per staff the staff, its measures, chords, notes.
    std::vector<MnElement*> drawn()
    {
        std::vector<MnElement*> out{sheet};
        for (MnScore* score : {sheet->score(), free}) {
            out.push_back(score);
            for (int s = 0; s < score->staffCount(); ++s) {
                MnStaff* staff = score->staff(s);
                out.push_back(staff);
                for (int m = 0; m < staff->measureCount(); ++m) {
                    MnMeasure* measure = staff->measure(m);
                    out.push_back(measure);
                    for (int v = 0; v < MnMeasure::voiceCount; ++v) {
                        for (int c = 0; c < measure->voiceChords(v).count(); ++c) {
                            MnChord* chord = measure->voiceChords(v)[c];
                            out.push_back(chord);
                            for (int n = 0; n < chord->noteCount(); ++n)
                                out.push_back(chord->note(n));
                        }
                    }
                }
            }
        }
        return out;
    }

    // The drawn elements that pass the filter, in drawing order.
    std::vector<MnElement*> drawnWhere(const std::function<bool(MnElement*)>& keep)
    {
        std::vector<MnElement*> out;
        for (MnElement* element : drawn()) {
            if (keep(element))
                out.push_back(element);
        }
        return out;
    }

    static bool within(MnElement* element, MnElement* container)
    {
        for (MnElement* up = element; up; up = up->parent()) {
            if (up == container)
                return true;
        }
        return false;
    }

    std::vector<MnElement*> selected()
    {
        std::vector<MnElement*> out;
        for (int i = 0; i < selection().count(); ++i)
            out.push_back(selection().element(i));
        return out;
    }

    MnSheetMusic* sheet = nullptr;
    MnScore* free = nullptr;
};

}

// The picker's marks are fed the drawn elements by hand, so the scope rules
// are seen apart from any layout.
TEST_F(EdSelectCommandsTest, selectedContainersConfineTheNewSelection)
{
    MnMeasure* measure = sheet->score()->staff(1)->measure(0);
    MnStaff* staff = sheet->score()->staff(0);
    MnNote* note = free->staff(0)->measure(0)->voiceChords(0)[0]->note(0);
    auto isNote = [](MnElement* e) { return e->isKindOf(MnNote::staticClass()); };
    auto isMeasure = [](MnElement* e) { return e->isKindOf(MnMeasure::staticClass()); };

    struct Case
    {
        const char* name;
        std::vector<MnElement*> before;
        const BcClass* cls;
        std::vector<MnElement*> expected;
    } cases[] = {
        {"notes of a measure, both voices; the measure goes", {measure}, MnNote::staticClass(),
         drawnWhere([&](MnElement* e) { return isNote(e) && within(e, measure); })},
        {"a note is no container: every note", {note}, MnNote::staticClass(), drawnWhere(isNote)},
        {"everything with a staff: it and what is in it", {staff}, nullptr,
         drawnWhere([&](MnElement* e) { return within(e, staff); })},
        {"measures of a sheet's score", {sheet}, MnMeasure::staticClass(),
         drawnWhere([&](MnElement* e) { return isMeasure(e) && within(e, sheet->score()); })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select({});
        for (MnElement* element : c.before)
            selection().add(element);
        {
            EdSelectAll picker(&selection(), c.cls);
            selection().clear();
            int i = 0;
            for (MnElement* element : drawn()) {
                // Every kind of mark hands its element on.
                if (i % 3 == 0)
                    picker.markRect(GePoint2d(), 1.0, 1.0, element);
                else if (i % 3 == 1)
                    picker.markFrame(GeBox2d(), GeBox2d(), element);
                else
                    picker.markSpan(GePoint2d(), GePoint2d(), element);
                picker.markRect(GePoint2d(), 1.0, 1.0, element);  // twice: still once
                ++i;
            }
            picker.markRect(GePoint2d(), 1.0, 1.0, nullptr);
        }
        EXPECT_EQ(selected(), c.expected);
    }
}

TEST_F(EdSelectCommandsTest, selectSimilarNeedsOneSharedClass)
{
    MnChord* rest = free->staff(0)->measure(0)->voiceChords(0)[1];
    rest->clearNotes();
    MnNote* note = free->staff(0)->measure(0)->voiceChords(0)[0]->note(0);
    select({note, rest});
    EdSelectCommands::cmdSelectSimilar();
    EXPECT_EQ(selected(), (std::vector<MnElement*>{note, rest}));
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdSelectCommandsTest, theSubmenuSelectsItsClass)
{
    EXPECT_EQ(EdSelectCommands::classOfCommand(32975), MnNote::staticClass());
    EXPECT_EQ(EdSelectCommands::classOfCommand(32978), MnSheetMusic::staticClass());
    EXPECT_EQ(EdSelectCommands::classOfCommand(57642), nullptr);
}

// Through the document's layout: what the composers draw is selected.
TEST_F(EdSelectCommandsTest, theCommandsSelectWhatTheLayoutDraws)
{
    {
        EdSelection probe;
        EdSelectAll picker(&probe, nullptr);
        picker.composeDocument(&document);
        if (probe.isEmpty())
            GTEST_SKIP() << "the document composer marks nothing yet";
    }
    MnMeasure* measure = sheet->score()->staff(1)->measure(0);
    select({measure});
    EdSelectCommands::cmdSelectAllOfClass(MnNote::staticClass());
    std::vector<MnElement*> notes = selected();
    EXPECT_FALSE(notes.empty());
    for (MnElement* element : notes)
        EXPECT_TRUE(element->isKindOf(MnNote::staticClass()) && within(element, measure));
    for (int v = 0; v < MnMeasure::voiceCount; ++v)
        EXPECT_TRUE(selection().contains(measure->voiceChords(v)[0]->note(0))) << "voice " << v;

    MnNote* note = free->staff(0)->measure(0)->voiceChords(0)[0]->note(0);
    select({note});
    EdSelectCommands::cmdSelectSimilar();
    EXPECT_TRUE(selection().contains(measure->voiceChords(0)[0]->note(0))) << "every note";

    select({sheet});
    EdSelectCommands::cmdSelectAllOfClass(MnMeasure::staticClass());
    EXPECT_EQ(selection().count(), 4) << "two staves of two measures";

    select({});
    EdSelectCommands::cmdSelectAll();
    EXPECT_TRUE(selection().contains(note));
    EXPECT_EQ(steps(), 0);
}
