#include "model/MnPageNumber.h"

MnPageNumber::MnPageNumber()
{
    setAlignment(8);
    setText(BcString("@page"));
    setSize(10.0);
}

bool MnPageNumber::moveTo(const GePoint2d&)
{
    return false;
}
