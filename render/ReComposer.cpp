#include "render/ReComposer.h"

#include "foundation/BcClassManager.h"
#include "foundation/BcSettings.h"
#include "render/ReRenderer.h"

BC_IMPLEMENT_CLASS(ReComposer)

ReComposer::ReComposer(ReRenderer* renderer)
    : renderer(renderer)
{
}

ReComposer::~ReComposer() = default;

// Setting colours are 0x00BBGGRR; the fourth byte is ignored.
static void setSettingColor(ReRenderer* renderer, BcSettings::Key key)
{
    int color = BcSettings::current().value(key);
    renderer->setColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, 255);
}

void ReComposer::setColorMode(int mode)
{
    switch (mode) {
    case 0:
        setSettingColor(renderer, BcSettings::backgroundColor);
        break;
    case 1:
        renderer->setColor(200, 200, 200, 255);
        break;
    case 2:
        renderer->setColor(0, 0, 0, 255);
        break;
    case 3:
        setSettingColor(renderer, BcSettings::selectionColor);
        break;
    case 4:
        setSettingColor(renderer, BcSettings::selectionVoice2Color);
        break;
    case 5:
        setSettingColor(renderer, BcSettings::playingColor);
        break;
    default:
        break;
    }
}

void ReComposer::fillBar(double left, double bottom, double right, double top)
{
    renderer->fillQuad(left, top, left, bottom, right, bottom, right, top);
}
