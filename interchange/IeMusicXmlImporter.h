#pragma once

#include "editing/EdSelection.h"
#include "foundation/BcArray.h"
#include "foundation/BcObject.h"
#include "foundation/BcString.h"

#include <unordered_map>
#include <vector>

class BcXmlFiler;
class MnLyric;
class MnMeasure;
class MnScore;
class MnStaff;
class MnSheetMusic;
class MnWork;
class TiXmlElement;
struct IeOpenSlur;
struct IePartGroup;
struct IeScorePart;

// Reads a partwise MusicXML file into a new sheet music and adds it as a new
// work of the active document; it never merges into an existing score. Made
// on the stack for one call of importFile. The first problem met goes into
// errorText and ends the reading; a failed import leaves the document
// exactly as it was.
//
// Parts are aligned through their measure numbers: every part writes into
// the measure index its number gives, and the measures of one index form
// one column across the staves.
class IeMusicXmlImporter : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(IeMusicXmlImporter)
public:
    // Ticks of a quarter note, the time base durations convert to.
    static constexpr int ticksPerQuarter = 60480;
    // Limits beyond which a value is taken for damage rather than music.
    static constexpr int maxDivisions = 10000000;
    static constexpr int maxStavesPerPart = 16;
    // Measures of all staves together: a few bytes of a hostile file must
    // not make the score grow without bound.
    static constexpr long long maxMeasureCells = 1 << 18;

    IeMusicXmlImporter();
    ~IeMusicXmlImporter() override;
    IeMusicXmlImporter(const IeMusicXmlImporter&) = delete;
    IeMusicXmlImporter& operator=(const IeMusicXmlImporter&) = delete;

    // True when the file became a new work of the active document. False
    // with errorText empty when there is no active document.
    virtual bool importFile(const BcString& path);

    // The reading steps, in the order readScore runs them. Each works on the
    // filer's current element and leaves the cursor where it found it.
    void readScore(BcXmlFiler& filer, MnWork* work, MnSheetMusic* sheet);
    // Fills scoreParts and partGroups; the model gets nothing from it.
    void readPartList(BcXmlFiler& filer);
    void readPart(BcXmlFiler& filer, MnSheetMusic* sheet);
    void readMeasure(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex);
    void readAttributes(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex, int position);
    void readNote(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex, int* chordStart,
                  int* position);
    void readDirection(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex, int position);
    void applyPartGroups(MnSheetMusic* sheet);

    // Numbers are read leniently: the leading optionally signed run of
    // digits after white space (0 when there is none, so "12.5" is 12);
    // runs past 32 bits stop at the int range, where the range checks
    // refuse them; overflowed tells whether that happened.
    static int leadingInteger(const BcString& text, bool* overflowed = nullptr);
    // The leading decimal number (0 when there is none).
    static double leadingDecimal(const BcString& text);
    // A length in whole millimetres, cut toward zero; a length less than
    // 0.001 mm below a whole millimetre counts as it, so lengths written
    // with six decimals come back whole. Kept inside the int range.
    static int wholeMillimetres(double length);

    BcArray<IeScorePart*> scoreParts;
    BcArray<IePartGroup*> partGroups;
    // Per staff of the score: the MusicXML voice that model voice 0 (1)
    // takes in the measure being read; -1 free.
    BcArray<int> firstVoices;
    BcArray<int> secondVoices;
    // Lines begun by directions and not finished yet.
    EdSelection openLines;
    BcArray<IeOpenSlur*> openSlurs;
    // The part being read numbers its measures from 0.
    bool zeroBasedNumbers = false;
    // The first problem met; empty means success.
    BcString errorText;

