#include "render/ReBitmap.h"

#include "editing/EdScoreFile.h"
#include "foundation/BcClassManager.h"
#include "model/MnCache.h"
#include "model/MnSheetMusic.h"
#include "render/ReExportSheets.h"
#include "render/ReGLHost.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cmath>
#include <vector>

BC_IMPLEMENT_CREATABLE_CLASS(ReBitmap)

// Framebuffer pixels of one band: some four megabytes, so the memory of an
// export stays small and each band is drawn without a second pass.
static constexpr int bandPixelCount = 1 << 20;

// The framebuffer entry points, fetched by name through the host the
// first time a page needs them.
struct ReFramebufferCalls
{
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLDRAWBUFFERSPROC drawBuffers = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLFRAMEBUFFERTEXTUREPROC framebufferTexture = nullptr;

    bool complete() const
    {
        return genFramebuffers && bindFramebuffer && deleteFramebuffers && drawBuffers && checkFramebufferStatus
            && framebufferTexture;
    }
};

static ReFramebufferCalls framebufferCalls;

template <class Call>
static void fetch(ReGLHost* host, Call& call, const char* name)
{
    if (!call)
        call = reinterpret_cast<Call>(host->procAddress(name));
}

ReBitmap::ReBitmap()
{
    outputKind = 1;
}

ReBitmap::~ReBitmap()
{
    if (framebuffer && hasCurrentContext())
        deleteFramebuffer();
    delete offscreenHost;
}

bool ReBitmap::loadFramebufferCalls()
{
    ReGLHost* gl = host();
    fetch(gl, framebufferCalls.genFramebuffers, "glGenFramebuffers");
    fetch(gl, framebufferCalls.bindFramebuffer, "glBindFramebuffer");
    fetch(gl, framebufferCalls.deleteFramebuffers, "glDeleteFramebuffers");
    fetch(gl, framebufferCalls.drawBuffers, "glDrawBuffers");
    fetch(gl, framebufferCalls.checkFramebufferStatus, "glCheckFramebufferStatus");
    fetch(gl, framebufferCalls.framebufferTexture, "glFramebufferTexture");
    return framebufferCalls.complete();
}

int ReBitmap::largestSide()
{
    GLint largest = textureLimit;
    if (largest <= 0)
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    return largest;
}

BcString ReBitmap::pageFileName(const BcString& path, int number, int total)
{
    if (total <= 1)
        return path;
    // The extension is what follows the last dot of the file's own name.
    int dot = -1;
    for (int i = path.length() - 1; i >= 0; --i) {
        char16_t c = path[i];
        if (c == u'/' || c == u'\\')
            break;
        if (c == u'.') {
            dot = i;
            break;
        }
    }
    int digits = total <= 10 ? 1 : total <= 100 ? 2 : 3;
    BcString stem = dot >= 0 ? (dot > 0 ? path.midRange(0, dot - 1) : BcString()) : path;
    BcString name = stem + BcString(" ") + BcString(number, digits);
    if (dot >= 0)
        name.append(path.mid(dot));
    return name;
}

bool ReBitmap::exportImages(const BcString& path, QuorvaneDocument* document, bool transparentBackground,
                            double scale)
{
    ReExportSheets sheets(*this, document);
    if (sheets.count() == 0)
        return false;

    ReGLHost* earlier = ReGLHost::current();
    if (!offscreenHost)
        offscreenHost = ReGLHost::newOffscreen(1, 1);
    bool ok = offscreenHost && createContext(offscreenHost) && loadFramebufferCalls() && scale > 0
           && std::isfinite(scale);
    if (ok) {
        MnCache cache;
        const int total = sheets.totalPages();
        const double largest = largestSide();
        int number = 0;
        sheets.forEachPage([&](MnSheetMusic* sheet, const GePoint2d& origin) {
            transparent = transparentBackground;
            paperColor = sheet->paperColor() & 0xFFFFFF;
            paperTextured = (sheet->paperColor() >> 24) & 0xFF;
            const double width = sheet->pageWidth();
            const double height = sheet->pageHeight();
            fileName = pageFileName(path, number++, total);
            pageWritten = false;
            // Twice the size for smooth edges, else the size itself; a
            // page too large even for that is given up.
            for (supersample = 2; supersample >= 1; --supersample) {
                double pixelWidth = supersample * std::floor(width * scale);
                double pixelHeight = supersample * std::floor(height * scale);
                if (pixelWidth >= 1 && pixelHeight >= 1 && pixelWidth <= largest && pixelHeight <= largest) {
                    pageWritten = drawPage(document, origin, width, height, int(pixelWidth), int(pixelHeight));
                    break;
                }
            }
            ok = ok && pageWritten;
        });
        deleteFramebuffer();
    }
    if (earlier && earlier != offscreenHost)
        earlier->makeCurrent();
    return ok;
}

