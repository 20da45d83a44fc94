#pragma once

#include "model/MnText.h"

class MnScore;

// A bracket over a run of consecutive staves of a score, with a name and an
// abbreviation of its own. A group of a single staff brackets the staff
// with its tablature. As a text it carries the style of its labels.
class MnPartGroup : public MnText
{
    BC_DECLARE_CLASS(MnPartGroup)
public:
    // Bracket shapes 0..bracketTypeCount-1.
    static constexpr int bracketTypeCount = 4;

    MnPartGroup(MnScore* score, int firstStaff, int staffCount);
    ~MnPartGroup() override;

    MnElement* parent() const override;
    // A read group must lie inside the staves of its score (when it has one).
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // The score's position.
    GePoint2d position() const override;
    double width() const override;
    // From the first staff's top down to the last staff's bottom, or to the
    // bottom of its tablature when the group covers it.
    double height() const override;
    bool moveTo(const GePoint2d& point) override;
    // The handles of the bracket, addressed by a group path: the top one at
    // the first staff's top line, the bottom one the group's height below.
    GePoint2d dragPosition(const EdPath* path) const override;
    // Drags a handle to the staff under the point: the nearest range the
    // score allows becomes the group; the bottom handle also decides
    // whether the bracket covers the tablature of its last staff.
    bool dragTo(const GePoint2d& point, const EdPath* path) override;
    // The label widths changed: the score is clamped to its page again.
    void relayout() override;

    MnScore* score() const { return groupScore; }
    void setScore(MnScore* score) { groupScore = score; }

    int firstStaff() const { return groupFirstStaff; }
    int staffCount() const { return groupStaffCount; }
    int lastStaff() const { return groupFirstStaff + groupStaffCount - 1; }
    // Whether a record may name these staves: those of the score, or of the
    // largest score without one.
    bool isStaffRange(int first, int count) const;
    // The score keeps its groups in step with inserted, removed and moved
    // staves through these, and keeps every range among its staves.
    void setFirstStaff(int firstStaff) { groupFirstStaff = firstStaff; }
    void setStaffCount(int staffCount) { groupStaffCount = staffCount; }
    bool containsStaff(int staff) const
    {
        return staff >= groupFirstStaff && staff < groupFirstStaff + groupStaffCount;
    }

    bool coversTablature() const { return groupCoversTablature; }
    void setCoversTablature(bool covers) { groupCoversTablature = covers; }
    int bracketType() const { return groupBracketType; }
    // Types outside 0..3 are drawn as type 0.
    void setBracketType(int type);

    const BcString& name() const { return groupName; }
    void setName(const BcString& name) { groupName = name; }
    const BcString& abbreviation() const { return groupAbbreviation; }
    void setAbbreviation(const BcString& abbreviation) { groupAbbreviation = abbreviation; }

    // The scratch text into which the composer copies the group's style.
    MnText* label() const { return groupLabel; }

    // The largest scale among the parts of its staves; 0 for an empty range.
    double maxPartScale() const;

private:
    // The group names staves that the score has.
    bool hasValidRange() const;
    // The staff whose band holds a height of the score, and whether the
    // height lies in the part of the band that goes to its tablature.
    void staffAtHeight(double y, int& staffIndex, bool& inTablature) const;

    MnScore* groupScore;
    int groupFirstStaff;
    int groupStaffCount;
    bool groupCoversTablature = true;
    int groupBracketType = 0;
    BcString groupName;
    BcString groupAbbreviation;
    MnText* groupLabel;
};
