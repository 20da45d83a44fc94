#pragma once

#include "app/UiDialogTemplates.h"
#include "panels/UiAnchorList.h"

// The control tables and anchor tables of the part, part-group and staff
// pages; UiPageTemplates lists the templates with the other pages'.
struct UiPartPageLayouts
{
    static const UiControlTemplate part[];
    static const int partCount;
    static const UiControlTemplate partGroup[];
    static const int partGroupCount;
    static const UiControlTemplate staff[];
    static const int staffCount;

    static const UiAnchorSpec partAnchors[];
    static const int partAnchorCount;
    static const UiAnchorSpec partGroupAnchors[];
    static const int partGroupAnchorCount;
    static const UiAnchorSpec staffAnchors[];
    static const int staffAnchorCount;
};
