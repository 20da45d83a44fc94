#include "ShellFixture.h"

#include "app/UiMainFrame.h"
#include "app/UiStringResources.h"

#include <wx/menu.h>

namespace {

using LanguageTest = ShellTest;

std::string utf8(const wchar_t* text)
{
    return text ? wxString(text).utf8_string() : std::string("(null)");
}

}

TEST_F(LanguageTest, theInstalledLanguageComesFromTheMachineElseTheLocale)
{
    struct Case
    {
        const char* name;
        const char* machine;  // null: no machine file
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        int language;
    } cases[] = {
        {"machine value, any case", "FR-fr", nullptr, nullptr, "es_ES.UTF-8", 1},
        {"machine value wins over the locale", "en-US", nullptr, nullptr, "fr_FR.UTF-8", 0},
        {"Catalan machine", "ca-ES", nullptr, nullptr, nullptr, 3},
        {"no machine value: LANG", nullptr, nullptr, nullptr, "fr_FR.UTF-8", 1},
        {"LC_MESSAGES before LANG", nullptr, nullptr, "es_ES.UTF-8", "fr_FR.UTF-8", 2},
        {"LC_ALL before all", nullptr, "ca_ES@valencia", "es_ES", "fr_FR", 3},
        {"a language without its country", nullptr, nullptr, nullptr, "fr", 0},
        {"another country", nullptr, nullptr, nullptr, "fr_CA.UTF-8", 0},
        {"nothing at all", nullptr, nullptr, nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(machineDirs + "/Tolmarin");
        if (c.machine)
            storeMachineLanguage(c.machine);
        ScopedVariable all("LC_ALL", c.lcAll);
        ScopedVariable messages("LC_MESSAGES", c.lcMessages);
        ScopedVariable lang("LANG", c.lang);
        EXPECT_EQ(Quorvane::readInstallLanguage(), c.language) << c.name;
    }
}

TEST_F(LanguageTest, aFrenchMachineWithoutUserValueIsFrench)
{
    storeMachineLanguage("FR-fr");
    ASSERT_TRUE(start());
    EXPECT_EQ(app().interfaceLanguage, 1);
    EXPECT_TRUE(app().strings().catalogLoaded());
    EXPECT_EQ(utf8(app().loadString(158)), "Propriétés");
    wxMenuBar* bar = app().mainFrame()->GetMenuBar();
    EXPECT_EQ(bar->GetMenuLabel(0).utf8_string(), " &Fichier ");
}

TEST_F(LanguageTest, theUsersEnglishWinsOverTheMachine)
{
    storeMachineLanguage("fr-FR");
    storeUser("Settings", "Language", "0");
    ASSERT_TRUE(start());
    EXPECT_EQ(app().interfaceLanguage, 0);
    EXPECT_EQ(utf8(app().loadString(158)), "Properties");
}

TEST_F(LanguageTest, aLanguageWithoutItsCatalogShowsEnglishButKeepsItsNumber)
{
    std::string partialRoot = root + "/locale";
    std::filesystem::create_directories(partialRoot + "/fr/LC_MESSAGES");
    std::filesystem::copy_file(localeRoot + "/fr/LC_MESSAGES/quorvane.mo",
                               partialRoot + "/fr/LC_MESSAGES/quorvane.mo");
    localeRoot = partialRoot;  // French is there, Spanish is not
    storeUser("Settings", "Language", "2");
    ASSERT_TRUE(start());
    EXPECT_EQ(app().interfaceLanguage, 2);
    EXPECT_FALSE(app().strings().catalogLoaded());
    EXPECT_EQ(utf8(app().loadString(158)), "Properties");
    // The About link follows the setting, not the texts.
    EXPECT_EQ(Quorvane::homePage(app().settings.language), "https://quorvane.invalid/es");
}

TEST_F(LanguageTest, theLocaleAloneMakesItFrench)
{
    ScopedVariable lang("LANG", "fr_FR.UTF-8");
    ASSERT_TRUE(start());
    EXPECT_EQ(app().interfaceLanguage, 1);
    EXPECT_EQ(utf8(app().loadString(10085)), "Outil %ls");
}
