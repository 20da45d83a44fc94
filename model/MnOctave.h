#pragma once

#include "model/MnLine.h"

class MnChord;

// Kind of an octave line: the shift it writes.
enum MnOctaveKind
{
    MnOctaveTwoDown = -2,
    MnOctaveOneDown = -1,
    MnOctaveLoco = 0,
    MnOctaveOneUp = 1,  // 8va
    MnOctaveTwoUp = 2,  // 15ma
};

// An octave line. For pitch, a line of kind 1 or 2 drawn below the staff
// acts as one or two octaves down; its kind still says where it stands.
class MnOctave : public MnLine
{
    BC_DECLARE_CLASS(MnOctave)
public:
    explicit MnOctave(MnStaff* staff = nullptr) : MnLine(staff) {}
    ~MnOctave() override = default;

    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // Octave lines show no guide lines while they are dragged.
    bool addGuideLines(BcArray<EdGuideLine*>& lines, const EdPath* path) override;
    bool isAbove() const override;
    bool isValidKind(int kind) const override;

    // The octaves that the line shifts a note by.
    int pitchShift() const;
    // The octaves that the octave lines of the chord's staff shift its sound
    // by: the last line in the staff's order that covers the chord decides.
    static int shiftAt(const MnChord* chord);
};
