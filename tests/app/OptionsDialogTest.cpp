#include "ShellFixture.h"

#include "app/Settings.h"
#include "app/UiMemoryControlHost.h"
#include "app/UiOptionsDialog.h"
#include "app/UiWxControlHost.h"

#include <wx/dialog.h>

#include <fstream>
#include <sstream>

namespace {

int pickedColor = 0;
int pickerRuns = 0;
bool pickColor(int& color)
{
    ++pickerRuns;
    color = pickedColor;
    return true;
}

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

class OptionsDialogTest : public ShellTest
{
protected:
    OptionsDialogTest()
    {
        host = std::make_unique<UiMemoryControlHost>(*UiDialogTemplates::find(117));
        previousPicker = UiOptionsDialog::setColorPicker(&pickColor);
        pickerRuns = 0;
    }
    ~OptionsDialogTest() override { UiOptionsDialog::setColorPicker(previousPicker); }

    // A dialog over `settings`, run by the English program installed in
    // Spanish unless told otherwise.
    UiOptionsDialog& open(int running = 0, int installed = 2)
    {
        dialog = std::make_unique<UiOptionsDialog>(*host, settings, running, installed);
        dialog->onEnd([this](bool confirmed) { ended = confirmed ? 1 : 2; });
        dialog->initDialog();
        return *dialog;
    }

    Settings settings;
    std::unique_ptr<UiMemoryControlHost> host;
    std::unique_ptr<UiOptionsDialog> dialog;
    int ended = 0;
    UiOptionsDialog::ColorPicker previousPicker = nullptr;
};

}

TEST_F(OptionsDialogTest, okKeepsEveryValueAndEveryFlagByte)
{
    settings.language = 1;
    settings.useRightButtonToPan = false;
    settings.dragThreshold = 7;
    settings.chordThreshold = 200;
    settings.backgroundColor = int(0x12345678u);
    settings.paperDefaultColor = int(0x80FFEEDDu);
    settings.selectionColor = int(0xFF000001u);
    settings.selectionVoice2Color = 0x01020304;
    settings.playingColor = int(0xA0111111u);
    settings.antialiasing = 0;
    settings.autoSave = false;
    settings.autoSaveMinutes = 10;
    settings.checkForUpdates = false;
    open(1);
    EXPECT_EQ(host->radioIndex(1000), 1);
    EXPECT_EQ(host->radioIndex(1256), 0);
    EXPECT_EQ(host->text(1251), "7");
    EXPECT_EQ(host->color(1268), 0x345678);
    EXPECT_EQ(host->check(1086), 1);
    EXPECT_EQ(host->items(1292), (std::vector<std::string>{"Low", "Medium", "High"}));
    EXPECT_EQ(host->selection(1292), 0);
    EXPECT_FALSE(host->isEnabled(1258));
    EXPECT_FALSE(host->isEnabled(1343));
    Settings before = settings;

    host->click(1);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(settings.backgroundColor, before.backgroundColor);
    EXPECT_EQ(settings.paperDefaultColor, before.paperDefaultColor);
    EXPECT_EQ(settings.selectionColor, before.selectionColor);
    EXPECT_EQ(settings.selectionVoice2Color, before.selectionVoice2Color);
    EXPECT_EQ(settings.playingColor, before.playingColor);
    EXPECT_EQ(settings.dragThreshold, 7);
    EXPECT_FALSE(settings.useRightButtonToPan);
    EXPECT_EQ(settings.autoSaveMinutes, 10);
    Settings stored;
    ASSERT_TRUE(stored.load());
    EXPECT_EQ(stored.paperDefaultColor, before.paperDefaultColor);
    EXPECT_FALSE(stored.checkForUpdates);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(OptionsDialogTest, restoreDefaultsThenOkClearsTheFlagsAndTakesTheInstalledLanguage)
{
    settings.paperDefaultColor = int(0x80FFEEDDu);
    settings.playingColor = int(0xA0111111u);
    settings.dragThreshold = 55;
    open(0, 2);
    host->click(1252);
    EXPECT_EQ(host->radioIndex(1000), 2);
    EXPECT_EQ(host->check(1086), 0);
    host->click(1);
    EXPECT_EQ(ended, 1);
    Settings defaults;
    EXPECT_EQ(settings.paperDefaultColor, defaults.paperDefaultColor);
    EXPECT_EQ(settings.playingColor, defaults.playingColor);
    EXPECT_EQ(settings.dragThreshold, 10);
    EXPECT_EQ(settings.language, 2);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], UiOptionsDialog::languageChangeMessage(2));
}

