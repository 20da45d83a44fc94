#include "render/ReMeasurer.h"

#include "model/MnCache.h"
#include "model/MnScore.h"
#include "model/MnText.h"
#include "render/ReFontMetrics.h"
#include "render/RePartExtents.h"
#include "render/ReSystem.h"
#include "render/ReTextExtents.h"

ReMeasurer::~ReMeasurer() = default;

GeBox2d ReMeasurer::textExtents(const MnText& text) const
{
    // The box is the union of what the text composer marks while it lays the
    // text out through a measuring picker. The composer only reads the text;
    // the marks take a modifiable element and ignore it here.
    MnCache cache;
    ReTextExtents measure;
    ReSystem composer(&measure);
    MnText* self = const_cast<MnText*>(&text);
    composer.composeText(self, GePoint2d(0.0, 0.0), self);
    return measure.box;
}

double ReMeasurer::labelsLeftmostX(const MnScore& score, bool abbreviated) const
{
    MnCache cache;
    RePartExtents measure;
    ReSystem composer(&measure);
    // The composer fills the parts' scratch labels; the score itself only
    // supplies what it reads.
    MnScore* self = const_cast<MnScore*>(&score);
    composer.composePartNames(self, -1, 0, score.staffCount(), GePoint2d(0.0, 0.0), 0.0, abbreviated);
    return measure.leftmostX;
}

double ReMeasurer::textWidth(const BcString& text, int font, double size, bool underline) const
{
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    if (!measureTextExtent(text, size, font, underline, &x, &y, &width, &height))
        return 0.0;
    return width;
}
