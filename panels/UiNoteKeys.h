#pragma once

class UiKeymap;

// One layout of the computer keyboard's sixteen note keys: the key code of
// each position 0..15 and the character the piano keyboard labels it with.
struct NoteKeyLayout
{
    unsigned char codes[16];
    const wchar_t* labels;  // exactly 16 characters
};

// The computer keyboard as a small piano: sixteen keys of its lowest letter
// row and the row above stand for sixteen consecutive semitones, A to the
// C an octave and a third above, at the application's keyboard octave and
// transpose. Which key codes those are, and how they are labelled, depends
// on the language of the keyboard layout.
class UiNoteKeys
{
public:
    static constexpr int positionCount = 16;
    // The position that plays C at transpose 0.
    static constexpr int cPosition = 3;
    static constexpr int rowCount = 6;
    static constexpr int keyCount = 88;

    // Language identifiers: the primary language in the low 10 bits, the
    // sublanguage above them.
    static constexpr int primaryMask = 0x3FF;
    static constexpr int sublanguageShift = 10;
    static constexpr int german = 0x0407;
    static constexpr int english = 0x0409;
    static constexpr int spanish = 0x0C0A;
    static constexpr int french = 0x040C;
    static constexpr int belgianFrench = 0x080C;
    static constexpr int canadianFrench = 0x0C0C;

    // The rows, 0..5; an index outside them gives the English row.
    static const NoteKeyLayout& row(int index);
    static int rowForLanguage(int keyboardLanguage);
    static const NoteKeyLayout& layoutForLanguage(int keyboardLanguage)
    {
        return row(rowForLanguage(keyboardLanguage));
    }

    // The first position whose code is code; -1 for a key that plays nothing.
    static int positionOfCode(const NoteKeyLayout& layout, unsigned code);

    // The piano key index (0..87 plays; anything else does not) of a
    // position at an octave and transpose.
    static int keyIndex(int octave, int transpose, int position)
    {
        return 12 * (octave - 1) + transpose + position;
    }
    static bool plays(int key) { return key >= 0 && key < keyCount; }

    // The octave and transpose that put key on the C position with the
    // transpose kept small. Keys above 87 (high frets) give mappings that
    // play nothing.
    static void anchorOnKey(int key, int& octave, int& transpose);
    // Moves the application's mapping so that key becomes its C, and
    // redraws the piano keyboard. A negative key changes nothing.
    static bool setKeyboardOctaveFromKey(int key);

    // Where the keys are on a Linux keyboard: a note key is found by its
    // place, the X hardware keycode of the key a US layout labels Z S X C F
    // V G B N J M K , L . /, whatever the active layout types there.
    static int positionOfHardwareKeycode(unsigned keycode);
    static unsigned hardwareKeycodeOfPosition(int position);
    // The digits 1..7 of the top row by their place (an AZERTY layout types
    // them with Shift); 0 for any other key.
    static int digitOfHardwareKeycode(unsigned keycode);

    // The keyboard language whose row fits the layout: what it types at the
    // places of the US Z and slash tells German (Y), Belgian French (W and
    // =), French (W), Canadian French (Z and É) and Spanish (Z and -) apart;
    // anything else is English.
    static int languageFromKeymap(UiKeymap& keymap);
};
