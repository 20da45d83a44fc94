#include "model/MnOctave.h"

BC_IMPLEMENT_CLASS(MnOctave)

bool MnOctave::read(BcFiler& filer)
{
    return readKindRecord(filer);
}

bool MnOctave::write(BcFiler& filer) const
{
    return writeKindRecord(filer);
}

bool MnOctave::addGuideLines(BcArray<EdGuideLine*>&, const EdPath*)
{
    return true;
}

bool MnOctave::isAbove() const
{
    return kind() > 0;
}

bool MnOctave::isValidKind(int kind) const
{
    return kind >= MnOctaveTwoDown && kind <= MnOctaveTwoUp;
}

int MnOctave::pitchShift() const
{
    if (offset() < -4.0 && kind() > 0)
        return -kind();
    return kind();
}
