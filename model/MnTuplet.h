#pragma once

#include "model/MnText.h"

class MnChord;

// The number text of a tuplet, owned by the first chord of its run: the run
// is the chords of that chord's voice whose times lie in [first chord's time,
// + span), each carrying the ratio number:normal. Being a text, the number can
// be selected, hidden and styled like other texts.
class MnTuplet : public MnText
{
    BC_DECLARE_CLASS(MnTuplet)
public:
    // The text reads the number, at size 10.
    MnTuplet(MnChord* chord, int span, int number, bool alternative);
    ~MnTuplet() override = default;

    MnElement* parent() const override;
    // The text record, then span, number with the alternative flag, bracket
    // with the hidden flag, and direction.
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // The composer places the number.
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    bool moveTo(const GePoint2d& point) override;

    MnChord* chord() const { return owner; }
    // When the tuplet passes to another first chord.
    void setChord(MnChord* chord) { owner = chord; }
    // Length of the run in ticks, a note value (mnIsNoteValue); the setter
    // refuses, with nothing changed, what the reader refuses.
    int span() const { return runSpan; }
    bool setSpan(int span);
    static bool isSpan(int span);
    int number() const { return noteCount; }
    // Stores the number (1..15, the ratio's actual count) and shows it as
    // the text; the chords of the run are the caller's to fit.
    bool assignNumber(int number);
    static bool isNumber(int number);
    // Makes the run again with the number: the first chord keeps its notes,
    // the notes of the others are lifted out (MnClipboard) and pasted back
    // from the second chord of the new run. False, with nothing changed, for
    // the number and flag the tuplet has, when the measure refuses the new
    // tuplet, and when notes would need lifting without a clipboard.
    bool setNumber(int number, bool alternative);
    // The alternative ratio was chosen for this number.
    bool isAlternative() const { return alternative; }
    void setAlternative(bool on) { alternative = on; }
    bool isHidden() const { return hidden; }
    void setHidden(bool isHidden) { hidden = isHidden; }
    // 0 automatic, 1 no bracket, 2 bracket; other codes become 0, as the
    // reader reads them.
    int bracket() const { return bracketCode; }
    void setBracket(int bracket);
    // 0 automatic, negative below, positive above; the record keeps a
    // signed byte, so other values are refused.
    int direction() const { return directionCode; }
    bool setDirection(int direction);

private:
    MnChord* owner;
    int runSpan;
    int noteCount;
    bool alternative;
    bool hidden = false;
    int bracketCode = 0;
    int directionCode = 0;
};
