#pragma once

#include "model/MnMeasurer.h"

// The model's measurer: lays a text or a score's labels out through the
// composers onto a measuring picker and keeps what the marks cover.
class ReMeasurer : public MnMeasurer
{
public:
    ~ReMeasurer() override;

    GeBox2d textExtents(const MnText& text) const override;
    double labelsLeftmostX(const MnScore& score, bool abbreviated) const override;
    // The width of the text's box as every back end measures it.
    double textWidth(const BcString& text, int font, double size, bool underline) const override;
};
