#include "render/ReBitmap.h"

#include "editing/EdScoreFile.h"
#include "foundation/BcClassManager.h"
#include "model/MnCache.h"
#include "model/MnSheetMusic.h"
#include "render/ReExportSheets.h"
#include "render/ReGLHost.h"
#include "render/RePng.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cmath>
#include <memory>
#include <vector>

BC_IMPLEMENT_CREATABLE_CLASS(ReBitmap)

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
    bool ok = offscreenHost && createContext(offscreenHost) && scale > 0 && std::isfinite(scale);
    if (ok) {
        MnCache cache;
        const int total = sheets.totalPages();
        int number = 0;
        sheets.forEachPage([&](MnSheetMusic* sheet, const GePoint2d& origin) {
            transparent = transparentBackground;
            paperColor = sheet->paperColor() & 0xFFFFFF;
            paperTextured = (sheet->paperColor() >> 24) & 0xFF;
            const double width = sheet->pageWidth();
            const double height = sheet->pageHeight();
            fileName = pageFileName(path, number++, total);
            // Twice the size for smooth edges, else the size itself.
            bool drawn = false;
            supersample = 2;
            while (!drawn && supersample >= 1) {
                pageWritten = false;
                drawn = render(document, origin.x + width / 2, origin.y - height / 2, width,
                               supersample * std::floor(width * scale), supersample * std::floor(height * scale), 0,
                               0);
                if (!drawn)
                    supersample /= 2;
            }
            ok = ok && drawn && pageWritten;
        });
    }
    if (earlier && earlier != offscreenHost)
        earlier->makeCurrent();
    return ok;
}

bool ReBitmap::begin(QuorvaneDocument*, double centreX, double centreY, double pixelWidth, double pixelHeight)
{
    if (!hasCurrentContext() || !loadFramebufferCalls())
        return false;
    GLint largest = textureLimit;
    if (largest <= 0)
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (!(pixelWidth >= 1 && pixelHeight >= 1 && pixelWidth <= largest && pixelHeight <= largest))
        return false;
    const int width = int(pixelWidth);
    const int height = int(pixelHeight);

    const ReFramebufferCalls& gl = framebufferCalls;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousFramebuffer);
    gl.genFramebuffers(1, &framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenTextures(1, &colorTexture);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, transparent ? GL_RGBA8 : GL_RGB8, width, height, 0, transparent ? GL_RGBA : GL_RGB,
                 GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    gl.framebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colorTexture, 0);
    const GLenum attachment = GL_COLOR_ATTACHMENT0;
    gl.drawBuffers(1, &attachment);
    if (gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glDeleteTextures(1, &colorTexture);
        gl.bindFramebuffer(GL_FRAMEBUFFER, GLuint(previousFramebuffer));
        gl.deleteFramebuffers(1, &framebuffer);
        colorTexture = 0;
        framebuffer = 0;
        return false;
    }

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
        double w = viewWidth / 2;
        double h = viewHeight / 2;
        setColor(r, g, b, 255);
        fillTexturedQuad(centreX - w, centreY + h, centreX - w, centreY - h, centreX + w, centreY - h, centreX + w,
                         centreY + h);
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
    const int imageHeight = height / n;

    // Read as RGBA whatever the image keeps: it is the layout the
    // framebuffer has, so the read is a copy.
    std::unique_ptr<unsigned char[]> frame(new unsigned char[size_t(width) * size_t(height) * 4]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.get());

    // Each image pixel is the mean of its n x n block; the image's top row
    // is the framebuffer's highest.
    std::unique_ptr<unsigned char[]> image(new unsigned char[size_t(imageWidth) * size_t(imageHeight) * channels]);
    const unsigned divisor = unsigned(n * n);
    for (int row = 0; row < imageHeight; ++row) {
        unsigned char* out = image.get() + size_t(imageHeight - 1 - row) * size_t(imageWidth) * channels;
        for (int column = 0; column < imageWidth; ++column) {
            unsigned sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < n; ++dy) {
                const unsigned char* in = frame.get() + (size_t(row * n + dy) * size_t(width) + size_t(column * n)) * 4;
                for (int dx = 0; dx < n; ++dx, in += 4) {
                    sum[0] += in[0];
                    sum[1] += in[1];
                    sum[2] += in[2];
                    sum[3] += in[3];
                }
            }
            for (int c = 0; c < channels; ++c)
                *out++ = (unsigned char)(sum[c] / divisor);
        }
    }
    frame.reset();

    std::vector<unsigned char> png;
    pageWritten = imageWidth > 0 && imageHeight > 0
               && RePng::encode(image.get(), imageWidth, imageHeight, channels, png)
               && EdScoreFile::writeFile(fileName, png.data(), int(png.size()));

    const ReFramebufferCalls& gl = framebufferCalls;
    gl.bindFramebuffer(GL_FRAMEBUFFER, GLuint(previousFramebuffer));
    glDeleteTextures(1, &colorTexture);
    gl.deleteFramebuffers(1, &framebuffer);
    colorTexture = 0;
    framebuffer = 0;
}
