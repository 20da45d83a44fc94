#include "panels/UiKeyCodes.h"

#include "panels/UiNoteKeys.h"

#include <wx/defs.h>

namespace {

struct CodePair
{
    int toolkit;
    unsigned code;
};

constexpr CodePair namedKeys[] = {
    {WXK_BACK, UiKeyCodes::back},
    {WXK_TAB, UiKeyCodes::tab},
    {WXK_RETURN, 0x0D},
    {WXK_ESCAPE, UiKeyCodes::escape},
    {WXK_SPACE, 0x20},
    {WXK_SHIFT, UiKeyCodes::shift},
    {WXK_CONTROL, UiKeyCodes::control},
    {WXK_ALT, UiKeyCodes::alt},
    {WXK_PAGEUP, UiKeyCodes::pageUp},
    {WXK_PAGEDOWN, UiKeyCodes::pageDown},
    {WXK_END, UiKeyCodes::end},
    {WXK_HOME, UiKeyCodes::home},
    {WXK_LEFT, UiKeyCodes::left},
    {WXK_UP, UiKeyCodes::up},
    {WXK_RIGHT, UiKeyCodes::right},
    {WXK_DOWN, UiKeyCodes::down},
    {WXK_INSERT, UiKeyCodes::insert},
    {WXK_DELETE, UiKeyCodes::deleteKey},
    {WXK_NUMPAD_ADD, UiKeyCodes::add},
    {WXK_NUMPAD_SUBTRACT, UiKeyCodes::subtract},
    {WXK_NUMPAD_MULTIPLY, 0x6A},
    {WXK_NUMPAD_DECIMAL, 0x6E},
    {WXK_NUMPAD_DIVIDE, 0x6F},
    {WXK_NUMPAD_ENTER, 0x0D},
    {WXK_NUMPAD_LEFT, UiKeyCodes::left},
    {WXK_NUMPAD_RIGHT, UiKeyCodes::right},
    {WXK_NUMPAD_UP, UiKeyCodes::up},
    {WXK_NUMPAD_DOWN, UiKeyCodes::down},
    {WXK_NUMPAD_PAGEUP, UiKeyCodes::pageUp},
    {WXK_NUMPAD_PAGEDOWN, UiKeyCodes::pageDown},
    {WXK_NUMPAD_HOME, UiKeyCodes::home},
    {WXK_NUMPAD_END, UiKeyCodes::end},
    {WXK_NUMPAD_INSERT, UiKeyCodes::insert},
    {WXK_NUMPAD_DELETE, UiKeyCodes::deleteKey},
};

// A code of the named keys, the letters, the digits, the keypad's digits and
// the function keys; 0 for anything else.
unsigned meaningOf(int toolkitCode)
{
    for (const CodePair& pair : namedKeys) {
        if (pair.toolkit == toolkitCode)
            return pair.code;
    }
    if (toolkitCode >= 'A' && toolkitCode <= 'Z')
        return unsigned(toolkitCode);
    if (toolkitCode >= 'a' && toolkitCode <= 'z')
        return unsigned(toolkitCode - 'a' + 'A');
    if (toolkitCode >= '0' && toolkitCode <= '9')
        return unsigned(toolkitCode);
    if (toolkitCode >= WXK_NUMPAD0 && toolkitCode <= WXK_NUMPAD9)
        return 0x60u + unsigned(toolkitCode - WXK_NUMPAD0);
    if (toolkitCode >= WXK_F1 && toolkitCode <= WXK_F24)
        return UiKeyCodes::f1 + unsigned(toolkitCode - WXK_F1);
    return 0;
}

}  // namespace

unsigned UiKeyCodes::fromEvent(unsigned hardwareKeycode, int toolkitCode, int keyboardLanguage)
{
    const NoteKeyLayout& layout = UiNoteKeys::layoutForLanguage(keyboardLanguage);
    const int position = UiNoteKeys::positionOfHardwareKeycode(hardwareKeycode);
    if (position >= 0)
        return layout.codes[position];
    const int digit = UiNoteKeys::digitOfHardwareKeycode(hardwareKeycode);
    if (digit > 0)
        return digit0 + unsigned(digit);
    const unsigned code = meaningOf(toolkitCode);
    if (UiNoteKeys::positionOfCode(layout, code) >= 0)
        return 0;
    return code;
}
