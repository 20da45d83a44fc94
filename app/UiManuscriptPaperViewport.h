#pragma once

#include "render/ReOpenGL.h"

class MnSheetMusic;

// The manuscript-paper preview's renderer: it shows page 0 of the dialog's
// sheet copy fitted into its window, and ends a frame without the score
// view's scroll-wheel widgets. It draws on whatever host it is given: the
// dialog's canvas, or an offscreen one.
class UiManuscriptPaperViewport : public ReOpenGL
{
    BC_DECLARE_CREATABLE_CLASS(UiManuscriptPaperViewport)
public:
    UiManuscriptPaperViewport();
    ~UiManuscriptPaperViewport() override;

    // Centres the page and sizes the view so the page fills a client of
    // width x height pixels with a tenth to spare on its tighter side.
    // Nothing happens without a context, a sheet or a client of any size.
    void fitPage(const MnSheetMusic* sheet, int clientWidth, int clientHeight);
    // Draws the sheet's first page as blank paper; false when nothing was
    // drawn (no context, no sheet, an empty client).
    bool redraw(MnSheetMusic* sheet, int clefMode, int barCount, int clientWidth, int clientHeight);

    void end(double pixelWidth, double pixelHeight) override;

    double centreX = 0.0;
    double centreY = 0.0;
    double width = 0.0;  // of the view, in sheet units
};
