#pragma once

#include "model/MnStaffDefinition.h"

class EdPath;
class MnChord;
class MnLine;
class MnLyric;
class MnMeasure;
class MnScore;
class MnStaffChange;
class MnTablature;

// One line of music of a score: its measures (and through them the chords
// and notes), the staff changes of clef, key and time signature, the lines
// that span time (dynamics and hairpins, octave lines, pedals), the lyric
// lines and an optional tablature below it. The staff itself is the
// definition in effect from time 0. Staff i of a score belongs with part i.
class MnStaff : public MnStaffDefinition
{
    BC_DECLARE_CLASS(MnStaff)
public:
    // Class codes of the lines in the staff record.
    enum LineCode
    {
        LineOctave = 0,
        LineDynamic = 1,
        LinePedal = 2,
        LineOther = 255,
    };

    // Treble clef, no key, the given meter and one measure of it.
    MnStaff(MnScore* score, int index, int timeSignatureType);
    // Deletes the changes, measures, lines, lyrics and the tablature.
    ~MnStaff() override;

    MnElement* parent() const override;
    bool removeChild(MnElement* child) override;
    bool read(BcFiler& filer) override;
    bool write(BcFiler& filer) const override;
    // The top line of the staff: staff 0 at the score's position, each later
    // staff below the previous one (and its tablature) by its spacing.
    GePoint2d position() const override;
    // 8 x the part's scale.
    double height() const override;
    // The part's scale times the score's scale.
    double scale() const override;

    // Geometry and dragging (MnStaffGeometry.cpp). A path counts only when
    // it names a system of the score (isSystemPath); any other is unset.
    // The width of the staff as one unbroken line.
    double width() const override;
    // Staff 0 moves the score; any other staff changes its spacing, keeping
    // 6 steps per part scale clear of the staff (or tablature) above.
    bool moveTo(const GePoint2d& point) override;
    // The staff as it stands in the system of the path, on its page.
    GePoint2d dragPosition(const EdPath* path) const override;
    // By the staff and system grabbed: moves the score or a page's layout,
    // or changes a staff's spacing or the spacing of a page's systems.
    bool dragTo(const GePoint2d& point, const EdPath* path) override;
    // Staff 0 only: one guide line per system of the neighbouring pages that
    // stand beside its page.
    bool addGuideLines(BcArray<EdGuideLine*>& lines, const EdPath* path) override;
    // The score, a page's layout or the staff, by what a drag would move.
    MnElement* selectionTarget(const EdPath* path) override;
    GePoint2d toPageCoordinates(const GePoint2d& point, const EdPath* path) const override;
    // A set kind-0 path whose staff and first measure lie in the score.
    bool isSystemPath(const EdPath* path) const;
    // The page of the sheet music and the system on it that the path names;
    // false, with both untouched, for a path that names none.
    bool locateSystem(const EdPath* path, int& page, int& system) const;
    // Measures the syllables that the staff's lyric lines sing on their
    // chords (MnChord::syllableWidth), walking each line once per MnCache
    // scope.
    void measureSyllables() const;

    MnScore* score() const { return owner; }
    int index() const { return staffIndex; }
    void setIndex(int index) { staffIndex = index; }

    // The definition in effect at the time: the last change at or before it,
    // else the staff. With exactOnly, only a change exactly at the time (the
    // staff itself for time 0 and before), else null.
    MnStaffDefinition* definitionAt(int time, bool exactOnly);
    const MnStaffDefinition* definitionAt(int time, bool exactOnly) const;
    // A new change at the time that copies the definition in effect just
    // before it; false at time 0 and below, past MnMaxStaffTicks, where a
    // change stands and when the staff holds MnMaxRecordCount changes.
    bool insertStaffChange(int time);
    // Moves a change that does not change the time signature to a free time.
    bool moveStaffChange(MnStaffChange* change, int time);
    // Inserts a new measure of the meter at index (any negative index
    // appends); later measures are renumbered and the changes, lines and
    // lyric lines from its start on move later by its length. False for an
    // index past the end, and when the staff would pass MnMaxRecordCount
    // measures or MnMaxStaffTicks.
    bool insertMeasure(int index, int timeSignatureType);
    // The same with the meter given as beats x beat ticks; false also for a
    // meter a measure cannot have.
    bool insertMeasure(int index, int beats, int beatTicks);
    // Keeps the changes, lines and lyrics on the chords of a measure whose
    // chords changed. Nothing happens while reconciling is suspended.
    void reconcileWithMeasure(MnMeasure* measure);
    // Shifts the changes, lines and lyrics after a span of time that was
    // taken out of the staff; a time signature that begins in the span takes
    // its meter with it, re-barring what follows to the meter before it.
    // keepAtStart: the span is cut out of a measure that stays, and the
    // changes at its start stay with it.
    void removeTimeSpan(int time, int length, bool keepAtStart = false);

    // Time signature edits (MnStaffTime.cpp). They refuse, with nothing
    // changed, a code outside 0..10 and a measure outside the staff.
    // The time signature of every staff of the score from time 0 on.
    bool setTime(int type) override;
    // Rebuilds the bar lines of the run of measures from the index that share
    // its meter for the new one, keeping the music, its spelling and the
    // measures' attributes where bar lines stay; what follows moves by the
    // length the run gains. False, with nothing changed, when the music
    // cannot be lifted (no MnClipboard installed).
    bool rebar(int measureIndex, int type);
    // Takes out a change of the time signature: the score goes back to the
    // meter before it, and the copies made with it in the other staves go
    // when they repeat what is in effect before them.
    bool removeTimeChange(int changeIndex);
    // Exchanges the measure with the one before it, with what is anchored in
    // them; refused for the first measure and between meters. With
    // syncAttributes the two measures' bar lines, voltas and breaks are
    // copied to every staff of the score.
    bool swapWithPreviousMeasure(int index, bool syncAttributes);

