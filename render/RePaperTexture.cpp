#include "render/RePaperTexture.h"

#include <cmath>
#include <cstdint>

// A lattice value of the noise, repeating every period cells so that the
// image tiles.
static double latticeValue(int x, int y, int periodX, int periodY, uint32_t seed)
{
    x = ((x % periodX) + periodX) % periodX;
    y = ((y % periodY) + periodY) % periodY;
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 65535.0;
}

static double smooth(double t)
{
    return t * t * (3 - 2 * t);
}

// Value noise over a lattice of periodX by periodY cells across the image.
static double noise(double x, double y, int periodX, int periodY, uint32_t seed)
{
    double gx = x * periodX / RePaperTexture::size;
    double gy = y * periodY / RePaperTexture::size;
    int ix = int(std::floor(gx));
    int iy = int(std::floor(gy));
    double fx = smooth(gx - ix);
    double fy = smooth(gy - iy);
    double a = latticeValue(ix, iy, periodX, periodY, seed);
    double b = latticeValue(ix + 1, iy, periodX, periodY, seed);
    double c = latticeValue(ix, iy + 1, periodX, periodY, seed);
    double d = latticeValue(ix + 1, iy + 1, periodX, periodY, seed);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

struct RePaperImage
{
    unsigned char bytes[RePaperTexture::size * RePaperTexture::size * 3];

    RePaperImage()
    {
        const int n = RePaperTexture::size;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                // Soft clouds with a finer grain and fibres running across.
                double v = 0.5 * noise(x, y, 4, 4, 1) + 0.3 * noise(x, y, 16, 16, 2) + 0.2 * noise(x, y, 8, 64, 3);
                int shade = 255 - int(v * 28.0);
                unsigned char* p = bytes + 3 * (y * n + x);
                p[0] = (unsigned char)shade;
                p[1] = (unsigned char)shade;
                p[2] = (unsigned char)(shade > 4 ? shade - 4 : 0);  // a little warmer than grey
            }
        }
    }
};

const unsigned char* RePaperTexture::pixels()
{
    static const RePaperImage image;
    return image.bytes;
}
