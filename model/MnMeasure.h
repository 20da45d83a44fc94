#pragma once

#include "foundation/BcString.h"
#include "model/MnElement.h"

class MnChord;
class MnStaff;
class MnTuplet;

// One measure of one staff: its meter as beats x beat ticks, two voices of
// chords, the bar line at its end, the volta brackets over it, the repeat
// marker and jump written at it, a system or page break after it and the
// width the user added. Every staff of a score has the same number of
// measures, and measure i has the same meter in every staff.
//
// Every voice always holds at least one chord, and the sounding durations
// of its non-grace chords fill the measure exactly.
class MnMeasure : public MnElement
{
    BC_DECLARE_CLASS(MnMeasure)
public:
    static constexpr int voiceCount = 2;

    // A measure of the meter of the time-signature code, both voices filled
    // with rests. index is the 1-based number in the staff.
    MnMeasure(MnStaff* staff, int index, int timeSignatureType);
    ~MnMeasure() override;

    MnElement* parent() const override;
    // Deletes a grace chord of one of its voices; false for anything else.
    bool removeChild(MnElement* child) override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    bool moveTo(const GePoint2d& point) override;

    MnStaff* staff() const { return owner; }
    int index() const { return number; }
    void setIndex(int index) { number = index; }
    // beats x beat ticks.
    int length() const { return beatCount * ticksPerBeat; }
    // The sum of the lengths of the measures before it in its staff.
    int startTime() const;
    MnMeasure* nextMeasure() const;
    MnMeasure* previousMeasure() const;

    // The chords of a voice, in time order, grace chords directly before the
    // chord they precede. Editing operations work on the array directly and
    // keep the voice filling the measure.
    BcArray<MnChord*>& voiceChords(int voice) { return voices[voice]; }
    const BcArray<MnChord*>& voiceChords(int voice) const { return voices[voice]; }

    // Without the visible switch, the voice's chords. With it, a whole-measure
    // rest counts as one chord, grace chords are skipped, and hidden rests are
    // skipped unless nothing has been counted yet.
    int chordCount(int voice, bool visible) const;
    MnChord* chordAt(int index, int voice, bool visible) const;
    // The voice holds only a whole-measure rest.
    bool isMeasureRest(int voice) const;

    // The chord of a voice that playback starts at the time (relative to the
    // measure) with the length it sounds; the inverse of
    // MnChord::playbackTime, except that a chord followed by grace chords is
    // shortened by them. next is the measure that plays after this one, or
    // null for the staff's next measure. Null when no chord starts there.
    MnChord* chordPlayedAt(int time, int voice, MnMeasure* next, int& length) const;

    // Room in staff steps that this measure's bar line takes at its end,
    // inside a system or at its end.
    double barlineSpace(bool systemEnd) const;
    // Room that the previous measure's bar line leaves at the start of this
    // one, inside a system or at its start; 0 for the first measure.
    double leadingBarlineSpace(bool systemStart) const;
    // The largest part scale among this staff and the staves that its bar
    // line runs through at this measure.
    double barlineStaffScale() const;

    // Into how many equal slots the measure divides so that every chord of
    // its voices starts on one, tuplets included: for this staff (cached
    // within an MnCache scope), or the least common multiple over the
    // measures of this number in every staff of the score.
    int divisions(bool thisStaff) const;

    // Appends the largest power-of-two fractions of a whole note (241920,
    // 120960, ... halving) that add up to a positive length.
    static void splitIntoValues(int ticks, BcArray<int>& values);

    // Fills the gaps between the non-grace chords of a voice, and the rest of
    // the measure after them, with rests of the ratio actual:normal.
    void fillGapsWithRests(int voice, int actual, int normal);
    // Undoes the tuplet whose first chord starts at the time: the chords of
    // its run after the first are deleted and the first takes the span as
    // its value. The tuplet is handed to detached, or deleted when that is null.
    bool removeTuplet(int voice, int time, MnTuplet** detached);

    // The custom text, or the endings of the mask ("1. 2.") when customOnly
    // is clear and there is none.
    BcString voltaText(bool customOnly) const;
    // Sets the custom volta text of this measure number in every staff.
    bool setVoltaText(const BcString& text);

    int barline() const { return barlineType; }
    void setBarline(int barline) { barlineType = barline; }
    bool isToNextStaff() const { return toNextStaff; }
    void setToNextStaff(bool on) { toNextStaff = on; }
    bool isToTablature() const { return toTablature; }
    void setToTablature(bool on) { toTablature = on; }
    int repeatCount() const { return repeats; }
    void setRepeatCount(int count) { repeats = count; }
    int beats() const { return beatCount; }
    void setBeats(int beats) { beatCount = beats; }
    int beatTicks() const { return ticksPerBeat; }
    void setBeatTicks(int ticks) { ticksPerBeat = ticks; }
    // Bit k: the measure belongs to ending k + 1.
    int voltaMask() const { return voltas; }
    void setVoltaMask(int mask) { voltas = mask; }
    bool isVoltaClosed() const { return voltaClosed; }
    void setVoltaClosed(bool closed) { voltaClosed = closed; }
    int repeatMarker() const { return marker; }
    void setRepeatMarker(int repeatMarker) { marker = repeatMarker; }
    int repeatJump() const { return jump; }
    void setRepeatJump(int repeatJump) { jump = repeatJump; }
    int systemBreak() const { return breakAfter; }
    void setSystemBreak(int systemBreak) { breakAfter = systemBreak; }
    double userWidth() const { return extraWidth; }
    void setUserWidth(double width) { extraWidth = width; }

private:
    void deleteChords(int voice);
    bool readVoice(BcFiler& filer, int voice);

    MnStaff* owner;
    int number;
    int barlineType = 0;
    bool toNextStaff = true;
    bool toTablature = true;
    int repeats = 2;
    int beatCount = 4;
    int ticksPerBeat = 60480;
    BcArray<MnChord*> voices[voiceCount];
    int voltas = 0;
    BcString customVoltaText;
    bool voltaClosed = false;
    int marker = 0;
    int jump = 0;
    int breakAfter = 0;
    double extraWidth = 0.0;

    mutable int startStamp = 0;
    mutable int startCached = 0;
    mutable int divisionStamp = 0;
    mutable int divisionCached = 1;
};
