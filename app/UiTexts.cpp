#include "app/UiTexts.h"

#include "app/UiDialogTemplates.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

using K = UiMenuItem::Kind;

#define ITEM(id, text) {K::command, id, nullptr, text, nullptr}
#define KEYED(id, text, keys) {K::command, id, nullptr, text, keys}
#define CHECK(id, text) {K::check, id, nullptr, text, nullptr}
#define CHECK_KEYED(id, text, keys) {K::check, id, nullptr, text, keys}
#define SEPARATOR {K::separator, 0, nullptr, nullptr, nullptr}
#define POPUP(key, text) {K::popup, 0, key, text, nullptr}
#define END_POPUP {K::popupEnd, 0, nullptr, nullptr, nullptr}
#define RECENT {K::recentFiles, 57616, nullptr, "Recent file", nullptr}
#define END_MENU {K::menuEnd, 0, nullptr, nullptr, nullptr}

// The View menu is the same in both menus.
#define VIEW_MENU                                                                                     \
    POPUP("view", " &View "), CHECK(32806, "&Properties"), CHECK(32836, "Project &browser"),         \
        CHECK(32831, "&Context palette"), SEPARATOR, CHECK_KEYED(32808, "Piano &keyboard", "P"),      \
        CHECK(33097, "&Fretboard"), SEPARATOR, CHECK(59393, "&Status bar"), SEPARATOR,                \
        ITEM(33089, "Show all"), ITEM(33090, "Hide all"), SEPARATOR, ITEM(33091, "Reset window layout"), \
        END_POPUP

#define VOLUME_INSTRUMENT                                                                             \
    POPUP("volume", "Volume"), ITEM(33077, "100%"), ITEM(33078, "75%"), ITEM(33079, "50%"),          \
        ITEM(33080, "25%"), SEPARATOR, CHECK(33074, "Mute"), SEPARATOR, ITEM(33072, "Up"),           \
        ITEM(33073, "Down"), END_POPUP, POPUP("instrument", "Instrument"), CHECK(32783, "Piano"),     \
        CHECK(32784, "Guitar"), CHECK(32785, "Violin"), CHECK(32961, "Trumpet"), END_POPUP

#define TUNING_OCTAVE                                                                                 \
    POPUP("tuning", "Fretboard tuning"), CHECK(33098, "Guitar"), CHECK(33099, "Bass guitar"),        \
        CHECK(33101, "Ukelele"), CHECK(33102, "Mandolin"), CHECK(33103, "Banjo"),                     \
        CHECK(33100, "Custom..."), SEPARATOR, CHECK(33104, "Capo"), END_POPUP,                        \
        POPUP("octave", "Keyboard octave"), CHECK(32937, "A0-C2"), CHECK(32938, "A1-C3"),             \
        CHECK(32939, "A2-C4"), CHECK(32940, "A3-C5"), CHECK(32941, "A4-C6"), CHECK(32942, "A5-C7"),   \
        CHECK(32943, "A6-C8"), SEPARATOR, POPUP("transpose keyboard", "Transpose"),                   \
        ITEM(33041, "G  (-5)"), ITEM(33042, "G#  (-4)"), ITEM(33043, "A  (-3)"),                      \
        ITEM(33044, "A#  (-2)"), ITEM(33045, "B  (-1)"), SEPARATOR, ITEM(33046, "C"), SEPARATOR,      \
        ITEM(33047, "C#  (+1)"), ITEM(33048, "D  (+2)"), ITEM(33049, "D#  (+3)"),                     \
        ITEM(33050, "E  (+4)"), ITEM(33051, "F  (+5)"), ITEM(33052, "F#  (+6)"), END_POPUP, END_POPUP

#define HELP_MENU                                                                                     \
    POPUP("help", " &Help "), ITEM(32955, "User guide"), SEPARATOR,                                   \
        ITEM(32950, "Technical support..."), ITEM(32951, "Check for updates..."), SEPARATOR,          \
        ITEM(32847, "&About Quorvane"), END_POPUP

