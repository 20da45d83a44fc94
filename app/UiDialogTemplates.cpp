#include "app/UiDialogTemplates.h"

#include "panels/UiPageTemplates.h"

#include <cstdio>
#include <vector>

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

const UiDialogTemplate templates[] = {
    {117, 281, 236, "Quorvane Options", options, int(sizeof options / sizeof options[0])},
};


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
    for (const UiDialogTemplate* const* t = all(); *t; ++t)
        if ((*t)->id == id)
            return *t;
    return nullptr;
}

const UiDialogTemplate* const* UiDialogTemplates::all()
{
    // The dialogs', then the property pages', ending with null.
    static const std::vector<const UiDialogTemplate*> list = [] {
        std::vector<const UiDialogTemplate*> made;
        for (const UiDialogTemplate& t : templates)
            made.push_back(&t);
        for (int i = 0; i < UiPageTemplates::count; ++i)
            made.push_back(&UiPageTemplates::templates[i]);
        made.push_back(nullptr);
        return made;
    }();
    return list.data();
}
