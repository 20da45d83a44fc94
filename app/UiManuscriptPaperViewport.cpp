#include "app/UiManuscriptPaperViewport.h"

#include "model/MnSheetMusic.h"
#include "render/ReGLHost.h"

#include <GL/gl.h>

BC_IMPLEMENT_CREATABLE_CLASS(UiManuscriptPaperViewport)

UiManuscriptPaperViewport::UiManuscriptPaperViewport() = default;

UiManuscriptPaperViewport::~UiManuscriptPaperViewport() = default;

void UiManuscriptPaperViewport::fitPage(const MnSheetMusic* sheet, int clientWidth, int clientHeight)
{
    if (!sheet || !host() || clientWidth <= 0 || clientHeight <= 0)
        return;
    const double pageWidth = sheet->pageWidth();
    const double pageHeight = sheet->pageHeight();
    if (!(pageWidth > 0) || !(pageHeight > 0))
        return;
    GePoint2d p = sheet->position();
    centreX = p.x + pageWidth / 2;
    centreY = p.y - pageHeight / 2;
    const double aspect = double(clientWidth) / double(clientHeight);
    width = pageWidth / pageHeight > aspect ? pageWidth * 1.1 : pageHeight * 1.1 * aspect;
}

bool UiManuscriptPaperViewport::redraw(MnSheetMusic* sheet, int clefMode, int barCount, int clientWidth,
                                       int clientHeight)
{
    if (!sheet || !host() || clientWidth <= 0 || clientHeight <= 0 || !(width > 0))
        return false;
    if (!host()->isCurrent() && !host()->makeCurrent())
        return false;
    return renderSheetPage(sheet, clefMode, barCount, centreX, centreY, width, clientWidth, clientHeight);
}

void UiManuscriptPaperViewport::end(double, double)
{
    glFlush();
    if (host())
        host()->swapBuffers();
}
