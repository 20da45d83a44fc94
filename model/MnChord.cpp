#include "model/MnChord.h"

#include "foundation/BcFiler.h"
#include "model/MnCache.h"
#include "model/MnCodes.h"
#include "model/MnLimits.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnStaff.h"
#include "model/MnStaffDefinition.h"
#include "model/MnTuplet.h"

#include <cmath>

BC_IMPLEMENT_CLASS(MnChord)

MnChord::MnChord(MnMeasure* measure, int voice, int time, int duration)
    : owner(measure), voiceIndex(voice), chordTime(time), writtenDuration(duration),
      stemInverted(voice == 1)
{
}

MnChord::~MnChord()
{
    for (int i = 0; i < notes.count(); ++i)
        delete notes[i];
    notes.removeAll();
    delete tupletText;
    tupletText = nullptr;
}

MnElement* MnChord::parent() const
{
    return owner;
}

MnStaff* MnChord::staff() const
{
    return owner ? owner->staff() : nullptr;
}

bool MnChord::removeChild(MnElement* child)
{
    if (!child)
        return false;
    if (child == tupletText)
        return owner ? owner->removeTuplet(voiceIndex, chordTime, nullptr) : false;

    const int index = mnIndexOf(notes, child);
    if (index < 0)
        return false;
    delete notes[index];
    notes.removeAt(index);
    sortNotes();
    if (!notes.isEmpty() || !owner)
        return true;
    if (grace)
        return owner->removeChild(this); // deletes this chord
    removeGraceChordsBefore();
    MnStaff* ownerStaff = owner->staff();
    if (ownerStaff && owner->isMeasureRest(voiceIndex))
        ownerStaff->reconcileWithMeasure(owner);
    return true;
}

void MnChord::removeGraceChordsBefore()
{
    for (;;) {
        const int index = indexInVoice();
        if (index <= 0)
            return;
        MnChord* before = owner->voiceChords(voiceIndex)[index - 1];
        if (!before->grace || !owner->removeChild(before))
            return;
    }
}

int MnChord::indexInVoice() const
{
    if (!owner)
        return -1;
    return owner->voiceChords(voiceIndex).indexOf(const_cast<MnChord*>(this));
}

bool MnChord::read(BcFiler& filer)
{
    const int version = filer.version();
    int duration = 0;
    if (!filer.readInt(duration))
        return false;
    if (version < 2) {
        if (duration <= 0 || duration > MnMaxMeasureTicks / MnOldTicksFactor)
            return false;
        duration *= MnOldTicksFactor;
    }
    // The layout draws a notehead and flags for the value, and playback and
    // the division count divide by it.
    if (!mnIsNoteValue(duration))
        return false;
    writtenDuration = duration;

    if (version >= 2) {
        char position = 0;
        bool isHidden = false;
        if (!filer.readByteAndFlag(position, isHidden))
            return false;
        restY = position;
        hidden = isHidden;
    } else {
        hidden = voiceIndex == 1;
    }

    int count = 0;
    if (!readCount(filer, maxNotes, count, CountByte))
        return false;
    for (int i = 0; i < notes.count(); ++i)
        delete notes[i];
    notes.removeAll();
    for (int i = 0; i < count; ++i) {
        MnNote* note = new MnNote(this);
        if (!note->read(filer)) {
            delete note;
            sortNotes();
            return false;
        }
        notes.add(note);
    }
    sortNotes();

    if (version >= 2) {
        unsigned char layout = 0;
        if (!filer.readByte(layout))
            return false;
        const int stemCode = (layout & 0x03) - 1;
        const int beamCode = ((layout >> 3) & 0x07) - 1;
        const int slurCode = ((layout >> 6) & 0x03) - 1;
        // The composers choose the stem, the beams and the slur's side by
        // these codes; the bits hold values that no setter makes.
        if (!mnIsPlacement(stemCode) || !mnIsBeamMode(beamCode) || !mnIsPlacement(slurCode))
            return false;
        stem = stemCode;
        stemInverted = (layout & 0x04) != 0;
        beam = beamCode;
        slur = slurCode;
    } else {
        char stemValue = 0;
        bool inverted = false;
        char beamValue = 0;
        if (!filer.readChar(stemValue))
            return false;
        // Older records kept each code in a byte of its own; a value outside
        // the codes reads as automatic.
        const int stemCode = static_cast<signed char>(stemValue);
        stem = mnIsPlacement(stemCode) ? stemCode : MnPlacementAuto;
        if (!filer.readBool(inverted))
            return false;
        stemInverted = inverted;
        if (!filer.readChar(beamValue))
            return false;
        const int beamCode = static_cast<signed char>(beamValue);
        beam = mnIsBeamMode(beamCode) ? beamCode : MnBeamAuto;
    }

    unsigned char articulations = 0;
    if (!filer.readByte(articulations))
        return false;
    articulationBits = articulations;

    unsigned char flags = 0;
    if (!filer.readByte(flags))
        return false;
    grace = (flags & 0x02) != 0;
    graceSlash = (flags & 0x04) != 0;
    slurStart = (flags & 0x08) != 0;
    delete tupletText;
    tupletText = nullptr;
    if (flags & 0x01) {
        MnTuplet* tuplet = new MnTuplet(this, writtenDuration, 3, false);
        if (!tuplet->read(filer)) {
            delete tuplet;
            return false;
        }
        tupletText = tuplet;
    }

    int actual = 0;
    int normal = 0;
    if (version >= 2) {
        unsigned char ratio = 0;
        if (!filer.readByte(ratio))
            return false;
        actual = ratio >> 4;
        normal = ratio & 0x0F;
    } else {
        char actualValue = 0;
        char normalValue = 0;
        if (!filer.readChar(actualValue) || !filer.readChar(normalValue))
            return false;
        actual = static_cast<signed char>(actualValue);
        normal = static_cast<signed char>(normalValue);
    }
    // The sounding duration divides by the ratio.
    if (!isRatio(actual, normal))
        return false;
    ratioActual = actual;
    ratioNormal = normal;
    return filer.isOk();
}

