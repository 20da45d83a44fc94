#pragma once

#include "foundation/BcArray.h"
#include "playback/MpPerformer.h"

class MnLine;
class MnMeasure;
class MnScore;
class MnStaff;

// Writes a score's repeats out: performs the score silently in play order
// and copies each measure it enters, in every staff, to the end of a new
// score, so that repeats, endings, D.C. and D.S. jumps, Fine and To Coda
// become plain consecutive measures. The staff changes in force, the lines
// (octave lines, pedals, dynamics and hairpins) and the lyrics come along:
// what spans a bar line is clipped to the copied measure and continued in
// the measures copied after it, and a lyric line marked for a pass of a
// repeat is written under that pass only.
class MpUnfolder : public MpPerformer
{
    BC_DECLARE_CREATABLE_CLASS(MpUnfolder)
public:
    // The classes of lines, in the order they are carried over.
    enum LineClass
    {
        OctaveLines = 0,
        PedalLines = 1,
        DynamicLines = 2,
        lineClassCount = 3,
    };

    MpUnfolder();
    ~MpUnfolder() override;

    // The unfolded copy of the score, owned by the caller; never null (a
    // score that cannot be performed gives a new empty score).
    MnScore* unfold(const MnScore* score);
    // Appends the source measure of the 1-based index, of every staff, to
    // the score being built. first: the measure starts the unfolded score;
    // jumped: it does not follow the measure appended before it in the
    // source.
    void appendMeasure(const MnScore* source, int measureIndex, bool first, bool jumped);
    // Takes out of the measure's index in every staff of its score what
    // leads the performance elsewhere: repeat bar lines become single ones;
    // endings, their texts, segno, coda and jump marks go.
    static void clearJumpMarks(MnMeasure* measure);

    // Ticks that the last copied line of the class in the staff still has
    // to run beyond the measures copied so far.
    int openLineRemainder(int lineClass, int staffIndex) const;

private:
    void startScore(const MnScore* source);
    bool appendEmptyMeasure();
    void carryStaffChanges(const MnStaff* source, int staffIndex, const MnMeasure* sourceMeasure, int newStart);
    void setDefinitionAt(int staffIndex, int time, int clef, int key, int timeType, bool withTime);
    void copyLines(const MnStaff* source, int staffIndex, int lineClass, const MnMeasure* sourceMeasure,
                   bool jumped);
    MnLine* addCopiedLine(MnStaff* staff, int lineClass, const MnLine* original, int start, int length);
    void copyLyrics(const MnStaff* source, int staffIndex, const MnMeasure* sourceMeasure, bool restart);

    MnScore* unfoldedScore = nullptr;
    BcArray<int> remainders[lineClassCount];
    // An append that the score could not take (too many measures or too
    // long a staff) ends the copying.
    bool full = false;
};
