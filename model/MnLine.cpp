#include "model/MnLine.h"

#include "foundation/BcFiler.h"
#include "model/MnStaff.h"
#include "model/MnLimits.h"
#include "model/MnTicks.h"

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
        constexpr int oldLimit = MnMaxStaffTicks / MnOldTicksFactor;
        if (start < 0 || start > oldLimit || length < -1 || length > oldLimit)
            return false;
        start *= MnOldTicksFactor;
        if (length > 0)
            length *= MnOldTicksFactor;
    }
    // A line lies within the longest staff, so its end is a valid time too.
    if (!mnIsStaffTime(start) || length < -1 || length > MnMaxStaffTicks - start || !mnIsCoordinate(offset))
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

bool MnLine::isMark() const
{
    return false;
}

bool MnLine::isAbove() const
{
    return lineOffset > middleLine;
}

bool MnLine::setOffset(double offset)
{
    if (!mnIsCoordinate(offset))
        return false;
    lineOffset = offset;
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
