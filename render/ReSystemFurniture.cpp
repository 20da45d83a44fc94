// Staff furniture: the drawing of everything on a staff that is not a note.

#include "render/ReGlyph.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

void ReSystem::drawGroupBracket(double x, double y, double height, int type, double endX)
{
    double savedHeight = renderer->extrusionHeight;
    renderer->extrusionHeight = staffDepth;
    double t = staffLineThickness;
    switch (type) {
    case 0: {
        // The brace glyph is half a brace of height 28; the lower half is
        // the upper one mirrored.
        drawGlyph(ReGlyph::braceHalf, x - 3, y - height / 2, 1, height / 28);
        drawGlyph(ReGlyph::braceHalf, x - 3, y - height / 2, 1, -height / 28);
        break;
    }
    case 1: {
        double left = x - 1.5;
        double top = y + 1.5;
        double bottom = top - (height + 3);
        drawGlyph(ReGlyph::bracketEnd, left, top, 0.75, 0.75);
        drawGlyph(ReGlyph::bracketEnd, left, bottom, 0.75, -0.75);
        fillBar(left, bottom, left + 0.75, top);
        break;
    }
    case 2: {
        double left = x - t / 2 - 1.5;
        double top = y + t / 2;
        double bottom = top - (height + t);
        fillBar(left, bottom, left + t, top);
        fillBar(left, top - t, endX, top);
        fillBar(left, bottom, endX, bottom + t);
        break;
    }
    case 3:
        fillBar(x - 1.75, y - height - 0.5, x - 1.25, y + 0.5);
        break;
    default:
        break;
    }
    renderer->extrusionHeight = savedHeight;
}
