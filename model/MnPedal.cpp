#include "model/MnPedal.h"

BC_IMPLEMENT_CLASS(MnPedal)

bool MnPedal::read(BcFiler& filer)
{
    return readKindRecord(filer);
}

bool MnPedal::write(BcFiler& filer) const
{
    return writeKindRecord(filer);
}

bool MnPedal::isMark() const
{
    return kind() == MnPedalSign;
}

bool MnPedal::isValidKind(int kind) const
{
    return kind >= MnPedalSignLineHook && kind <= MnPedalSlantLineSlant;
}
