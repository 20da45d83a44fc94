#pragma once

#include "editing/QuorvaneDocument.h"
#include "model/MnCredit.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"

// Adds a sheet of width x height millimetres of paper to a document, turned
// so that it shows at that size. Its score is drawn at a twentieth of its
// size at the top of the printable area, so that even the smallest paper
// holds it on one page. The default credits are taken off: they stand at
// full size and would cover the paper the tests look at.
inline MnSheetMusic* addSheet(QuorvaneDocument& document, int width = 210, int height = 297)
{
    MnSheetMusic* sheet = new MnSheetMusic;
    sheet->setPaperSize(width, height);
    sheet->setLandscape(width > height);
    sheet->score()->setScale(0.05);
    sheet->score()->moveTo(GePoint2d(0.0, 0.0));
    while (sheet->creditCount() > 0)
        sheet->removeChild(sheet->credit(0));
    document.addWork(sheet);
    return sheet;
}
