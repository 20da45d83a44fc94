#pragma once

#include "model/MnElement.h"
#include "model/MnLimits.h"
#include "model/MnNoteLayout.h"

class MnMeasure;
class MnNote;
class MnStaff;
class MnTuplet;

// One event of one voice of a measure: a chord of notes or, without notes, a
// rest, with its written value, its time in the measure, its stem, beam, slur
// and articulation settings and its tuplet ratio. The first chord of a tuplet
// owns the tuplet's number text. Grace chords are chords too, flagged, with
// the time of the chord they precede (or the measure's length when they
// precede the next measure's first chord).
class MnChord : public MnElement
{
    BC_DECLARE_CLASS(MnChord)
public:
    static constexpr int maxNotes = 255;

    MnChord(MnMeasure* measure, int voice, int time, int duration);
    // Deletes the notes, then the tuplet.
    ~MnChord() override;

    MnElement* parent() const override;
    // A note: deleted; a chord left without notes loses its grace chords, and
    // a grace chord left without notes is removed from its measure (which
    // deletes this chord). The tuplet: undone in the measure.
    bool removeChild(MnElement* child) override;
    // The chord's time is not filed: the measure reader accumulates it.
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    GePoint2d position() const override;
    double width() const override;
    double height() const override;
    // Drags the rest symbol by whole staff lines, within -14..6.
    bool moveTo(const GePoint2d& point) override;

    MnMeasure* measure() const { return owner; }
    MnStaff* staff() const;

    // The existing note of that pitch and accidental, or a new one; null at
    // 255 notes and for a pitch or accidental that a note cannot keep.
    MnNote* addNote(int step, int octave, int accidental, bool tied);
    // The existing note that sounds the key (0..87), or a new one spelled in
    // the chord's key; null at 255 notes and for a key that cannot be written.
    MnNote* addNoteByKey(int key, bool tied);
    // Ascending by diatonic position; notes of equal position come out in
    // the reverse of their previous order.
    void sortNotes();
    // Deletes every note; false for a grace chord.
    bool clearNotes();
    int noteCount() const { return notes.count(); }
    MnNote* note(int index) const { return notes[index]; }
    bool isRest() const { return notes.isEmpty(); }

    // The neighbours in the voice, across bar lines, grace chords included;
    // null before the first and after the last measure.
    MnChord* previousChord() const;
    MnChord* nextChord() const;

    // The clef and key signature of the definition in effect at the chord.
    int clef() const;
    int keySignature() const;

    bool isDotted() const;
    int undottedDuration() const;
    // 0 for a grace chord; the written value in the tuplet ratio otherwise.
    int soundingDuration() const;

    // When the chord sounds in playback, relative to its measure, and for how
    // long. A single unslashed grace chord (an appoggiatura) takes the first
    // half of the chord after it; other grace chords sound before their main
    // chord for a quarter of its undotted value each, before the bar line
    // for grace chords at the start of a measure. next is the measure that
    // plays after this one (under repeats not always the following one), or
    // null for the staff's order.
    int playbackTime(MnMeasure* next, int& length) const;
    // An unslashed grace chord, not at the end of its measure, with no grace
    // chord before or after it: it sounds on the beat of the chord after it.
    bool isSingleAppoggiatura() const;

    // Stem, inversion and grace slash apply to every chord of the chord's
    // beam group that has its grace state, or to the chord alone when it is
    // not beamed (MnChordBeamSetters.cpp). A stem outside -1..1 is refused.
    bool setStemDirection(int direction);
    bool setStemInverted(bool inverted);
    // False for a chord that is not a grace chord.
    bool setGraceSlash(bool slash);
    // A mode outside -1..3 is refused; a chord that then lies in a beam
    // group takes the stem, inversion and slash of the group's first chord.
    bool setBeamMode(int mode);
    // Sets or clears an articulation bit. A chord that becomes slurred takes
    // the placement of the slur it joins.
    bool setArticulation(int bit, bool on);
    // Sets the placement of the whole slur that the chord belongs to; a
    // placement outside -1..1 is refused.
    bool setSlurPlacement(int placement);

    int voice() const { return voiceIndex; }
    int time() const { return chordTime; }
    int duration() const { return writtenDuration; }
    int restPosition() const { return restY; }
    bool isHidden() const { return hidden; }
    // The stored stem setting: 1 up, -1 down, 0 automatic.
    int stemSetting() const { return stem; }
    bool isStemInverted() const { return stemInverted; }
    bool hasGraceSlash() const { return graceSlash; }
    // -1 automatic, 0 begins a beam, 1 continues it, 2 no beam, 3 continues
    // it with a break of the secondary beams.
    int beamMode() const { return beam; }
    int articulations() const { return articulationBits; }
    bool hasArticulation(int bit) const { return (articulationBits & bit) != 0; }
    // 0 automatic, 1 above, -1 below.
    int slurPlacement() const { return slur; }
    bool isSlurStart() const { return slurStart; }
    MnTuplet* tuplet() const { return tupletText; }
    int actual() const { return ratioActual; }
    int normal() const { return ratioNormal; }
    bool isGrace() const { return grace; }

