#include "render/ReSystem.h"

#include "foundation/BcClassManager.h"
#include "render/ReGlyph.h"
#include "render/ReRenderer.h"

BC_IMPLEMENT_CLASS(ReSystem)

ReSystem::ReSystem(ReRenderer* renderer)
    : ReComposer(renderer)
{
}

ReSystem::~ReSystem() = default;

bool ReSystem::isSelected(const MnElement* element) const
{
    return element && renderer->contains(element);
}

void ReSystem::setColorBySelection(const MnElement* element)
{
    setColorMode(isSelected(element) ? 3 : 2);
}

void ReSystem::drawGlyph(const ReGlyph& glyph, double x, double y, double sx, double sy)
{
    renderer->fillMesh(glyph.vertices, glyph.vertexCount, glyph.triangles, glyph.triangleCount, x, y, sx, sy);
}

void ReSystem::fillTexturedBar(double left, double bottom, double right, double top)
{
    renderer->fillTexturedQuad(left, top, left, bottom, right, bottom, right, top);
}
