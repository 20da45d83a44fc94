#pragma once

#include "model/MnElement.h"

// Clef, key signature and time signature: how the notes of a staff are
// written from some time on. The staff is the definition in effect from its
// start; a staff change carries a new one from its time on.
class MnStaffDefinition : public MnElement
{
    BC_DECLARE_CLASS(MnStaffDefinition)
public:
    ~MnStaffDefinition() override = default;

    // A staff's own definition always shows all three in its header. The
    // setters refuse, with nothing changed, a code that the record reader
    // refuses (mnIsClef, mnIsKeySignature, mnIsTimeSignatureType).
    virtual bool changesClef() const;
    virtual int clef() const;
    virtual bool setClef(int clef);
    virtual bool changesKey() const;
    // Fifths, -7..7: negative flats, positive sharps.
    virtual int key() const;
    virtual bool setKey(int key);
    virtual bool changesTime() const;
    // MnTimeSignatureType.
    virtual int time() const;
    // Of a staff or a staff change: the time signature of the whole score
    // from there on, re-barring its measures.
    virtual bool setTime(int type);
    // The code alone, for readers and builders that make the measures to
    // match themselves.
    bool setTimeType(int type) { return MnStaffDefinition::setTime(type); }
    // Width of the time-signature glyphs in staff steps at scale 1.
    virtual double timeSignatureWidth() const;

protected:
    MnStaffDefinition() = default;
    MnStaffDefinition(int clef, int key, int timeType) : clefCode(clef), keyFifths(key), timeType(timeType) {}

    // Clef, key and, when withTime is set, the time-signature code; every
    // code is checked before it is stored.
    bool readDefinition(BcFiler& filer, bool withTime);
    bool writeDefinition(BcFiler& filer) const;

private:
    int clefCode = 0;
    int keyFifths = 0;
    int timeType = 0;
};

// Staff position of middle C for a clef: treble -10, bass 2, alto -4,
// tenor -2, any other code -10.
int middleCPosition(int clef);
