#include "model/MnMeasureNumber.h"

#include "model/MnScore.h"

BC_IMPLEMENT_CLASS(MnMeasureNumber)

MnMeasureNumber::MnMeasureNumber(MnScore* score) : score(score)
{
    setAlignment(7);
    setText(BcString("@measure"));
    setSize(8.0);
    moveTo(GePoint2d(0.0, 7.0));
}

MnElement* MnMeasureNumber::parent() const
{
    return score;
}

bool MnMeasureNumber::moveTo(const GePoint2d& point)
{
    double y = point.y;
    if (y < 0.0)
        y = 0.0;
    if (y > 12.0)
        y = 12.0;
    return storePosition(GePoint2d(0.0, y));
}
