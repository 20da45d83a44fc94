#include "ShellFixture.h"

#include "app/UiFretboardTuningDialog.h"
#include "app/UiMemoryControlHost.h"

#include <memory>

namespace {

using T = UiTuningControls;

// The dialog on memory controls over a tuning of its own; OK applies into
// `applied`.
class FretboardTuningDialogTest : public ::testing::Test
{
protected:
    void open(const FretboardTuning& start)
    {
        host = std::make_unique<UiMemoryControlHost>(*UiDialogTemplates::find(UiFretboardTuningDialog::templateId));
        dialog = std::make_unique<UiFretboardTuningDialog>(*host, [this](const FretboardTuning& tuning) {
            applied = tuning;
            ++applies;
        });
        dialog->onEnd([this](bool confirmed) { ended = confirmed ? 1 : 2; });
        dialog->initDialog(start);
    }
    int selectedPreset() const { return host->selection(T::presetList); }
    int presetItems() const { return host->itemCount(T::presetList); }

    FakeMessageBoxes boxes;
    std::unique_ptr<UiMemoryControlHost> host;
    std::unique_ptr<UiFretboardTuningDialog> dialog;
    FretboardTuning applied;
    int applies = 0;
    int ended = 0;  // 1 OK, 2 Cancel
};

}

TEST_F(FretboardTuningDialogTest, opensOnTheBassGuitar)
{
    open(FretboardTuning::preset(1));
    EXPECT_EQ(selectedPreset(), 1);
    EXPECT_EQ(presetItems(), 5) << "no Custom while a preset is shown";
    EXPECT_EQ(host->items(T::presetList)[1], "Bass guitar");
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(host->isShown(T::letterIds[s]), s < 4) << s;
        EXPECT_EQ(host->isShown(T::octaveIds[s]), s < 4) << s;
        EXPECT_EQ(host->isEnabled(T::labelIds[s]), s < 4) << s;
    }
    EXPECT_EQ(host->selection(T::letterIds[0]), 6);  // G
    EXPECT_EQ(host->selection(T::octaveIds[0]), 3);
    EXPECT_EQ(host->text(T::fretsEdit), "20");
    EXPECT_TRUE(host->isEnabled(T::plusButton));
    EXPECT_TRUE(host->isEnabled(T::minusButton));
    EXPECT_EQ(host->items(T::letterIds[0]).size(), 21u);
    EXPECT_EQ(host->items(T::letterIds[0])[20], "G #");
}

TEST_F(FretboardTuningDialogTest, customComesAndGoesWithTheStrings)
{
    open(FretboardTuning::preset(0));
    host->choose(T::letterIds[0], 5);  // F
    EXPECT_EQ(presetItems(), 6);
    EXPECT_EQ(selectedPreset(), 5);
    EXPECT_EQ(host->items(T::presetList)[5], "Custom");
    host->choose(T::letterIds[0], 4);  // back to E
    EXPECT_EQ(presetItems(), 5);
    EXPECT_EQ(selectedPreset(), 0);

    host->choose(T::presetList, 3);
    const FretboardTuning& mandolin = dialog->controls().tuning;
    EXPECT_EQ(mandolin.strings, 4);
    const int letters[4] = {4, 0, 3, 6}, octaves[4] = {6, 5, 5, 4};  // E6 A5 D5 G4
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(host->selection(T::letterIds[s]), letters[s]) << s;
        EXPECT_EQ(host->selection(T::octaveIds[s]), octaves[s]) << s;
    }
    EXPECT_EQ(host->text(T::fretsEdit), "22");
    EXPECT_FALSE(host->isShown(T::letterIds[4]));

    // Strings: 3 to 8.
    for (int i = 0; i < 6; ++i)
        host->click(T::plusButton);
    EXPECT_EQ(dialog->controls().tuning.strings, 8);
    EXPECT_FALSE(host->isEnabled(T::plusButton));
    EXPECT_TRUE(host->isShown(T::letterIds[7]));
    for (int i = 0; i < 7; ++i)
        host->click(T::minusButton);
    EXPECT_EQ(dialog->controls().tuning.strings, 3);
    EXPECT_FALSE(host->isEnabled(T::minusButton));
    EXPECT_TRUE(host->isEnabled(T::plusButton));
}

TEST_F(FretboardTuningDialogTest, fretsAreDigitsAndAtLeastOne)
{
    open(FretboardTuning::preset(0));
    host->type(T::fretsEdit, "1a9");
    EXPECT_EQ(host->text(T::fretsEdit), "19");
    EXPECT_EQ(dialog->controls().tuning.frets, 19);
    host->type(T::fretsEdit, "12");
    host->click(1);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(applied.frets, 12);
    EXPECT_EQ(applied.strings, 6);

    for (const char* refused : {"0", ""}) {
        open(FretboardTuning::preset(0));
        applies = 0;
        ended = 0;
        boxes.texts.clear();
        host->type(T::fretsEdit, refused);
        EXPECT_TRUE(boxes.texts.empty()) << "typing is not refused yet: '" << refused << "'";
        host->click(1);
        EXPECT_EQ(boxes.texts.size(), 1u) << "'" << refused << "'";
        EXPECT_EQ(applies, 0) << "nothing applied";
        EXPECT_EQ(ended, 0) << "the dialog stays open";
    }
}

TEST_F(FretboardTuningDialogTest, cancelAppliesNothing)
{
    open(FretboardTuning::preset(2));
    host->choose(T::presetList, 4);
    host->click(T::plusButton);
    host->type(T::fretsEdit, "30");
    host->click(2);
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(applies, 0);
}
