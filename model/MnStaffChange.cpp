#include "model/MnStaffChange.h"

#include "foundation/BcFiler.h"
#include "model/EdPath.h"
#include "model/MnLimits.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"

BC_IMPLEMENT_CLASS(MnStaffChange)

MnStaffChange::MnStaffChange(MnStaff* staff, int time, int clef, int key, int timeType)
    : MnStaffDefinition(clef, key, timeType), owner(staff), changeTime(time)
{
}

MnElement* MnStaffChange::parent() const
{
    return owner;
}

bool MnStaffChange::read(BcFiler& filer)
{
    if (!readDefinition(filer, filer.version() > 2))
        return false;
    int time = 0;
    if (!filer.readInt(time))
        return false;
    if (filer.version() < 2) {
        if (!isChangeTime(time) || time > MnMaxStaffTicks / MnOldTicksFactor)
            return false;
        time *= MnOldTicksFactor;
    }
    if (!isChangeTime(time))
        return false;
    changeTime = time;
    return filer.isOk();
}

bool MnStaffChange::write(BcFiler& filer) const
{
    writeDefinition(filer);
    filer.writeInt(changeTime);
    return filer.isOk();
}

bool MnStaffChange::isChangeTime(int time)
{
    // A change never stands at the staff's start: that is the staff's own
    // definition.
    return time > 0 && time <= MnMaxStaffTicks;
}

GePoint2d MnStaffChange::position() const
{
    return GePoint2d(0.0, 0.0);
}

double MnStaffChange::width() const
{
    // A time signature's room is reserved by the measure-column layout.
    double room = changesClef() ? 6.0 : 0.0;
    const MnScore* score = owner ? owner->score() : nullptr;
    if (changesKey())
        room += 1.0 + (score ? score->keySignatureWidth(changeTime, true, 0.0) : 0.0);
    return room;
}

double MnStaffChange::height() const
{
    return 8.0;
}

bool MnStaffChange::moveTo(const GePoint2d&)
{
    return false;
}

GePoint2d MnStaffChange::dragPosition(const EdPath* path) const
{
    return owner ? owner->dragPosition(path) : position();
}

bool MnStaffChange::dragTo(const GePoint2d& point, const EdPath* path)
{
    return owner ? owner->dragTo(point, path) : false;
}

bool MnStaffChange::addGuideLines(BcArray<EdGuideLine*>& lines, const EdPath* path)
{
    if (!path || path->isUnset() || !owner)
        return true;
    return owner->addGuideLines(lines, path);
}

MnElement* MnStaffChange::selectionTarget(const EdPath* path)
{
    if (!path || path->isUnset() || !owner)
        return this;
    return owner->selectionTarget(path);
}

const MnStaffDefinition* MnStaffChange::definitionBefore() const
{
    if (!owner)
        return nullptr;
    return owner->definitionAt(changeTime - 1, false);
}

bool MnStaffChange::changesClef() const
{
    const MnStaffDefinition* before = definitionBefore();
    if (!before)
        return true;
    if ((changesKey() || changesTime()) && clef() == before->clef())
        return false;
    return true;
}

bool MnStaffChange::changesKey() const
{
    const MnStaffDefinition* before = definitionBefore();
    return !before || key() != before->key();
}

bool MnStaffChange::changesTime() const
{
    const MnStaffDefinition* before = definitionBefore();
    return !before || time() != before->time();
}
