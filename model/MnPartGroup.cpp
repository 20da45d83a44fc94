#include "model/MnPartGroup.h"

#include "foundation/BcFiler.h"
#include "model/MnLimits.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"

BC_IMPLEMENT_CLASS(MnPartGroup)

MnPartGroup::MnPartGroup(MnScore* score, int firstStaff, int staffCount)
    : groupScore(score), groupFirstStaff(firstStaff), groupStaffCount(staffCount),
      groupLabel(new MnText())
{
}

MnPartGroup::~MnPartGroup()
{
    delete groupLabel;
}

MnElement* MnPartGroup::parent() const
{
    return groupScore;
}

bool MnPartGroup::read(BcFiler& filer)
{
    if (!MnText::read(filer))
        return false;
    int first = 0;
    int count = 0;
    if (!filer.readInt(first) || !filer.readInt(count))
        return false;
    // The group's staves are looked up by index; a group must name staves
    // that exist.
    if (!isStaffRange(first, count))
        return false;

    bool covers = groupCoversTablature;
    int type = 0;
    if (filer.version() > 4) {
        char typeByte = 0;
        if (!filer.readBool(covers) || !filer.readChar(typeByte))
            return false;
        type = static_cast<signed char>(typeByte);
    } else if (!filer.readInt(type)) {
        return false;
    }
    BcString name;
    BcString abbreviation;
    if (!filer.readString(name) || !filer.readString(abbreviation))
        return false;
    groupFirstStaff = first;
    groupStaffCount = count;
    groupCoversTablature = covers;
    setBracketType(type);
    groupName = name;
    groupAbbreviation = abbreviation;
    return filer.isOk();
}

bool MnPartGroup::write(BcFiler& filer) const
{
    MnText::write(filer);
    filer.writeInt(groupFirstStaff);
    filer.writeInt(groupStaffCount);
    filer.writeBool(groupCoversTablature);
    filer.writeChar(char(groupBracketType));
    filer.writeString(groupName);
    filer.writeString(groupAbbreviation);
    return filer.isOk();
}

GePoint2d MnPartGroup::position() const
{
    return groupScore ? groupScore->position() : GePoint2d();
}

bool MnPartGroup::isStaffRange(int first, int count) const
{
    const int staves = groupScore ? groupScore->staffCount() : MnMaxRecordCount;
    return first >= 0 && count >= 1 && count <= staves - first;
}

double MnPartGroup::width() const
{
    return 10.0;
}

double MnPartGroup::height() const
{
    if (!groupScore || groupFirstStaff < 0 || groupStaffCount < 1 ||
        lastStaff() >= groupScore->staffCount())
        return 0.0;
    MnStaff* first = groupScore->staff(groupFirstStaff);
    MnStaff* last = groupScore->staff(lastStaff());
    double height = first->position().y - last->position().y;
    MnTablature* tablature = last->tablature();
    if (groupCoversTablature && tablature)
        return height + (tablature->height() - tablature->position().y) * last->partScale();
    return height + last->height();
}

bool MnPartGroup::moveTo(const GePoint2d&)
{
    return false;
}

void MnPartGroup::relayout()
{
    if (groupScore)
        groupScore->moveTo(groupScore->position());
}

void MnPartGroup::setBracketType(int type)
{
    groupBracketType = type >= 0 && type < bracketTypeCount ? type : 0;
}

double MnPartGroup::maxPartScale() const
{
    double largest = 0.0;
    if (!groupScore)
        return largest;
    for (int i = groupFirstStaff; i < groupFirstStaff + groupStaffCount; ++i) {
        if (i < 0 || i >= groupScore->staffCount())
            continue;
        double scale = groupScore->part(i)->partScale();
        if (scale > largest)
            largest = scale;
    }
    return largest;
}
