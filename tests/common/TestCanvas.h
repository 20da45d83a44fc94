#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A small software canvas for tests that write pictures for a person to
// look at: filled triangles with antialiased edges, saved as PNG.
// Coordinates are pixels, origin at the top left, y down.
class TestCanvas {
public:
    TestCanvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    void fillRect(double x0, double y0, double x1, double y1, uint8_t r, uint8_t g, uint8_t b);
    void fillTriangle(double x0, double y0, double x1, double y1, double x2, double y2, uint8_t r, uint8_t g,
                      uint8_t b);
    // Draws a mesh of (x, y) vertex pairs and index triples, each vertex at
    // (originX + scale * x, originY - scale * y): mesh y grows upward.
    void fillMesh(const double* vertices, const int* triangles, int triangleCount, double originX, double originY,
                  double scale, uint8_t r, uint8_t g, uint8_t b);

    // Text of characters 0 to 255 from a font file, its baseline origin at
    // (x, y), em height in pixels; false when the font cannot be read.
    bool drawText(const std::string& fontFile, int faceIndex, const char16_t* text, int length, double x, double y,
                  double emPixels, uint8_t r, uint8_t g, uint8_t b);

    // Red, green and blue of one pixel; (255, 255, 255) outside the canvas.
    void pixel(int x, int y, uint8_t* r, uint8_t* g, uint8_t* b) const;

    // Writes the canvas through a temporary file renamed into place.
    bool writePng(const std::string& path) const;

private:
    void blend(int x, int y, double coverage, uint8_t r, uint8_t g, uint8_t b);

    int width_;
    int height_;
    std::vector<uint8_t> rgb_;
};
