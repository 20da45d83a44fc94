#pragma once

class wxStaticBitmap;

// The page boxes of the sheet-music page and its sheet pictures: a picture
// control drawn as the outline of a page, black or in the highlight
// colour, and nothing inside.
class UiSheetCtrl
{
public:
    // color: 0x00BBGGRR.
    static void draw(wxStaticBitmap& control, int color);
};
