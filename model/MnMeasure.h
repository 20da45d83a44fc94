#pragma once

#include "foundation/BcString.h"
#include "model/MnElement.h"
#include "model/MnTicks.h"

#include <memory>

class MnChord;
struct MnColumnLayout;
class MnNote;
class MnStaff;
class MnTuplet;

// One answer of MnMeasure::chordPlayedAt: the chord that playback starts at
// the time (relative to the measure), and how long it sounds.
struct MnPlayedChord
{
    int time;
    int length;
    MnChord* chord;
};

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
    // A measure of beats x beatTicks (the caller checks them against the
    // range rules), both voices filled with rests.
    MnMeasure(MnStaff* staff, int index, int beats, int beatTicks);
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
    // The chord of the voice that is not a grace chord and starts at the
    // time; null when none does.
    MnChord* mainChordAt(int voice, int time) const;
    // The voice holds only a whole-measure rest.
    bool isMeasureRest(int voice) const;

    // The chord of a voice that playback starts at the time (relative to the
    // measure) with the length it sounds; the inverse of
    // MnChord::playbackTime, except that a chord followed by grace chords is
    // shortened by them. next is the measure that plays after this one, or
    // null for the staff's next measure. Null when no chord starts there.
    MnChord* chordPlayedAt(int time, int voice, MnMeasure* next, int& length) const;
    // Every answer that chordPlayedAt gives for the voice and next measure,
    // ascending by time, in one pass over the voice. The list grows only
    // when its capacity is below the voice's chord count plus that of the
    // same voice in the measure that plays next.
    void playedChords(int voice, MnMeasure* next, BcArray<MnPlayedChord>& played) const;

    // Room in staff steps that this measure's bar line takes at its end,
    // inside a system or at its end.
    double barlineSpace(bool systemEnd) const;
    // Room that the previous measure's bar line leaves at the start of this
    // one, inside a system or at its start; 0 for the first measure.
    double leadingBarlineSpace(bool systemStart) const;
    // The largest part scale among this staff and the staves that its bar
    // line runs through at this measure.
    double barlineStaffScale() const;

    // Geometry (MnMeasureGeometry.cpp), in the score's unscaled units. A
    // measure column has the first staff's widths; x counts from the start
    // of the unbroken system. Cached within one MnCache scope.
    // The natural width of the column's spacing.
    double contentWidth() const;
    // The room that the column layout adds to the natural width.
    double headerWidth() const;
    // Whether some note of the column, in any staff, has an arpeggio.
    bool columnHasArpeggio() const;
    // The layout of the column that the first staff's measure keeps across
    // scopes (MnScore::layoutMeasureColumn).
    MnColumnLayout& columnLayout() const;

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

    // Measure editing (MnMeasureEditing.cpp). Times are ticks from the start
    // of the measure, durations written values, voices 0 or 1. Every
    // operation tests its preconditions first and changes nothing when one
    // fails; a value that runs past the bar line is split into standard
    // values tied into the following measures.

    // The first chord of the voice at or before the time whose tuplet's span
    // reaches past it; null when no tuplet covers the time.
    MnChord* tupletChordAt(int voice, int time) const;
    // An onset of the edit grid; inside a tuplet the grid counts written time
    // from the tuplet's first chord.
    bool isOnGrid(int voice, int time) const;
    // The index of the chord that now starts at the time with that written
    // value, splitting and merging chords around it; -1 when the voice
    // cannot hold that value there.
    int makeChordSlot(int voice, int time, int duration);
    MnNote* addNote(int voice, int time, int step, int octave, int accidental, int duration, bool tied);
    // As addNote, but the chord at the time holds only the new note.
    MnNote* setNote(int voice, int time, int step, int octave, int accidental, int duration, bool tied);
    MnNote* addNoteByKey(int voice, int time, int key, int duration, bool tied);
    MnNote* setNoteByKey(int voice, int time, int key, int duration, bool tied);
    bool setRest(int voice, int time, int duration);
    // Gives the chord at the time a new written value; its notes stay.
    bool setChordDuration(int voice, int time, int duration);
    // Count chords in the time of the span; the normal count follows from
    // the count, whether the span is dotted, and the alternative flag.
    bool makeTuplet(int voice, int time, int span, int count, bool alternative);
    MnNote* addGraceNote(MnChord* mainChord, int step, int octave, int accidental, int duration);
    MnNote* addGraceNoteByKey(MnChord* mainChord, int key, int duration);
    MnNote* addNoteToGraceChord(MnChord* graceChord, int step, int octave, int accidental, int duration);
    MnNote* addNoteToGraceChordByKey(MnChord* graceChord, int key, int duration);
    // Takes the listed beats (0-based) out of this measure in every staff.
    // False, with nothing changed, for an empty list, a repeated or
    // out-of-range beat, a list that would leave no beat, or a voice that
    // cannot be cut at the beats.
    bool removeBeats(const BcArray<int>& beats);
    bool swapVoices();
    // Exchanges the chord with its neighbour in the voice; refused across
    // the edge of a tuplet.
    bool moveChordLeft(MnChord* chord);
    bool moveChordRight(MnChord* chord);

    // Beam groups (MnBeamGroups.cpp), per voice and chord index; they never
    // cross the bar line. Links: 0 begins a beam, 1 continues the beam of the
    // chord before, 2 not beamed.
    int beamLinkOf(const MnChord* chord) const;
    // The link in context of the neighbouring chords; 2 past the end.
    int beamLink(int voice, int index) const;
    // False when the chord is not beamed; otherwise its group's index range.
    bool beamGroup(int voice, int index, int& first, int& last) const;

    // The custom text, or the endings of the mask ("1. 2.") when customOnly
    // is clear and there is none.
    BcString voltaText(bool customOnly) const;
    // Sets the custom volta text of this measure number in every staff.
    bool setVoltaText(const BcString& text);

    // The setters refuse, with nothing changed, what the record reader
    // refuses: a code outside its MnCodes range, a repeat count outside
    // 1..63, beats outside 1..255, a beat that is no note value up to a
    // whole, a length that would take the staff past MnMaxStaffTicks.
    int barline() const { return barlineType; }
    bool setBarline(int barline);
    bool isToNextStaff() const { return toNextStaff; }
    void setToNextStaff(bool on) { toNextStaff = on; }
    bool isToTablature() const { return toTablature; }
    void setToTablature(bool on) { toTablature = on; }
    int repeatCount() const { return repeats; }
    bool setRepeatCount(int count);
    static bool isRepeatCount(int count);
    int beats() const { return beatCount; }
    bool setBeats(int beats);
    int beatTicks() const { return ticksPerBeat; }
    bool setBeatTicks(int ticks);
    // Bit k: the measure belongs to ending k + 1 (1..10).
    int voltaMask() const { return voltas; }
    bool setVoltaMask(int mask);
    bool isVoltaClosed() const { return voltaClosed; }
    void setVoltaClosed(bool closed) { voltaClosed = closed; }
    int repeatMarker() const { return marker; }
    bool setRepeatMarker(int repeatMarker);
    int repeatJump() const { return jump; }
    bool setRepeatJump(int repeatJump);
    int systemBreak() const { return breakAfter; }
    bool setSystemBreak(int systemBreak);
    double userWidth() const { return extraWidth; }
    // Negative widths and NaN become 0, longer ones MnMaxCoordinate.
    void setUserWidth(double width);
    static double clampedUserWidth(double width);

