#include "platform/PlConfigFile.h"

#include "common/ReadOnlyFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class PlConfigFileTest : public ::testing::Test
{
protected:
    PlConfigFileTest()
    {
        char pattern[] = "/tmp/qrv-config-XXXXXX";
        folder = ::mkdtemp(pattern);
    }
    ~PlConfigFileTest() override { std::filesystem::remove_all(folder); }

    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(folder + "/" + name, std::ios::binary) << text;
    }
    std::string read(const std::string& name)
    {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    std::string folder;
};

}

TEST_F(PlConfigFileTest, readsSectionsValuesAndTopLevelKeys)
{
    write("a.conf", "Language = fr-FR\n# a comment\n[Settings]\nDragThreshold=12\n\n[Recent File List]\n"
                    "File1=/home/a b/c.qrv\n[Settings]\nChordThreshold=70\nno equals sign\n");
    PlConfigFile file;
    ASSERT_TRUE(file.load(folder + "/a.conf"));
    std::string text;
    ASSERT_TRUE(file.value("", "Language", text));
    EXPECT_EQ(text, "fr-FR");
    ASSERT_TRUE(file.value("Recent File List", "File1", text));
    EXPECT_EQ(text, "/home/a b/c.qrv");
    int number = 0;
    EXPECT_TRUE(file.intValue("Settings", "DragThreshold", number));
    EXPECT_EQ(number, 12);
    // A section named twice is one section.
    EXPECT_TRUE(file.intValue("Settings", "ChordThreshold", number));
    EXPECT_EQ(number, 70);
    EXPECT_FALSE(file.value("Settings", "missing", text));
    EXPECT_FALSE(file.value("Other", "DragThreshold", text));
}

TEST_F(PlConfigFileTest, savesWhatItLoadsAndKeepsLineBreaksInValues)
{
    PlConfigFile file;
    file.setValue("", "Language", "ca-ES");
    file.setIntValue("Settings", "BackgroundColor", 0xFFFFFF);
    file.setValue("Recent File List", "File1", "/odd\nname\\with breaks.qrv");
    ASSERT_TRUE(file.save(folder + "/sub/dir/b.conf"));
    PlConfigFile again;
    ASSERT_TRUE(again.load(folder + "/sub/dir/b.conf"));
    std::string text;
    ASSERT_TRUE(again.value("Recent File List", "File1", text));
    EXPECT_EQ(text, "/odd\nname\\with breaks.qrv");
    ASSERT_TRUE(again.value("", "Language", text));
    EXPECT_EQ(text, "ca-ES");
    ASSERT_TRUE(again.save(folder + "/c.conf"));
    EXPECT_EQ(read("sub/dir/b.conf"), read("c.conf"));
}

TEST_F(PlConfigFileTest, numbersMustBeDecimalAndFit32Bits)
{
    struct Case
    {
        const char* text;
        bool read;
        int value;
    } cases[] = {
        {"0", true, 0},
        {"150", true, 150},
        {"-1", true, -1},
        {"+7", true, 7},
        {" 42 ", true, 42},
        {"16777215", true, 0xFFFFFF},
        {"4294967295", true, -1},  // the colour 0xFFFFFFFF
        {"-2147483648", true, -2147483647 - 1},
        {"4294967296", false, 0},
        {"1099511627776", false, 0},  // 2^40
        {"-2147483649", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"0x10", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"1.5", false, 0},
    };
    for (const Case& c : cases) {
        int out = 12345;
        EXPECT_EQ(PlConfigFile::parseInt32(c.text, out), c.read) << '"' << c.text << '"';
        EXPECT_EQ(out, c.read ? c.value : 12345) << '"' << c.text << '"';
    }
}

TEST_F(PlConfigFileTest, aFailedSaveLeavesTheOldFileAsItWas)
{
    write("d.conf", "[Settings]\nDragThreshold=5\n");
    std::string before = read("d.conf");
    PlConfigFile file;
    ASSERT_TRUE(file.load(folder + "/d.conf"));
    file.setIntValue("Settings", "DragThreshold", 99);
    ReadOnlyFolder locked(folder);
    if (!locked.works())
        GTEST_SKIP() << "this file system lets the folder be written";
    EXPECT_FALSE(file.save(folder + "/d.conf"));
    EXPECT_EQ(read("d.conf"), before);
}

TEST_F(PlConfigFileTest, aFileThatCannotBeReadLeavesTheContent)
{
    PlConfigFile file;
    file.setValue("Settings", "AutoSave", "1");
    EXPECT_FALSE(file.load(folder + "/missing.conf"));
    EXPECT_FALSE(file.load(folder));  // a folder is no settings file
    std::string text;
    EXPECT_TRUE(file.value("Settings", "AutoSave", text));
}

TEST_F(PlConfigFileTest, sectionsAndValuesCanBeRemoved)
{
    PlConfigFile file;
    file.setValue("Workspace", "BasePane-32806", "x");
    file.setValue("Workspace", "Docks", "y");
    file.setValue("Toggles", "OrthoMode", "1");
    file.removeValue("Workspace", "Docks");
    EXPECT_EQ(file.names("Workspace"), std::vector<std::string>{"BasePane-32806"});
    file.removeSection("Workspace");
    EXPECT_FALSE(file.hasSection("Workspace"));
    EXPECT_TRUE(file.hasSection("Toggles"));
}
