#include "foundation/BcSettings.h"
#include "foundation/BcStringResources.h"
#include "tests/common/TestPrinters.h"
#include "tests/common/TestServices.h"

#include <gtest/gtest.h>

TEST(BcSettings, withoutAnApplicationTheDefaultsAnswer)
{
    struct Row {
        BcSettings::Key key;
        const char* name;
        int value;
    };
    const Row rows[] = {
        {BcSettings::backgroundColor, "BackgroundColor", 0xFFFFFF},
        {BcSettings::selectionColor, "SelectionColor", 0xFF7F00},
        {BcSettings::selectionVoice2Color, "SelectionVoice2Color", 0x00A000},
        {BcSettings::playingColor, "PlayingColor", 0x3695F2},
        {BcSettings::paperDefaultColor, "PaperDefaultColor", 0xFFFFFF},
        {BcSettings::antialiasing, "Antialiasing", 2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(BcSettings::current().value(row.key), row.value) << row.name;
        EXPECT_STREQ(BcSettings::name(row.key), row.name);
    }
    EXPECT_EQ(BcSettings::defaultValue(BcSettings::keyCount), 0);
    EXPECT_EQ(BcSettings::defaultValue(BcSettings::Key(-1)), 0);
    EXPECT_STREQ(BcSettings::name(BcSettings::keyCount), "");
}

TEST(BcSettings, installedSettingsAnswerUntilTheyDie)
{
    {
        TestSettings settings;
        settings.set(BcSettings::selectionColor, 0x123456);
        EXPECT_EQ(BcSettings::current().value(BcSettings::selectionColor), 0x123456);
        EXPECT_EQ(BcSettings::current().value(BcSettings::playingColor), 0x3695F2);
    }
    EXPECT_EQ(BcSettings::current().value(BcSettings::selectionColor), 0xFF7F00);
}

TEST(BcStringResources, englishDefaultsUntilATableIsInstalled)
{
    EXPECT_EQ(BcStringResources::current().loadString(BcStringResources::untitled), BcString("Untitled"));
    EXPECT_EQ(BcStringResources::current().loadString(BcStringResources::unknown), BcString("Unknown"));
    EXPECT_EQ(BcStringResources::current().loadString(BcStringResources::newText), BcString("New text"));
    EXPECT_TRUE(BcStringResources::current().loadString(1).isEmpty());
    {
        TestStringResources strings;
        strings.set(BcStringResources::newText, "Nouveau texte");
        EXPECT_EQ(BcStringResources::current().loadString(BcStringResources::newText), BcString("Nouveau texte"));
        EXPECT_EQ(BcStringResources::current().loadString(BcStringResources::untitled), BcString("Untitled"));
    }
    EXPECT_EQ(BcStringResources::current().loadString(BcStringResources::newText), BcString("New text"));
}
