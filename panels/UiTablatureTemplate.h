#pragma once

#include "app/UiDialogTemplates.h"

// The layout of the tablature page, in dialog units; UiPageTemplates lists
// it with the other pages.
struct UiTablatureTemplate
{
    static constexpr unsigned id = 126;
    static constexpr int width = 210;
    static constexpr int height = 394;
    static constexpr int controlCount = 42;
    static const UiControlTemplate controls[controlCount];
};
