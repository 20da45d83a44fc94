#pragma once

#include "app/UiDialogTemplates.h"

// The layouts of the property pages; UiDialogTemplates lists them with the
// dialogs', so the translations find their texts.
struct UiPageTemplates
{
    static const UiDialogTemplate templates[];
    static const int count;
};
