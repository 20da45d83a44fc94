#include "model/MnOctave.h"

#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnStaff.h"

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

int MnOctave::shiftAt(const MnChord* chord)
{
    const MnMeasure* measure = chord ? chord->measure() : nullptr;
    const MnStaff* staff = measure ? measure->staff() : nullptr;
    if (!staff)
        return 0;
    const long long time = (long long)measure->startTime() + chord->time();
    int shift = 0;
    const BcArray<MnLine*>& lines = staff->octaveLines();
    for (int i = 0; i < lines.count(); ++i) {
        const MnLine* line = lines[i];
        const long long start = line->start();
        if (time < start || time >= start + line->length())
            continue;
        shift = static_cast<const MnOctave*>(line)->pitchShift();
    }
    return shift;
}