bool MnChord::write(BcFiler& filer) const
{
    filer.writeInt(writtenDuration);
    filer.writeByteAndFlag(char(restY), hidden);
    filer.writeByte((unsigned char)notes.count());
    for (int i = 0; i < notes.count(); ++i)
        notes[i]->write(filer);
    unsigned char layout = (unsigned char)((stem + 1) & 0x03);
    if (stemInverted)
        layout |= 0x04;
    layout |= (unsigned char)(((beam + 1) & 0x07) << 3);
    layout |= (unsigned char)(((slur + 1) & 0x03) << 6);
    filer.writeByte(layout);
    filer.writeByte((unsigned char)articulationBits);
    unsigned char flags = 0;
    if (tupletText)
        flags |= 0x01;
    if (grace)
        flags |= 0x02;
    if (graceSlash)
        flags |= 0x04;
    if (slurStart)
        flags |= 0x08;
    filer.writeByte(flags);
    if (tupletText)
        tupletText->write(filer);
    filer.writeByte((unsigned char)(((ratioActual & 0x0F) << 4) | (ratioNormal & 0x0F)));
    return filer.isOk();
}

double MnChord::height() const
{
    return 8.0;
}

bool MnChord::moveTo(const GePoint2d& point)
{
    double offset = point.y - restY;
    if (std::isnan(offset))
        return false;
    if (offset > 1000.0 || offset < -1000.0)
        return false; // far out of the range anyway
    const int lines = int(offset >= 0.0 ? offset + 1.0 : offset - 1.0) / 2;
    const int position = restY + 2 * lines;
    if (position < -14 || position > 6)
        return false;
    restY = position;
    return true;
}

MnNote* MnChord::addNote(int step, int octave, int accidental, bool tied)
{
    if (notes.count() >= maxNotes || !mnIsWrittenPitch(step, octave) || !mnIsAccidental(accidental))
        return nullptr;
    for (int i = 0; i < notes.count(); ++i) {
        MnNote* note = notes[i];
        if (note->step() == step && note->octave() == octave && note->accidental() == accidental)
            return note;
    }
    MnNote* note = new MnNote(this, step, octave, accidental, tied);
    notes.add(note);
    sortNotes();
    return note;
}

void MnChord::sortNotes()
{
    BcArray<MnNote*> sorted;
    sorted.setCapacity(notes.count());
    for (int i = 0; i < notes.count(); ++i) {
        MnNote* note = notes[i];
        int place = 0;
        while (place < sorted.count() && sorted[place]->diatonicPosition() < note->diatonicPosition())
            ++place;
        sorted.insertAt(place, note);
    }
    for (int i = 0; i < sorted.count(); ++i)
        notes[i] = sorted[i];
}

