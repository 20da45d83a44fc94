#include "ShellFixture.h"

#include "app/Settings.h"
#include "common/ReadOnlyFolder.h"
#include "foundation/BcClass.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

using SettingsTest = ShellTest;

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

}

TEST_F(SettingsTest, aFreshUserGetsTheDefaults)
{
    Settings settings;
    EXPECT_FALSE(settings.load());
    EXPECT_EQ(settings.language, 0);
    EXPECT_TRUE(settings.useRightButtonToPan);
    EXPECT_EQ(settings.dragThreshold, 10);
    EXPECT_EQ(settings.chordThreshold, 64);
    EXPECT_EQ(settings.backgroundColor, 0xFFFFFF);
    EXPECT_EQ(settings.paperDefaultColor, 0xFFFFFF);
    EXPECT_EQ(settings.selectionColor, 0xFF7F00);
    EXPECT_EQ(settings.selectionVoice2Color, 0x00A000);
    EXPECT_EQ(settings.playingColor, 0x3695F2);
    EXPECT_EQ(settings.antialiasing, 2);
    EXPECT_TRUE(settings.autoSave);
    EXPECT_EQ(settings.autoSaveMinutes, 2);
    EXPECT_TRUE(settings.checkForUpdates);
    // The factory of the class table makes the same defaults.
    BcObject* made = Settings::staticClass()->createObject();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(static_cast<Settings*>(made)->chordThreshold, 64);
    delete made;
}

TEST_F(SettingsTest, storedValuesFollowTheAcceptanceRules)
{
    struct Case
    {
        const char* name;
        const char* stored;
        int Settings::*number;
        bool Settings::*flag;
        int expected;
    } cases[] = {
        {"DragThreshold", "150", &Settings::dragThreshold, nullptr, 10},
        {"DragThreshold", "100", &Settings::dragThreshold, nullptr, 100},
        {"DragThreshold", "-1", &Settings::dragThreshold, nullptr, 10},
        {"ChordThreshold", "201", &Settings::chordThreshold, nullptr, 64},
        {"ChordThreshold", "200", &Settings::chordThreshold, nullptr, 200},
        {"AutoSave", "2", nullptr, &Settings::autoSave, 0},
        {"AutoSave", "1", nullptr, &Settings::autoSave, 1},
        {"CheckForUpdates", "0", nullptr, &Settings::checkForUpdates, 0},
        {"Antialiasing", "7", &Settings::antialiasing, nullptr, 7},
        {"Language", "abc", &Settings::language, nullptr, 0},
        {"Language", "1099511627776", &Settings::language, nullptr, 0},
        {"Language", "3", &Settings::language, nullptr, 3},
        {"PaperDefaultColor", "4278190335", &Settings::paperDefaultColor, nullptr, int(0xFF0000FFu)},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(userFile());
        storeUser("Settings", c.name, c.stored);
        Settings settings;
        settings.load();
        int actual = c.number ? settings.*c.number : int(settings.*c.flag);
        EXPECT_EQ(actual, c.expected) << c.name << " stored as " << c.stored;
    }
    EXPECT_EQ(Settings::samples(7), 8);
    EXPECT_EQ(Settings::samples(0), 2);
    EXPECT_EQ(Settings::samples(1), 4);
}

TEST_F(SettingsTest, aValueNotReadLeavesLoadFalseUnlessAnotherWasRead)
{
    storeUser("Settings", "Language", "abc");
    Settings settings;
    EXPECT_FALSE(settings.load());
    // A refused threshold still counts as read.
    storeUser("Settings", "DragThreshold", "150");
    EXPECT_TRUE(settings.load());
}

TEST_F(SettingsTest, saveWritesAllThirteenAndTheyComeBack)
{
    storeUser("Recent File List", "File1", "/kept.qrv");
    Settings settings;
    settings.language = 2;
    settings.useRightButtonToPan = false;
    settings.dragThreshold = 33;
    settings.chordThreshold = 120;
    settings.backgroundColor = 0x102030;
    settings.paperDefaultColor = int(0x80FFEEDDu);
    settings.selectionColor = 1;
    settings.selectionVoice2Color = 2;
    settings.playingColor = 3;
    settings.antialiasing = 0;
    settings.autoSave = false;
    settings.autoSaveMinutes = 9;
    settings.checkForUpdates = false;
    ASSERT_TRUE(settings.save());

    PlConfigFile file = readUser();
    EXPECT_EQ(file.names("Settings").size(), 13u);
    std::string kept;
    EXPECT_TRUE(file.value("Recent File List", "File1", kept));  // other sections stay

    Settings again;
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.language, 2);
    EXPECT_FALSE(again.useRightButtonToPan);
    EXPECT_EQ(again.dragThreshold, 33);
    EXPECT_EQ(again.chordThreshold, 120);
    EXPECT_EQ(again.backgroundColor, 0x102030);
    EXPECT_EQ(again.paperDefaultColor, int(0x80FFEEDDu));
    EXPECT_EQ(again.selectionColor, 1);
    EXPECT_EQ(again.selectionVoice2Color, 2);
    EXPECT_EQ(again.playingColor, 3);
    EXPECT_EQ(again.antialiasing, 0);
    EXPECT_FALSE(again.autoSave);
    EXPECT_EQ(again.autoSaveMinutes, 9);
    EXPECT_FALSE(again.checkForUpdates);
}

TEST_F(SettingsTest, anUnwritableFolderFailsTheSaveAndKeepsTheFile)
{
    storeUser("Settings", "DragThreshold", "20");
    std::string before = contents(userFile());
    Settings settings;
    settings.dragThreshold = 50;
    ReadOnlyFolder locked(configHome + "/Tolmarin");
    if (!locked.works())
        GTEST_SKIP() << "this file system lets the folder be written";
    EXPECT_FALSE(settings.save());
    EXPECT_EQ(contents(userFile()), before);
}

TEST_F(SettingsTest, theCoreReadsTheInstalledSettings)
{
    Settings settings;
    settings.selectionColor = 0x123456;
    BcSettings::install(&settings);
    EXPECT_EQ(BcSettings::current().value(BcSettings::selectionColor), 0x123456);
    EXPECT_EQ(BcSettings::current().value(BcSettings::playingColor), 0x3695F2);
    BcSettings::install(nullptr);
}

TEST_F(SettingsTest, togglesStartOnTheirDefaultsAndMuteNeedsAPlayer)
{
    ASSERT_TRUE(start());
    EXPECT_TRUE(app().toggles().snapGuideLines);
    EXPECT_FALSE(app().toggles().orthoMode);
    EXPECT_TRUE(app().toggles().playbackTracking);
    app().toggles().orthoMode = true;
    app().toggles().playbackTracking = false;
    player.muted = true;
    stop();
    PlConfigFile file = readUser();
    int value = -1;
    EXPECT_TRUE(file.intValue("Toggles", "OrthoMode", value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(file.intValue("Toggles", "PlaybackTracking", value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(file.intValue("Toggles", "VolumeMute", value));
    EXPECT_EQ(value, 1);

    // Without sound the stored mute is neither applied nor overwritten.
    player.opens = false;
    player.muted = false;
    log.clear();
    ASSERT_TRUE(start());
    EXPECT_EQ(std::count(log.begin(), log.end(), "player.mute"), 0);
    EXPECT_TRUE(app().toggles().orthoMode);
    stop();
    file = readUser();
    EXPECT_TRUE(file.intValue("Toggles", "VolumeMute", value));
    EXPECT_EQ(value, 1);
}
