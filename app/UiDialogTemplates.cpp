#include "app/UiDialogTemplates.h"

#include <cstdio>

namespace {

using K = UiControlKind;

// The options dialog. Its radio groups come in tab order; the up-down 1343
// steps the minutes of the edit 1258 before it.
const UiControlTemplate options[] = {
    {0, K::groupBox, 7, 7, 120, 70, "Language", 0},
    {1000, K::radio, 14, 19, 100, 10, "English", uiGroup},
    {1070, K::radio, 14, 33, 100, 10, "Fran\xC3\xA7" "ais", 0},
    {1254, K::radio, 14, 47, 100, 10, "Espa\xC3\xB1" "ol", 0},
    {1255, K::radio, 14, 61, 100, 10, "Catal\xC3\xA0", 0},
    {0, K::groupBox, 134, 7, 140, 70, "Mouse", 0},
    {0, K::label, 141, 19, 50, 8, "Pan:", 0},
    {1256, K::radio, 190, 19, 80, 10, "Middle button", uiGroup},
    {1257, K::radio, 190, 31, 80, 10, "Right button", 0},
    {0, K::label, 141, 45, 50, 8, "Zoom extents:", 0},
    {0, K::label, 190, 45, 84, 16, "Middle button double-click", 0},
    {0, K::label, 141, 63, 60, 8, "Drag threshold:", uiGroup},
    {1251, K::edit, 205, 61, 30, 12, nullptr, 0},
    {0, K::label, 240, 63, 30, 8, "pixels", 0},
    {0, K::label, 14, 87, 60, 8, "Chord threshold:", 0},
    {1253, K::edit, 80, 85, 30, 12, nullptr, 0},
    {0, K::label, 115, 87, 20, 8, "ms", 0},
    {0, K::groupBox, 7, 103, 267, 48, "Colors", 0},
    {0, K::label, 14, 116, 50, 8, "Background:", 0},
    {1268, K::swatch, 66, 114, 20, 12, nullptr, 0},
    {0, K::label, 96, 116, 50, 8, "Paper default:", 0},
    {1126, K::swatch, 150, 114, 20, 12, nullptr, 0},
    {1086, K::pushCheck, 173, 114, 12, 12, "T", 0},
    {0, K::label, 14, 133, 50, 8, "Selection:", 0},
    {1127, K::swatch, 66, 131, 20, 12, nullptr, 0},
    {1129, K::swatch, 89, 131, 10, 12, nullptr, 0},
    {0, K::label, 110, 133, 40, 8, "Playing:", 0},
    {1128, K::swatch, 150, 131, 20, 12, nullptr, 0},
    {0, K::label, 14, 161, 50, 8, "Antialiasing:", 0},
    {1292, K::dropList, 66, 159, 60, 40, nullptr, 0},
    {1085, K::checkBox, 14, 179, 70, 10, "Auto-save every", 0},
    {1258, K::edit, 86, 178, 24, 12, nullptr, 0},
    {1343, K::upDown, 110, 178, 10, 12, nullptr, 0},
    {0, K::label, 124, 180, 40, 8, "minutes", 0},
    {1084, K::checkBox, 14, 195, 100, 10, "Check for updates", 0},
    {1252, K::button, 7, 215, 80, 14, "Restore defaults", 0},
    {1, K::defaultButton, 160, 215, 54, 14, "OK", 0},
    {2, K::button, 220, 215, 54, 14, "Cancel", 0},
};

// The transpose dialog. Only the value control of the chosen way shows;
// the up-down 1324 steps the semitones of the edit 1086 before it.
const UiControlTemplate transpose[] = {
    {0, K::groupBox, 7, 7, 246, 62, "Transpose", 0},
    {1000, K::radio, 14, 20, 70, 10, "To key", uiGroup},
    {1070, K::radio, 14, 36, 70, 10, "By interval", 0},
    {1001, K::radio, 14, 52, 70, 10, "By semitones", 0},
    {1292, K::pictureList, 90, 18, 156, 120, nullptr, 0},
    {1293, K::dropList, 90, 34, 156, 120, nullptr, uiHidden},
    {1086, K::edit, 90, 50, 40, 12, nullptr, uiHidden},
    {1324, K::upDown, 130, 50, 10, 12, nullptr, uiHidden},
    {0, K::groupBox, 7, 74, 120, 52, "Direction", 0},
    {1113, K::radio, 14, 86, 100, 10, "Up", uiGroup},
    {1210, K::radio, 14, 99, 100, 10, "Down", 0},
    {1111, K::radio, 14, 112, 100, 10, "Auto", 0},
    {0, K::groupBox, 133, 74, 120, 52, "Options", 0},
    {1084, K::checkBox, 140, 88, 110, 10, "Change key signatures", uiGroup},
    {1085, K::checkBox, 140, 104, 110, 10, "Use double sharps/flats", 0},
    {1, K::defaultButton, 139, 134, 54, 14, "OK", 0},
    {2, K::button, 199, 134, 54, 14, "Cancel", 0},
};

// The back-side card: the picture, the name and the credit, placed by the
// card itself over the main window.
const UiControlTemplate backSide[] = {
    {1269, K::label, 0, 0, 200, 67, nullptr, 0},
    {1270, K::label, 0, 80, 200, 24, "Quorvane", 0},
    {1271, K::label, 0, 110, 200, 20, "Made by Tolmarin\nVersion 0.0.0.0  Built on Month Year", 0},
};

// Manuscript paper: clefs and bars on the left, the preview 1335 fills the
// rest and grows with the dialog.
const UiControlTemplate manuscript[] = {
    {1338, K::groupBox, 7, 7, 100, 66, "Clefs", 0},
    {1070, K::radio, 14, 19, 88, 10, "None", uiGroup},
    {1000, K::radio, 14, 32, 88, 10, "All", 0},
    {1002, K::radio, 14, 45, 88, 10, "First system", 0},
    {1001, K::radio, 14, 58, 88, 10, "Grand Staff only", 0},
    {1339, K::groupBox, 7, 78, 100, 44, "Bars", uiGroup},
    {1337, K::slider, 12, 90, 90, 14, nullptr, 0},
    {1340, K::label, 15, 106, 8, 8, "0", 0},
    {1195, K::label, 31, 106, 8, 8, "1", 0},
    {1196, K::label, 47, 106, 8, 8, "2", 0},
    {1197, K::label, 63, 106, 8, 8, "3", 0},
    {1341, K::label, 79, 106, 8, 8, "4", 0},
    {1342, K::label, 95, 106, 8, 8, "5", 0},
    {1336, K::button, 7, 130, 100, 14, "Save as PDF...", 0},
    {1334, K::button, 7, 150, 100, 14, "  Print", 0},
    {1335, K::label, 114, 7, 190, 268, nullptr, 0},
};

// The fretboard's tuning: a preset list, each string's letter and octave,
// one string less or more, and the frets with their up-down 1377.
const UiControlTemplate fretboardTuning[] = {
    {1354, K::groupBox, 7, 7, 197, 150, "Strings", 0},
    {1292, K::dropList, 14, 20, 183, 80, nullptr, 0},
    {1355, K::label, 14, 40, 30, 8, "1st", 0},
    {1347, K::dropList, 48, 38, 60, 120, nullptr, 0},
    {1359, K::dropList, 114, 38, 40, 120, nullptr, 0},
    {1356, K::label, 14, 54, 30, 8, "2nd", 0},
    {1348, K::dropList, 48, 52, 60, 120, nullptr, 0},
    {1360, K::dropList, 114, 52, 40, 120, nullptr, 0},
    {1357, K::label, 14, 68, 30, 8, "3rd", 0},
    {1349, K::dropList, 48, 66, 60, 120, nullptr, 0},
    {1361, K::dropList, 114, 66, 40, 120, nullptr, 0},
    {1358, K::label, 14, 82, 30, 8, "4th", 0},
    {1350, K::dropList, 48, 80, 60, 120, nullptr, 0},
    {1362, K::dropList, 114, 80, 40, 120, nullptr, 0},
    {1370, K::label, 14, 96, 30, 8, "5th", 0},
    {1351, K::dropList, 48, 94, 60, 120, nullptr, 0},
    {1363, K::dropList, 114, 94, 40, 120, nullptr, 0},
    {1371, K::label, 14, 110, 30, 8, "6th", 0},
    {1352, K::dropList, 48, 108, 60, 120, nullptr, 0},
    {1364, K::dropList, 114, 108, 40, 120, nullptr, 0},
    {1372, K::label, 14, 124, 30, 8, "7th", 0},
    {1366, K::dropList, 48, 122, 60, 120, nullptr, 0},
    {1367, K::dropList, 114, 122, 40, 120, nullptr, 0},
    {1373, K::label, 14, 138, 30, 8, "8th", 0},
    {1368, K::dropList, 48, 136, 60, 120, nullptr, 0},
    {1369, K::dropList, 114, 136, 40, 120, nullptr, 0},
    {1353, K::button, 162, 38, 30, 14, "-", 0},
    {1365, K::button, 162, 56, 30, 14, "+", 0},
    {1374, K::label, 14, 168, 30, 8, "Frets:", 0},
    {1375, K::edit, 48, 166, 30, 12, nullptr, 0},
    {1377, K::upDown, 78, 166, 10, 12, nullptr, 0},
    {1, K::defaultButton, 90, 189, 54, 14, "OK", 0},
    {2, K::button, 150, 189, 54, 14, "Cancel", 0},
};

const UiDialogTemplate templates[] = {
    {117, 281, 236, "Quorvane Options", options, int(sizeof options / sizeof options[0])},
    {122, 260, 155, "Transpose Notes", transpose, int(sizeof transpose / sizeof transpose[0])},
    {115, 200, 140, nullptr, backSide, int(sizeof backSide / sizeof backSide[0])},
    {124, 311, 282, "Manuscript Paper", manuscript, int(sizeof manuscript / sizeof manuscript[0])},
    {120, 400, 250, "Parallax Score", nullptr, 0},
    {121, 400, 300, "3D Printing", nullptr, 0},
    {127, 211, 210, "Fretboard tuning", fretboardTuning, int(sizeof fretboardTuning / sizeof fretboardTuning[0])},
};

const UiDialogTemplate* const allTemplates[] = {&templates[0], &templates[1], &templates[2], &templates[3], &templates[4], &templates[5], &templates[6], nullptr};

}

