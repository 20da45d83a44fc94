#pragma once

#include "model/MnText.h"

// The page-number template of a sheet music: the style in which page numbers
// are drawn. It is not registered, so type tests see it as a text, and it
// never moves: the sheet places each page number at its page's outer corner.
class MnPageNumber : public MnText
{
public:
    // Alignment 8, text "@page", size 10, at (0, 0).
    MnPageNumber();
    ~MnPageNumber() override = default;

    bool moveTo(const GePoint2d& point) override;
};
