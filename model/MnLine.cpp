#include "model/MnLine.h"

#include "foundation/BcFiler.h"
#include "model/MnStaff.h"
#include "model/MnTicks.h"

#include <cmath>

BC_IMPLEMENT_CLASS(MnLine)

// The staff's middle line: lines with a larger offset lie above the staff.
static constexpr double middleLine = -4.0;

MnLine::MnLine(MnStaff* staff) : lineStaff(staff)
{
}

MnElement* MnLine::parent() const
{
    return lineStaff;
}

bool MnLine::read(BcFiler& filer)
{
    int start = 0;
    int length = 0;
    double offset = 0.0;
    if (!filer.readInt(start) || !filer.readInt(length) || !filer.readDouble(offset))
        return false;
    if (filer.version() < 2) {
        // 384 ticks per whole note; -1 (no length yet) stays -1.
        if (start < 0 || start > maxTicks / MnOldTicksFactor || length < -1 ||
            length > maxTicks / MnOldTicksFactor)
            return false;
        start *= MnOldTicksFactor;
        if (length > 0)
            length *= MnOldTicksFactor;
    }
    if (start < 0 || start > maxTicks || length < -1 || length > maxTicks || !std::isfinite(offset))
        return false;
    lineStart = start;
    lineLength = length;
    lineOffset = offset;
    return filer.isOk();
}

bool MnLine::write(BcFiler& filer) const
{
    filer.writeInt(lineStart);
    filer.writeInt(lineLength);
    filer.writeDouble(lineOffset);
    return filer.isOk();
}

bool MnLine::readKindRecord(BcFiler& filer)
{
    if (!MnLine::read(filer))
        return false;
    char kind = 0;
    if (!filer.readChar(kind))
        return false;
    // The kind decides how the line sounds and is drawn; the composers and
    // playback look it up in their tables.
    if (!isValidKind(static_cast<signed char>(kind)))
        return false;
    lineKind = static_cast<signed char>(kind);
    return filer.isOk();
}

bool MnLine::writeKindRecord(BcFiler& filer) const
{
    MnLine::write(filer);
    filer.writeChar(char(lineKind));
    return filer.isOk();
}

GePoint2d MnLine::position() const
{
    return GePoint2d(0.0, lineOffset);
}

double MnLine::width() const
{
    return 0.0;
}

double MnLine::height() const
{
    return 0.0;
}

bool MnLine::moveTo(const GePoint2d& point)
{
    double top = 0.0;
    double bottom = -8.0;
    noteSpanAtStart(top, bottom);
    double offset = point.y;
    if (offset > middleLine)
        offset = std::fmin(std::fmax(offset, top + 2.0), top + 20.0);
    else
        offset = std::fmin(std::fmax(offset, bottom - 20.0), bottom - 2.0);
    if (offset == lineOffset)
        return false;
    lineOffset = offset;
    return true;
}

void MnLine::noteSpanAtStart(double& top, double& bottom) const
{
    // The notes of the chords at the start widen the span once the chord
    // lookups of the line editing are in place; until then the line keeps
    // clear of the staff lines alone.
    top = 0.0;
    bottom = -8.0;
}

bool MnLine::isMark() const
{
    return false;
}

bool MnLine::isAbove() const
{
    return lineOffset > middleLine;
}

bool MnLine::setStart(int time, bool force)
{
    if (!force)
        return false;
    lineStart = time;
    return true;
}

bool MnLine::setLength(int ticks)
{
    if (ticks == lineLength)
        return false;
    lineLength = ticks;
    return true;
}

bool MnLine::setKind(int kind)
{
    if (!isValidKind(kind))
        return false;
    lineKind = kind;
    return true;
}

bool MnLine::isValidKind(int) const
{
    return false;
}
