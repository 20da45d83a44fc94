#pragma once

// The shell's texts that are not numbered strings: the menus and the
// dialogs. Like the string table they are written once in English here;
// the translations find them by their context ("menu 57600", "menu file",
// "dialog 100 1195"). Nothing here needs a window, so the tool that makes
// the translation template reads the same tables.

struct UiMenuItem
{
    enum Kind
    {
        command,      // an item that sends its id
        check,        // an item that sends its id and shows a check mark
        separator,
        popup,        // a submenu: the items up to its end marker
        popupEnd,
        recentFiles,  // where the recent files go; "Recent file" while none
        menuEnd,      // closes a whole menu
    };
    Kind kind;
    unsigned id;           // command id; 0 for a popup
    const char* key;       // a popup's name in its context ("file", "select"), or an item's own
    const char* text;      // English, with "&" before the mnemonic
    const char* shortcut;  // shown after a tab, or null
};

struct UiText
{
    const char* context;
    const char* text;
};

class UiTexts
{
public:
    // Menu 128 (no document window active) and menu 130 (a document window
    // active), each a list of items that ends with menuEnd.
    static const UiMenuItem* menu(unsigned menuId);

    // The translation context of a menu item: "menu <id>" or "menu <key>".
    static void menuContext(const UiMenuItem& item, char* out, int size);

    // The texts of the dialogs, one row each, ending with a row of nulls.
    static const UiText* dialogTexts();
    // The dialog text of a context, or null.
    static const char* dialogText(const char* context);

    // Every menu and dialog text once, for the translation template, in a
    // fixed order; the callback gets each context and English text.
    static void forEachText(void (*visit)(const char* context, const char* text, void* data), void* data);

    // The accelerators of menu 130 that its texts do not show.
    struct Accelerator
    {
        int flags;    // 1 Ctrl, 2 Shift, 4 Alt
        int key;      // a character, or one of the named keys below
        unsigned id;
    };
    enum NamedKey
    {
        keyUp = 0x10000, keyDown, keyF8, keyF9, keyF10, keyF12, keyNumpadAdd, keyNumpadSubtract
    };
    static const Accelerator* hiddenAccelerators(int& count);
};
