#pragma once

#include "model/MnCache.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/render/DrawnShapes.h"

#include <string>
#include <vector>

// Composes one system of a score through a recording renderer whose view is
// the square of width units centred on (centreX, centreY).
struct OneSystem
{
    OneSystem(double centreX = 60, double centreY = -20, double width = 400)
    {
        renderer.setView(centreX, centreY, width, 1000, 1000);
    }
    void compose(MnScore* score, int first, int count, GePoint2d origin = GePoint2d(0, 0), double stretch = 1.0)
    {
        MnCache cache;
        renderer.clear();
        system.composeScore(score, first, count, origin, stretch, 0);
    }
    RecordingRenderer renderer;
    ReSystem system{&renderer};
};

inline std::vector<PlacedGlyph> glyphsNamed(const RecordingRenderer& renderer, const std::string& name)
{
    std::vector<PlacedGlyph> found;
    for (const PlacedGlyph& glyph : placedGlyphs(renderer)) {
        if (glyph.name == name)
            found.push_back(glyph);
    }
    return found;
}
