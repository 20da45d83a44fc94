#include "model/MnStaffDefinition.h"

#include "foundation/BcFiler.h"
#include "model/MnCodes.h"

BC_IMPLEMENT_CLASS(MnStaffDefinition)

bool MnStaffDefinition::changesClef() const
{
    return true;
}

int MnStaffDefinition::clef() const
{
    return clefCode;
}

bool MnStaffDefinition::setClef(int clef)
{
    if (!mnIsClef(clef))
        return false;
    clefCode = clef;
    return true;
}

bool MnStaffDefinition::changesKey() const
{
    return true;
}

int MnStaffDefinition::key() const
{
    return keyFifths;
}

bool MnStaffDefinition::setKey(int key)
{
    if (!mnIsKeySignature(key))
        return false;
    keyFifths = key;
    return true;
}

bool MnStaffDefinition::changesTime() const
{
    return true;
}

int MnStaffDefinition::time() const
{
    return timeType;
}

bool MnStaffDefinition::setTime(int type)
{
    if (!mnIsTimeSignatureType(type))
        return false;
    timeType = type;
    return true;
}

double MnStaffDefinition::timeSignatureWidth() const
{
    return timeType == MnTime12_8 ? 7.0 : 4.0;
}

bool MnStaffDefinition::readDefinition(BcFiler& filer, bool withTime)
{
    // The composers draw each code from its own glyph, and the pitch rules
    // walk the key's accidentals: a code out of range is a damaged record.
    char clef = 0;
    if (!filer.readChar(clef))
        return false;
    if (!mnIsClef(clef))
        return false;
    clefCode = clef;

    char key = 0;
    if (!filer.readChar(key))
        return false;
    const int fifths = static_cast<signed char>(key);
    if (!mnIsKeySignature(fifths))
        return false;
    keyFifths = fifths;

    if (withTime) {
        char type = 0;
        if (!filer.readChar(type))
            return false;
        if (!mnIsTimeSignatureType(type))
            return false;
        timeType = type;
    }
    return filer.isOk();
}

bool MnStaffDefinition::writeDefinition(BcFiler& filer) const
{
    filer.writeChar(char(clefCode));
    filer.writeChar(char(keyFifths));
    filer.writeChar(char(timeType));
    return filer.isOk();
}

int middleCPosition(int clef)
{
    return 28 + mnClefOffset(clef);
}
