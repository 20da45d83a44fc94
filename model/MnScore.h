#pragma once

#include "foundation/BcString.h"
#include "foundation/GeVector2d.h"
#include "model/MnElement.h"

struct MnColumnLayout;
class MnMeasureNumber;
class MnNote;
class MnPart;
class MnPartGroup;
class MnLayoutKey;
class MnSheetMusic;
class MnStaff;
class MnTempo;
class MnText;

// One piece of music: its staves, each with the part at the same index that
// names and voices it, the part groups that bracket runs of staves, the tempo
// marks (mark 0 is the starting tempo, never deleted), and the template of
// its measure numbers. It stands alone as a work or sits on a sheet music,
// which is then its parent. There is always at least one staff and one part.
class MnScore : public MnElement
{
    BC_DECLARE_CREATABLE_CLASS(MnScore)
public:
    // One staff of 4/4 with its part, the starting tempo and the template.
    MnScore();
    ~MnScore() override;

    MnElement* parent() const override;
    // A staff or a part: that staff and part go; a group: deleted; tempo mark
    // 0: only hidden; another tempo mark: deleted.
    bool removeChild(MnElement* child) override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // Top-left corner of the first system, in the coordinates of the first
    // page's printable area.
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    bool moveTo(const GePoint2d& point) override;
    GePoint2d toPageCoordinates(const GePoint2d& point, const EdPath* path) const override;
    double scale() const override;

    const BcString& name() const { return scoreName; }
    void setName(const BcString& name) { scoreName = name; }
    MnSheetMusic* sheetMusic() const { return sheet; }
    // Set by the sheet music that places the score.
    void setSheetMusic(MnSheetMusic* sheetMusic) { sheet = sheetMusic; }
    // False when unchanged or outside MnMinScale..MnMaxScale.
    bool setScale(double scale);

    int staffCount() const { return staves.count(); }
    MnStaff* staff(int index) const { return staves[index]; }
    MnPart* part(int index) const { return parts[index]; }
    int partGroupCount() const { return groups.count(); }
    MnPartGroup* partGroup(int index) const { return groups[index]; }
    int tempoCount() const { return tempos.count(); }
    MnTempo* tempo(int index) const { return tempos[index]; }
    BcArray<MnTempo*>& tempoArray() { return tempos; }
    bool showsStartingTempo() const { return showStartingTempo; }
    void setShowStartingTempo(bool show) { showStartingTempo = show; }
    // Draw without staff lines, clefs, signatures and group brackets.
    bool hidesStaves() const { return hideStaves; }
    void setHideStaves(bool hide) { hideStaves = hide; }
    MnMeasureNumber* measureNumberTemplate() const { return measureNumber; }
    // The template for -1; otherwise the scratch text filled with the
    // 1-based number in the template's style.
    MnText* measureNumberText(int measureIndex);

    // A new staff and part at index (appended when out of range) with the
    // measures, meters and measure attributes of staff 0.
    MnStaff* insertStaff(int index);
    // False when only one staff is left.
    bool removeStaff(int index);
    bool canGroupStaves(int first, int count) const;
    MnPartGroup* addPartGroup(int first, int count);
    // A new measure column at index (-1 appends), each of the meter in
    // effect at the measure before it; true when every staff took it.
    bool insertMeasure(int index);
    // Removes the measure column from every staff with more than one measure.
    bool removeMeasure(int index);

    // Of the groups that hold the staff, the one with the fewest staves (the
    // first on a tie); null when none does.
    MnPartGroup* innermostPartGroup(int staff) const;
    // Moves the staff and its part past the neighbouring staff, or past the
    // whole neighbouring group, without leaving the group that holds it.
    bool moveStaffUp(int index);
    bool moveStaffDown(int index);
    // Of the groups other than parent that lie inside parent's staves (inside
    // all staves without one) and contain the staff, the one with the most
    // staves, the first on a tie; null when none. A group that covers exactly
    // parent's staves is not inside it, so duplicates never nest forever.
    MnPartGroup* childPartGroup(int staff, const MnPartGroup* parent) const;
    // length x the largest part scale; 0 without parts.
    double scaledByLargestPart(double length) const;
    // x: how far left of the staves the part and group labels and brackets
    // reach (at most 0); y: minus the score's height. The installed
    // measurer (MnMeasurer) lays the labels out; x is cached within one
    // MnCache scope.
    GeVector2d partsExtents(bool abbreviated) const;

