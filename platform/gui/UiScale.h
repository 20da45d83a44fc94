#pragma once

// The display scale s: every pixel size is a size at 96 dots per inch times
// s, truncated toward zero. s is 1.0 where the icon metric is 32 pixels and
// the metric / 32 otherwise, read afresh at each use; tests set it.
class UiScale
{
public:
    static double s();
    // A size at 96 dpi in pixels of this display.
    static int pixels(int size96) { return int(size96 * s()); }
    // Makes s answer the given value; 0 goes back to the display's.
    static void setForTests(double value);
};
