#include "ShellFixture.h"

#include "app/UiStringResources.h"
#include "app/UiTexts.h"
#include "foundation/BcStringResources.h"

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

using StringsTest = ShellTest;

std::string utf8(const wchar_t* text)
{
    return text ? wxString(text).utf8_string() : std::string("(null)");
}

// The entries of a .po file: context -> (msgid, msgstr), escapes undone.
struct PoEntry
{
    std::string id;
    std::string text;
};

std::string unquote(const std::string& line)
{
    std::string out;
    size_t start = line.find('"');
    size_t end = line.rfind('"');
    for (size_t i = start + 1; i < end; ++i) {
        if (line[i] == '\\' && i + 1 < end) {
            char next = line[++i];
            out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            out += line[i];
        }
    }
    return out;
}

std::map<std::string, PoEntry> readPo(const std::string& path)
{
    std::ifstream in(path);
    std::map<std::string, PoEntry> entries;
    std::string line, context, *field = nullptr;
    PoEntry current;
    auto finish = [&] {
        if (!context.empty())
            entries[context] = current;
        context.clear();
        current = PoEntry();
        field = nullptr;
    };
    while (std::getline(in, line)) {
        if (line.rfind("msgctxt ", 0) == 0) {
            finish();
            context = unquote(line);
        } else if (line.rfind("msgid ", 0) == 0) {
            field = &current.id;
            *field = unquote(line);
        } else if (line.rfind("msgstr ", 0) == 0) {
            field = &current.text;
            *field = unquote(line);
        } else if (!line.empty() && line[0] == '"' && field) {
            *field += unquote(line);
        }
    }
    finish();
    return entries;
}

// What a translation must keep of its English text: the placeholders, the
// word the program replaces, the line feeds and a mnemonic.
std::multiset<std::string> placeholders(const std::string& text)
{
    std::multiset<std::string> found;
    static const std::regex pattern("%ls|%d|%u|%s|%[0-9]|%%|Year|\n|\t");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    if (text.find('&') != std::string::npos)
        found.insert("&");
    return found;
}

std::map<std::string, std::string> englishTexts()
{
    std::map<std::string, std::string> all;
    int count = 0;
    const BcStringResources::Entry* table = BcStringResources::englishTable(count);
    for (int i = 0; i < count; ++i)
        all[std::to_string(table[i].id)] = table[i].text;
    UiTexts::forEachText(
        [](const char* context, const char* text, void* data) {
            (*static_cast<std::map<std::string, std::string>*>(data))[context] = text;
        },
        &all);
    return all;
}

}

TEST_F(StringsTest, eachTranslationHasExactlyTheEnglishIdsAndPlaceholders)
{
    std::map<std::string, std::string> english = englishTexts();
    for (const char* language : {"fr", "es", "ca"}) {
        std::map<std::string, PoEntry> po = readPo(std::string(QRV_SOURCE_DIR) + "/resources/locale/" + language + ".po");
        std::set<std::string> poContexts, englishContexts;
        for (const auto& entry : po)
            poContexts.insert(entry.first);
        for (const auto& entry : english)
            englishContexts.insert(entry.first);
        EXPECT_EQ(poContexts, englishContexts) << language;
        for (const auto& [context, entry] : po) {
            auto it = english.find(context);
            if (it == english.end())
                continue;
            EXPECT_EQ(entry.id, it->second) << language << " " << context;
            EXPECT_FALSE(entry.text.empty()) << language << " " << context;
            EXPECT_EQ(placeholders(entry.text), placeholders(it->second)) << language << " " << context;
        }
    }
}

TEST_F(StringsTest, theEnglishTableIsInIdOrderWithNoIdTwice)
{
    int count = 0;
    const BcStringResources::Entry* table = BcStringResources::englishTable(count);
    for (int i = 1; i < count; ++i)
        EXPECT_LT(table[i - 1].id, table[i].id);
    EXPECT_STREQ(BcStringResources::english(10085), "%ls tool");
    EXPECT_EQ(BcStringResources::english(1), nullptr);
}

TEST_F(StringsTest, loadStringCachesAndAnswersNullForWhatTheLanguageLacks)
{
    UiStringResources strings;
    const wchar_t* first = strings.text(10002);
    EXPECT_EQ(strings.text(10002), first);
    EXPECT_EQ(utf8(first), "Version");
    EXPECT_EQ(strings.text(9), nullptr);

    ASSERT_TRUE(strings.setLanguage(UiStringResources::french, QRV_LOCALE_DIR));
    EXPECT_EQ(utf8(strings.text(10085)), "Outil %ls");

    ASSERT_TRUE(strings.setLanguage(UiStringResources::french, QRV_PARTIAL_LOCALE_DIR));
    EXPECT_EQ(utf8(strings.text(10085)), "Outil %ls");
    // English has it, this French catalog does not.
    EXPECT_EQ(strings.text(10002), nullptr);
    EXPECT_EQ(strings.loadString(10002), BcString());
    EXPECT_EQ(strings.cachedCount(), 1);
}

TEST_F(StringsTest, showMessageSplitsTextAndToolCaption)
{
    struct Case
    {
        const char* name;
        const wchar_t* stored;
        const char* text;
        const char* caption;
    } cases[] = {
        {"no line feed: the product's name", L"Select a note first", "Select a note first", "Quorvane"},
        {"a trailing line feed: no caption", L"Select a staff\n", "Select a staff", ""},
        {"the short name after the last line feed", L"Hide the selected rests\nHide rest",
         "Hide the selected rests", "Hide rest tool"},
        {"only the last line feed splits", L"one\ntwo\nShort", "one\ntwo", "Short tool"},
    };
    for (const Case& c : cases) {
        wxString text, caption;
        Quorvane::splitMessage(c.stored, L"%ls tool", text, caption);
        EXPECT_EQ(text.utf8_string(), c.text) << c.name;
        EXPECT_EQ(caption.utf8_string(), c.caption) << c.name;
    }
}

TEST_F(StringsTest, showMessageShowsAStringOrNothing)
{
    ASSERT_TRUE(start());
    boxes.texts.clear();
    boxes.captions.clear();
    app().showMessage(10002);
    app().showMessage(9);  // no such string: nothing shown
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Version");
    EXPECT_EQ(boxes.captions[0], "Quorvane");
}