    // The measure whose span holds the time; null outside the staff.
    MnMeasure* measureAtTime(int time) const;
    // The first chord of the voice that is not a grace chord and starts at
    // the time; null when none does.
    MnChord* chordAt(int time, int voice) const;
    // chordAt of every voice, appended in voice order.
    void chordsAt(int time, BcArray<MnChord*>& chords) const;
    // The latest onset among the chords that sound directly before the
    // chords at the time (grace chords skipped); false when there is none.
    bool latestOnsetBefore(int time, int& onset) const;
    // A vertical drag of a line or lyric line: above the middle line it
    // stays 2 to 20 steps above the highest note of the chords (a rest
    // counts as the middle line, the top line as the least), below it 2 to
    // 20 steps below the lowest (the bottom line at least).
    static double clampClearOfChords(double y, const BcArray<MnChord*>& chords);
    // A point of a line or lyric line (x along the staff, y its offset in
    // staff steps) on the page: in the system that a drag path of the given
    // kind names, else at the staff's own position; scaled by the score's
    // scale, and y also by the part's.
    GePoint2d contentToPageCoordinates(const GePoint2d& point, const EdPath* path, int pathKind) const;

    // Attaches a line at a start time, taking it out of the staff it was in.
    // A line of its class that covers the time refuses it, unless it is a
    // mark starting before the time, which is cut short to end there. The
    // new line lasts as long as the shortest chord at its start. False, with
    // nothing changed, when refused, when the line is already here and when
    // the staff holds MnMaxRecordCount lines.
    bool insertLine(MnLine* line, int startTime);
    // A new line of the class (MnOctave, MnDynamic or MnPedal) at the time,
    // with the kind and the place above or below the notes that the line
    // tools give it (8va above, p and the pedal sign with release below),
    // lasting as long as the shortest chord there. Null where insertLine
    // refuses: an octave line never starts inside another, while an earlier
    // mark of the class is cut where the new one starts.
    template <typename T>
    T* addLine(int time);
    // Keeps the lines sorted by start after a line's start changed.
    void keepLineSorted(MnLine* line);
    // A new empty lyric line of the voice at the time, after the lyrics that
    // start earlier; null for a time outside 0..MnMaxStaffTicks, a voice
    // the measures lack, or a staff that holds MnMaxRecordCount lyrics.
    MnLyric* addLyric(int startTime, int voice);

    // 1, plus 1 when the second voice is used somewhere.
    int voiceCount() const;
    // The sum of the lengths of all measures.
    int totalTicks() const;

    int measureCount() const { return measures.count(); }
    MnMeasure* measure(int index) const { return measures[index]; }
    // The start of the measure at the index (0..count): the sum of the
    // lengths before it. The sums are kept until the measures change, so
    // that editing a measure of a long staff does not add up the staff.
    int measureStartTime(int index) const;
    // Every change of the measures' order or lengths calls this (the
    // measures' constructor, destructor and meter setters do, and so does
    // taking the measure array for a change).
    void measureTimesChanged() { startTimesValid = false; }
    int changeCount() const { return changes.count(); }
    MnStaffChange* change(int index) const { return changes[index]; }
    // The owned lists; editing operations keep them sorted by time.
    BcArray<MnMeasure*>& measureArray()
    {
        measureTimesChanged();
        return measures;
    }
    BcArray<MnStaffChange*>& changeArray() { return changes; }
    // Taking the lines for a change forgets the octave lines picked from them.
    BcArray<MnLine*>& lineArray()
    {
        linesChanged();
        return lines;
    }
    const BcArray<MnLine*>& lineArray() const { return lines; }
    // The octave lines among the lines, in the lines' order. Every note's
    // pitch asks for them, so they are picked out once and kept until the
    // lines change, not looked for among all the marks of a long staff.
    const BcArray<MnLine*>& octaveLines() const;
    BcArray<MnLyric*>& lyricArray() { return lyrics; }
    const BcArray<MnLyric*>& lyricArray() const { return lyrics; }
    MnTablature* tablature() const { return tab; }
    // Takes the tablature over, deleting the one the staff had.
    void setTablature(MnTablature* tablature);
    // Distance from the previous staff (top line to top line at scale 1).
    double spacing() const { return staffSpacing; }
    // False, with nothing changed, unless 0 < spacing <= MnMaxCoordinate.
    bool setSpacing(double spacing);
    bool isReconcilingSuspended() const { return reconcilingSuspended; }
    void setReconcilingSuspended(bool suspended) { reconcilingSuspended = suspended; }

    // The scale of the part at the staff's index; 1 without one.
    double partScale() const;

private:
    void deleteContent();
    // Every change of the lines' membership or order calls this.
    void linesChanged() { octaveLinesValid = false; }
    // The changes, measures and lines: what every version of the record holds.
    void deleteTimeContent();
    bool readChanges(BcFiler& filer);
    bool readMeasures(BcFiler& filer);
    bool readLines(BcFiler& filer);
    bool readLyrics(BcFiler& filer);

    MnScore* owner;
    int staffIndex;
    BcArray<MnStaffChange*> changes;
    BcArray<MnMeasure*> measures;
    BcArray<MnLine*> lines;
    BcArray<MnLyric*> lyrics;
    double staffSpacing = 20.0;
    MnTablature* tab = nullptr;
    bool reconcilingSuspended = false;
    // Start times of the measures and the total at the end; the copy of a
    // score that the player uses is touched by the audio thread alone.
    mutable BcArray<int> startTimes;
    mutable bool startTimesValid = false;
    mutable int syllableStamp = 0;
    mutable BcArray<MnLine*> octaves;
    mutable bool octaveLinesValid = false;
};
