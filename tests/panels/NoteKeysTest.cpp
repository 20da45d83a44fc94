#include "panels/UiGdkKeymap.h"
#include "panels/UiKeyCodes.h"
#include "panels/UiKeymap.h"
#include "panels/UiNoteKeys.h"

#include "common/EdFakeContext.h"

#include <gtest/gtest.h>
#include <wx/defs.h>

#include <string>

namespace {

// A layout given by what it types at the sixteen note places, US Z .. /.
class FakeKeymap : public UiKeymap
{
public:
    explicit FakeKeymap(const std::u32string& atNotePlaces) : typed(atNotePlaces) {}
    char32_t upperCharacterAt(unsigned keycode) override
    {
        const int position = UiNoteKeys::positionOfHardwareKeycode(keycode);
        return position >= 0 && position < int(typed.size()) ? typed[position] : 0;
    }
    // The toolkit's code for the key at a note place: letters as they are,
    // anything else as some code no row has.
    int toolkitCode(int position) const
    {
        const char32_t c = typed[position];
        return c >= U'A' && c <= U'Z' ? int(c) : WXK_NONE;
    }

private:
    std::u32string typed;
};

struct LayoutCase
{
    const char* name;
    std::u32string typed;
    int language;
    const wchar_t* labels;
};

const LayoutCase layouts[] = {
    {"US QWERTY", U"ZSXCFVGBNJMK,L./", UiNoteKeys::english, L"ZSXCFVGBNJMK,L./"},
    {"German QWERTZ", U"YSXCFVGBNJMK,L.-", UiNoteKeys::german, L"YSXCFVGBNJMK,L.-"},
    {"Belgian AZERTY", U"WSXCFVGBNJ,K;L:=", UiNoteKeys::belgianFrench, L"WSXCFVGBNJ,K;L:="},
    {"French AZERTY", U"WSXCFVGBNJ,K;L:!", UiNoteKeys::french, L"WSXCFVGBNJ,K;L:!"},
    {"Canadian French", U"ZSXCFVGBNJMK,L.\u00C9", UiNoteKeys::canadianFrench, L"ZSXCFVGBNJMK,L.\u00C9"},
    {"Spanish", U"ZSXCFVGBNJMK,L.-", UiNoteKeys::spanish, L"ZSXCFVGBNJMK,L.-"},
};

}  // namespace

TEST(NoteKeysTest, theKeymapChoosesTheLanguageRowAndItsLabels)
{
    for (const LayoutCase& c : layouts) {
        FakeKeymap keymap(c.typed);
        const int language = UiNoteKeys::languageFromKeymap(keymap);
        EXPECT_EQ(language, c.language) << c.name;
        const NoteKeyLayout& layout = UiNoteKeys::layoutForLanguage(language);
        EXPECT_EQ(std::wstring(layout.labels), std::wstring(c.labels)) << c.name;
        EXPECT_EQ(std::wstring(layout.labels).size(), 16u) << c.name;
    }
    // Languages that only the language identifier tells apart.
    const struct
    {
        int language;
        wchar_t lastLabel;
        wchar_t firstLabel;
    } identifiers[] = {
        {0x0407, L'-', L'Y'}, {0x100C, L'!', L'W'}, {0x0809, L'/', L'Z'},
        {0x0413, L'/', L'Z'}, {0x0403, L'-', L'Z'}, {0x0410, L'-', L'Z'},
    };
    for (const auto& c : identifiers) {
        const NoteKeyLayout& layout = UiNoteKeys::layoutForLanguage(c.language);
        EXPECT_EQ(layout.labels[15], c.lastLabel) << std::hex << c.language;
        EXPECT_EQ(layout.labels[0], c.firstLabel) << std::hex << c.language;
    }
}

TEST(NoteKeysTest, theSamePlacesPlayTheSameKeysOnEveryLayout)
{
    EdFakeContext context;
    for (const LayoutCase& c : layouts) {
        FakeKeymap keymap(c.typed);
        const int language = UiNoteKeys::languageFromKeymap(keymap);
        const NoteKeyLayout& layout = UiNoteKeys::layoutForLanguage(language);
        for (int place = 0; place < UiNoteKeys::positionCount; ++place) {
            const unsigned keycode = UiNoteKeys::hardwareKeycodeOfPosition(place);
            const unsigned code = UiKeyCodes::fromEvent(keycode, keymap.toolkitCode(place), language);
            EXPECT_EQ(code, layout.codes[place]) << c.name << " place " << place;
            const int position = UiNoteKeys::positionOfCode(layout, code);
            EXPECT_EQ(UiNoteKeys::keyIndex(4, 0, position), 36 + place) << c.name << " place " << place;
        }
    }
    // The US Z and comma at octave 4: A3 and A4.
    const NoteKeyLayout& us = UiNoteKeys::layoutForLanguage(UiNoteKeys::english);
    EXPECT_EQ(UiNoteKeys::keyIndex(4, 0, UiNoteKeys::positionOfCode(us, UiKeyCodes::fromEvent(52, 'Z', 0x409))), 36);
    EXPECT_EQ(UiNoteKeys::keyIndex(4, 0, UiNoteKeys::positionOfCode(us, UiKeyCodes::fromEvent(59, ',', 0x409))), 48);
}

