#pragma once

#include "model/MnLine.h"

// Kind of a pedal line: what it shows at its start, along its length and at
// its end. "Sign" is the pedal glyph, "release" the release glyph.
enum MnPedalKind
{
    MnPedalSignLineHook = 0,             // sign, solid line, vertical hook
    MnPedalSignLineSlant = 1,            // sign, solid line, slanted hook
    MnPedalSignDashesRelease = 2,        // sign, dashed line, release
    MnPedalSignRelease = 3,              // sign, release
    MnPedalSign = 4,                     // sign alone: a mark
    MnPedalHookLineHook = 5,             // vertical hook, solid line, vertical hook
    MnPedalHookLineSlant = 6,            // vertical hook, solid line, slanted hook
    MnPedalSlantLineHook = 7,            // slanted hook, solid line, vertical hook
    MnPedalSlantLineSlant = 8,           // slanted hook, solid line, slanted hook
};

// A pedal mark or pedal line.
class MnPedal : public MnLine
{
    BC_DECLARE_CLASS(MnPedal)
public:
    explicit MnPedal(MnStaff* staff = nullptr) : MnLine(staff) {}
    ~MnPedal() override = default;

    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    bool isMark() const override;
    bool isValidKind(int kind) const override;
};
