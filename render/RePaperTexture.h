#pragma once

// The image of the paper grain that a textured sheet is drawn with: 128 x
// 128 pixels, red, green and blue bytes, rows from the bottom up. It tiles
// seamlessly in both directions; the back end tints it with the paper
// colour. It is made from a fixed seed, so every run draws the same paper.
class RePaperTexture
{
public:
    static constexpr int size = 128;
    static const unsigned char* pixels();
};
