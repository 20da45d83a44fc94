#pragma once

#include "model/MnStaffDefinition.h"

class MnStaff;

// A new clef, key or time signature from a time of its staff on. The staff
// keeps its changes sorted by time, at most one per time and none at time 0.
class MnStaffChange : public MnStaffDefinition
{
    BC_DECLARE_CLASS(MnStaffChange)
public:
    MnStaffChange(MnStaff* staff, int time, int clef, int key, int timeType);
    ~MnStaffChange() override = default;

    MnElement* parent() const override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    bool moveTo(const GePoint2d& point) override;
    GePoint2d dragPosition(const EdPath* path) const override;
    bool dragTo(const GePoint2d& point, const EdPath* path) override;
    bool addGuideLines(BcArray<EdGuideLine*>& lines, const EdPath* path) override;
    MnElement* selectionTarget(const EdPath* path) override;

    // Measured against the definition in effect just before the change. A
    // change that alters neither key nor time signature counts as a clef
    // change even when it repeats the clef: it exists to show a clef.
    bool changesClef() const override;
    bool changesKey() const override;
    bool changesTime() const override;

    MnStaff* staff() const { return owner; }
    // Ticks from the staff's start, always above 0.
    int startTime() const { return changeTime; }
    // The time of a change that a record may hold: 1..MnMaxStaffTicks.
    static bool isChangeTime(int time);
    // For the staff's time edits, which keep the changes sorted and fold a
    // change that reaches time 0 into the staff's own definition.
    void setStartTime(int time) { changeTime = time; }
    // The time signature of every staff of the score from the change's time
    // on (a change is made where a staff lacks one): a variant of the same
    // meter only relabels, any other re-bars from the measure starting
    // there. False, with nothing changed, for the change's own code or one
    // outside 0..10, and when no measure but the first starts at the change.
    bool setTime(int type) override;

private:
    // The last change of the staff before this one's time, else the staff.
    const MnStaffDefinition* definitionBefore() const;

    MnStaff* owner;
    int changeTime;
};