private:
    void deleteChords(int voice);
    // Whether the staff stays within MnMaxStaffTicks with this measure at
    // the length.
    bool fitsStaff(long long newLength) const;
    // After a voice was read, its chords ending at end: rests fill what
    // they leave of the measure, a voice of rests that overruns the measure
    // is filled anew, grace chords after the last chord take the measure's
    // length. False for a voice of notes that overruns the measure.
    bool restoreVoice(int voice, int end, bool hasNotes);
    // Measure editing helpers (MnMeasureEditing.cpp).
    void refitStaff();
    bool fitsTupletAt(int voice, int time, int duration, int& sounding) const;
    void deleteChordAt(int voice, int index);
    bool splitChordAt(int voice, int index);
    bool removeBeatsHere(const BcArray<int>& sortedBeats);
    bool swapWithNextChord(int voice, int index);
    // A pitch to enter: a step, octave and written accidental, or a key
    // index spelled in the key of the chord that receives it.
    struct NotePitch
    {
        bool byKey = false;
        int step = 0;
        int octave = 4;
        int accidental = 3;
        int key = 0;

        static NotePitch written(int step, int octave, int accidental)
        {
            NotePitch pitch;
            pitch.step = step;
            pitch.octave = octave;
            pitch.accidental = accidental;
            return pitch;
        }
        static NotePitch ofKey(int key)
        {
            NotePitch pitch;
            pitch.byKey = true;
            pitch.key = key;
            return pitch;
        }
    };
    static NotePitch pitchOf(const MnNote* note, bool byKey);
    static MnNote* addPitch(MnChord* chord, const NotePitch& pitch, bool tied);
    MnNote* placeNote(int voice, int time, const NotePitch& pitch, int duration, bool tied, bool alone);
    bool carryNotes(int voice, int time, int length, const BcArray<NotePitch>& pitches);
    bool carryAcrossBarlines(int voice, int time, int value, const BcArray<NotePitch>& pitches);
    MnNote* addGraceChord(MnChord* mainChord, const NotePitch& pitch, int duration);
    MnNote* addToGraceChord(MnChord* graceChord, const NotePitch& pitch, int duration);
    bool readVoice(BcFiler& filer, int voice);

    MnStaff* owner;
    int number;
    int barlineType = 0;
    bool toNextStaff = true;
    bool toTablature = true;
    int repeats = 2;
    int beatCount = 4;
    int ticksPerBeat = MnTicksQuarter;
    BcArray<MnChord*> voices[voiceCount];
    int voltas = 0;
    BcString customVoltaText;
    bool voltaClosed = false;
    int marker = 0;
    int jump = 0;
    int breakAfter = 0;
    double extraWidth = 0.0;

    mutable int divisionStamp = 0;
    mutable int divisionCached = 1;

    // Geometry (MnMeasureGeometry.cpp).
    const MnMeasure* columnLead() const;
    int arrayIndex() const;
    double leadX() const;
    bool hasArpeggioNotes() const;
    mutable int positionStamp = 0;
    mutable double positionCached = 0.0;
    mutable int widthStamp = 0;
    mutable double widthCached = 0.0;
    mutable int headerStamp = 0;
    mutable double headerCached = 0.0;
    mutable int contentStamp = 0;
    mutable double contentCached = 0.0;
    mutable int arpeggioStamp = 0;
    mutable bool arpeggioCached = false;
    mutable std::unique_ptr<MnColumnLayout> column;
};
