#pragma once

#include "render/ReGLHost.h"
#include "render/ReOpenGL.h"

#include <GL/gl.h>
#include <memory>
#include <vector>

// An offscreen OpenGL target for drawing tests: a host of width x height
// pixels, frames over a view box of the given width, and the pixels read
// back at drawing-unit positions.
struct GLPixel {
    int r, g, b, a;
    bool isWhite() const { return r > 230 && g > 230 && b > 230; }
    bool isBlack() const { return r < 25 && g < 25 && b < 25; }
};

class GLTestFrame
{
public:
    explicit GLTestFrame(int width = 200, int height = 200)
        : width(width), height(height), host(ReGLHost::newOffscreen(width, height))
    {
    }

    // Whether the host exists and the renderer has it current.
    bool attach(ReOpenGL& renderer) { return host && renderer.createContext(host.get()); }

    // The view box of a frame about (cx, cy), width units wide.
    bool begin(ReOpenGL& renderer, double cx, double cy, double viewWidth)
    {
        renderer.setView(cx, cy, viewWidth, width, height);
        return renderer.begin(nullptr, cx, cy, width, height);
    }

    void read()
    {
        glFinish();
        pixels.assign(size_t(width) * size_t(height) * 4, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }

    // The pixel at column x, row y counted from the bottom.
    GLPixel pixel(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return {255, 255, 255, 255};
        const unsigned char* p = pixels.data() + (size_t(y) * size_t(width) + size_t(x)) * 4;
        return {p[0], p[1], p[2], p[3]};
    }

    // The pixel under a point in drawing units of the last frame.
    GLPixel at(const ReRenderer& renderer, double x, double y) const
    {
        double left = renderer.viewTopLeft.x;
        double bottom = renderer.viewBottomRight.y;
        int column = int((x - left) / renderer.viewWidth * width);
        int row = int((y - bottom) / renderer.viewHeight * height);
        return pixel(column, row);
    }

    int width;
    int height;
    std::unique_ptr<ReGLHost> host;
    std::vector<unsigned char> pixels;
};
