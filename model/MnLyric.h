#pragma once

#include "model/MnText.h"

class MnChord;
class MnStaff;

// One line of sung text under (or over) a staff, sung by one voice of the
// staff from a start time on. The text is split into syllables, each with
// its offset in the text and the separator that follows it (blank, '-' or
// U+00B7); the split always describes the current text. Each syllable takes
// one chord with notes of the voice, with the chords tied on from it.
class MnLyric : public MnText
{
    BC_DECLARE_CLASS(MnLyric)
public:
    // The pass-through number is kept in four bits.
    static constexpr int maxPassThrough = 15;

    // A new lyric line stands at (0, -12) with text size 10 and pass-through 1.
    explicit MnLyric(MnStaff* staff = nullptr);
    ~MnLyric() override = default;

    MnElement* parent() const override;
    // The text record, then the start and one byte of pass-through x 16 + voice.
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    double width() const override;
    // Only the vertical position follows the point, kept between 2 and 20
    // steps clear of the notes of the first chord on the side it lies.
    bool moveTo(const GePoint2d& point) override;
    // Guide lines at the other lyric lines of the staff in the system of a
    // lyric path.
    bool addGuideLines(BcArray<EdGuideLine*>& lines, const EdPath* path) override;
    // The staff's page position (in the system a lyric path names), plus
    // the point at the score's and the part's scale.
    GePoint2d toPageCoordinates(const GePoint2d& point, const EdPath* path) const override;
    // An empty text is refused (false, nothing changes); any other text is
    // stored and split into syllables again.
    bool setText(const BcString& text) override;

    MnStaff* staff() const { return lyricStaff; }
    void setStaff(MnStaff* staff) { lyricStaff = staff; }

    int syllableCount() const { return syllableTexts.count(); }
    // Indices below syllableCount().
    const BcString& syllable(int index) const { return syllableTexts[index]; }
    int syllableStart(int index) const { return syllableStarts[index]; }
    char16_t separator(int index) const { return separators[index]; }
    // The width of the syllable in the line's font, size and underline, as
    // the installed measurer lays it out; 0 for an index out of range.
    double syllableWidth(int index) const;

    // Ticks from the staff's start: the onset of the first syllable's chord.
    int start() const { return lyricStart; }
    // False, with nothing changed, for a time outside 0..MnMaxStaffTicks.
    bool setStart(int time);
    int voice() const { return lyricVoice; }
    // False, with nothing changed, for a voice the measures do not have.
    bool setVoice(int voice);
    // The number of the pass of a repeat the line is sung in (MusicXML's
    // lyric number).
    int passThrough() const { return lyricPassThrough; }
    // False, with nothing changed, for a value outside 0..15.
    bool setPassThrough(int passThrough);

    // The chord of the first syllable: the first chord of the voice that is
    // not a grace chord and starts at the start; null when there is none.
    MnChord* firstChord() const;
    // Ticks from the start to the end of the last syllable's chords; 0
    // without syllables or first chord. Cached within an MnCache scope.
    int duration() const;
    // Keeps the duration for the current MnCache scope from a walk of every
    // syllable made elsewhere: last is the walk's last end chord, null when
    // it found no syllable.
    void keepDuration(const MnChord* last) const;
    // Cuts the syllables whose chords start ticks or more after the start
    // (all of them for ticks of 0 or less); false when none does.
    bool truncate(int ticks);
    // The text from syllable count on; false unless syllables remain.
    bool removeLeadingSyllables(int count);
    // After measures or chords changed under the line: the start moves to
    // the first chord of the voice that sounds past it.
    void reanchor();

private:
    void splitSyllables();

    BcArray<BcString> syllableTexts;
    BcArray<int> syllableStarts;
    BcArray<char16_t> separators;
    MnStaff* lyricStaff;
    int lyricStart = 0;
    int lyricVoice = 0;
    int lyricPassThrough = 1;

    mutable int durationStamp = 0;
    mutable int durationCached = 0;
    // Syllable widths (-1 not measured yet) and what they were measured with.
    mutable BcArray<double> syllableWidths;
    mutable int widthsFont = -1;
    mutable double widthsSize = 0.0;
    mutable bool widthsUnderline = false;
    mutable unsigned int widthsMeasurer = 0;
};