static const UiMenuItem menu128[] = {
    POPUP("file", " &File "), KEYED(57600, "&New", "Ctrl+N"), KEYED(57601, "&Open...", "Ctrl+O"),
    SEPARATOR, ITEM(32849, "Import..."), SEPARATOR, RECENT, SEPARATOR, ITEM(57665, "&Exit"), END_POPUP,
    VIEW_MENU,
    POPUP("play", " &Play "), VOLUME_INSTRUMENT, SEPARATOR, TUNING_OCTAVE, CHECK(32964, "MIDI input"),
    END_POPUP,
    POPUP("tools", " &Tools "), ITEM(32878, "Options..."), END_POPUP,
    HELP_MENU,
    END_MENU,
};

static const UiMenuItem menu130[] = {
    POPUP("file", " &File "), KEYED(57600, "&New", "Ctrl+N"), KEYED(57601, "&Open...", "Ctrl+O"),
    ITEM(57602, "&Close"), KEYED(57603, "&Save", "Ctrl+S"), ITEM(57604, "Save &as..."), SEPARATOR,
    ITEM(32849, "Import..."), ITEM(32850, "Export..."), SEPARATOR, KEYED(57607, "&Print...", "Ctrl+P"),
    SEPARATOR, RECENT, SEPARATOR, ITEM(57665, "&Exit"), END_POPUP,

    POPUP("edit", " &Edit "), KEYED(57643, "&Undo", "Ctrl+Z"), KEYED(57644, "&Redo", "Ctrl+Y"),
    SEPARATOR, KEYED(57635, "Cu&t", "Ctrl+X"), KEYED(57634, "&Copy", "Ctrl+C"),
    KEYED(57637, "&Paste", "Ctrl+V"), KEYED(57632, "&Delete", "Del"), SEPARATOR,
    KEYED(57642, "Select &all", "Ctrl+A"), ITEM(32990, "Select similar"),
    POPUP("select", "Select"), ITEM(32975, "Notes"), ITEM(32976, "Measures"), ITEM(32977, "Staves"),
    ITEM(33096, "Tablatures"), ITEM(32978, "Sheet music"), SEPARATOR, ITEM(32981, "Credits"),
    ITEM(32986, "Parts"), ITEM(32987, "Groups"), SEPARATOR, ITEM(32982, "Tuplets"), SEPARATOR,
    ITEM(32983, "Octaves"), ITEM(32984, "Dynamics"), ITEM(32985, "Pedals"), SEPARATOR,
    ITEM(33093, "Lyrics"), END_POPUP,
    SEPARATOR, KEYED(33020, "Go to...", "Ctrl+G"), SEPARATOR, CHECK(33069, "Snap guide lines"),
    CHECK(33070, "Ortho mode"), END_POPUP,

    VIEW_MENU,

    POPUP("sheet music", " &Sheet music "), ITEM(32819, "New"), ITEM(32881, "Set as main Score"),
    SEPARATOR, KEYED(32874, "Previous page", "PgUp"), KEYED(32873, "Next page", "PgDn"), SEPARATOR,
    ITEM(33086, "Unfold repeats"), SEPARATOR, ITEM(32840, "Credit"), END_POPUP,

    POPUP("staff", " S&taff "), ITEM(32817, "New"), ITEM(33095, "Tablature"), SEPARATOR,
    ITEM(32846, "Move up"), ITEM(32845, "Move down"), SEPARATOR, ITEM(32839, "Group"), SEPARATOR,
    ITEM(32893, "Octave"), ITEM(32854, "Dynamic"), ITEM(32932, "Pedal"), SEPARATOR,
    ITEM(33092, "Lyrics"), END_POPUP,

    POPUP("measure", " &Measure "), ITEM(32818, "New"), SEPARATOR, ITEM(32887, "Move left"),
    ITEM(32886, "Move right"), SEPARATOR, ITEM(32973, "Swap voices"), ITEM(32995, "Remove beat"),
    ITEM(33087, "Hide Tuplet"), ITEM(33088, "Show all Tuplets"), SEPARATOR, ITEM(32852, "Tuplet"),
    ITEM(33082, "Grace note"), END_POPUP,

    POPUP("note", " &Note "), POPUP("duration", "Duration"), CHECK_KEYED(32789, "Whole", "F1"),
    CHECK_KEYED(32790, "Half", "F2"), CHECK_KEYED(32791, "Quarter", "F3"),
    CHECK_KEYED(32792, "Eighth", "F4"), CHECK_KEYED(32809, "Sixteenth", "F5"),
    CHECK_KEYED(32810, "Thirtysecond", "F6"), CHECK_KEYED(32811, "Sixtyfourth", "F7"), END_POPUP,
    CHECK(32833, "Dotted"), CHECK(32813, "Rest"), CHECK(32851, "Second voice"), SEPARATOR,
    ITEM(32890, "Move left"), ITEM(32891, "Move right"), SEPARATOR, ITEM(32971, "Hide rest"),
    ITEM(32970, "Show all rests"), SEPARATOR,
    POPUP("interval", "Interval"), ITEM(32908, "Ninth"), ITEM(32907, "Octave"), ITEM(32906, "Seventh"),
    ITEM(32905, "Sixth"), ITEM(32904, "Fifth"), ITEM(32903, "Fourth"), ITEM(32902, "Third"),
    ITEM(32901, "Second"), SEPARATOR, ITEM(32917, "Second below"), ITEM(32918, "Third below"),
    ITEM(32919, "Fourth below"), ITEM(32920, "Fifth below"), ITEM(32921, "Sixth below"),
    ITEM(32922, "Seventh below"), ITEM(32923, "Octave below"), ITEM(32924, "Ninth below"), END_POPUP,
    SEPARATOR,
    POPUP("transpose", "Transpose"), ITEM(33002, "Staff position up"),
    ITEM(33005, "Staff position down"), SEPARATOR, ITEM(33008, "Semitone up"),
    ITEM(33004, "Semitone down"), SEPARATOR, ITEM(33013, "Octave up"), ITEM(33014, "Octave down"),
    END_POPUP,
    ITEM(33015, "Transpose key/interval..."), END_POPUP,

    POPUP("play", " &Play "), VOLUME_INSTRUMENT, SEPARATOR, TUNING_OCTAVE, CHECK(32964, "MIDI input"),
    ITEM(33025, "Record"), SEPARATOR, CHECK(32786, "Play score"), CHECK(33023, "Playback tracking"),
    END_POPUP,

    POPUP("tools", " &Tools "), ITEM(32957, "Parallax score"), ITEM(32959, "3D Printing"),
    ITEM(33027, "Manuscript paper"), SEPARATOR, ITEM(32878, "Options..."), END_POPUP,

    HELP_MENU,
    END_MENU,
};

