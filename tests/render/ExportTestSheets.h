#pragma once

#include "editing/QuorvaneDocument.h"
#include "model/MnSheetMusic.h"

// Adds a sheet of width x height millimetres of paper to a document, turned
// so that it shows at that size.
inline MnSheetMusic* addSheet(QuorvaneDocument& document, int width = 210, int height = 297)
{
    MnSheetMusic* sheet = new MnSheetMusic;
    sheet->setPaperSize(width, height);
    sheet->setLandscape(width > height);
    document.addWork(sheet);
    return sheet;
}
