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
    // followed by MnChord::sortNotes of the owning chord.
    void setStep(int step) { noteStep = step; }
    void setOctave(int octave) { noteOctave = octave; }
    void setAccidental(int accidental) { noteAccidental = accidental; }
    void setTied(bool isTied) { tied = isTied; }
    void setTiePlacement(int placement) { tiePlacementCode = placement; }
    void setArpeggio(bool on) { arpeggio = on; }
    // False in a grace chord. Spreading the type over the whole arpeggio
    // chain comes with the chain (computeArpeggioChain); until then it is
    // stored on this note.
    bool setArpeggioType(int type);

private:
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
