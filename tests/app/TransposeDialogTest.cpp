#include "ShellFixture.h"

#include "app/UiMemoryControlHost.h"
#include "app/UiQuorvaneView.h"
#include "app/UiTransposeDialog.h"
#include "commands/EdTransposeCommands.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <cstdlib>

namespace {

class TransposeDialogTest : public ShellTest
{
protected:
    TransposeDialogTest() : host(*UiDialogTemplates::find(UiTransposeDialog::templateId)), dialog(host)
    {
        dialog.onEnd([this](bool confirmed) { ended = confirmed ? 1 : 2; });
        dialog.initDialog();
    }

    int direction() const { return host.radioIndex(UiTransposeDialog::upRadio); }
    // Which of the three value controls show: key list, interval list, semitones.
    std::string shown() const
    {
        std::string which;
        for (int id : {1292, 1293, 1086, 1324})
            which += host.isShown(id) ? "1" : "0";
        return which;
    }

    UiMemoryControlHost host;
    UiTransposeDialog dialog;
    int ended = 0;
};

// Semitones of a written note, middle C 60.
int pitchOf(const MnNote* note)
{
    static const int steps[7] = {0, 2, 4, 5, 7, 9, 11};
    return 12 * (note->octave() + 1) + steps[note->step() % 7] + note->accidental();
}

const MnNote* firstNote(MnScore* score)
{
    for (int s = 0; s < score->staffCount(); ++s)
        for (int m = 0; m < score->staff(s)->measureCount(); ++m) {
            MnMeasure* measure = score->staff(s)->measure(m);
            for (int c = 0; c < measure->chordCount(0, false); ++c) {
                MnChord* chord = measure->chordAt(c, 0, false);
                if (chord && chord->noteCount() > 0)
                    return chord->note(0);
            }
        }
    return nullptr;
}

}

TEST_F(TransposeDialogTest, opensOnTheFirstKeyWithAutoAndBothOptions)
{
    EXPECT_EQ(host.radioIndex(1000), 0);
    ASSERT_EQ(host.itemCount(1292), 15);
    ASSERT_EQ(host.itemCount(1293), 25);
    EXPECT_EQ(host.items(1292)[host.selection(1292)], "Cb Major  |  Ab minor");
    EXPECT_EQ(host.items(1292)[14], "C# Major  |  A# minor");
    EXPECT_EQ(host.items(1293)[24], "Perfect octave");
    EXPECT_EQ(direction(), 2);
    EXPECT_TRUE(host.isShown(1111));
    EXPECT_EQ(host.check(1084), 1);
    EXPECT_EQ(host.check(1085), 1);
    EXPECT_EQ(shown(), "1000");
    // Seven flats to none, then one sharp to seven.
    EXPECT_EQ(UiTransposeDialog::keyPicture(0), 243u);
    EXPECT_EQ(UiTransposeDialog::keyPicture(7), 236u);
    EXPECT_EQ(UiTransposeDialog::keyPicture(8), 250u);
    EXPECT_EQ(UiTransposeDialog::keyPicture(14), 244u);
}

TEST_F(TransposeDialogTest, theModeDecidesWhatShowsAndTheDirectionFollowsTheSign)
{
    host.click(1070);
    EXPECT_FALSE(host.isShown(1111));
    EXPECT_EQ(direction(), 0);
    EXPECT_EQ(shown(), "0100");
    host.click(1000);
    EXPECT_TRUE(host.isShown(1111));
    EXPECT_EQ(direction(), 2);
    EXPECT_EQ(shown(), "1000");

    host.click(1001);
    EXPECT_EQ(shown(), "0011");
    EXPECT_EQ(direction(), 0);
    host.type(1086, "-5");
    EXPECT_EQ(direction(), 1);
    host.click(1113);
    EXPECT_EQ(host.text(1086), "5");
    EXPECT_EQ(direction(), 0);
    host.type(1086, "0");
    host.click(1210);
    EXPECT_EQ(host.text(1086), "0");
    EXPECT_EQ(direction(), 1);
}

TEST_F(TransposeDialogTest, theUpDownStopsAtTwelveWhileTypingReachesThirtyTwo)
{
    host.click(1001);
    struct Case
    {
        const char* typed;
        int delta;
        const char* after;
    } cases[] = {{"11", 1, "12"}, {"12", 1, "12"}, {"-11", -1, "-12"}, {"-12", -1, "-12"}, {"30", -1, "12"}};
    for (const Case& c : cases) {
        host.type(1086, c.typed);
        host.clickUpDown(1324, c.delta);
        EXPECT_EQ(host.text(1086), c.after) << c.typed;
    }
    boxes.texts.clear();
    host.type(1086, "32");
    host.click(1);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(dialog.semitones, 32);
    ended = 0;
    host.type(1086, "33");
    host.click(1);
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(boxes.texts.empty());
    EXPECT_EQ(host.focused(), 1086);
}

TEST_F(TransposeDialogTest, theCommandTransposesWhatTheDialogSays)
{
    std::string sample = root + "/sample.qrv";
    ASSERT_EQ(0, std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample + " > /dev/null").c_str()));
    ASSERT_TRUE(start({sample}));
    pump(5);
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    ASSERT_NE(view, nullptr);
    QuorvaneDocument* document = view->core()->document();
    MnScore* score = nullptr;
    for (int i = 0; i < document->works().count() && !score; ++i)
        if (auto* sheet = dynamic_cast<MnSheetMusic*>(document->works()[i]))
            score = sheet->score();
    ASSERT_NE(score, nullptr);
    const MnNote* note = firstNote(score);
    ASSERT_NE(note, nullptr);
    const int before = pitchOf(note);

    // Cancel changes nothing; two semitones down lowers every note by two.
    UiTransposeDialog::setDriver([](UiTransposeDialog&, UiControlHost& host) {
        static_cast<UiMemoryControlHost&>(host).click(2);
    });
    EdTransposeCommands::cmdTransposeKeyInterval();
    EXPECT_EQ(pitchOf(firstNote(score)), before);
    UiTransposeDialog::setDriver([](UiTransposeDialog&, UiControlHost& host) {
        auto& memory = static_cast<UiMemoryControlHost&>(host);
        memory.click(1001);
        memory.type(1086, "-2");
        memory.click(1);
    });
    EdTransposeCommands::cmdTransposeKeyInterval();
    UiTransposeDialog::setDriver(nullptr);
    EXPECT_EQ(pitchOf(firstNote(score)), before - 2);
    stop();
}