bool MnChord::clearNotes()
{
    if (grace)
        return false;
    const bool wasMeasureRest = owner && owner->isMeasureRest(voiceIndex);
    for (int i = 0; i < notes.count(); ++i)
        delete notes[i];
    notes.removeAll();
    if (owner && !wasMeasureRest && owner->isMeasureRest(voiceIndex) && owner->staff())
        owner->staff()->reconcileWithMeasure(owner);
    return true;
}

MnChord* MnChord::previousChord() const
{
    if (MnCache::isCurrent(previousStamp))
        return previousCached;
    MnChord* found = nullptr;
    const int index = indexInVoice();
    if (index > 0) {
        found = owner->voiceChords(voiceIndex)[index - 1];
    } else if (index == 0) {
        MnMeasure* before = owner->previousMeasure();
        if (before && voiceIndex < MnMeasure::voiceCount) {
            const BcArray<MnChord*>& chords = before->voiceChords(voiceIndex);
            if (!chords.isEmpty())
                found = chords[chords.count() - 1];
        }
    }
    previousStamp = MnCache::currentStamp();
    previousCached = found;
    return found;
}

MnChord* MnChord::nextChord() const
{
    if (MnCache::isCurrent(nextStamp))
        return nextCached;
    MnChord* found = nullptr;
    const int index = indexInVoice();
    if (index >= 0) {
        const BcArray<MnChord*>& chords = owner->voiceChords(voiceIndex);
        if (index + 1 < chords.count()) {
            found = chords[index + 1];
        } else {
            MnMeasure* after = owner->nextMeasure();
            if (after && !after->voiceChords(voiceIndex).isEmpty())
                found = after->voiceChords(voiceIndex)[0];
        }
    }
    nextStamp = MnCache::currentStamp();
    nextCached = found;
    return found;
}

int MnChord::clef() const
{
    if (MnCache::isCurrent(clefStamp))
        return clefCached;
    int clefCode = 0;
    const MnStaff* ownerStaff = staff();
    if (ownerStaff) {
        int time = owner->startTime() + chordTime;
        // A grace chord at the bar line belongs before a clef change there.
        if (grace && chordTime == owner->length())
            --time;
        clefCode = ownerStaff->definitionAt(time, false)->clef();
    }
    clefStamp = MnCache::currentStamp();
    clefCached = clefCode;
    return clefCode;
}

int MnChord::keySignature() const
{
    if (MnCache::isCurrent(keyStamp))
        return keyCached;
    int fifths = 0;
    const MnStaff* ownerStaff = staff();
    if (ownerStaff)
        fifths = ownerStaff->definitionAt(owner->startTime() + chordTime, false)->key();
    keyStamp = MnCache::currentStamp();
    keyCached = fifths;
    return fifths;
}

bool MnChord::isDotted() const
{
    return mnIsDottedDuration(writtenDuration);
}

int MnChord::undottedDuration() const
{
    return isDotted() ? (2 * writtenDuration) / 3 : writtenDuration;
}

int MnChord::soundingDuration() const
{
    if (grace)
        return 0;
    if (ratioActual <= 0)
        return writtenDuration;
    return int((long long)ratioNormal * writtenDuration / ratioActual);
}

bool MnChord::setRatio(int actual, int normal)
{
    if (!isRatio(actual, normal))
        return false;
    ratioActual = actual;
    ratioNormal = normal;
    return true;
}

bool MnChord::setDuration(int duration)
{
    if (!mnIsNoteValue(duration))
        return false;
    writtenDuration = duration;
    return true;
}

bool MnChord::setRestPosition(int position)
{
    if (!mnIsByteAndFlagValue(position))
        return false;
    restY = position;
    return true;
}

void MnChord::setTuplet(MnTuplet* tuplet)
{
    if (tuplet == tupletText)
        return;
    delete tupletText;
    tupletText = tuplet;
    if (tupletText)
        tupletText->setChord(this);
}

MnTuplet* MnChord::detachTuplet()
{
    MnTuplet* tuplet = tupletText;
    tupletText = nullptr;
    return tuplet;
}
