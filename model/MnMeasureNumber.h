#pragma once

#include "model/MnText.h"

class MnScore;

// The measure-number template of a score: the style and offset in which the
// score composer draws measure numbers. It stays at x 0, between 0 and 12
// staff steps above its staff.
class MnMeasureNumber : public MnText
{
    BC_DECLARE_CLASS(MnMeasureNumber)
public:
    // Alignment 7, text "@measure", size 8, at (0, 7).
    explicit MnMeasureNumber(MnScore* score);
    ~MnMeasureNumber() override = default;

    MnElement* parent() const override;
    bool moveTo(const GePoint2d& point) override;

private:
    MnScore* score;
};