    // System measurement (MnScoreMeasurement.cpp, MnScoreColumns.cpp), in
    // the score's unscaled units; measure indices are 0-based columns.
    // 8 x the largest part scale.
    double clefWidth() const;
    // The widest key signature of the definitions at the time (with
    // changesOnly, of the changes there that change the key; a change to no
    // key makes room for the naturals), plus the gap scaled by the largest
    // part scale among the staves that show one; 0 when none does.
    double keySignatureWidth(int time, bool changesOnly, double gap) const;
    // The widest time signature that changes exactly at the time (the
    // staff's own at 0) plus the scaled gap; 0 when none changes there.
    double timeSignatureWidth(int time, double gap) const;
    // The key column of a system's header: the widest key signature in
    // effect at the time, plus, with the gap, 2 x the largest part scale
    // among the staves that have one.
    double keyColumnWidth(int time, bool withGap) const;
    // Clef, key and time columns of the header of an unbroken system.
    double systemHeaderWidth(int time) const;
    // The sum of the duration spacings of the column's onsets.
    double measureNaturalWidth(int measureIndex) const;
    // The onsets of the column (ticks from the measure's start, the
    // measure's length last) and their x offsets, widened for collisions,
    // changes, bar lines, the user's width and syllables, and spread by a
    // stretch above 1.
    void layoutMeasureColumn(int measureIndex, BcArray<int>& onsets, BcArray<double>& x, double stretch) const;
    // The column's layout at stretch 1, checked current for this MnCache
    // scope (the caller keeps one open); null for a column outside the
    // first staff.
    const MnColumnLayout* columnLayout(int measureIndex) const;
    // How many column layouts this thread has computed; the kept layouts
    // spare a pass every column that did not change.
    static long long columnLayoutCount();
    // The notes of the first non-grace chord starting at the time in each
    // voice of the measure column (0-based), every staff from the last to
    // the first, each staff's notes from low to high; answers their count.
    int notesAtTime(int measureIndex, int time, BcArray<MnNote*>& out) const;

private:
    void adjustPartGroupsAfterRemoval(int staff);
    // Of the groups of at least leastStaves staves that hold the staff, the
    // one with the fewest staves (the first on a tie); null when none does.
    MnPartGroup* innermostGroupOf(int staff, int leastStaves) const;
    const MnPartGroup* enclosingGroup(int staff) const;
    void moveStaffAndPart(int from, int to, const MnPartGroup* innermost);
    void deleteStavesAndParts();
    // Every staff has as many measures as the first, each of the meter of
    // the first staff's measure at its index.
    bool haveSameMeasures() const;
    bool readStavesAndParts(BcFiler& filer);
    bool readPartGroups(BcFiler& filer);
    bool readTempos(BcFiler& filer);
    // Column layout (MnScoreColumns.cpp).
    void columnKey(int index, MnLayoutKey& key) const;
    void computeColumnLayout(int index, MnColumnLayout& layout) const;

    BcString scoreName;
    GePoint2d origin;
    double drawingScale = 1.0;
    MnSheetMusic* sheet = nullptr;
    BcArray<MnStaff*> staves;
    BcArray<MnPart*> parts;
    BcArray<MnPartGroup*> groups;
    BcArray<MnTempo*> tempos;
    bool showStartingTempo = true;
    bool hideStaves = false;
    MnMeasureNumber* measureNumber = nullptr;
    MnText* measureNumberScratch = nullptr;
    mutable int extentsStamps[2] = {};
    mutable double extentsLeft[2] = {};
};

// The horizontal room of the gap between two onsets, by its length in
// ticks: a quarter 5, a half 7.5, a whole 10, shorter and irregular values
// 3.125; a dotted value adds 5 when its dot is a quarter, else 3.125.
double durationSpacing(int ticks);