TEST(NoteKeysTest, otherKeysGetTheirCodesAndNeverPassForNoteKeys)
{
    const struct
    {
        const char* name;
        unsigned keycode;
        int toolkitCode;
        int language;
        unsigned code;
    } cases[] = {
        {"AZERTY 1 unshifted", 10, '&', UiNoteKeys::french, 0x31},
        {"7 by its place", 16, '7', UiNoteKeys::english, 0x37},
        {"8 is a plain digit", 17, '8', UiNoteKeys::english, 0x38},
        {"Backspace", 22, WXK_BACK, UiNoteKeys::english, UiKeyCodes::back},
        {"Tab", 23, WXK_TAB, UiNoteKeys::english, UiKeyCodes::tab},
        {"Escape", 9, WXK_ESCAPE, UiNoteKeys::english, UiKeyCodes::escape},
        {"Left", 113, WXK_LEFT, UiNoteKeys::english, UiKeyCodes::left},
        {"Right", 114, WXK_RIGHT, UiNoteKeys::english, UiKeyCodes::right},
        {"keypad plus", 86, WXK_NUMPAD_ADD, UiNoteKeys::english, UiKeyCodes::add},
        {"keypad minus", 82, WXK_NUMPAD_SUBTRACT, UiNoteKeys::english, UiKeyCodes::subtract},
        {"keypad 1 is no digit", 87, WXK_NUMPAD1, UiNoteKeys::english, 0x61},
        {"Shift", 50, WXK_SHIFT, UiNoteKeys::english, UiKeyCodes::shift},
        {"Ctrl", 37, WXK_CONTROL, UiNoteKeys::english, UiKeyCodes::control},
        {"Alt", 64, WXK_ALT, UiNoteKeys::english, UiKeyCodes::alt},
        {"P", 33, 'P', UiNoteKeys::english, 'P'},
        {"QWERTZ Z at the US Y place", 29, 'Z', UiNoteKeys::german, 'Z'},
        {"AZERTY Z at the US W place", 25, 'Z', UiNoteKeys::french, 'Z'},
        {"Dvorak S away from the note places", 47, 'S', UiNoteKeys::english, 0},
        {"AZERTY M away from the note places", 47, 'M', UiNoteKeys::french, 'M'},
        {"unknown", 200, WXK_NONE, UiNoteKeys::english, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UiKeyCodes::fromEvent(c.keycode, c.toolkitCode, c.language), c.code) << c.name;
}

TEST(NoteKeysTest, reAnchoringPutsTheKeyOnTheCPosition)
{
    const struct
    {
        int key;
        int octave;
        int transpose;
    } cases[] = {
        {0, 1, -3}, {3, 1, 0}, {9, 1, 6}, {10, 2, -5}, {39, 4, 0}, {46, 5, -5},
        {45, 4, 6}, {70, 7, -5}, {82, 7, 7}, {86, 7, 11}, {87, 7, 12}, {88, 7, 13}, {98, 7, 23}, {99, 9, 0},
    };
    EdFakeContext context;
    context.mainWindow = true;
    for (const auto& c : cases) {
        const int redraws = context.pianoRedraws;
        EXPECT_TRUE(UiNoteKeys::setKeyboardOctaveFromKey(c.key));
        EXPECT_EQ(context.noteInput().keyboardOctave, c.octave) << c.key;
        EXPECT_EQ(context.noteInput().keyboardTranspose, c.transpose) << c.key;
        EXPECT_EQ(context.pianoRedraws, redraws + 1) << c.key;
        const int octave = context.noteInput().keyboardOctave;
        const int transpose = context.noteInput().keyboardTranspose;
        // Keys past the piano (high frets) land there too, and play nothing.
        EXPECT_EQ(UiNoteKeys::keyIndex(octave, transpose, UiNoteKeys::cPosition), c.key);
    }
    // Anchored on A0, the three positions below C play nothing.
    UiNoteKeys::setKeyboardOctaveFromKey(0);
    for (int p = 0; p < 3; ++p)
        EXPECT_FALSE(UiNoteKeys::plays(UiNoteKeys::keyIndex(1, -3, p)));
    context.mainWindow = false;
    const int redraws = context.pianoRedraws;
    UiNoteKeys::setKeyboardOctaveFromKey(39);
    EXPECT_EQ(context.pianoRedraws, redraws) << "no main window, nothing to redraw";
}

TEST(NoteKeysTest, theDisplaysKeymapReadsTheUsLayoutOfTheTestServer)
{
    UiGdkKeymap keymap;
    EXPECT_EQ(keymap.upperCharacterAt(UiNoteKeys::hardwareKeycodeOfPosition(0)), U'Z');
    EXPECT_EQ(keymap.upperCharacterAt(UiNoteKeys::hardwareKeycodeOfPosition(15)), U'/');
    EXPECT_EQ(keymap.upperCharacterAt(3), 0u) << "no key there";
    EXPECT_EQ(UiNoteKeys::languageFromKeymap(keymap), UiNoteKeys::english);
}
