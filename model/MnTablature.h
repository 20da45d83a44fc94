#pragma once

#include "model/MnText.h"

class MnNote;
class MnStaff;

// The tablature staff shown below a staff: the tuning of up to eight
// strings (string 1, the highest, first), how many of them are in use, the
// number of frets and a capo. As a text it carries the style of its label
// (name on the first system, abbreviation on the later ones); the label
// itself is a scratch text that labelText fills.
class MnTablature : public MnText
{
    BC_DECLARE_CLASS(MnTablature)
public:
    static constexpr int maxStrings = 8;
    // The record keeps frets in the seven value bits of a byte.
    static constexpr int maxFrets = 63;
    // The least gap between the staff's bottom line and the top string.
    static constexpr double minDistance = 12.0;

    // Tuning of one open string: step 0..6 (C..B), octave (4 holds middle
    // C), accidental -2..2.
    struct Tuning
    {
        int step;
        int octave;
        int accidental;
    };

    // Six strings tuned like a guitar (written an octave up), 19 frets, the
    // capo at fret 1 but off.
    explicit MnTablature(MnStaff* staff = nullptr);
    ~MnTablature() override;

    MnElement* parent() const override;
    // The record has no version branches. String counts are clamped to
    // 1..8 and frets to 0..63; a tuning below the lowest octave fails.
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // Below the staff, by its distance from the staff's bottom line.
    GePoint2d position() const override;
    double width() const override;
    // From the top string to the bottom string.
    double height() const override;
    // Only the distance follows the point; at least 12.
    bool moveTo(const GePoint2d& point) override;
    // The distance that the reader and moveTo keep: 12 for one closer (or
    // NaN), MnMaxCoordinate for one farther.
    static double clampedDistance(double distance);
    // The position in the system that a kind-0 path names.
    GePoint2d dragPosition(const EdPath* path) const override;
    // A drag in a system of the first page: every system above moves with
    // it, and the score never grows past the bottom margin. A drag on a
    // later page changes nothing.
    bool dragTo(const GePoint2d& point, const EdPath* path) override;
    // The staff's height changed: the score clamps itself again.
    void relayout() override;

    MnStaff* staff() const { return tablatureStaff; }
    void setStaff(MnStaff* staff) { tablatureStaff = staff; }

    double distance() const { return tablatureDistance; }
    const BcString& name() const { return tablatureName; }
    void setName(const BcString& name) { tablatureName = name; }
    const BcString& abbreviation() const { return tablatureAbbreviation; }
    void setAbbreviation(const BcString& abbreviation) { tablatureAbbreviation = abbreviation; }
    // The scratch text that labelText fills.
    MnText* label() const { return tablatureLabel; }
    // Fills the label with the abbreviation or the name in this tablature's
    // style, scaled by its part, right-aligned and centred at the left of
    // the staves.
    MnText* labelText(bool abbreviated);

    // The first string in string order, among those not in usedStrings,
    // that can play the note, and its fret (counted from the nut, or from
    // the capo when fretsFromCapo is set); false, with string and fret
    // untouched, when no free string can.
    bool findStringAndFret(const MnNote* note, int& string, int& fret, const BcArray<int>& usedStrings) const;

    // Index 0..maxStrings-1.
    const Tuning& tuning(int string) const { return strings[string]; }
    // False, with nothing changed, for a string index outside 0..7, a step
    // outside 0..6, an accidental outside -2..2, or a pitch whose record
    // value, octave x 7 + step, does not fit 0..127.
    bool setTuning(int string, int step, int octave, int accidental);
    int stringCount() const { return tablatureStringCount; }
    // Clamped to 1..8.
    void setStringCount(int count);
    int frets() const { return tablatureFrets; }
    // Clamped to 0..63, so that the record keeps every value it is given.
    void setFrets(int frets);
    bool isCapoOn() const { return tablatureCapoOn; }
    void setCapoOn(bool on) { tablatureCapoOn = on; }
    int capoFret() const { return tablatureCapoFret; }
    // Clamped to 0..63.
    void setCapoFret(int fret);
    // With a capo, fret numbers count from the capo when set, from the nut
    // when clear.
    bool fretsFromCapo() const { return tablatureFretsFromCapo; }
    void setFretsFromCapo(bool fromCapo) { tablatureFretsFromCapo = fromCapo; }

private:
    // Key index of the open string, raised by the capo when it is on.
    int openStringKey(int string) const;
    // The staff's height in its own units, before the part's scale.
    double staffHeightUnscaled() const;

    MnStaff* tablatureStaff;
    double tablatureDistance = minDistance;
    BcString tablatureName;
    BcString tablatureAbbreviation;
    MnText* tablatureLabel;
    Tuning strings[maxStrings];
    int tablatureStringCount = 6;
    int tablatureFrets = 19;
    bool tablatureCapoOn = false;
    int tablatureCapoFret = 1;
    bool tablatureFretsFromCapo = false;
};
