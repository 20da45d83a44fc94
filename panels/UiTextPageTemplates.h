#pragma once

#include "app/UiDialogTemplates.h"

// The layouts of the tempo, text, credit and lyric pages, listed with the
// other pages' in UiPageTemplates.
struct UiTextPageTemplates
{
    static const UiControlTemplate tempo[];
    static const int tempoCount;
    static const UiControlTemplate text[];
    static const int textCount;
    static const UiControlTemplate credit[];
    static const int creditCount;
    static const UiControlTemplate lyric[];
    static const int lyricCount;
};