// The accelerator table's keys that no menu text shows.
static const UiTexts::Accelerator hidden[] = {
    {0, UiTexts::keyF8, 32833},
    {0, UiTexts::keyF9, 32813},
    {0, UiTexts::keyF10, 32851},
    {0, UiTexts::keyF12, 32786},
    {0, UiTexts::keyUp, 33002},
    {0, UiTexts::keyDown, 33005},
    {2, UiTexts::keyUp, 33008},
    {2, UiTexts::keyDown, 33004},
    {1, UiTexts::keyUp, 33013},
    {1, UiTexts::keyDown, 33014},
    {1, 'T', 33015},
    {2, '2', 32901}, {2, '3', 32902}, {2, '4', 32903}, {2, '5', 32904},
    {2, '6', 32905}, {2, '7', 32906}, {2, '8', 32907}, {2, '9', 32908},
    {3, '2', 32917}, {3, '3', 32918}, {3, '4', 32919}, {3, '5', 32920},
    {3, '6', 32921}, {3, '7', 32922}, {3, '8', 32923}, {3, '9', 32924},
    {0, '1', 32937}, {0, '2', 32938}, {0, '3', 32939}, {0, '4', 32940},
    {0, '5', 32941}, {0, '6', 32942}, {0, '7', 32943},
    {5, 'C', 33046},
    {0, UiTexts::keyNumpadAdd, 33072},
    {0, UiTexts::keyNumpadSubtract, 33073},
};

// The About dialog (100). Control 1195 says "Year" where the year goes.
static const UiText dialogRows[] = {
    {"dialog 100", "About Quorvane"},
    {"dialog 100 1195", "Copyright \xC2\xA9 Year Tolmarin. All rights reserved."},
    {"dialog 100 1321", "Visit the Quorvane home page"},
    {"dialog 100 1", "OK"},
    {"dialog 131", "Windows"},
    {"dialog 131 1", "&Activate"},
    {"dialog 131 2", "&Save"},
    {"dialog 131 3", "&Close window"},
    {"dialog 131 4", "OK"},
    {nullptr, nullptr},
};

