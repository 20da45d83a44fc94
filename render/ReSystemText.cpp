// Text composition: text elements, part and group labels with their
// brackets, and the note figure of metronome marks.

#include "foundation/BcString.h"
#include "model/MnText.h"
#include "render/ReRenderer.h"
#include "render/ReSystem.h"

// Whether lower-casing would change the text (it holds capitals). Covers
// the characters the fonts can draw: ASCII and Latin-1.
static bool hasCapitals(const BcString& text)
{
    for (int i = 0; i < text.length(); ++i) {
        char16_t c = text[i];
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            return true;
    }
    return false;
}

// Height of a probe letter in the text's size and font; 0 when it cannot
// be measured.
static double probeHeight(ReRenderer* renderer, const char* letter, double size, int font)
{
    double x = 0, y = 0, width = 0, height = 0;
    if (!renderer->measureText(BcString(letter), size, font, false, &x, &y, &width, &height))
        return 0.0;
    return height;
}

void ReSystem::composeText(MnText* text, GePoint2d origin, MnElement* pickElement)
{
    if (!text)
        return;
    const BcString& string = text->text();
    double size = text->size();
    int font = text->font();
    bool underline = text->isUnderlined();

    double boxX = 0, boxY = 0, boxWidth = 0, boxHeight = 0;
    if (!renderer->measureText(string, size, font, underline, &boxX, &boxY, &boxWidth, &boxHeight))
        return;

    GePoint2d position = text->position();
    double x = position.x + origin.x;
    double y = position.y + origin.y;

    // Alignment: the column shifts left by half or all of the width; the row
    // moves the box against its anchor. Measured heights are zero or
    // negative (the box reaches down from its top), so subtracting one
    // raises the text.
    int alignment = text->alignment();
    if (alignment == 1 || alignment == 4 || alignment == 7 || alignment == 10)
        x -= boxWidth / 2;
    else if (alignment == 2 || alignment == 5 || alignment == 8 || alignment == 11)
        x -= boxWidth;
    if (alignment >= 3 && alignment <= 5) {
        double lowerHeight = probeHeight(renderer, "a", size, font);
        if (!hasCapitals(string))
            y -= lowerHeight / 2;
        else
            y -= probeHeight(renderer, "A", size, font) - lowerHeight / 2;
    } else if (alignment >= 6 && alignment <= 8) {
        y -= boxHeight;
    } else if (alignment >= 9 && alignment <= 11) {
        y -= probeHeight(renderer, "A", size, font);
    }

    MnElement* reported = pickElement ? pickElement : text;
    renderer->drawText(string, x - boxX, y - boxY, size, font, underline);
    renderer->markRect(GePoint2d(x, y), boxWidth, boxHeight, reported);
}