TEST_F(OptionsDialogTest, outOfRangeValuesKeepTheDialogOpen)
{
    struct Case
    {
        int control;
        const char* text;
    };
    const Case cases[] = {
        {1251, "0"}, {1251, "101"}, {1251, "-5"}, {1253, "201"}, {1253, "ten"}, {1258, "0"}, {1258, "11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.control) + " " + c.text);
        Settings before = settings;
        open();
        boxes.texts.clear();
        ended = 0;
        host->type(c.control, c.text);
        host->click(1);
        EXPECT_EQ(ended, 0);
        EXPECT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(host->focused(), c.control);
        EXPECT_EQ(settings.dragThreshold, before.dragThreshold);
        EXPECT_FALSE(std::filesystem::exists(userFile()));
        // Nor does a swatch open its picker.
        host->click(1268);
        EXPECT_EQ(pickerRuns, 0);
    }
}

TEST_F(OptionsDialogTest, uncheckingAutoSaveGreysTheMinutesAtOnce)
{
    open();
    EXPECT_TRUE(host->isEnabled(1258));
    host->click(1085);
    EXPECT_FALSE(host->isEnabled(1258));
    EXPECT_FALSE(host->isEnabled(1343));
    // The spin steps the minutes within 1..10 once enabled again.
    host->click(1085);
    host->clickUpDown(1343, 1);
    EXPECT_EQ(host->text(1258), "3");
    // A bad number elsewhere leaves the enabling as it was.
    host->type(1251, "x");
    host->click(1085);
    EXPECT_TRUE(host->isEnabled(1258));
    EXPECT_EQ(host->check(1085), 0);
}

TEST_F(OptionsDialogTest, theLanguageMessageOnlyForANewLanguageUnlikeTheRunningOne)
{
    struct Case
    {
        int stored;
        int running;
        int chosen;  // radio index clicked
        const char* message;
    };
    const Case cases[] = {
        {0, 0, 1, "Le changement de la langue sera pris en compte lorsque vous red\xC3\xA9marrez Quorvane"},
        {1, 0, 0, nullptr},  // back to the running language
        {1, 1, 2, "El cambio de idioma se aplicar\xC3\xA1 cuando reinicie Quorvane"},
        {2, 1, 3, "El canvi d'idioma s'aplicar\xC3\xA0 quan reinic\xC3\xAFis Quorvane"},
        {3, 0, 3, nullptr},  // unchanged
        {3, 3, 0, "The language change will take effect when you restart Quorvane"},
    };
    const int radios[] = {1000, 1070, 1254, 1255};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored * 100 + c.running * 10 + c.chosen);
        settings.language = c.stored;
        open(c.running);
        boxes.texts.clear();
        host->click(radios[c.chosen]);
        host->click(1);
        EXPECT_EQ(settings.language, c.chosen);
        if (c.message) {
            ASSERT_EQ(boxes.texts.size(), 1u);
            EXPECT_EQ(boxes.texts[0], c.message);
        } else {
            EXPECT_TRUE(boxes.texts.empty());
        }
    }
}

TEST_F(OptionsDialogTest, cancelAfterAColourPickChangesNothing)
{
    settings.save();
    std::string file = contents(userFile());
    open();
    pickedColor = 0x123456;
    host->click(1127);
    EXPECT_EQ(pickerRuns, 1);
    EXPECT_EQ(host->color(1127), 0x123456);
    EXPECT_EQ(dialog->colors[2], 0x123456);
    host->click(2);
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(settings.selectionColor, Settings().selectionColor);
    EXPECT_EQ(contents(userFile()), file);

    // The same pick then OK keeps the flag byte and stores the colour.
    settings.selectionColor = int(0x7F000000u | 0xFF7F00);
    open();
    host->click(1127);
    host->click(1);
    EXPECT_EQ(unsigned(settings.selectionColor), 0x7F123456u);
}

TEST_F(OptionsDialogTest, theToolkitDialogShowsNoneForAnUnstoredLanguage)
{
    // The toolkit keeps a radio checked; the hidden one stands for none.
    wxDialog window(nullptr, wxID_ANY, "Options");
    UiWxControlHost toolkit(&window, *UiDialogTemplates::find(117));
    settings.language = 9;
    UiOptionsDialog options(toolkit, settings, 0, 9);
    options.initDialog();
    EXPECT_EQ(toolkit.radioIndex(1000), -1);
    EXPECT_EQ(toolkit.radioIndex(1256), 1);
    EXPECT_EQ(toolkit.text(1258), "2");
    EXPECT_EQ(toolkit.selection(1292), 2);
    ASSERT_TRUE(options.exchange(true));
    EXPECT_EQ(options.language, -1);
}