const UiControlTemplate* UiDialogTemplate::control(int controlId) const
{
    int index = indexOf(controlId);
    return index >= 0 ? &controls[index] : nullptr;
}

int UiDialogTemplate::indexOf(int controlId) const
{
    if (controlId == 0)
        return -1;
    for (int i = 0; i < controlCount; ++i)
        if (controls[i].id == controlId)
            return i;
    return -1;
}

int UiDialogTemplate::radioGroup(int firstId, int* ids, int capacity) const
{
    int first = indexOf(firstId);
    if (first < 0 || controls[first].kind != UiControlKind::radio)
        return 0;
    int count = 0;
    for (int i = first; i < controlCount; ++i) {
        const UiControlTemplate& c = controls[i];
        if (c.kind != UiControlKind::radio || (i > first && (c.style & uiGroup)))
            break;
        if (count < capacity)
            ids[count] = c.id;
        ++count;
    }
    return count;
}

int UiDialogTemplate::buddyOf(int upDownId) const
{
    int index = indexOf(upDownId);
    if (index <= 0 || controls[index].kind != UiControlKind::upDown)
        return 0;
    return controls[index - 1].id;
}

void UiDialogTemplate::context(int index, char* out, int size) const
{
    if (index < 0 || index >= controlCount)
        std::snprintf(out, size_t(size), "dialog %u", id);
    else if (controls[index].id != 0)
        std::snprintf(out, size_t(size), "dialog %u %d", id, controls[index].id);
    else
        std::snprintf(out, size_t(size), "dialog %u #%d", id, index);
}

const UiDialogTemplate* UiDialogTemplates::find(unsigned id)
{
    for (const UiDialogTemplate& t : templates)
        if (t.id == id)
            return &t;
    return nullptr;
}

const UiDialogTemplate* const* UiDialogTemplates::all()
{
    return allTemplates;
}
