#pragma once

#include <string>

// A rectangle of window pixels, [left, right) x [top, bottom).
struct UiRect
{
    int left = 0, top = 0, right = 0, bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const UiRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// What the instrument panels draw with: filled rectangles, one-pixel frames,
// texts on a base line and the final copy to the window. The toolkit's
// painter draws into a memory bitmap; tests record the calls.
class UiPainter
{
public:
    enum Align { alignLeft, alignCenter };

    static constexpr unsigned rgb(int r, int g, int b) { return unsigned(r) << 16 | unsigned(g) << 8 | unsigned(b); }

    virtual ~UiPainter() = default;
    // Colours are 0xRRGGBB. An empty rectangle draws nothing.
    virtual void fill(const UiRect& rect, unsigned color) = 0;
    virtual void frame(const UiRect& rect, unsigned color) = 0;
    // The dialog font's size of a UTF-8 text.
    virtual void measure(const std::string& text, int& width, int& height) = 0;
    // A UTF-8 text on a transparent ground, its base line at y.
    virtual void text(const std::string& text, int x, int baseline, Align align, unsigned color) = 0;
    // The whole picture to the window at once.
    virtual void blit() = 0;
};
