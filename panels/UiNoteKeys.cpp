#include "panels/UiNoteKeys.h"

#include "editing/EdContext.h"
#include "panels/UiKeymap.h"

namespace {

// Codes of the punctuation keys, as the layouts' tables name them.
constexpr unsigned char oemPlus = 0xBB;
constexpr unsigned char oemComma = 0xBC;
constexpr unsigned char oemMinus = 0xBD;
constexpr unsigned char oemPeriod = 0xBE;
constexpr unsigned char oem2 = 0xBF;
constexpr unsigned char oem8 = 0xDF;

const NoteKeyLayout rows[UiNoteKeys::rowCount] = {
    // German
    {{'Y', 'S', 'X', 'C', 'F', 'V', 'G', 'B', 'N', 'J', 'M', 'K', oemComma, 'L', oemPeriod, oemMinus},
     L"YSXCFVGBNJMK,L.-"},
    // Belgian French
    {{'W', 'S', 'X', 'C', 'F', 'V', 'G', 'B', 'N', 'J', oemComma, 'K', oemPeriod, 'L', oem2, oemPlus},
     L"WSXCFVGBNJ,K;L:="},
    // Canadian French
    {{'Z', 'S', 'X', 'C', 'F', 'V', 'G', 'B', 'N', 'J', 'M', 'K', oemComma, 'L', oemPeriod, oem2},
     L"ZSXCFVGBNJMK,L.\u00C9"},
    // French, other sublanguages
    {{'W', 'S', 'X', 'C', 'F', 'V', 'G', 'B', 'N', 'J', oemComma, 'K', oemPeriod, 'L', oem2, oem8},
     L"WSXCFVGBNJ,K;L:!"},
    // Catalan, Spanish, Italian, Portuguese
    {{'Z', 'S', 'X', 'C', 'F', 'V', 'G', 'B', 'N', 'J', 'M', 'K', oemComma, 'L', oemPeriod, oemMinus},
     L"ZSXCFVGBNJMK,L.-"},
    // English and every other language
    {{'Z', 'S', 'X', 'C', 'F', 'V', 'G', 'B', 'N', 'J', 'M', 'K', oemComma, 'L', oemPeriod, oem2},
     L"ZSXCFVGBNJMK,L./"},
};

constexpr int germanRow = 0, belgianRow = 1, canadianRow = 2, frenchRow = 3, romanceRow = 4, englishRow = 5;

// The X hardware keycodes of the US Z S X C F V G B N J M K , L . / keys.
constexpr unsigned char notePlaces[UiNoteKeys::positionCount] = {52, 39, 53, 54, 41, 55, 42, 56,
                                                                  57, 44, 58, 45, 59, 46, 60, 61};
// The X hardware keycode of the top row's 1; 2..7 follow it.
constexpr unsigned digitOnePlace = 10;

}  // namespace

const NoteKeyLayout& UiNoteKeys::row(int index)
{
    return index >= 0 && index < rowCount ? rows[index] : rows[englishRow];
}

int UiNoteKeys::rowForLanguage(int keyboardLanguage)
{
    const int primary = keyboardLanguage & primaryMask;
    const int sublanguage = (keyboardLanguage >> sublanguageShift) & 0x3F;
    switch (primary) {
        case 0x07: return germanRow;
        case 0x0C:
            if (sublanguage == 2)
                return belgianRow;
            return sublanguage == 3 ? canadianRow : frenchRow;
        case 0x03:
        case 0x0A:
        case 0x10:
        case 0x16: return romanceRow;
        default: return englishRow;
    }
}

int UiNoteKeys::positionOfCode(const NoteKeyLayout& layout, unsigned code)
{
    for (int position = 0; position < positionCount; ++position) {
        if (layout.codes[position] == code)
            return position;
    }
    return -1;
}

void UiNoteKeys::anchorOnKey(int key, int& octave, int& transpose)
{
    // Truncating division: keys 0..2 give octave 1 with a negative transpose.
    const int fromC = key - cPosition;
    octave = fromC / 12 + 1;
    transpose = fromC - 12 * (fromC / 12);
    // C8 is the one key past octave 7's reach without a wrap.
    if (octave == 8) {
        octave = 7;
        transpose += 12;
    }
    if (transpose > 6 && octave < 7) {
        ++octave;
        transpose -= 12;
    }
}

bool UiNoteKeys::setKeyboardOctaveFromKey(int key)
{
    if (key < 0)
        return true;
    EdContext& context = EdContext::current();
    EdContext::NoteInput& input = context.noteInput();
    anchorOnKey(key, input.keyboardOctave, input.keyboardTranspose);
    if (context.hasMainWindow())
        context.redrawPianoKeyboard();
    return true;
}

int UiNoteKeys::positionOfHardwareKeycode(unsigned keycode)
{
    for (int position = 0; position < positionCount; ++position) {
        if (notePlaces[position] == keycode)
            return position;
    }
    return -1;
}

unsigned UiNoteKeys::hardwareKeycodeOfPosition(int position)
{
    return position >= 0 && position < positionCount ? notePlaces[position] : 0;
}

int UiNoteKeys::digitOfHardwareKeycode(unsigned keycode)
{
    if (keycode < digitOnePlace || keycode > digitOnePlace + 6)
        return 0;
    return int(keycode - digitOnePlace) + 1;
}

int UiNoteKeys::languageFromKeymap(UiKeymap& keymap)
{
    const char32_t atZ = keymap.upperCharacterAt(notePlaces[0]);
    const char32_t atSlash = keymap.upperCharacterAt(notePlaces[positionCount - 1]);
    if (atZ == U'Y')
        return german;
    if (atZ == U'W')
        return atSlash == U'=' ? belgianFrench : french;
    if (atZ == U'Z' && atSlash == U'\u00C9')
        return canadianFrench;
    if (atZ == U'Z' && atSlash == U'-')
        return spanish;
    return english;
}
