#pragma once

#include "foundation/BcArray.h"
#include "foundation/GePoint2d.h"
#include "render/ReComposer.h"

class MnDynamic;
class MnElement;
class MnLyric;
class MnMeasure;
class MnOctave;
class MnPedal;
class MnStaff;
class ReSystem;

// Composes what hangs on the time axis of one system rather than on one
// chord: each staff's dynamics and hairpins, pedal and octave lines, the
// voltas, segno, coda and jump words of the top staff, and the lyrics. The
// score composer feeds it every measure column (a grid from time to x) and
// the extent of every chord it draws, then asks it for each staff.
// Positions are staff steps, y up; every x taken from the grid is mapped by
// the system's horizontal compensation before it is drawn.
class ReLine : public ReComposer
{
    BC_DECLARE_CLASS(ReLine)
public:
    ReLine(ReSystem* system, int startTime, int duration, int staffCount, int workIndex, int firstMeasure,
           int measureCount);
    ~ReLine() override;

    // One measure column: its onsets (ticks from measureStart) at measureX
    // plus their offsets. The first call also puts the system's start on
    // the grid.
    void addMeasure(int measureStart, double measureX, const BcArray<int>& onsets, const BcArray<double>& offsets);
    void recordChordExtent(int time, int staffIndex, double lowest, double highest);
    // Everything time-attached of the staff whose top line is at y.
    void composeStaff(MnStaff* staff, double y);

    // Two strokes opening from the half opening h0 at at.x to h1 at the end.
    void drawHairpin(GePoint2d at, double width, double h0, double h1);
    // Dashes along length; side 1 for a line above the staff (the dashes
    // grow toward it), -1 below.
    void drawDashes(GePoint2d at, double length, bool vertical, int side);

    void drawDynamic(MnDynamic* dynamic, int lineIndex, GePoint2d at, double width, int first, int last);
    void drawPedal(MnPedal* pedal, int lineIndex, GePoint2d at, double width);
    void drawOctave(MnOctave* octave, int lineIndex, GePoint2d at, double width, bool continued, bool open, int first,
                    int last);
    void drawVolta(MnMeasure* measure, GePoint2d at, double width);
    void drawJumpMarks(MnMeasure* measure, GePoint2d at, double width);

    // The last grid index whose time is at most time; -1 when none.
    int upperIndex(int time) const;
    // The first grid index at time, else the last before it; -1 when none.
    int lowerIndex(int time) const;
    int gridCount() const { return gridTimes.count(); }
    // Grid points that carry extents (every one but the system's start).
    int extentCount() const { return staffCount > 0 ? topExtents.count() / staffCount : 0; }

    ReSystem* system;
    int startTime;
    int duration;
    int staffCount;
    int workIndex;
    int firstMeasure;
    int measureCount;
    BcArray<int> gridTimes;
    BcArray<double> gridX;
    BcArray<double> topExtents;     // per grid point and staff, the highest y
    BcArray<double> bottomExtents;  // and the lowest

private:
    void composeLines(MnStaff* staff, double y);
    void composeVoltasAndJumps(MnStaff* staff, double y);
    void composeLyrics(MnStaff* staff, double y);
    // Sets the kind-1 pick path of a line element with its handle.
    void setLinePath(MnElement* line, int lineIndex, int handle);
    void resetPath();
    // Colour mode 3 when the measure of that number is selected on any staff.
    void setMeasureColour(MnMeasure* measure);
    double compensated(double x) const;
    double horizontalFactor() const;

    // The widest syllable of the lyric with its left bearing.
    double widestSyllable(const MnLyric* lyric, double size, int font, bool underline) const;

    // Set when addMeasure met a time, or an x, smaller than the grid's last.
    bool gridUnordered = false;
    bool gridXUnordered = false;
};
