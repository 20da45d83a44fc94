#include "model/MnDynamic.h"

BC_IMPLEMENT_CLASS(MnDynamic)

bool MnDynamic::read(BcFiler& filer)
{
    return readKindRecord(filer);
}

bool MnDynamic::write(BcFiler& filer) const
{
    return writeKindRecord(filer);
}

bool MnDynamic::addSnapPoints(BcArray<GePoint2d>& points)
{
    // Where the text of a mark stands against its offset: 2.3 steps higher
    // above the staff, 2.5 steps lower below it.
    points.add(GePoint2d(0.0, isAbove() ? 2.0 * 1.15 : 2.0 * -1.25));
    return true;
}

bool MnDynamic::isMark() const
{
    return !isHairpin(kind());
}

bool MnDynamic::isValidKind(int kind) const
{
    return (kind >= MnDynamicPPP && kind <= MnDynamicMor) ||
           (kind >= MnDynamicCrescMolto && kind <= MnDynamicMorMolto) ||
           (kind >= MnDynamicPocoCresc && kind <= MnDynamicPocoMor);
}
