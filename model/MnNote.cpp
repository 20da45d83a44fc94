#include "model/MnNote.h"

#include "foundation/BcFiler.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"

#include <cmath>

BC_IMPLEMENT_CLASS(MnNote)

MnNote::MnNote(MnChord* chord) : owner(chord) {}

MnNote::MnNote(MnChord* chord, int step, int octave, int accidental, bool tied)
    : owner(chord), noteStep(step), noteOctave(octave), noteAccidental(accidental), tied(tied)
{
}

MnElement* MnNote::parent() const
{
    return owner;
}

bool MnNote::read(BcFiler& filer)
{
    char position = 0;
    if (!filer.readChar(position))
        return false;
    const int diatonic = static_cast<signed char>(position);
    // The step indexes the tables of the pitch rules: a negative position
    // would give a negative step.
    if (diatonic < 0)
        return false;
    noteOctave = diatonic / 7;
    noteStep = diatonic - 7 * noteOctave;

    char accidental = 0;
    if (!filer.readChar(accidental))
        return false;
    const int code = static_cast<signed char>(accidental);
    // The accidental chooses the glyph that is drawn.
    if (code < MnAccidentalDoubleFlat || code > MnAccidentalNone)
        return false;
    noteAccidental = code;

    if (filer.version() >= 2) {
        unsigned char flags = 0;
        if (!filer.readByte(flags))
            return false;
        tied = (flags & 0x01) != 0;
        tiePlacementCode = ((flags >> 1) & 0x03) - 1;
        arpeggio = (flags & 0x08) != 0;
        arpeggioTypeCode = (flags >> 5) & 0x07;
    } else {
        bool isTied = false;
        if (!filer.readBool(isTied))
            return false;
        tied = isTied;
        char placement = 0;
        if (!filer.readChar(placement))
            return false;
        tiePlacementCode = static_cast<signed char>(placement);
    }
    return filer.isOk();
}

bool MnNote::write(BcFiler& filer) const
{
    filer.writeChar(char(diatonicPosition()));
    filer.writeChar(char(noteAccidental));
    unsigned char flags = 0;
    if (tied)
        flags |= 0x01;
    flags |= (unsigned char)(((tiePlacementCode + 1) & 0x03) << 1);
    if (arpeggio)
        flags |= 0x08;
    flags |= (unsigned char)((arpeggioTypeCode & 0x07) << 5);
    filer.writeByte(flags);
    return filer.isOk();
}

GePoint2d MnNote::position() const
{
    const int clef = owner ? owner->clef() : MnClefTreble;
    return GePoint2d(0.0, double(diatonicPosition() + mnClefOffset(clef)));
}

double MnNote::width() const
{
    switch (noteAccidental) {
    case MnAccidentalNone:
        return 3.0;
    case MnAccidentalDoubleFlat:
        return 7.5;
    default:
        return 5.5;
    }
}

double MnNote::height() const
{
    return 8.0;
}

bool MnNote::moveTo(const GePoint2d& point)
{
    // Half away from zero; a drag never needs more steps than the range holds.
    double offset = point.y - position().y;
    if (std::isnan(offset))
        return false;
    if (offset < -1000.0)
        offset = -1000.0;
    if (offset > 1000.0)
        offset = 1000.0;
    int steps = int(offset < 0.0 ? std::ceil(offset - 0.5) : std::floor(offset + 0.5));
    bool moved = false;
    while (steps != 0) {
        if (steps < 0) {
            ++steps;
            if (noteOctave <= 0 && noteStep <= 5)
                continue; // A0 is the lowest written note
            if (noteStep == 0) {
                --noteOctave;
                noteStep = 6;
            } else {
                --noteStep;
            }
        } else {
            --steps;
            if (noteOctave >= 8)
                continue; // C8 is the highest written note
            if (noteStep == 6) {
                ++noteOctave;
                noteStep = 0;
            } else {
                ++noteStep;
            }
        }
        noteAccidental = MnAccidentalNone;
        moved = true;
        if (owner)
            owner->sortNotes();
    }
    return moved;
}
