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
    // While a line is dragged in the system of a line path: guide lines at
    // the heights of the other lines of its class in that system.
    bool addGuideLines(BcArray<EdGuideLine*>& lines, const EdPath* path) override;
    // The staff's page position (in the system a line path names), plus the
    // point at the score's and the part's scale.
    GePoint2d toPageCoordinates(const GePoint2d& point, const EdPath* path) const override;

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

    // With force the start becomes the time and the length stays; the
    // caller keeps the staff's lines sorted. Without, the end stays and the
    // line keeps its place among the sorted lines: an earlier start stops at
    // the end of a line of the class in the way (a mark in the way is cut
    // short instead); a start at or past the end shrinks the line to the
    // chords before its end (a mark takes its end along, up to the next line
    // of its class). False when the start does not change, and for a time
    // that would take the line past the longest staff (MnMaxStaffTicks).
    bool setStart(int time, bool force);
    // A positive length stops at the start of the next line of the class;
    // 0 or less takes the shortest chord sounding at the start (0 without
    // one). False when unchanged.
    bool setLength(int ticks);
    // False, with nothing changed, for an offset outside the coordinate
    // range (mnIsCoordinate).
    bool setOffset(double offset);
    // Stores a kind that this class of line knows; false for any other.
    bool setKind(int kind);
    // Whether the kind is one of this class's codes; the base knows none.
    virtual bool isValidKind(int kind) const;

protected:
    // The shared record of the three kinds: the line record, then the kind
    // as one signed byte. A kind this class does not know fails the read.
    bool readKindRecord(BcFiler& filer);
    bool writeKindRecord(BcFiler& filer) const;

private:
    // Another line of this line's class, or of a class derived from it.
    bool isOfClassOf(const MnLine* other) const;

    MnStaff* lineStaff;
    int lineStart = 0;
    int lineLength = -1;
    double lineOffset = 0.0;
    int lineKind = 0;
};