bool ReBitmap::drawPage(QuorvaneDocument* document, const GePoint2d& origin, double width, double height,
                        int pixelWidth, int pixelHeight)
{
    const int n = supersample;
    const int channels = transparent ? 4 : 3;
    if (!pngWriter.start(pixelWidth / n, pixelHeight / n, channels))
        return false;
    imageRow.reset(new unsigned char[size_t(pixelWidth / n) * size_t(channels)]);
    pageLeft = origin.x;
    pageRight = origin.x + width;
    pageTop = origin.y;
    pageBottom = origin.y - height;
    pageBoxSet = true;

    // Bands of whole image rows, top down; each is one frame.
    const int bandRows = std::max(n, bandPixelCount / pixelWidth / n * n);
    const double unitsPerPixel = width / pixelWidth;
    bandFailed = false;
    bool drawn = true;
    for (int top = 0; top < pixelHeight && drawn && !bandFailed; top += bandRows) {
        const int rows = std::min(bandRows, pixelHeight - top);
        const double centreY = origin.y - (top + rows / 2.0) * unitsPerPixel;
        drawn = render(document, origin.x + width / 2, centreY, width, pixelWidth, rows, 0, 0);
    }
    pageBoxSet = false;
    std::vector<unsigned char> png;
    return drawn && !bandFailed && pngWriter.finish(png) && EdScoreFile::writeFile(fileName, png.data(), int(png.size()));
}

bool ReBitmap::bindFramebuffer(int width, int height)
{
    const ReFramebufferCalls& gl = framebufferCalls;
    if (framebuffer && framebufferWidth >= width && framebufferHeight >= height) {
        gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        return true;
    }
    deleteFramebuffer();
    gl.genFramebuffers(1, &framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenTextures(1, &colorTexture);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    // RGBA whether or not the image keeps alpha: it is what the rasteriser
    // draws into and reads back without conversion.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    gl.framebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colorTexture, 0);
    const GLenum attachment = GL_COLOR_ATTACHMENT0;
    gl.drawBuffers(1, &attachment);
    if (gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        deleteFramebuffer();
        return false;
    }
    framebufferWidth = width;
    framebufferHeight = height;
    return true;
}

void ReBitmap::deleteFramebuffer()
{
    const ReFramebufferCalls& gl = framebufferCalls;
    if (!framebuffer)
        return;
    gl.bindFramebuffer(GL_FRAMEBUFFER, GLuint(previousFramebuffer));
    glDeleteTextures(1, &colorTexture);
    gl.deleteFramebuffers(1, &framebuffer);
    colorTexture = 0;
    framebuffer = 0;
    framebufferWidth = 0;
    framebufferHeight = 0;
}

bool ReBitmap::begin(QuorvaneDocument*, double centreX, double centreY, double pixelWidth, double pixelHeight)
{
    if (!hasCurrentContext() || !loadFramebufferCalls())
        return false;
    const double largest = largestSide();
    if (!(pixelWidth >= 1 && pixelHeight >= 1 && pixelWidth <= largest && pixelHeight <= largest))
        return false;
    if (!framebuffer)
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousFramebuffer);
    if (!bindFramebuffer(int(pixelWidth), int(pixelHeight)))
        return false;

    setFrameProjection(centreX, centreY, pixelWidth, pixelHeight, 0.0, 1.0);
    resetDrawingState();
    if (transparent) {
        // Around the music the image stays clear.
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        return true;
    }
    int r = paperColor & 0xFF;
    int g = (paperColor >> 8) & 0xFF;
    int b = (paperColor >> 16) & 0xFF;
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (paperTextured > 0) {
        // Over the whole page, so the grain runs on from band to band.
        double left = centreX - viewWidth / 2, right = centreX + viewWidth / 2;
        double bottom = centreY - viewHeight / 2, top = centreY + viewHeight / 2;
        if (pageBoxSet) {
            left = pageLeft;
            right = pageRight;
            bottom = pageBottom;
            top = pageTop;
        }
        setColor(r, g, b, 255);
        fillTexturedQuad(left, top, left, bottom, right, bottom, right, top);
    }
    return true;
}

void ReBitmap::end(double pixelWidth, double pixelHeight)
{
    const int width = int(pixelWidth);
    const int height = int(pixelHeight);
    const int n = supersample >= 1 ? supersample : 1;
    const int channels = transparent ? 4 : 3;
    const int imageWidth = width / n;

    const size_t needed = size_t(width) * size_t(height) * 4;
    if (needed > bandCapacity) {
        bandPixels.reset(new unsigned char[needed]);
        bandCapacity = needed;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bandPixels.get());
    if (!imageRow)
        imageRow.reset(new unsigned char[size_t(imageWidth) * size_t(channels)]);

    // Each image pixel is the mean of its n x n block; the framebuffer's
    // highest rows are the band's top.
    const unsigned divisor = unsigned(n * n);
    const size_t stride = size_t(width) * 4;
    for (int row = 0; row < height / n && !bandFailed; ++row) {
        const unsigned char* block = bandPixels.get() + size_t(height - n * (row + 1)) * stride;
        unsigned char* out = imageRow.get();
        if (n == 2) {
            // The usual case, without the inner loops.
            const unsigned char* lower = block;
            const unsigned char* upper = block + stride;
            for (int column = 0; column < imageWidth; ++column, lower += 8, upper += 8, out += channels) {
                for (int c = 0; c < channels; ++c)
                    out[c] = (unsigned char)((lower[c] + lower[c + 4] + upper[c] + upper[c + 4]) >> 2);
            }
        } else {
            for (int column = 0; column < imageWidth; ++column) {
                unsigned sum[4] = {0, 0, 0, 0};
                for (int dy = 0; dy < n; ++dy) {
                    const unsigned char* in = block + size_t(dy) * stride + size_t(column * n) * 4;
                    for (int dx = 0; dx < n; ++dx, in += 4) {
                        for (int c = 0; c < 4; ++c)
                            sum[c] += in[c];
                    }
                }
                for (int c = 0; c < channels; ++c)
                    *out++ = (unsigned char)(sum[c] / divisor);
            }
        }
        bandFailed = !pngWriter.writeRow(imageRow.get());
    }
}
