#pragma once

#include "model/MnLine.h"

// Kind of a dynamic: a mark, a hairpin or a word.
enum MnDynamicKind
{
    MnDynamicPPP = 0,
    MnDynamicPP = 1,
    MnDynamicP = 2,
    MnDynamicMP = 3,
    MnDynamicMF = 4,
    MnDynamicF = 5,
    MnDynamicFF = 6,
    MnDynamicFFF = 7,
    MnDynamicCrescendoHairpin = 8,
    MnDynamicDiminuendoHairpin = 9,
    MnDynamicCresc = 10,            // "cresc."
    MnDynamicDecresc = 11,          // "decresc."
    MnDynamicDim = 12,              // "dim."
    MnDynamicMor = 13,              // "mor."
    MnDynamicCrescMolto = 20,       // "cresc. molto"
    MnDynamicDecrescMolto = 21,     // "decresc. molto"
    MnDynamicDimMolto = 22,         // "dim. molto"
    MnDynamicMorMolto = 23,         // "mor. molto"
    MnDynamicPocoCresc = 30,        // "poco cresc."
    MnDynamicPocoDecresc = 31,      // "poco decresc."
    MnDynamicPocoDim = 32,          // "poco dim."
    MnDynamicPocoMor = 33,          // "poco mor."
};

// A dynamic mark, a crescendo or diminuendo hairpin, or a dynamic word.
// Everything but the hairpins is a mark: its length is the span it governs.
class MnDynamic : public MnLine
{
    BC_DECLARE_CLASS(MnDynamic)
public:
    explicit MnDynamic(MnStaff* staff = nullptr) : MnLine(staff) {}
    ~MnDynamic() override = default;

    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // Other dragged elements snap at the height where the mark's text sits.
    bool addSnapPoints(BcArray<GePoint2d>& points) override;
    bool isMark() const override;
    bool isValidKind(int kind) const override;

    static bool isHairpin(int kind)
    {
        return kind == MnDynamicCrescendoHairpin || kind == MnDynamicDiminuendoHairpin;
    }
};