    // Plain field setters for the measure's editing operations, the readers
    // and the property pages; callers keep the voice filling its measure.
    // Each refuses, with nothing changed, what the record reader refuses: a
    // duration that is no note value (mnIsNoteValue), a rest position
    // outside -64..63, a ratio outside 1..15 : 1..15.
    void setVoice(int voice) { voiceIndex = voice; }
    void setTime(int time) { chordTime = time; }
    bool setDuration(int duration);
    bool setRestPosition(int position);
    void setHidden(bool isHidden) { hidden = isHidden; }
    void setArticulations(int bits) { articulationBits = bits & 0xFF; }
    void setSlurStart(bool start) { slurStart = start; }
    void setGrace(bool isGrace) { grace = isGrace; }
    bool setRatio(int actual, int normal);
    static bool isRatio(int actual, int normal)
    {
        return actual >= 1 && actual <= MnMaxTupletRatio && normal >= 1 && normal <= MnMaxTupletRatio;
    }
    // Takes the tuplet over, deleting the one the chord had.
    void setTuplet(MnTuplet* tuplet);
    // Hands the tuplet out without deleting it.
    MnTuplet* detachTuplet();

    // Layout (MnChordLayout.cpp). Distances in staff steps, x to the right,
    // y up; the cached values hold within one MnCache scope.
    enum LeftExtentKind
    {
        ExtentHeads = 0,    // noteheads and accidentals
        ExtentArpeggio = 1, // and the arpeggio line across the staves
        ExtentGrace = 2,    // and the grace chords before it
        ExtentChanges = 3,  // and a clef or key change at it
    };
    // Room right and left of the chord's position.
    double rightExtent() const;
    double leftExtent(int kind) const;
    // x of a grace chord (drawn at 0.6) from its main chord's position; 0
    // for a normal chord.
    double graceOffset() const;
    // The lowest and highest note positions; both the middle line for a rest.
    void noteRange(int& low, int& high) const;
    bool hasSeconds() const;
    // The direction of the stem of the chord alone: 1 up, -1 down.
    int autoStemDirection() const;
    // The direction in context, shared by a beam group; alone tells whether
    // the chord decided it by itself.
    int stemDirection(bool* alone = nullptr) const;
    // The notehead, accidental and dot columns of the chord for the stem
    // direction (-2: its own), with a chord of the other voice at its time:
    // the x shifts of its heads, accidentals and dots, and the smallest head
    // shift of the records (at most 0). Records are filled for the notes.
    void layoutNoteHeads(double& headOffset, double& accidentalOffset, double& dotOffset, int& smallestHeadShift,
                         BcArray<MnNoteLayout>& records, int direction) const;
    // The notes of this chord and the other one in one list, ascending; each
    // note of voice 1 goes before the first note of voice 0 at or above it.
    // ownFlags marks this chord's notes.
    void mergeVoiceNotes(const MnChord* other, BcArray<MnNote*>& notes, BcArray<bool>& ownFlags) const;
    double headHalfWidth() const;
    // The widest syllable that a lyric line of the staff sings on the chord,
    // as the measure layout of the current MnCache scope measured it; 0 when
    // none (MnStaff::measureSyllables).
    double syllableWidth() const;
    // Keeps the larger of the width and the one already measured in the
    // current scope.
    void raiseSyllableWidth(double width) const;

private:
    // Removes the grace chords directly before this chord in its measure,
    // nearest first, looking each up afresh.
    void removeGraceChordsBefore();
    // The neighbours that a slur joins: grace chords only with grace chords
    // next to them, normal chords past any grace chords.
    MnChord* previousSlurChord() const;
    MnChord* nextSlurChord() const;
    bool isSlurred() const { return (articulationBits & 0x20) != 0; }
    int indexInVoice() const;
    // Layout helpers (MnChordLayout.cpp).
    int contextStemDirection(bool& alone) const;
    double computeLeftExtent(int kind) const;
    double arpeggioLeftExtent() const;

    MnMeasure* owner;
    int voiceIndex;
    int chordTime;
    int writtenDuration;
    int restY = -4;
    bool hidden = false;
    BcArray<MnNote*> notes;
    int stem = 0;
    bool stemInverted;
    bool graceSlash = false;
    int beam = -1;
    int articulationBits = 0;
    int slur = 0;
    bool slurStart = false;
    MnTuplet* tupletText = nullptr;
    int ratioActual = 1;
    int ratioNormal = 1;
    bool grace = false;

    // Values cached within one MnCache scope.
    mutable int previousStamp = 0;
    mutable MnChord* previousCached = nullptr;
    mutable int nextStamp = 0;
    mutable MnChord* nextCached = nullptr;
    mutable int clefStamp = 0;
    mutable int clefCached = 0;
    mutable int keyStamp = 0;
    mutable int keyCached = 0;
    mutable int positionStamp = 0;
    mutable double positionX = 0.0;
    mutable int extentStamps[4] = {};
    mutable double extents[4] = {};
    mutable int rightStamp = 0;
    mutable double rightCached = 0.0;
    mutable int stemStamp = 0;
    mutable int stemCached = 0;
    mutable bool stemAlone = true;
    mutable int secondsStamp = 0;
    mutable bool secondsCached = false;
    mutable int syllableStamp = 0;
    mutable double syllableCached = 0.0;
};
