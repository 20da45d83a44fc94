#pragma once

#include "foundation/BcString.h"
#include "render/ReOpenGL.h"
#include "render/RePngWriter.h"

#include <memory>

// Writes the pages of sheet music to PNG images. It draws each page on an
// offscreen host at twice the wanted size, reads the pixels back, averages
// each 2 x 2 block and writes the image; a page too large for that is drawn
// at the wanted size instead. A page is drawn in bands across its width,
// each band read back and encoded before the next is drawn, so an export
// needs a few megabytes rather than a framebuffer of the whole page.
class ReBitmap : public ReOpenGL
{
    BC_DECLARE_CREATABLE_CLASS(ReBitmap)
public:
    ReBitmap();
    ~ReBitmap() override;

    // Writes every page of the chosen sheets (those in this renderer's
    // selection, in selection order, else every sheet of the document) at
    // scale pixels per millimetre: one page to path itself, more pages to
    // path with " 0", " 1", ... before its extension. Each sheet is drawn
    // spread out and keeps its presentation. False when there is no sheet,
    // or when a page could not be drawn or written (the others still are).
    // The host current before is current again afterwards.
    bool exportImages(const BcString& path, QuorvaneDocument* document, bool transparent, double scale);

    // The file of page number of total: path itself for a single page;
    // otherwise the number, zero-padded to 1, 2 or 3 digits for up to 10,
    // 100 or more pages, goes after a space before the extension.
    static BcString pageFileName(const BcString& path, int number, int total);

    // A frame is one band of the page being exported: begin sets up the
    // framebuffer and the background, end reads the band back and encodes
    // its rows.
    bool begin(QuorvaneDocument* document, double centreX, double centreY, double pixelWidth,
               double pixelHeight) override;
    void end(double pixelWidth, double pixelHeight) override;

    BcString fileName;          // where the page is written
    bool transparent = false;   // an alpha channel and no background
    int supersample = 1;        // framebuffer size over image size
    int paperColor = 0xFFFFFF;  // 0x00BBGGRR of the page's background
    int paperTextured = 0;      // positive: the paper texture, tinted
    // The largest framebuffer side; 0 takes the implementation's largest
    // texture size. Tests lower it to reach the limit.
    int textureLimit = 0;
    // Whether the last page was written.
    bool pageWritten = false;

private:
    bool loadFramebufferCalls();
    int largestSide();
    // Draws one page band by band into the image file; false when a band
    // could not be drawn or the file not written.
    bool drawPage(QuorvaneDocument* document, const GePoint2d& origin, double width, double height,
                  int pixelWidth, int pixelHeight);
    // A framebuffer of at least the size, kept from band to band.
    bool bindFramebuffer(int width, int height);
    void deleteFramebuffer();

    ReGLHost* offscreenHost = nullptr;  // owned
    unsigned framebuffer = 0;
    unsigned colorTexture = 0;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    int previousFramebuffer = 0;
    // The page being written: its box in drawing units (the paper texture
    // is laid over the whole page, whatever band is drawn) and its rows.
    bool pageBoxSet = false;
    double pageLeft = 0, pageBottom = 0, pageRight = 0, pageTop = 0;
    RePngWriter pngWriter;
    bool bandFailed = false;
    std::unique_ptr<unsigned char[]> bandPixels;
    size_t bandCapacity = 0;
    std::unique_ptr<unsigned char[]> imageRow;
};
