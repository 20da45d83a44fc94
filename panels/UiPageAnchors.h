#pragma once

#include "panels/UiAnchorList.h"

// How the controls of the property pages follow the page's width.
struct UiPageAnchors
{
    static const UiAnchorSpec note[];
    static const int noteCount;
    static const UiAnchorSpec measure[];
    static const int measureCount;
    static const UiAnchorSpec work[];
    static const int workCount;
    static const UiAnchorSpec score[];
    static const int scoreCount;
    static const UiAnchorSpec sheetMusic[];
    static const int sheetMusicCount;
};
