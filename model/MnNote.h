#pragma once

#include "model/MnElement.h"

class MnChord;

// One written note of a chord: step and octave with a written accidental,
// the flag that it is tied from the previous chord of its voice, the
// placement of that tie, and its link in an arpeggio line. Its pitch rules
// (sounding key index, effective accidental, spelling) follow the key and
// the measure.
class MnNote : public MnElement
{
    BC_DECLARE_CLASS(MnNote)
public:
    // C4 without accidental; made by its chord.
    explicit MnNote(MnChord* chord);
    MnNote(MnChord* chord, int step, int octave, int accidental, bool tied);
    ~MnNote() override = default;

    MnElement* parent() const override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // (0, octave x 7 + step + the offset of the clef in effect at the chord).
    GePoint2d position() const override;
    // 3 without a written accidental; wider with one.
    double width() const override;
    double height() const override;
    // Drags the note by diatonic steps, within A0..C8; every step that moves
    // drops the written accidental.
    bool moveTo(const GePoint2d& point) override;

    MnChord* chord() const { return owner; }
    int step() const { return noteStep; }
    int octave() const { return noteOctave; }
    // octave x 7 + step: middle C is 28.
    int diatonicPosition() const { return noteOctave * 7 + noteStep; }
    int accidental() const { return noteAccidental; }
    // The note is the second note of a tie.
    bool isTied() const { return tied; }
    // 0 automatic, 1 above, -1 below.
    int tiePlacement() const { return tiePlacementCode; }
    // The arpeggio line continues from this note to the next note upward.
    bool hasArpeggio() const { return arpeggio; }
    // 0 plain line, 1 arrow up, 2 arrow down.
    int arpeggioType() const { return arpeggioTypeCode; }

    // Plain field setters; a change of step, octave or accidental is to be
    // followed by MnChord::sortNotes of the owning chord. Each refuses, with
    // nothing changed, what the record reader refuses: a pitch outside
    // octaves 0..MnHighestOctave, an accidental outside -2..3, a placement
    // outside -1..1.
    bool setStep(int step);
    bool setOctave(int octave);
    bool setAccidental(int accidental);
    void setTied(bool isTied) { tied = isTied; }
    bool setTiePlacement(int placement);
    void setArpeggio(bool on) { arpeggio = on; }
    // Stores the type on this note and on every note of its arpeggio chain;
    // false in a grace chord and for a type other than 0..2.
    bool setArpeggioType(int type);

    // Finds the arpeggio chain that holds the note among the notes of every
    // staff that sound at its chord's time; the chain's first and last note
    // and the note's index in it then stay valid for the current MnCache
    // scope. True when the note is in a chain.
    bool computeArpeggioChain();
    // The same, listing the notes of the score at the chord's time in the
    // caller's list, which grows only when it is shorter than that (the
    // audio thread must not allocate).
    bool computeArpeggioChain(BcArray<MnNote*>& list);
    MnNote* arpeggioChainFirst() const { return chainFirst; }
    MnNote* arpeggioChainLast() const { return chainLast; }
    // Counted from the chain's first note, or from its last under a
    // downward arrow.
    int arpeggioChainIndex() const { return chainIndex; }

    // The piano key (0 = A0 .. 87 = C8) that the note sounds, with its
    // effective accidental and the octave lines of its staff.
    int keyNumber() const;
    // Spells the key in the key signature of the chord (flats in a key with
    // flats, sharps otherwise) and writes only the accidental needed; later
    // notes of the measure keep sounding as before. False for a key outside
    // 0..87 or a spelling the record cannot hold, with nothing changed.
    bool setKeyNumber(int key);
    // The alteration the note sounds with: its written accidental, else the
    // one carried from earlier in the measure, else the key signature's.
    int effectiveAccidental() const;
    // Writes the accidental that makes the note sound with the alteration
    // (-2..2); false, with nothing changed, for any other value.
    bool setAlteration(int alteration);
    // The written accidental carried from earlier in the measure (at or
    // after a key change in it) to a note of that step and octave at this
    // note's chord, 3 when none; key receives the key signature in effect.
    int accidentalInMeasure(int step, int octave, int& key) const;

private:
    friend class MnChord;
    // setKeyNumber; a note that is being added to its chord has no old
    // pitch whose later notes would need keeping.
    bool spellKey(int key, bool keepOldPitch);

    MnChord* owner;
    int noteStep = 0;
    int noteOctave = 4;
    int noteAccidental = 3;
    bool tied = false;
    int tiePlacementCode = 0;
    bool arpeggio = false;
    int arpeggioTypeCode = 0;
    // Cache of the arpeggio chain that holds the note (MnCache stamp).
    int chainStamp = 0;
    MnNote* chainFirst = nullptr;
    MnNote* chainLast = nullptr;
    int chainIndex = 0;
};

// The alteration (-1, 0, 1) that a key signature of the given fifths gives
// a step (0 C .. 6 B).
int mnKeySignatureAlteration(int fifths, int step);
