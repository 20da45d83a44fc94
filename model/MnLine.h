#pragma once

#include "model/MnElement.h"

class MnStaff;

// An element of a staff that spans time: the common base of dynamics and
// hairpins, octave lines and pedal marks. Times are ticks from the staff's
// start; the offset is the vertical place of the line or mark in staff steps
// from the staff's top line. The staff owns its lines, sorted by start.
//
// The base record holds start, length and offset; the three kinds of line
// add their kind code behind it (readKindRecord, writeKindRecord), whose
// meaning each subclass gives.
class MnLine : public MnElement
{
    BC_DECLARE_CLASS(MnLine)
public:
    explicit MnLine(MnStaff* staff = nullptr);
    ~MnLine() override = default;

    MnElement* parent() const override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // (0, offset).
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    // Only the vertical offset follows the point, kept between 2 and 20
    // steps clear of the notes at the line's start on the side it lies.
    bool moveTo(const GePoint2d& point) override;

    // A single mark whose length is only the span it governs.
    virtual bool isMark() const;
    // The line lies above the staff's middle line.
    virtual bool isAbove() const;

    MnStaff* staff() const { return lineStaff; }
    // Re-parents the line; the staff that takes a line over calls it.
    void setStaff(MnStaff* staff) { lineStaff = staff; }

    int start() const { return lineStart; }
    // Ticks; -1 before a length is given.
    int length() const { return lineLength; }
    int end() const { return lineStart + lineLength; }
    double offset() const { return lineOffset; }
    int kind() const { return lineKind; }

    // With force the start becomes the time. The editing rules for moving
    // a start without force (keeping lines of a class from overlapping)
    // belong to the line editing and answer false until they are built.
    bool setStart(int time, bool force);
    // Stores a changed length; the limits that keep lines of a class apart
    // belong to the line editing. False when unchanged.
    bool setLength(int ticks);
    void setOffset(double offset) { lineOffset = offset; }
    // Stores a kind that this class of line knows; false for any other.
    bool setKind(int kind);
    // Whether the kind is one of this class's codes; the base knows none.
    virtual bool isValidKind(int kind) const;

    // The largest start or length a record may hold: times stay far enough
    // from the int range that start + length cannot overflow.
    static constexpr int maxTicks = 1 << 29;

protected:
    // The shared record of the three kinds: the line record, then the kind
    // as one signed byte. A kind this class does not know fails the read.
    bool readKindRecord(BcFiler& filer);
    bool writeKindRecord(BcFiler& filer) const;

    // The highest and lowest note positions at the line's start (a rest
    // counts as the middle line), at least the staff's top and bottom lines.
    void noteSpanAtStart(double& top, double& bottom) const;

private:
    MnStaff* lineStaff;
    int lineStart = 0;
    int lineLength = -1;
    double lineOffset = 0.0;
    int lineKind = 0;
};
