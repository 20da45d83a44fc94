#include "model/MnNote.h"

#include "foundation/BcFiler.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"

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
    // The step indexes the tables of the pitch rules, and the octave places
    // the notehead and its ledger lines.
    const int diatonic = static_cast<signed char>(position);
    const int octave = diatonic >= 0 ? diatonic / 7 : -1;
    const int step = diatonic - 7 * octave;
    if (!mnIsWrittenPitch(step, octave))
        return false;
    noteOctave = octave;
    noteStep = step;

    char accidental = 0;
    if (!filer.readChar(accidental))
        return false;
    const int code = static_cast<signed char>(accidental);
    // The accidental chooses the glyph that is drawn.
    if (!mnIsAccidental(code))
        return false;
    noteAccidental = code;

    if (filer.version() >= 2) {
        unsigned char flags = 0;
        if (!filer.readByte(flags))
            return false;
        const int placement = ((flags >> 1) & 0x03) - 1;
        const int type = (flags >> 5) & 0x07;
        // The composers draw the tie and the arpeggio's arrow by these codes.
        if (!mnIsPlacement(placement) || !mnIsArpeggioType(type))
            return false;
        tied = (flags & 0x01) != 0;
        tiePlacementCode = placement;
        arpeggio = (flags & 0x08) != 0;
        arpeggioTypeCode = type;
    } else {
        bool isTied = false;
        if (!filer.readBool(isTied))
            return false;
        tied = isTied;
        char placement = 0;
        if (!filer.readChar(placement))
            return false;
        if (!mnIsPlacement(static_cast<signed char>(placement)))
            return false;
        tiePlacementCode = static_cast<signed char>(placement);
    }
    return filer.isOk();
}

bool MnNote::setStep(int step)
{
    if (!mnIsWrittenPitch(step, noteOctave))
        return false;
    noteStep = step;
    return true;
}

bool MnNote::setOctave(int octave)
{
    if (!mnIsWrittenPitch(noteStep, octave))
        return false;
    noteOctave = octave;
    return true;
}

bool MnNote::setAccidental(int accidental)
{
    if (!mnIsAccidental(accidental))
        return false;
    noteAccidental = accidental;
    return true;
}

bool MnNote::setTiePlacement(int placement)
{
    if (!mnIsPlacement(placement))
        return false;
    tiePlacementCode = placement;
    return true;
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
