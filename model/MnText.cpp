#include "model/MnText.h"

#include "foundation/BcFiler.h"
#include "model/MnCache.h"
#include "model/MnLimits.h"
#include "model/MnMeasurer.h"

#include <cmath>

BC_IMPLEMENT_CREATABLE_CLASS(MnText)

// The record keeps the size in one signed byte, truncated toward zero; the
// setters keep it within 1..127.
static char sizeByte(double size)
{
    return char(int(mnClampedTextSize(size)));
}

// The composer turns the code into a row and a column; anything outside the
// twelve codes is drawn as code 0 rather than shifted off the page.
static int validAlignment(int alignment)
{
    return alignment >= 0 && alignment < MnText::alignmentCount ? alignment : 0;
}

// Font numbers index the renderers' font tables.
static int validFont(int font)
{
    return font >= 0 && font < MnText::fontCount ? font : 0;
}

MnElement* MnText::parent() const
{
    return nullptr;
}

bool MnText::read(BcFiler& filer)
{
    if (!readPoint(filer, textPosition))
        return false;

    int alignment = 0;
    if (filer.version() >= 4) {
        char value = 0;
        if (!filer.readChar(value))
            return false;
        alignment = static_cast<signed char>(value);
    } else if (!filer.readInt(alignment)) {
        return false;
    }
    textAlignment = validAlignment(alignment);

    BcString text;
    if (!filer.readString(text))
        return false;
    textString = text;

    int font = 0;
    bool underline = false;
    if (filer.version() >= 4) {
        char value = 0;
        if (!filer.readByteAndFlag(value, underline))
            return false;
        font = value;
    } else if (!filer.readInt(font)) {
        return false;
    }
    textFont = validFont(font);
    textUnderline = underline;

    // The text is measured and drawn at its size; a size of nothing or
    // less reads as the smallest one.
    if (filer.version() >= 4) {
        char size = 0;
        if (!filer.readChar(size))
            return false;
        textSize = mnClampedTextSize(static_cast<signed char>(size));
    } else {
        double size = 0.0;
        if (!filer.readDouble(size))
            return false;
        // Older records kept the size as a double; only whole sizes survive,
        // and the value must fit the byte that the record keeps now.
        textSize = std::isfinite(size) ? mnClampedTextSize(std::trunc(size)) : textSize;
    }
    return filer.isOk();
}

bool MnText::write(BcFiler& filer) const
{
    filer.writeDouble(textPosition.x);
    filer.writeDouble(textPosition.y);
    filer.writeChar(char(textAlignment));
    filer.writeString(textString);
    filer.writeByteAndFlag(char(textFont), textUnderline);
    filer.writeChar(sizeByte(textSize));
    return filer.isOk();
}

GePoint2d MnText::position() const
{
    return textPosition;
}

double MnText::width() const
{
    return 0.0;
}

double MnText::height() const
{
    return textSize;
}

bool MnText::moveTo(const GePoint2d& point)
{
    return storePosition(point);
}

bool MnText::storePosition(const GePoint2d& point)
{
    if (!isPosition(point) || !isMove(textPosition, point))
        return false;
    textPosition = point;
    return true;
}

GeVector2d MnText::shiftIntoArea(const GeBox2d& box, const GeBox2d& area)
{
    double dx = 0.0;
    if (box.b.x > area.b.x)
        dx = area.b.x - box.b.x;
    if (box.a.x + dx < area.a.x)
        dx = area.a.x - box.a.x;
    double dy = 0.0;
    if (box.a.y < area.a.y)
        dy = area.a.y - box.a.y;
    if (box.b.y + dy > area.b.y)
        dy = area.b.y - box.b.y;
    return GeVector2d(dx, dy);
}

GeBox2d MnText::extents() const
{
    return MnMeasurer::current().textExtents(*this);
}

bool MnText::setText(const BcString& text)
{
    if (textString == text)
        return true;
    textString = text;
    relayout();
    return true;
}

void MnText::relayout()
{
    moveTo(position());
}

void MnText::setAlignment(int alignment)
{
    alignment = validAlignment(alignment);
    if (alignment == textAlignment)
        return;
    textAlignment = alignment;
    relayout();
}

void MnText::setFont(int font)
{
    font = validFont(font);
    if (font == textFont)
        return;
    textFont = font;
    relayout();
}

bool MnText::setSize(double size)
{
    if (std::isnan(size))
        return false;
    size = mnClampedTextSize(size);
    if (size == textSize)
        return true;
    textSize = size;
    relayout();
    return true;
}

void MnText::setUnderline(bool underline)
{
    if (underline == textUnderline)
        return;
    textUnderline = underline;
    relayout();
}