private:
    // The texts of the work that the file gives, kept apart until the import
    // succeeds.
    struct WorkTexts
    {
        bool hasTitle = false;
        bool hasComposer = false;
        bool hasLyricist = false;
        bool hasArranger = false;
        bool hasRights = false;
        BcString title;
        BcString composer;
        BcString lyricist;
        BcString arranger;
        BcString rights;
    };

    void readWork(BcXmlFiler& filer);
    void readIdentification(BcXmlFiler& filer);
    void readDefaults(BcXmlFiler& filer, MnSheetMusic* sheet);
    void readPageLayout(BcXmlFiler& filer, MnSheetMusic* sheet);
    void readCredit(BcXmlFiler& filer, MnSheetMusic* sheet);
    void readPartGroup(BcXmlFiler& filer);
    void readScorePart(BcXmlFiler& filer);
    void readBarline(BcXmlFiler& filer, MnSheetMusic* sheet, int measureIndex);
    // Moves position by a backup (direction -1) or forward (1).
    void moveByDuration(BcXmlFiler& filer, int partIndex, int direction, int& position);
    // Makes the part's staves at its first attributes; false with errorText
    // set when the file asks for what the score cannot hold.
    bool setUpStaves(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex);
    void readTime(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex);
    void readClef(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex, int position);
    void readKey(BcXmlFiler& filer, MnSheetMusic* sheet, int partIndex, int measureIndex);
    // Trims the incomplete measures and drops the score's measures after
    // the last one the file addressed, once every part is read.
    void finishMeasures(MnSheetMusic* sheet);
    void freeRecords();

    // What a note's notations hand back to the note reader.
    struct NoteMarks
    {
        bool tied = false;
        int tiePlacement = 0;
        bool arpeggio = false;
        int arpeggioType = 0;
        BcArray<int> articulations;
    };
    // The written ticks of a note in a 3:2 tuplet (making the triplet when
    // none covers the chord's start); false with errorText set for any
    // other ratio.
    bool readTimeModification(BcXmlFiler& filer, MnMeasure* measure, int voice, int chordStart, int& ticks);
    void readNotations(BcXmlFiler& filer, MnMeasure* measure, int measureIndex, int staffIndex, int voice,
                       int chordStart, NoteMarks& marks);
    void endSlur(MnMeasure* measure, int staffIndex, int voice, int chordStart, int number);
    void readLyrics(BcXmlFiler& filer, MnMeasure* measure, int voice, int chordStart);
    // The octaves that the octave lines of the staff covering the time
    // shift a written pitch by.
    int octaveShiftAt(int staffIndex, long long time) const;
    // Lets a line start inside a line of its class that is still waiting
    // for its stop: the length addLine gave such a line is only a
    // placeholder.
    void shortenOpenLines(MnStaff* staff, const BcClass* lineClass, int time);
    // The model keeps lines on chord onsets and drops the others whenever a
    // measure's chords change. A direction may come before the notes that
    // start at its time (those of a later voice), or at a time where no
    // chord starts, so the staves of the part wait with that until the
    // measure is read; settleMeasure then moves each line that starts on no
    // chord to the next onset of the measure (the last one before it when
    // none follows), and lets the staff follow the measure's chords.
    void holdStaves(int partIndex, BcArray<MnStaff*>& held, MnScore* score);
    void settleMeasure(MnStaff* staff, MnMeasure* measure);

    // Sets errorText to the invalid-data message naming what was found.
    void refuse(const BcString& detail);
    // " in part <id>".
    BcString inPart(int partIndex) const;

    // Millimetres per tenth; 1 until a scaling element gives both values.
    double scale = 1.0;
    WorkTexts workTexts;
    // Per measure index: the furthest time any part reached in it (-1 for
    // a measure no measure element addressed).
    BcArray<int> reachedTimes;
    int highestMeasure = -1;
    // The pedals of openLines whose stop was read: the next note on their
    // staff releases them.
    EdSelection releasedPedals;
    // Every octave line made, by staff and time, so that a pitch is
    // corrected by the lines that cover its time whatever order the voices
    // come in; end is past every time while the stop is missing.
    struct OctaveSpan
    {
        int staff;
        long long start;
        long long end;
        int kind;
    };
    std::vector<OctaveSpan> octaveSpans;
    // Per staff, voice and lyric number: the line that the last syllable
    // went to, the only one a following syllable can continue.
    std::unordered_map<long long, MnLyric*> lastLyrics;
};