// The score view's context menu: the items of its one popup, "Edit".
static const UiMenuItem menu119[] = {
    KEYED(57635, "Cu&t", "Ctrl+X"), KEYED(57634, "&Copy", "Ctrl+C"), KEYED(57637, "&Paste", "Ctrl+V"),
    KEYED(57632, "&Delete", "Del"), SEPARATOR, KEYED(57642, "Select &all", "Ctrl+A"),
    ITEM(32990, "Select similar"),
    POPUP("select", "Select"), ITEM(32975, "Notes"), ITEM(32976, "Measures"), ITEM(32977, "Staves"),
    ITEM(33096, "Tablatures"), ITEM(32978, "Sheet music"), SEPARATOR, ITEM(32981, "Credits"),
    ITEM(32986, "Parts"), ITEM(32987, "Groups"), SEPARATOR, ITEM(32982, "Tuplets"), SEPARATOR,
    ITEM(32983, "Octaves"), ITEM(32984, "Dynamics"), ITEM(32985, "Pedals"), SEPARATOR,
    ITEM(33093, "Lyrics"), END_POPUP,
    // Its own context: the View menu's item of the same command reads "&Properties".
    SEPARATOR, {K::command, 32806, "119 32806", "Properties", nullptr}, END_MENU,
};

// The project browser's context menu; Properties reads as in menu 119.
static const UiMenuItem menu131[] = {
    KEYED(57635, "Cu&t", "Ctrl+X"), KEYED(57634, "&Copy", "Ctrl+C"), KEYED(57637, "&Paste", "Ctrl+V"),
    KEYED(57632, "&Delete", "Del"), ITEM(33083, "Rename"),
    SEPARATOR, {K::command, 32806, "119 32806", "Properties", nullptr}, END_MENU,
};

const UiMenuItem* UiTexts::menu(unsigned menuId)
{
    if (menuId == 128)
        return menu128;
    if (menuId == 130)
        return menu130;
    if (menuId == 119)
        return menu119;
    if (menuId == 131)
        return menu131;
    return nullptr;
}

void UiTexts::menuContext(const UiMenuItem& item, char* out, int size)
{
    if (item.kind == K::popup || item.key)
        std::snprintf(out, size_t(size), "menu %s", item.key);
    else
        std::snprintf(out, size_t(size), "menu %u", item.id);
}

const UiText* UiTexts::dialogTexts()
{
    return dialogRows;
}

const char* UiTexts::dialogText(const char* context)
{
    for (const UiText* row = dialogRows; row->context; ++row)
        if (std::strcmp(row->context, context) == 0)
            return row->text;
    for (const UiDialogTemplate* const* t = UiDialogTemplates::all(); *t; ++t) {
        for (int i = -1; i < (*t)->controlCount; ++i) {
            const char* text = i < 0 ? (*t)->caption : (*t)->controls[i].text;
            if (!text)
                continue;
            char own[64];
            (*t)->context(i, own, sizeof own);
            if (std::strcmp(own, context) == 0)
                return text;
        }
    }
    return nullptr;
}

void UiTexts::forEachText(void (*visit)(const char*, const char*, void*), void* data)
{
    std::set<std::string> seen;
    for (unsigned menuId : {130u, 128u, 119u, 131u}) {
        for (const UiMenuItem* item = menu(menuId); item->kind != K::menuEnd; ++item) {
            if (!item->text)
                continue;
            char context[64];
            menuContext(*item, context, sizeof context);
            if (seen.insert(context).second)
                visit(context, item->text, data);
        }
    }
    for (const UiText* row = dialogRows; row->context; ++row)
        visit(row->context, row->text, data);
    for (const UiDialogTemplate* const* t = UiDialogTemplates::all(); *t; ++t) {
        for (int i = -1; i < (*t)->controlCount; ++i) {
            const char* text = i < 0 ? (*t)->caption : (*t)->controls[i].text;
            if (!text)
                continue;
            char context[64];
            (*t)->context(i, context, sizeof context);
            visit(context, text, data);
        }
    }
}

const UiTexts::Accelerator* UiTexts::hiddenAccelerators(int& count)
{
    count = int(sizeof hidden / sizeof hidden[0]);
    return hidden;
}
